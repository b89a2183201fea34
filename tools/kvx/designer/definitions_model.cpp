#include "tools/kvx/designer/definitions_model.h"

#include <QPixmap>
#include <limits>

#include "tools/kvx/card_manifest.h"

namespace kvt::kvx {
namespace {

std::int16_t* Field(Card& card, int column) {
    switch (column) {
        case DefinitionsModel::kGroup: return &card.Group;
        case DefinitionsModel::kValue: return &card.Value;
        case DefinitionsModel::kAction: return &card.Action;
        case DefinitionsModel::kCount: return &card.ActionCount;
        case DefinitionsModel::kCopies: return &card.Copies;
        case DefinitionsModel::kPicRow: return &card.PicRow;
        case DefinitionsModel::kPicCol: return &card.PicCol;
        default: return nullptr;
    }
}

QString ActionText(int action) {
    const QString name = QString::fromStdString(ActionName(action));
    return name == QString::number(action) ? name : QStringLiteral("%1 %2").arg(action).arg(name);
}

}  // namespace

DefinitionsModel::DefinitionsModel(CardSetDocument& doc, QObject* parent) : QAbstractTableModel(parent), doc_(doc) {
    connect(&doc_, &CardSetDocument::Changed, this, &DefinitionsModel::Refresh);
}

int DefinitionsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kCardDefCount; }

int DefinitionsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QString DefinitionsModel::RoleText(const Card& card) {
    if (card == Card{}) return tr("empty");
    if (card.Action == kActionCardBack) return tr("card back");
    if (card.Action == kActionBackgroundCell) return tr("background");
    return IsDealt(card) ? tr("dealt") : tr("not dealt");
}

QVariant DefinitionsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    Card card = doc_.Def().CardDefs[index.row()];
    const int column = index.column();
    if (column == kFace && role == Qt::DecorationRole) {
        if (card == Card{} || doc_.BitmapImage().isNull()) return {};
        const FaceRect r = FaceRectOf(card);
        return QPixmap::fromImage(doc_.BitmapImage().copy(r.x, r.y, r.width, r.height));
    }
    if (column == kFace && role == Qt::SizeHintRole) return QSize(kFaceWidth + 4, kFaceHeight + 4);
    if (column == kRole && role == Qt::DisplayRole) return RoleText(card);
    const std::int16_t* field = Field(card, column);
    if (!field) return {};
    if (role == Qt::EditRole) return column == kAction ? QVariant(ActionText(*field)) : QVariant(int{*field});
    if (role == Qt::DisplayRole) {
        if (card == Card{}) return {};
        return column == kAction ? QVariant(ActionText(*field)) : QVariant(int{*field});
    }
    if (role == Qt::TextAlignmentRole && column != kAction) return int{Qt::AlignRight | Qt::AlignVCenter};
    return {};
}

QVariant DefinitionsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section;
    static const char* const kTitles[kColumnCount] = {
        QT_TR_NOOP("Face"),   QT_TR_NOOP("Group"),  QT_TR_NOOP("Value"),       QT_TR_NOOP("Action"), QT_TR_NOOP("Count"),
        QT_TR_NOOP("Copies"), QT_TR_NOOP("Pic. row"), QT_TR_NOOP("Pic. column"), QT_TR_NOOP("Role")};
    return tr(kTitles[section]);
}

Qt::ItemFlags DefinitionsModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() != kFace && index.column() != kRole) f |= Qt::ItemIsEditable;
    return f;
}

bool DefinitionsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    CardSetDef def = doc_.Def();
    Card& card = def.CardDefs[index.row()];
    std::int16_t* field = Field(card, index.column());
    if (!field) return false;
    if (index.column() == kAction) {
        // "4 draw-deck" as shown, a bare name or a bare number.
        const QString text = value.toString().trimmed();
        const QString word = text.section(QLatin1Char(' '), 0, 0);
        std::int16_t action = 0;
        if (!ParseActionName(text.toStdString(), action) && !ParseActionName(word.toStdString(), action))
            return false;
        *field = action;
    } else {
        bool ok = false;
        const int number = value.toInt(&ok);
        if (!ok || number < std::numeric_limits<std::int16_t>::min() ||
            number > std::numeric_limits<std::int16_t>::max())
            return false;
        *field = static_cast<std::int16_t>(number);
    }
    doc_.SetDefinitions(def, tr("Edit %1 of definition %2").arg(headerData(index.column(), Qt::Horizontal).toString())
                                 .arg(index.row()));
    return true;
}

void DefinitionsModel::Refresh() { emit dataChanged(index(0, 0), index(kCardDefCount - 1, kColumnCount - 1)); }

}  // namespace kvt::kvx

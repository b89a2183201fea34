#pragma once

#include <QAbstractTableModel>

#include "tools/kvx/designer/card_set_document.h"

namespace kvt::kvx {

// The 81 definition slots as a table. Editing a cell records one undoable
// step in the document; the action column takes a name or a number.
class DefinitionsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { kFace, kGroup, kValue, kAction, kCount, kCopies, kPicRow, kPicCol, kRole, kColumnCount };

    explicit DefinitionsModel(CardSetDocument& doc, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // What a definition does in the game: dealt, card back, background cell, not dealt, empty.
    static QString RoleText(const Card& card);

private:
    void Refresh();

    CardSetDocument& doc_;
};

}  // namespace kvt::kvx

#include "shell/help_window.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>

#include "dialogs/card_action_text.h"

namespace kvt {

namespace {

QPointer<HelpWindow> the_window;

// Where a page wants the table of card actions, the one the card viewer's texts come from.
constexpr char kCardActionsMark[] = "<!-- card actions -->";

// Pages from the help folder, with the generated parts filled in.
class HelpBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl& name) override {
        QVariant page = QTextBrowser::loadResource(type, name);
        if (type != QTextDocument::HtmlResource) return page;
        QString html = page.typeId() == QMetaType::QString ? page.toString() : QString::fromUtf8(page.toByteArray());
        if (!html.contains(QLatin1String(kCardActionsMark))) return page;
        return html.replace(QLatin1String(kCardActionsMark), CardActionsTable());
    }
};

}  // namespace

HelpWindow::HelpWindow(std::filesystem::path help_folder, QWidget* parent)
    : QMainWindow(parent), folder_(std::move(help_folder)) {
    setObjectName("HelpWindow");
    setWindowTitle(tr("KVT Help"));
    // The help never keeps the program running once the table has closed.
    setAttribute(Qt::WA_QuitOnClose, false);

    browser_ = new HelpBrowser(this);
    browser_->setObjectName("HelpBrowser");
    browser_->setOpenExternalLinks(true);
    browser_->setSearchPaths({QFile::decodeName(folder_.c_str())});
    setCentralWidget(browser_);

    QToolBar* bar = addToolBar(tr("Navigation"));
    bar->setObjectName("HelpBar");
    bar->setMovable(false);
    QAction* back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), tr("&Back"), browser_, &QTextBrowser::backward);
    back->setObjectName("HelpBack");
    back->setShortcut(QKeySequence::Back);
    QAction* forward = bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), tr("&Forward"), browser_,
                                      &QTextBrowser::forward);
    forward->setObjectName("HelpForward");
    forward->setShortcut(QKeySequence::Forward);
    QAction* contents = bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), tr("&Contents"), this,
                                       [this] { ShowTopic(QString::fromLatin1(kContentsTopic)); });
    contents->setObjectName("HelpContents");
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        // The contents page is itself called "KVT Help": it is not named twice.
        const QString title = browser_->documentTitle();
        const QString help = tr("KVT Help");
        setWindowTitle(title.isEmpty() || title == help ? help : tr("KVT Help - %1").arg(title));
    });
    resize(680, 560);
}

void HelpWindow::ShowTopic(const QString& topic) {
    const QString file = QFile::decodeName((folder_ / QFile::encodeName(topic).toStdString()).c_str());
    if (QFileInfo::exists(file)) {
        browser_->setSource(QUrl::fromLocalFile(file));
    } else {
        browser_->setHtml(tr("<h2>Help page not found</h2><p>The page <b>%1</b> is not in the help folder %2.</p>")
                              .arg(topic.toHtmlEscaped(), QFile::decodeName(folder_.c_str()).toHtmlEscaped()));
    }
    show();
    raise();
    activateWindow();
}

QString HelpWindow::CurrentTopic() const { return QFileInfo(browser_->source().toLocalFile()).fileName(); }

HelpWindow* HelpWindow::Open(const std::filesystem::path& help_folder, const QString& topic) {
    if (!the_window) the_window = new HelpWindow(help_folder);
    the_window->ShowTopic(topic);
    return the_window;
}

HelpWindow* HelpWindow::Instance() { return the_window; }

}  // namespace kvt

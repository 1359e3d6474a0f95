#include "system/qt/widgets/HelpViewerWindow.h"
#include "system/qt/ProductIcon.h"
#include "system/qt/widgets/KeyedToolBar.h"

#include <QAction>
#include <QGuiApplication>
#include <QIcon>
#include <QKeySequence>
#include <QScreen>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// Wide enough for the help's tables, tall enough for a page and a half.
constexpr QSize PreferredSize(760, 620);

QString notFoundPage(const QString& helpFile, const QStringList& lookedAt)
{
    QString page = QStringLiteral("<html><head><title>Help Not Found</title></head><body>"
                                  "<h2>The help file could not be found.</h2>");
    if (helpFile.isEmpty()) {
        page += QStringLiteral("<p>No help file was named.</p>");
    } else {
        page += QStringLiteral("<p>The help asked for is <b>%1</b>.</p>").arg(helpFile.toHtmlEscaped());
    }
    if (!lookedAt.isEmpty()) {
        page += QStringLiteral("<p>Quillo looked for it here:</p><ul>");
        for (const QString& path : lookedAt)
            page += QStringLiteral("<li><tt>%1</tt></li>").arg(path.toHtmlEscaped());
        page += QStringLiteral("</ul><p>Building Quillo copies its help beside the program; installing Quillo "
                               "puts it into the data folder of the installation.</p>");
    }
    return page + QStringLiteral("</body></html>");
}

} // namespace

const QString HelpViewerWindow::Caption = QStringLiteral("Quillo Help");

HelpViewerWindow::HelpViewerWindow(QWidget* parent) : QWidget(parent, Qt::Window), m_browser(new QTextBrowser(this))
{
    setObjectName(QStringLiteral("helpViewer"));
    setWindowTitle(Caption);
    setWindowIcon(productIcon());
    // The viewer never keeps the program running on its own.
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* toolBar = new QToolBar(this);
    toolBar->setObjectName(QStringLiteral("helpToolBar"));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toolBar->setIconSize(QSize(24, 24));
    nameOverflowButton(*toolBar);
    m_back = toolBar->addAction(QIcon(QStringLiteral(":/pictures/browser/back.png")), tr("Back"));
    m_forward = toolBar->addAction(QIcon(QStringLiteral(":/pictures/browser/forward.png")), tr("Forward"));
    m_home = toolBar->addAction(QIcon(QStringLiteral(":/pictures/browser/home.png")), tr("Contents"));
    m_back->setObjectName(QStringLiteral("helpBack"));
    m_forward->setObjectName(QStringLiteral("helpForward"));
    m_home->setObjectName(QStringLiteral("helpHome"));
    m_back->setShortcut(QKeySequence::Back);
    m_forward->setShortcut(QKeySequence::Forward);
    m_home->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    m_home->setEnabled(false);

    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setAccessibleName(tr("Help page"));
    // Links that leave the help go to the desktop's own browser.
    m_browser->setOpenExternalLinks(true);
    m_browser->document()->setDocumentMargin(12);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
    layout->addWidget(m_browser);

    connect(m_back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_home, &QAction::triggered, this, &HelpViewerWindow::goHome);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);

    QSize size = PreferredSize;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    resize(size);
}

void HelpViewerWindow::showDocument(const QString& document)
{
    m_document = document;
    m_homeUrl = QUrl::fromLocalFile(document);
    m_browser->setSource(m_homeUrl);
    m_browser->clearHistory();
    m_home->setEnabled(true);
}

void HelpViewerWindow::showNotFound(const QString& helpFile, const QStringList& lookedAt)
{
    m_document.clear();
    m_homeUrl.clear();
    m_browser->setSource(QUrl());
    m_browser->setHtml(notFoundPage(helpFile, lookedAt));
    m_browser->clearHistory();
    m_home->setEnabled(false);
}

void HelpViewerWindow::bringToFront()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void HelpViewerWindow::goHome()
{
    if (m_homeUrl.isValid())
        m_browser->setSource(m_homeUrl);
}

#include "system/qt/QtHelpViewer.h"

#include "system/qt/widgets/HelpViewerWindow.h"

QtHelpViewer::QtHelpViewer(const QString& executableFolder) : m_locator(executableFolder) {}

QtHelpViewer::~QtHelpViewer() = default;

void QtHelpViewer::showHelp(const QString& helpFile, int /*command*/)
{
    // Help is never worth losing the program or the merchant's cheque over: a
    // viewer that cannot come up simply does not appear.
    try {
        show(helpFile);
    } catch (...) {
    }
}

void QtHelpViewer::show(const QString& helpFile)
{
    const HelpDocumentLocator::Location location = m_locator.locate(helpFile);
    if (!m_window)
        m_window = std::make_unique<HelpViewerWindow>();

    const bool showingIt = m_window->isVisible() && location.found() && m_window->document() == location.document;
    if (!showingIt) {
        if (location.found())
            m_window->showDocument(location.document);
        else
            m_window->showNotFound(helpFile, location.lookedAt);
    }
    m_window->bringToFront();
}

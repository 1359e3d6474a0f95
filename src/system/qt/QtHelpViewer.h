#pragma once

#include "platform/HelpDocumentLocator.h"
#include "platform/HelpViewer.h"

#include <memory>

class HelpViewerWindow;

// The help viewer on this platform: one window of its own, opened on first
// use and re-used afterwards. It is not one of the program's loaded windows;
// it lives as long as this object and closes with it.
//
// Every command is carried out as "force file", the only one Quillo gives:
// the window comes to the front, and it opens the requested document unless
// it is already showing it.
class QtHelpViewer : public HelpViewer {
public:
    // `executableFolder` is the folder of the program, where the help
    // document is looked for (see HelpDocumentLocator).
    explicit QtHelpViewer(const QString& executableFolder);
    ~QtHelpViewer() override;

    QtHelpViewer(const QtHelpViewer&) = delete;
    QtHelpViewer& operator=(const QtHelpViewer&) = delete;

    void showHelp(const QString& helpFile, int command) override;

    // The viewer window, or null before the first showHelp().
    HelpViewerWindow* window() const { return m_window.get(); }

private:
    void show(const QString& helpFile);

    HelpDocumentLocator m_locator;
    std::unique_ptr<HelpViewerWindow> m_window;
};

#pragma once

#include <QString>
#include <QStringList>

class QWidget;
class WebBrowserEngine;
class WebBrowserEngineView;

// The web-engine module: a library of its own that holds everything of
// QtWebEngine, loaded when the first view is wanted. Starting Quillo thus
// neither loads nor starts the web engine.
class WebEngineModule {
public:
    // Looks for the module in `folders`, in order.
    explicit WebEngineModule(QStringList folders = defaultFolders());

    // Beside the program (the build tree and a plain install), then in
    // lib/quillo beside the program's bin folder.
    static QStringList defaultFolders();
    static QString fileName();

    // Makes a view as a child of `parent`. The first call loads the module and
    // starts the engine. Throws QuilloError when the module cannot be loaded.
    WebBrowserEngineView* createView(QWidget* parent);

private:
    WebBrowserEngine& engine();

    QStringList m_folders;
    WebBrowserEngine* m_engine = nullptr;
    bool m_started = false;
};

#include "system/browser/module/WebEngineBrowserPlugin.h"

#include "system/browser/module/WebEngineBrowserView.h"

#include <QOpenGLContext>
#include <QtWebEngineQuick/qtwebenginequickglobal.h>

WebBrowserEngineView* WebEngineBrowserPlugin::createView(QWidget* parent)
{
    // The web engine shares its OpenGL textures with Qt through a global
    // context. A program that links the engine gets one before its application
    // object exists; this module arrives later, so it has the context made now,
    // before the engine starts. Without it the engine crashes at its first view.
    if (!QOpenGLContext::globalShareContext())
        QtWebEngineQuick::initialize();
    return new WebEngineBrowserView(parent);
}

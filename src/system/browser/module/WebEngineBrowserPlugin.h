#pragma once

#include "system/browser/WebBrowserEngine.h"

#include <QObject>

// The entry object of the web-engine module.
class WebEngineBrowserPlugin : public QObject, public WebBrowserEngine {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID WebBrowserEngine_iid)
    Q_INTERFACES(WebBrowserEngine)

public:
    WebBrowserEngineView* createView(QWidget* parent) override;
};

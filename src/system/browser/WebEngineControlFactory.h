#pragma once

#include "platform/WebBrowserControlFactory.h"
#include "platform/WebBrowserSettings.h"
#include "system/browser/WebEngineModule.h"

// Makes browser controls over QtWebEngine. The web engine is loaded and
// started with the first control, not before.
class WebEngineControlFactory : public WebBrowserControlFactory {
public:
    explicit WebEngineControlFactory(WebBrowserSettings settings = WebBrowserSettings::defaults(),
                                     WebEngineModule module = WebEngineModule());

    WebBrowserControl* create(QWidget& host) override;

private:
    WebBrowserSettings m_settings;
    WebEngineModule m_module;
};

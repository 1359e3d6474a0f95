#include "system/browser/WebEngineControlFactory.h"

#include "system/browser/WebBrowserEngine.h"
#include "system/browser/WebEngineControl.h"

WebEngineControlFactory::WebEngineControlFactory(WebBrowserSettings settings, WebEngineModule module)
    : m_settings(std::move(settings)), m_module(std::move(module))
{}

WebBrowserControl* WebEngineControlFactory::create(QWidget& host)
{
    WebBrowserEngineView* view = m_module.createView(&host);
    return new WebEngineControl(*view, host, m_settings);
}

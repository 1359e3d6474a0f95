#pragma once

class QWidget;
class WebBrowserControl;

// Makes the browser controls that browser windows embed.
class WebBrowserControlFactory {
public:
    virtual ~WebBrowserControlFactory() = default;

    // Creates a control that fills `host` and belongs to it. Throws
    // QuilloError when no browser can be made.
    virtual WebBrowserControl* create(QWidget& host) = 0;
};

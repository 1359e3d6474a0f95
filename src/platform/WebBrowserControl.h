#pragma once

#include <QObject>
#include <QString>

// The embedded web browser as a browser window drives it. The operations and
// notifications keep the control's own names. A call that the control cannot
// carry out throws QuilloError.
class WebBrowserControl : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    ~WebBrowserControl() override = default;

    // Opens `address` interpreted as a browser's address bar interprets typed
    // text: "example.com" is a web address, "/tmp/page.html" a local file.
    virtual void Navigate(const QString& address) = 0;
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    // The control's own home and search pages (see WebBrowserSettings).
    virtual void GoHome() = 0;
    virtual void GoSearch() = 0;
    virtual void Refresh() = 0;
    virtual void Stop() = 0;

    // The title of the page shown.
    virtual QString LocationName() const = 0;
    // The address of the page shown, as the control reports it.
    virtual QString LocationURL() const = 0;
    // True while a page is loading.
    virtual bool Busy() const = 0;

Q_SIGNALS:
    // A load has ended, however it ended.
    void DownloadComplete();
    // The control has moved to the page at `URL`.
    void NavigateComplete2(const QString& URL);
    // The page shown has a new title, `Text`; a page may set it long after
    // it has loaded.
    void TitleChange(const QString& Text);
};

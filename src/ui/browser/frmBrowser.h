#pragma once

#include "platform/Twips.h"
#include "ui/browser/BrowserServices.h"

#include <QString>
#include <QWidget>
#include <functional>

class ImageList;
class QAction;
class QComboBox;
class QLabel;
class QTimer;
class QToolBar;
class WebBrowserControl;

// A small web browser: a navigation toolbar, an address box whose list holds
// the visited addresses, newest first, and the embedded browser control.
// Every window is independent and deletes itself when it is closed.
class frmBrowser : public QWidget {
    Q_OBJECT

public:
    // Throws QuilloError when the browser control cannot be made.
    explicit frmBrowser(BrowserServices services);
    ~frmBrowser() override;

    // The address to open when the window loads; set it before Show.
    QString StartingAddress;

    // Shows the window modeless, without owner. The first time, the window
    // loads: it joins the loaded windows and Form_Load runs.
    void Show();

    // Handlers.
    void Form_Load();
    void Form_Resize();
    void cboAddress_Click();
    void cboAddress_KeyPress(int KeyAscii);
    void tbToolBar_ButtonClick(QAction* Button);
    void timTimer_Timer();
    void brwWebBrowser_DownloadComplete();
    void brwWebBrowser_NavigateComplete2(const QString& URL);
    void brwWebBrowser_TitleChange(const QString& Text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildToolbar();
    void connectHandlers();
    void selectAddress(int index);
    void runToolbarCommand(const QString& key);
    int twips(int pixels) const { return m_twips.fromPixels(pixels); }
    int pixels(int twips) const { return m_twips.toPixels(twips); }
    // The client area's inner width and height, in twips.
    int scaleWidth() const { return twips(width()); }
    int scaleHeight() const { return twips(height()); }

    BrowserServices m_services;
    Twips m_twips;
    bool m_loaded = false;
    bool ListUpdating = false;

    QToolBar* tbToolBar = nullptr;
    ImageList* imlToolbarIcons = nullptr;
    QWidget* picAddress = nullptr;
    QLabel* lblAddress = nullptr;
    QComboBox* cboAddress = nullptr;
    // The area the browser control fills; its object name is the control's.
    QWidget* m_browserArea = nullptr;
    WebBrowserControl* brwWebBrowser = nullptr;
    QTimer* timTimer = nullptr;

    // cboAddress_Click as the address list's selection event runs it.
    std::function<void()> m_addressSelected;
};

// Opens a new, independent browser window at `startingAddress`: creates it,
// sets its StartingAddress and shows it. Throws QuilloError when no browser can
// be made; no window is left behind then.
frmBrowser* openBrowserWindow(const QString& startingAddress, const BrowserServices& services);

#pragma once

#include "platform/SystemInfoLauncher.h"
#include "ui/about/AboutServices.h"

#include <QDialog>

class QLabel;
class QPushButton;

// The product information box: title, version, description, OK and a button
// that starts the system's System Information program. It is loaded afresh
// for every showing and unloads (closes and deletes itself) when it closes.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    // Loads the box unshown: builds its controls and runs Form_Load. `owner`
    // is the window it belongs to and is centred over.
    frmAbout(const AboutServices& services, QWidget* owner);
    ~frmAbout() override;

    // Loads the box, shows it modal over `owner` and returns once it has been
    // unloaded. This is what the Help menu's About command calls.
    static void showModal(QWidget* owner, const AboutServices& services);

    // Handlers.
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();

    void setVisible(bool visible) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void centreOverOwner();

    AboutServices m_services;
    SystemInfoLauncher m_launcher;
    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;
};

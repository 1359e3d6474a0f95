#include "ui/register/frmRegisterLocation.h"

#include "platform/FileDialogs.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

template <typename Control> Control* named(Control* control, const char* name, const QString& accessibleName)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setAccessibleName(accessibleName);
    return control;
}

} // namespace

frmRegisterLocation::frmRegisterLocation(const RegisterLocation& current, FileDialogs& fileDialogs, QWidget* owner)
    : QDialog(owner), m_current(current), m_fileDialogs(fileDialogs)
{
    setObjectName(QStringLiteral("frmRegisterLocation"));
    setWindowTitle(QStringLiteral("Register Location --Quillo"));
    setModal(true);

    auto* lblPrompt = new QLabel(QStringLiteral("Where Quillo keeps the draft register. On an office server every "
                                                "seat sees every draft, and the same check cannot go out twice."),
                                 this);
    lblPrompt->setObjectName(QStringLiteral("lblPrompt"));
    lblPrompt->setWordWrap(true);
    optThisComputer = named(new QRadioButton(QStringLiteral("&This computer"), this), "optThisComputer",
                            QStringLiteral("This computer"));
    optOfficeServer = named(new QRadioButton(QStringLiteral("&Office server"), this), "optOfficeServer",
                            QStringLiteral("Office server"));
    (current.isServer() ? optOfficeServer : optThisComputer)->setChecked(true);

    txtHost = named(new QLineEdit(current.host, this), "txtHost", QStringLiteral("Host"));
    txtHost->setPlaceholderText(QStringLiteral("this computer's socket"));
    txtPort = named(new QSpinBox(this), "txtPort", QStringLiteral("Port"));
    txtPort->setRange(1, 65535);
    txtPort->setValue(current.port);
    txtDatabase = named(new QLineEdit(current.database, this), "txtDatabase", QStringLiteral("Database"));
    txtUser = named(new QLineEdit(current.user, this), "txtUser", QStringLiteral("User"));
    txtPassword = named(new QLineEdit(this), "txtPassword", QStringLiteral("Password"));
    txtPassword->setEchoMode(QLineEdit::Password);
    txtPassword->setPlaceholderText(QStringLiteral("kept in the desktop's keyring"));
    txtCaFile = named(new QLineEdit(current.caFile, this), "txtCaFile", QStringLiteral("CA file"));
    txtCaFile->setPlaceholderText(QStringLiteral("the system's certificate authorities"));
    cmdBrowse =
        named(new QPushButton(QStringLiteral("&Browse..."), this), "cmdBrowse", QStringLiteral("Choose the CA file"));
    cmdBrowse->setAutoDefault(false);
    lblTls = named(new QLabel(this), "lblTls", QStringLiteral("Connection"));
    lblTls->setWordWrap(true);

    auto* caRow = new QHBoxLayout;
    caRow->addWidget(txtCaFile);
    caRow->addWidget(cmdBrowse);
    auto* server = new QFormLayout;
    server->addRow(QStringLiteral("&Host:"), txtHost);
    server->addRow(QStringLiteral("&Port:"), txtPort);
    server->addRow(QStringLiteral("&Database:"), txtDatabase);
    server->addRow(QStringLiteral("&User:"), txtUser);
    server->addRow(QStringLiteral("Pass&word:"), txtPassword);
    server->addRow(QStringLiteral("&CA file:"), caRow);
    server->addRow(QString(), lblTls);

    auto* buttons = new QDialogButtonBox(this);
    cmdSave = named(buttons->addButton(QStringLiteral("&Save"), QDialogButtonBox::AcceptRole), "cmdSave",
                    QStringLiteral("Save"));
    cmdSave->setDefault(true);
    QPushButton* cmdCancel = named(buttons->addButton(QDialogButtonBox::Cancel), "cmdCancel", QStringLiteral("Cancel"));
    cmdCancel->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblPrompt);
    layout->addWidget(optThisComputer);
    layout->addWidget(optOfficeServer);
    layout->addLayout(server);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(cmdBrowse, &QPushButton::clicked, this, &frmRegisterLocation::chooseCaFile);
    connect(optOfficeServer, &QRadioButton::toggled, this, &frmRegisterLocation::update);
    for (QLineEdit* box : {txtHost, txtDatabase, txtUser})
        connect(box, &QLineEdit::textChanged, this, &frmRegisterLocation::update);
    update();
}

RegisterLocation frmRegisterLocation::location() const
{
    RegisterLocation chosen = m_current;
    chosen.kind = optOfficeServer->isChecked() ? RegisterLocation::Kind::Server : RegisterLocation::Kind::File;
    chosen.host = txtHost->text().trimmed();
    chosen.port = txtPort->value();
    chosen.database = txtDatabase->text().trimmed();
    chosen.user = txtUser->text().trimmed();
    chosen.caFile = txtCaFile->text().trimmed();
    return chosen;
}

QString frmRegisterLocation::password() const
{
    return txtPassword->text();
}

void frmRegisterLocation::update()
{
    const bool server = optOfficeServer->isChecked();
    for (QWidget* field : std::initializer_list<QWidget*>{txtHost, txtPort, txtDatabase, txtUser, txtPassword,
                                                          txtCaFile, cmdBrowse, lblTls})
        field->setEnabled(server);
    const RegisterLocation chosen = location();
    if (!server)
        lblTls->clear();
    else if (chosen.isLocal())
        lblTls->setText(QStringLiteral("This server is on this computer: Quillo reaches it without TLS."));
    else
        lblTls->setText(QStringLiteral("This server is not on this computer, so Quillo reaches it only over TLS, "
                                       "with its certificate verified against the system's certificate authorities "
                                       "or the CA file above (sslmode=verify-full)."));
    cmdSave->setEnabled(!server || (!chosen.database.isEmpty() && !chosen.user.isEmpty()));
}

void frmRegisterLocation::chooseCaFile()
{
    FileDialogRequest request;
    request.kind = FileDialogRequest::Kind::Open;
    request.fileName = txtCaFile->text().trimmed();
    request.filters = {
        {QStringLiteral("Certificates (*.pem *.crt)"), {QStringLiteral("*.pem"), QStringLiteral("*.crt")}},
        {QStringLiteral("Any File (*.*)"), {QStringLiteral("*")}}};
    request.selectedFilter = 0;
    request.fileMustExist = true;
    request.hideReadOnly = true;
    if (const std::optional<QString> chosen = m_fileDialogs.choose(request))
        txtCaFile->setText(*chosen);
}

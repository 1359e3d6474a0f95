#include "ui/register/PassphraseDialog.h"

#include "system/qt/widgets/OkCancelButtons.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString promptText(PassphrasePrompt::Purpose purpose, bool wrongBefore)
{
    if (purpose == PassphrasePrompt::Purpose::Choose)
        return QStringLiteral("The desktop's keyring does not answer, so the draft register is protected with a "
                              "passphrase instead. Choose one: Quillo asks for it once each time it starts, and "
                              "without it the register cannot be read.");
    if (wrongBefore)
        return QStringLiteral("That is not the register's passphrase. Type it again.");
    return QStringLiteral("Type the passphrase of the draft register.");
}

QLineEdit* passwordBox(const char* name, const QString& accessibleName, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setEchoMode(QLineEdit::Password);
    box->setAccessibleName(accessibleName);
    return box;
}

} // namespace

PassphraseDialog::PassphraseDialog(PassphrasePrompt::Purpose purpose, bool wrongBefore, QWidget* owner)
    : QDialog(owner), m_purpose(purpose)
{
    setObjectName(QStringLiteral("frmPassphrase"));
    setWindowTitle(QStringLiteral("Register Passphrase --Quillo"));
    setModal(true);

    lblPrompt = new QLabel(promptText(purpose, wrongBefore), this);
    lblPrompt->setObjectName(QStringLiteral("lblPrompt"));
    lblPrompt->setWordWrap(true);
    txtPassphrase = passwordBox("txtPassphrase", QStringLiteral("Passphrase"), this);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("&Passphrase:"), txtPassphrase);
    if (purpose == PassphrasePrompt::Purpose::Choose) {
        txtAgain = passwordBox("txtAgain", QStringLiteral("Passphrase again"), this);
        fields->addRow(QStringLiteral("&Again:"), txtAgain);
    }

    const OkCancelButtons okCancel = OkCancelButtons::addTo(*this);
    QDialogButtonBox* buttons = okCancel.box;
    cmdOK = okCancel.ok;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblPrompt);
    layout->addLayout(fields);
    layout->addWidget(buttons);

    connect(txtPassphrase, &QLineEdit::textChanged, this, &PassphraseDialog::updateOk);
    if (txtAgain)
        connect(txtAgain, &QLineEdit::textChanged, this, &PassphraseDialog::updateOk);
    updateOk();
}

QString PassphraseDialog::passphrase() const
{
    return txtPassphrase->text();
}

void PassphraseDialog::updateOk()
{
    const bool typed = !txtPassphrase->text().isEmpty();
    cmdOK->setEnabled(typed && (!txtAgain || txtAgain->text() == txtPassphrase->text()));
}

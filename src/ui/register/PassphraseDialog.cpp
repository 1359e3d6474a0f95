#include "ui/register/PassphraseDialog.h"

#include "register/PassphraseStrength.h"
#include "system/qt/widgets/OkCancelButtons.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString promptText(PassphrasePrompt::Purpose purpose, bool wrongBefore)
{
    switch (purpose) {
    case PassphrasePrompt::Purpose::Choose:
        return QStringLiteral("The desktop's keyring is not running or does not answer, so the draft register is "
                              "protected with a passphrase instead. Choose one: Quillo asks for it once a run, when "
                              "the register is first needed, and without it the register cannot be read.");
    case PassphrasePrompt::Purpose::ChooseOffice:
        return QStringLiteral("The office's new register on the server is protected with an office passphrase. "
                              "Choose one and give it to every seat of the office: each types it once, and without "
                              "it no one can read the register.");
    case PassphrasePrompt::Purpose::EnterOffice:
        return wrongBefore ? QStringLiteral("That is not the office passphrase. Type it again.")
                           : QStringLiteral("Type the office passphrase once: this computer then keeps the "
                                            "register's key in its keyring.");
    case PassphrasePrompt::Purpose::ServerPassword:
        return wrongBefore ? QStringLiteral("The office server did not take that password. Type it again.")
                           : QStringLiteral("Type the password of the office server's user.");
    case PassphrasePrompt::Purpose::Enter:
        break;
    }
    if (wrongBefore)
        return QStringLiteral("That is not the register's passphrase. Type it again.");
    return QStringLiteral("Type the passphrase of the draft register.");
}

bool chooses(PassphrasePrompt::Purpose purpose)
{
    return purpose == PassphrasePrompt::Purpose::Choose || purpose == PassphrasePrompt::Purpose::ChooseOffice;
}

QString titleOf(PassphrasePrompt::Purpose purpose)
{
    switch (purpose) {
    case PassphrasePrompt::Purpose::ChooseOffice:
    case PassphrasePrompt::Purpose::EnterOffice:
        return QStringLiteral("Office Passphrase --Quillo");
    case PassphrasePrompt::Purpose::ServerPassword:
        return QStringLiteral("Office Server Password --Quillo");
    case PassphrasePrompt::Purpose::Choose:
    case PassphrasePrompt::Purpose::Enter:
        break;
    }
    return QStringLiteral("Register Passphrase --Quillo");
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

PassphraseDialog::PassphraseDialog(PassphrasePrompt::Purpose purpose, bool wrongBefore, QWidget* owner,
                                   const QString& why)
    : QDialog(owner), m_purpose(purpose)
{
    setObjectName(QStringLiteral("frmPassphrase"));
    setWindowTitle(titleOf(purpose));
    setModal(true);

    const QString prompt = promptText(purpose, wrongBefore);
    lblPrompt = new QLabel(why.isEmpty() ? prompt : why + QLatin1Char(' ') + prompt, this);
    lblPrompt->setObjectName(QStringLiteral("lblPrompt"));
    lblPrompt->setWordWrap(true);
    txtPassphrase = passwordBox("txtPassphrase", QStringLiteral("Passphrase"), this);
    cmdShow = new QPushButton(QStringLiteral("&Show"), this);
    cmdShow->setObjectName(QStringLiteral("cmdShow"));
    cmdShow->setCheckable(true);
    cmdShow->setAutoDefault(false);
    cmdShow->setAccessibleName(QStringLiteral("Show the passphrase"));
    auto* passphraseRow = new QHBoxLayout;
    passphraseRow->addWidget(txtPassphrase);
    passphraseRow->addWidget(cmdShow);
    auto* fields = new QFormLayout;
    fields->addRow(purpose == PassphrasePrompt::Purpose::ServerPassword ? QStringLiteral("&Password:")
                                                                        : QStringLiteral("&Passphrase:"),
                   passphraseRow);
    if (chooses(purpose)) {
        txtAgain = passwordBox("txtAgain", QStringLiteral("Passphrase again"), this);
        fields->addRow(QStringLiteral("&Again:"), txtAgain);
        lblMatch = new QLabel(this);
        lblMatch->setObjectName(QStringLiteral("lblMatch"));
        fields->addRow(QString(), lblMatch);
        lblStrength = new QLabel(this);
        lblStrength->setObjectName(QStringLiteral("lblStrength"));
        lblStrength->setWordWrap(true);
        fields->addRow(QString(), lblStrength);
    }

    const OkCancelButtons okCancel = OkCancelButtons::addTo(*this);
    QDialogButtonBox* buttons = okCancel.box;
    cmdOK = okCancel.ok;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblPrompt);
    layout->addLayout(fields);
    layout->addWidget(buttons);

    connect(cmdShow, &QPushButton::toggled, this, &PassphraseDialog::showText);
    connect(txtPassphrase, &QLineEdit::textChanged, this, &PassphraseDialog::updateOk);
    if (txtAgain)
        connect(txtAgain, &QLineEdit::textChanged, this, &PassphraseDialog::updateOk);
    updateOk();
}

QString PassphraseDialog::passphrase() const
{
    return txtPassphrase->text();
}

void PassphraseDialog::showText(bool shown)
{
    const QLineEdit::EchoMode mode = shown ? QLineEdit::Normal : QLineEdit::Password;
    txtPassphrase->setEchoMode(mode);
    if (txtAgain)
        txtAgain->setEchoMode(mode);
}

void PassphraseDialog::updateOk()
{
    const QString typed = txtPassphrase->text();
    if (!txtAgain) {
        cmdOK->setEnabled(!typed.isEmpty());
        return;
    }
    const PassphraseStrength strength(typed);
    lblStrength->setText(strength.advice());
    // Said once the second box has something to compare.
    const bool differ = !txtAgain->text().isEmpty() && txtAgain->text() != typed;
    lblMatch->setText(differ ? QStringLiteral("The two passphrases differ.") : QString());
    cmdOK->setEnabled(strength.isEnough() && txtAgain->text() == typed);
}

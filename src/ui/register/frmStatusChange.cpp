#include "ui/register/frmStatusChange.h"

#include "register/RegisterTexts.h"
#include "system/qt/widgets/OkCancelButtons.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmStatusChange::frmStatusChange(DraftEventKind kind, const QString& question, const QDate& earliest,
                                 const QDate& today, QWidget* owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("frmStatusChange"));
    setWindowTitle(QStringLiteral("Mark %1 --Quillo").arg(RegisterTexts::eventName(kind)));
    setModal(true);

    auto* lblQuestion = new QLabel(question, this);
    lblQuestion->setObjectName(QStringLiteral("lblQuestion"));
    lblQuestion->setWordWrap(true);
    dtpDay = new QDateEdit(this);
    dtpDay->setObjectName(QStringLiteral("dtpDay"));
    dtpDay->setAccessibleName(QStringLiteral("Date"));
    dtpDay->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    dtpDay->setCalendarPopup(true);
    dtpDay->setDateRange(earliest.isValid() && earliest <= today ? earliest : today, today);
    dtpDay->setDate(today);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("&Date:"), dtpDay);
    if (kind == DraftEventKind::Deposited || kind == DraftEventKind::Represented) {
        txtDeposit = new QLineEdit(this);
        txtDeposit->setObjectName(QStringLiteral("txtDeposit"));
        txtDeposit->setAccessibleName(QStringLiteral("Deposit (optional)"));
        txtDeposit->setPlaceholderText(QStringLiteral("Slip or batch number, optional"));
        fields->addRow(QStringLiteral("D&eposit:"), txtDeposit);
    }
    if (kind == DraftEventKind::Returned) {
        cboReason = new QComboBox(this);
        cboReason->setObjectName(QStringLiteral("cboReason"));
        cboReason->setAccessibleName(QStringLiteral("Reason"));
        for (const ReturnReason reason : ReturnReasons::all())
            cboReason->addItem(ReturnReasons::name(reason), int(reason));
        txtOther = new QLineEdit(this);
        txtOther->setObjectName(QStringLiteral("txtOther"));
        txtOther->setAccessibleName(QStringLiteral("Other reason"));
        fields->addRow(QStringLiteral("&Reason:"), cboReason);
        fields->addRow(QStringLiteral("&Other reason:"), txtOther);
        connect(cboReason, &QComboBox::currentIndexChanged, this, &frmStatusChange::updateOk);
        connect(txtOther, &QLineEdit::textChanged, this, &frmStatusChange::updateOk);
    }

    const OkCancelButtons okCancel = OkCancelButtons::addTo(*this);
    cmdOK = okCancel.ok;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblQuestion);
    layout->addLayout(fields);
    layout->addWidget(okCancel.box);
    updateOk();
}

StatusChangeAnswer frmStatusChange::answer() const
{
    StatusChangeAnswer answer;
    answer.day = dtpDay->date();
    if (txtDeposit)
        answer.deposit = txtDeposit->text().trimmed();
    if (cboReason) {
        answer.reason = ReturnReason(cboReason->currentData().toInt());
        if (answer.reason == ReturnReason::Other)
            answer.otherText = txtOther->text().trimmed();
    }
    return answer;
}

void frmStatusChange::updateOk()
{
    if (!cboReason)
        return;
    // Other needs the merchant's words; the listed reasons need none.
    const bool other = ReturnReason(cboReason->currentData().toInt()) == ReturnReason::Other;
    txtOther->setEnabled(other);
    cmdOK->setEnabled(!other || !txtOther->text().trimmed().isEmpty());
}

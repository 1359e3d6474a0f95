#include "ui/authorization/frmMerchantDetails.h"

#include "system/qt/widgets/OkCancelButtons.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* lineBox(const char* name, const QString& accessibleName, const QString& text, QWidget* parent)
{
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(accessibleName);
    box->setMaxLength(MerchantDetails::MaxLine);
    return box;
}

// Several lines, and Tab still moves on, as in every other box.
QPlainTextEdit* linesBox(const char* name, const QString& accessibleName, const QString& text, int lines,
                         QWidget* parent)
{
    auto* box = new QPlainTextEdit(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(accessibleName);
    box->setTabChangesFocus(true);
    box->setFixedHeight(box->fontMetrics().lineSpacing() * lines + 12);
    return box;
}

} // namespace

frmMerchantDetails::frmMerchantDetails(const MerchantDetails& details, QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmMerchantDetails"));
    setWindowTitle(QStringLiteral("Merchant Details --Quillo"));
    setModal(true);

    txtName = lineBox("txtName", QStringLiteral("Name"), details.name, this);
    txtAddress =
        linesBox("txtAddress", QStringLiteral("Address"), details.address, MerchantDetails::MaxAddressLines, this);
    txtPhone = lineBox("txtPhone", QStringLiteral("Phone"), details.phone, this);
    txtQuestionsPhone =
        lineBox("txtQuestionsPhone", QStringLiteral("Phone for questions"), details.questionsPhone, this);
    txtQuestionsPhone->setPlaceholderText(QStringLiteral("The phone above"));
    txtRefund = linesBox("txtRefund", QStringLiteral("Refund procedure"), details.refundProcedure, 5, this);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("&Name:"), txtName);
    fields->addRow(QStringLiteral("&Address:"), txtAddress);
    fields->addRow(QStringLiteral("&Phone:"), txtPhone);
    fields->addRow(QStringLiteral("Phone for &questions:"), txtQuestionsPhone);
    fields->addRow(QStringLiteral("&Refund procedure:"), txtRefund);

    const OkCancelButtons okCancel = OkCancelButtons::addTo(*this);
    QDialogButtonBox* buttons = okCancel.box;
    cmdOK = okCancel.ok;
    cmdCancel = okCancel.cancel;

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    txtName->setFocus();
}

MerchantDetails frmMerchantDetails::details() const
{
    MerchantDetails shown;
    shown.name = txtName->text();
    shown.address = txtAddress->toPlainText();
    shown.phone = txtPhone->text();
    shown.questionsPhone = txtQuestionsPhone->text();
    shown.refundProcedure = txtRefund->toPlainText();
    return shown.limited();
}

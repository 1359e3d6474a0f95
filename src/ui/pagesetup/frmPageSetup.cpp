#include "ui/pagesetup/frmPageSetup.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

QDoubleSpinBox* offsetBox(const char* name, int hundredths, QWidget* parent)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setDecimals(2);
    box->setSingleStep(0.01);
    box->setRange(-PageSetup::MaxOffset / 100.0, PageSetup::MaxOffset / 100.0);
    box->setSuffix(QStringLiteral(" in"));
    box->setValue(hundredths / 100.0);
    return box;
}

int hundredths(const QDoubleSpinBox* box)
{
    return static_cast<int>(std::lround(box->value() * 100));
}

} // namespace

frmPageSetup::frmPageSetup(const PageSetup& setup, std::function<void(const PageSetup&)> printAlignmentPage,
                           QWidget* owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("frmPageSetup"));
    setWindowTitle(QStringLiteral("Page Setup --Quillo"));
    setModal(true);

    auto* bankLine = new QGroupBox(QStringLiteral("Bank line"), this);
    optLayout = new QRadioButton(QStringLiteral("Where the layout puts it"), bankLine);
    optLayout->setObjectName(QStringLiteral("optLayout"));
    optStandard =
        new QRadioButton(QStringLiteral("At the bank-standard place, check at the top of a Letter sheet"), bankLine);
    optStandard->setObjectName(QStringLiteral("optStandard"));
    (setup.bankLine == PageSetup::BankLine::Standard ? optStandard : optLayout)->setChecked(true);
    auto* bankLineLayout = new QVBoxLayout(bankLine);
    bankLineLayout->addWidget(optLayout);
    bankLineLayout->addWidget(optStandard);

    auto* offsets = new QGroupBox(QStringLiteral("Move the whole page"), this);
    txtOffsetRight = offsetBox("txtOffsetRight", setup.offsetRight, offsets);
    txtOffsetDown = offsetBox("txtOffsetDown", setup.offsetDown, offsets);
    auto* offsetsLayout = new QFormLayout(offsets);
    offsetsLayout->addRow(QStringLiteral("&Right by:"), txtOffsetRight);
    offsetsLayout->addRow(QStringLiteral("&Down by:"), txtOffsetDown);

    cmdAlignment = new QPushButton(QStringLiteral("Print &Alignment Page"), this);
    cmdAlignment->setObjectName(QStringLiteral("cmdAlignment"));
    cmdAlignment->setAutoDefault(false);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    cmdOK = buttons->button(QDialogButtonBox::Ok);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = buttons->button(QDialogButtonBox::Cancel);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bankLine);
    layout->addWidget(offsets);
    layout->addWidget(cmdAlignment, 0, Qt::AlignLeft);
    layout->addWidget(buttons);

    connect(cmdAlignment, &QPushButton::clicked, this,
            [this, print = std::move(printAlignmentPage)] { print(this->setup()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

PageSetup frmPageSetup::setup() const
{
    PageSetup shown;
    shown.bankLine = optStandard->isChecked() ? PageSetup::BankLine::Standard : PageSetup::BankLine::Layout;
    shown.offsetRight = hundredths(txtOffsetRight);
    shown.offsetDown = hundredths(txtOffsetDown);
    return shown;
}

#include "ui/pagesetup/frmPageSetup.h"

#include "print/PageRoom.h"
#include "system/qt/widgets/OkCancelButtons.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
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
                           const PrintedCaptions& captions, const QPageLayout& paper, QWidget* owner)
    : QDialog(owner), m_captions(captions), m_paper(paper)
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
    // Off unless asked for: banks that do not expect the code reject the draft.
    chkEpc6 = new QCheckBox(QStringLiteral("Print the remotely created check code (EPC 6) on the bank line \u2014 "
                                           "only if your bank asks for it"),
                            bankLine);
    chkEpc6->setObjectName(QStringLiteral("chkEpc6"));
    chkEpc6->setChecked(setup.epc6);
    auto* bankLineLayout = new QVBoxLayout(bankLine);
    bankLineLayout->addWidget(optLayout);
    bankLineLayout->addWidget(optStandard);
    bankLineLayout->addWidget(chkEpc6);

    auto* offsets = new QGroupBox(QStringLiteral("Move the whole page"), this);
    txtOffsetRight = offsetBox("txtOffsetRight", setup.offsetRight, offsets);
    txtOffsetDown = offsetBox("txtOffsetDown", setup.offsetDown, offsets);
    auto* offsetsLayout = new QFormLayout(offsets);
    offsetsLayout->addRow(QStringLiteral("&Right by:"), txtOffsetRight);
    offsetsLayout->addRow(QStringLiteral("&Down by:"), txtOffsetDown);
    lblRoom = new QLabel(offsets);
    lblRoom->setObjectName(QStringLiteral("lblRoom"));
    lblRoom->setTextFormat(Qt::PlainText);
    lblRoom->setWordWrap(true);
    offsetsLayout->addRow(lblRoom);

    cmdAlignment = new QPushButton(QStringLiteral("Print &Alignment Page"), this);
    cmdAlignment->setObjectName(QStringLiteral("cmdAlignment"));
    cmdAlignment->setAutoDefault(false);
    const OkCancelButtons okCancel = OkCancelButtons::addTo(*this);
    QDialogButtonBox* buttons = okCancel.box;
    cmdOK = okCancel.ok;
    cmdCancel = okCancel.cancel;

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bankLine);
    layout->addWidget(offsets);
    layout->addWidget(cmdAlignment, 0, Qt::AlignLeft);
    layout->addWidget(buttons);

    connect(cmdAlignment, &QPushButton::clicked, this,
            [this, print = std::move(printAlignmentPage)] { print(this->setup()); });
    // Every choice that moves an item changes the room.
    connect(optStandard, &QRadioButton::toggled, this, &frmPageSetup::showRoom);
    connect(chkEpc6, &QCheckBox::toggled, this, &frmPageSetup::showRoom);
    connect(txtOffsetRight, &QDoubleSpinBox::valueChanged, this, &frmPageSetup::showRoom);
    connect(txtOffsetDown, &QDoubleSpinBox::valueChanged, this, &frmPageSetup::showRoom);
    showRoom();
}

void frmPageSetup::setPaper(const QPageLayout& paper)
{
    m_paper = paper;
    showRoom();
}

void frmPageSetup::showRoom()
{
    lblRoom->setText(PageRoom::of(m_paper, setup(), m_captions).describe(m_paper));
}

PageSetup frmPageSetup::setup() const
{
    PageSetup shown;
    shown.bankLine = optStandard->isChecked() ? PageSetup::BankLine::Standard : PageSetup::BankLine::Layout;
    shown.offsetRight = hundredths(txtOffsetRight);
    shown.offsetDown = hundredths(txtOffsetDown);
    shown.epc6 = chkEpc6->isChecked();
    return shown;
}

#include "ui/preview/frmPrintPreview.h"

#include "ui/preview/PagePreview.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

QPushButton* button(const char* name, const QString& caption, QWidget* parent)
{
    auto* created = new QPushButton(caption, parent);
    created->setObjectName(QString::fromLatin1(name));
    created->setAutoDefault(false);
    return created;
}

std::vector<QRectF> boxesOf(const std::vector<QuickPrint::Overflow>& overflows)
{
    std::vector<QRectF> boxes;
    for (const QuickPrint::Overflow& overflow : overflows)
        boxes.push_back(overflow.place);
    return boxes;
}

} // namespace

frmPrintPreview::frmPrintPreview(const PrintedPage& page, const std::vector<QuickPrint::Overflow>& overflows,
                                 QWidget* owner, const std::vector<QRectF>& inClearBand)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("frmPrintPreview"));
    setWindowTitle(QStringLiteral("Print Preview --Quillo"));
    setModal(true);

    std::vector<QRectF> marks = boxesOf(overflows);
    marks.insert(marks.end(), inClearBand.begin(), inClearBand.end());
    m_page = new PagePreview(page, marks);
    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(m_page);
    m_scroll->setAlignment(Qt::AlignHCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->installEventFilter(this);

    auto* refusal = new QLabel(this);
    refusal->setObjectName(QStringLiteral("lblRefusal"));
    refusal->setTextFormat(Qt::PlainText);
    refusal->setWordWrap(true);
    refusal->setText(overflows.empty()
                         ? QString()
                         : QuickPrint::refusal(overflows, page.layout().paintRect(QPageLayout::Inch).width()));
    refusal->setVisible(!overflows.empty());

    auto* clearBand = new QLabel(this);
    clearBand->setObjectName(QStringLiteral("lblClearBand"));
    clearBand->setTextFormat(Qt::PlainText);
    clearBand->setWordWrap(true);
    clearBand->setText(QStringLiteral("The items marked in red reach into the bottom 5/8 inch of the check, where a "
                                      "bank's reader expects only the bank line. They will print as shown."));
    clearBand->setVisible(!inClearBand.empty());

    cmdFitWidth = button("cmdFitWidth", QStringLiteral("Fit to &Width"), this);
    cmdActualSize = button("cmdActualSize", QStringLiteral("&Actual Size"), this);
    cmdPrint = button("cmdPrint", QStringLiteral("&Print"), this);
    cmdExport = button("cmdExport", QStringLiteral("&Export as PDF..."), this);
    cmdExport->setEnabled(overflows.empty());
    cmdExport->hide();
    cmdClose = button("cmdClose", QStringLiteral("&Close"), this);
    cmdFitWidth->setCheckable(true);
    cmdActualSize->setCheckable(true);
    cmdPrint->setEnabled(overflows.empty());
    cmdPrint->setDefault(overflows.empty());

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdFitWidth);
    buttons->addWidget(cmdActualSize);
    buttons->addStretch();
    buttons->addWidget(cmdPrint);
    buttons->addWidget(cmdExport);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_scroll, 1);
    layout->addWidget(refusal);
    layout->addWidget(clearBand);
    layout->addLayout(buttons);

    connect(cmdFitWidth, &QPushButton::clicked, this, &frmPrintPreview::fitToWidth);
    connect(cmdActualSize, &QPushButton::clicked, this, &frmPrintPreview::actualSize);
    connect(cmdPrint, &QPushButton::clicked, this, &frmPrintPreview::cmdPrint_Click);
    connect(cmdExport, &QPushButton::clicked, this, &frmPrintPreview::exportRequested);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);

    resize(760, 640);
    fitToWidth();
    cmdPrint->setFocus();
}

void frmPrintPreview::offerExport()
{
    cmdExport->show();
    setTabOrder(cmdPrint, cmdExport);
    setTabOrder(cmdExport, cmdClose);
}

void frmPrintPreview::fitToWidth()
{
    cmdFitWidth->setChecked(true);
    cmdActualSize->setChecked(false);
    // Room is kept for the scroll bar that a long page brings, whether it
    // shows yet or not, so that the fit does not change when it appears.
    const int room = m_scroll->width() - 2 * m_scroll->frameWidth() - m_scroll->verticalScrollBar()->sizeHint().width();
    m_page->setZoom(m_page->zoomToFit(room));
}

void frmPrintPreview::actualSize()
{
    cmdFitWidth->setChecked(false);
    cmdActualSize->setChecked(true);
    m_page->setZoom(1.0);
}

bool frmPrintPreview::eventFilter(QObject* watched, QEvent* event)
{
    // The view's own size is known only once the layout has placed it, after
    // the window's; fitting follows it.
    if (watched == m_scroll && event->type() == QEvent::Resize && cmdFitWidth->isChecked())
        fitToWidth();
    return QDialog::eventFilter(watched, event);
}

void frmPrintPreview::cmdPrint_Click()
{
    Q_EMIT printRequested();
}

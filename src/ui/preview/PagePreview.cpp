#include "ui/preview/PagePreview.h"

#include <QPainter>

namespace {

// The grey around the sheet, in pixels.
constexpr int Border = 12;
// Light enough to tell from anything printed.
const QColor PrintableEdgeColor(150, 150, 150);

} // namespace

PagePreview::PagePreview(PrintedPage page, std::vector<QRectF> marks, QWidget* parent)
    : QWidget(parent), m_page(std::move(page)), m_marks(std::move(marks))
{
    setObjectName(QStringLiteral("picPage"));
    setAccessibleName(QStringLiteral("Page"));
}

void PagePreview::setZoom(double zoom)
{
    m_zoom = zoom;
    resize(sizeHint());
    update();
}

QSizeF PagePreview::sheetPixels() const
{
    return m_page.layout().fullRectPoints().size() * (logicalDpiX() / 72.0) * m_zoom;
}

double PagePreview::zoomToFit(int width) const
{
    const double sheet = m_page.layout().fullRectPoints().width() * logicalDpiX() / 72.0;
    return std::max(0.1, (width - 2 * Border) / sheet);
}

QSize PagePreview::sizeHint() const
{
    return sheetPixels().toSize() + QSize(2 * Border, 2 * Border);
}

void PagePreview::paintSheet(QPainter& painter) const
{
    const double perPoint = painter.device()->logicalDpiX() / 72.0 * m_zoom;
    const QRectF sheet(QPointF(0, 0), m_page.layout().fullRectPoints().size() * perPoint);
    painter.fillRect(sheet, Qt::white);
    painter.save();
    painter.translate(m_page.layout().paintRect(QPageLayout::Point).topLeft() * perPoint);
    painter.scale(m_zoom, m_zoom);
    painter.setPen(Qt::black);
    m_page.paint(painter);
    // Marks are in the page's pixels; the painter is now at the device's.
    const double toDevice = double(painter.device()->logicalDpiX()) / m_page.resolution();
    // The printable area's edge, thin and dashed, so that a marked item is
    // seen against the edge it crosses.
    const QSizeF printable = m_page.layout().paintRectPixels(m_page.resolution()).size() * toDevice;
    painter.setPen(QPen(PrintableEdgeColor, 0, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(QPointF(0, 0), printable));
    painter.setPen(QPen(Qt::red, 2 / m_zoom));
    painter.setBrush(Qt::NoBrush);
    for (const QRectF& mark : m_marks) {
        painter.drawRect(QRectF(mark.topLeft() * toDevice, mark.size() * toDevice).adjusted(-2, -2, 2, 2));
    }
    painter.restore();
}

void PagePreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().dark());
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(Border, Border);
    painter.setPen(Qt::black);
    painter.drawRect(QRectF(QPointF(-1, -1), sheetPixels() + QSizeF(1, 1)));
    paintSheet(painter);
}

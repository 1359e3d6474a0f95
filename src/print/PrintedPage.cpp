#include "print/PrintedPage.h"

#include "platform/QuilloError.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>

PrintedPage::PrintedPage(QPageLayout layout, int resolution) : m_layout(std::move(layout)), m_resolution(resolution) {}

void PrintedPage::add(const QFont& font, QPointF baseline, const QString& text)
{
    m_texts.push_back({font, baseline, text});
}

void PrintedPage::addLine(QLineF line)
{
    m_lines.push_back(line);
}

void PrintedPage::paint(QPainter& painter) const
{
    // On a device of another resolution, such as the screen, the page is laid
    // out in its own pixels and scaled: every letter then stands where the
    // printer puts it, rather than where the device's coarser pixels would
    // round it to.
    const double toDevice = double(painter.device()->logicalDpiX()) / m_resolution;
    painter.save();
    painter.scale(toDevice, toDevice);
    for (const Text& item : m_texts) {
        QFont font = item.font;
        if (toDevice != 1.0) {
            font.setPointSizeF(font.pointSizeF() / toDevice);
            font.setHintingPreference(QFont::PreferNoHinting);
        }
        painter.setFont(font);
        painter.drawText(item.baseline, item.text);
    }
    if (!m_lines.empty()) {
        painter.setPen(QPen(Qt::black, 0));
        painter.drawLines(m_lines.data(), static_cast<int>(m_lines.size()));
    }
    painter.restore();
}

QByteArray PrintedPage::toPdf(const QString& title) const
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(m_resolution);
        writer.setPageLayout(m_layout);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Quillo"));
        QPainter painter;
        if (!painter.begin(&writer))
            throw QuilloError(QStringLiteral("The page of the check could not be drawn."));
        paint(painter);
        if (!painter.end())
            throw QuilloError(QStringLiteral("The page of the check could not be drawn."));
    }
    return buffer.data();
}

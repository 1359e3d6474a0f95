#include "platform/PrintedPage.h"

#include "platform/QuilloError.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>

PrintedPage::PrintedPage(QPageLayout layout, int resolution) : m_layout(std::move(layout)), m_resolution(resolution)
{}

void PrintedPage::add(const QFont& font, QPointF topLeft, const QString& text)
{
    m_texts.push_back({font, topLeft, text});
}

void PrintedPage::paint(QPainter& painter) const
{
    for (const Text& item : m_texts) {
        painter.setFont(item.font);
        const QFontMetricsF metrics(item.font, painter.device());
        // The page places a text by its top-left corner; QPainter by its baseline.
        painter.drawText(QPointF(item.topLeft.x(), item.topLeft.y() + metrics.ascent()), item.text);
    }
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

#pragma once

#include <QByteArray>
#include <QFont>
#include <QPageLayout>
#include <QPointF>
#include <QString>
#include <vector>

class QPainter;

// One composed page: texts in their fonts, placed in device pixels of
// `resolution` dots per inch from the top-left corner of the printable area
// of `layout`. The one painter of the printed page: printers, PDF files and
// the preview all draw it from here.
class PrintedPage {
public:
    struct Text {
        QFont font;
        QPointF topLeft;
        QString text;
    };

    PrintedPage(QPageLayout layout, int resolution);

    const QPageLayout& layout() const { return m_layout; }
    int resolution() const { return m_resolution; }
    const std::vector<Text>& texts() const { return m_texts; }

    void add(const QFont& font, QPointF topLeft, const QString& text);

    // Paints the page with `painter`, whose device has the page's resolution
    // and its origin at the top-left corner of the printable area (as a
    // printer's or a PDF writer's painter has).
    void paint(QPainter& painter) const;

    // The page as a one-page PDF document, made in memory: no file on the way
    // ever holds the draft. Every font used is embedded.
    QByteArray toPdf(const QString& title) const;

private:
    QPageLayout m_layout;
    int m_resolution;
    std::vector<Text> m_texts;
};

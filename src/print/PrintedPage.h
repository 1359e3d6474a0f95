#pragma once

#include <QByteArray>
#include <QFont>
#include <QLineF>
#include <QPageLayout>
#include <QPointF>
#include <QString>
#include <vector>

class QPainter;

// One composed page: texts in their fonts, placed by their baselines in
// device pixels of `resolution` dots per inch from the top-left corner of the
// printable area of `layout`. The one painter of the printed page: printers, PDF files and
// the preview all draw it from here.
class PrintedPage {
public:
    struct Text {
        QFont font;
        QPointF baseline; // the left end of the text's baseline
        QString text;
    };

    PrintedPage(QPageLayout layout, int resolution);

    const QPageLayout& layout() const { return m_layout; }
    int resolution() const { return m_resolution; }
    const std::vector<Text>& texts() const { return m_texts; }
    const std::vector<QLineF>& lines() const { return m_lines; }

    void add(const QFont& font, QPointF baseline, const QString& text);
    // A hairline, such as the outline of a check on the alignment page.
    void addLine(QLineF line);

    // Paints the page with `painter`, whose origin is the top-left corner of
    // the printable area (as a printer's or a PDF writer's painter has), on a
    // device of any resolution: a printer, a PDF page or the screen.
    void paint(QPainter& painter) const;

    // The page as a one-page PDF document, made in memory: no file on the way
    // ever holds the draft. Every font used is embedded.
    QByteArray toPdf(const QString& title) const;

private:
    QPageLayout m_layout;
    int m_resolution;
    std::vector<Text> m_texts;
    std::vector<QLineF> m_lines;
};

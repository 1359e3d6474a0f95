#pragma once

#include "platform/QuilloError.h"
#include "print/PrintSurface.h"

#include <QStringList>
#include <map>

// A print surface with simple, exact metrics that records every operation as
// a line of text, and can be told to fail at the n-th operation.
//
// Metrics by font family: a character is `charWidth` wide (every character,
// so text width is length × charWidth) and a line is `lineHeight` high.
class RecordingPrintSurface : public PrintSurface {
public:
    struct Metrics {
        double charWidth;
        double lineHeight;
    };

    RecordingPrintSurface()
    {
        metrics[QStringLiteral("Arial")] = {10, 20};
        metrics[QStringLiteral("MICR 013 BT")] = {30, 50};
    }

    void setFontName(const QString& family) override
    {
        record(QStringLiteral("font %1").arg(family));
        m_family = family;
    }
    void setFontSize(double points) override { record(QStringLiteral("size %1").arg(points)); }
    void setFontBold(bool bold) override
    {
        record(QStringLiteral("bold %1").arg(bold ? 1 : 0));
        m_bold = bold;
    }
    double averageCharWidth() override
    {
        step();
        return current().charWidth;
    }
    double lineHeight() override
    {
        step();
        return current().lineHeight;
    }
    double textWidth(const QString& text) override
    {
        step();
        return text.size() * current().charWidth;
    }
    double ascent() override
    {
        step();
        return current().lineHeight * 0.75;
    }
    double sheetWidth() override
    {
        step();
        return sheet;
    }
    QPointF printableOrigin() override
    {
        step();
        return origin;
    }
    double printableWidth() override
    {
        step();
        return pageWidth;
    }
    double unitsPerInch() override
    {
        step();
        return inch;
    }
    void drawText(double x, double y, const QString& text) override
    {
        record(QStringLiteral("draw %1,%2 %3%4 [%5]")
                   .arg(x)
                   .arg(y)
                   .arg(m_family, m_bold ? QStringLiteral(" bold") : QString(), text));
    }
    void drawLine(double x1, double y1, double x2, double y2) override
    {
        record(QStringLiteral("line %1,%2 %3,%4").arg(x1).arg(y1).arg(x2).arg(y2));
    }
    void endDoc() override { record(QStringLiteral("end")); }

    // Only the drawing and the end of the document, without font changes.
    QStringList output() const
    {
        QStringList lines;
        for (const QString& op : operations) {
            if (op.startsWith(QLatin1String("draw")) || op == QLatin1String("end"))
                lines.append(op);
        }
        return lines;
    }

    // The texts of the "draw" operations among `ops`, in order.
    static QStringList drawnTexts(const QStringList& ops)
    {
        QStringList texts;
        for (const QString& op : ops) {
            if (op.startsWith(QLatin1String("draw")))
                texts.append(op.mid(op.indexOf(QLatin1Char('[')) + 1).chopped(1));
        }
        return texts;
    }

    QStringList operations;
    std::map<QString, Metrics> metrics;
    // The printable area: wide enough for every test cheque unless a test narrows it.
    double pageWidth = 100000;
    double inch = 100;
    // The sheet around it: Letter with quarter-inch margins, at `inch` units.
    double sheet = 850;
    QPointF origin{25, 25};
    int failAtStep = -1; // 0-based count of all operations, measuring included
    int steps = 0;

private:
    void step()
    {
        if (steps++ == failAtStep)
            throw QuilloError(QStringLiteral("The printer ran out of paper."));
    }
    void record(const QString& op)
    {
        step();
        operations.append(op);
    }
    Metrics current() const
    {
        const auto it = metrics.find(m_family);
        return it == metrics.end() ? Metrics{8, 16} : it->second;
    }

    QString m_family;
    bool m_bold = false;
};

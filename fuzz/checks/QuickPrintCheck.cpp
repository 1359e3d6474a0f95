#include "QuickPrintCheck.h"

#include "platform/QuilloError.h"
#include "print/PrintSurface.h"
#include "print/QuickPrint.h"

#include "fakes/FakeMessageBox.h"

#include <QList>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace {

constexpr int HeaderLength = 5;

// A surface that keeps what was drawn as data. Text widths depend on the
// characters (control characters are zero wide), as in a proportional font.
class ComposeRecorder : public PrintSurface {
public:
    struct Drawn {
        double x;
        double y;
        double width;
        double lineHeight; // of the font the text was drawn in
        QString text;
    };
    struct FontMetrics {
        double charWidth;
        double lineHeight;
    };

    std::map<QString, FontMetrics> fonts;
    int failAtStep = -1;
    QList<Drawn> drawn;
    // "draw", "end" and, through the message box, "message", in order.
    QStringList events;

    void setFontName(const QString& family) override
    {
        step();
        m_family = family;
    }
    void setFontSize(double) override { step(); }
    void setFontBold(bool) override { step(); }
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
        return widthOf(text);
    }
    // No page edge: the composition is checked here, not the refusal of a page too narrow for it.
    double printableWidth() override
    {
        step();
        return std::numeric_limits<double>::infinity();
    }
    double unitsPerInch() override
    {
        step();
        return 72;
    }
    // The sheet matters only to the bank line at the standard place, which these checks leave alone.
    double ascent() override { return current().lineHeight; }
    double sheetWidth() override { return 612; }
    QPointF printableOrigin() override { return {}; }
    void drawLine(double, double, double, double) override { step(); }
    void drawText(double x, double y, const QString& text) override
    {
        step();
        drawn.append({x, y, widthOf(text), current().lineHeight, text});
        events << QStringLiteral("draw");
    }
    void endDoc() override
    {
        step();
        events << QStringLiteral("end");
    }

private:
    void step()
    {
        if (m_steps++ == failAtStep)
            throw QuilloError(QStringLiteral("The printer ran out of paper."));
    }
    FontMetrics current() const
    {
        const auto it = fonts.find(m_family);
        return it == fonts.end() ? FontMetrics{7, 13} : it->second;
    }
    double widthOf(const QString& text) const
    {
        double width = 0;
        for (QChar c : text) {
            if (c.category() != QChar::Other_Control)
                width += current().charWidth * (2 + c.unicode() % 3) / 3;
        }
        return width;
    }

    QString m_family;
    int m_steps = 0;
};

struct Input {
    int failAtStep = -1;
    ComposeRecorder::FontMetrics text;
    ComposeRecorder::FontMetrics micr;
    CheckTexts texts;
    PrintedCaptions captions;
};

Input parse(QByteArrayView bytes)
{
    Input input;
    auto at = [&](int i) { return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0; };
    if (at(0) >= 0x80)
        input.failAtStep = at(0) - 0x80;
    input.text = {1.0 + at(1) % 24, 1.0 + at(2) % 40};
    input.micr = {1.0 + at(3) % 48, 1.0 + at(4) % 80};

    QString all;
    for (qsizetype i = HeaderLength; i + 1 < bytes.size(); i += 2)
        all.append(QChar(static_cast<char16_t>(at(int(i)) | at(int(i) + 1) << 8)));
    const QStringList parts = all.split(QChar(0xFFFF));
    auto part = [&](int i) { return i < parts.size() ? parts[i] : QString(); };
    for (int i = 0; i < 14; ++i)
        input.texts[static_cast<std::size_t>(i)] = part(i);
    input.captions = {part(14), part(15), part(16), part(17), part(18), part(19), part(20)};
    return input;
}

QString show(const ComposeRecorder::Drawn& item)
{
    return QStringLiteral("\"%1\" at (%2, %3)").arg(item.text).arg(item.x).arg(item.y);
}

void checkPlacement(const QList<ComposeRecorder::Drawn>& drawn, QStringList& failures)
{
    for (qsizetype i = 0; i < drawn.size(); ++i) {
        const auto& item = drawn[i];
        if (!std::isfinite(item.x) || !std::isfinite(item.y) || item.x < 0 || item.y < 0)
            failures << QStringLiteral("%1 is off the page").arg(show(item));
        if (i == 0)
            continue;
        const auto& previous = drawn[i - 1];
        if (item.y == previous.y) {
            if (item.x < previous.x + previous.width)
                failures << QStringLiteral("%1 starts left of where %2 ends").arg(show(item), show(previous));
        } else if (item.y < previous.y + previous.lineHeight) {
            failures << QStringLiteral("%1 is printed over the line of %2").arg(show(item), show(previous));
        }
    }
}

void checkNothingLost(const Input& input, const QList<ComposeRecorder::Drawn>& drawn, QStringList& failures)
{
    // Values print without their trailing spaces; captions print as they stand.
    QStringList expected;
    for (const QString& text : input.texts)
        expected << withoutTrailingSpaces(text);
    const PrintedCaptions& c = input.captions;
    expected << c.Label4 << c.Label5 << c.Label8 << c.Label9 << c.Label10 << c.Label11 << c.Label12;
    expected.removeAll(QString());
    QStringList printed;
    for (const auto& item : drawn)
        printed << item.text;
    expected.sort();
    printed.sort();
    if (printed != expected)
        failures << QStringLiteral("drawn %1 texts, given %2 non-empty ones").arg(printed.size()).arg(expected.size());
}

} // namespace

QStringList QuickPrintCheck::check(QByteArrayView bytes)
{
    const Input input = parse(bytes);
    ComposeRecorder surface;
    surface.fonts[QuickPrint::TextFont] = input.text;
    surface.fonts[QuickPrint::MicrFont] = input.micr;
    surface.failAtStep = input.failAtStep;
    FakeMessageBox messages;
    messages.onShow = [&](const QString&) { surface.events << QStringLiteral("message"); };

    QStringList failures;
    bool failed = false;
    try {
        QuickPrint::run(input.texts, input.captions, surface, messages);
    } catch (const QuilloError&) {
        failed = true;
    }

    checkPlacement(surface.drawn, failures);
    const QStringList& events = surface.events;
    if (failed) {
        if (!messages.shown.isEmpty())
            failures << QStringLiteral("a failed run showed a message");
        if (input.failAtStep < 0)
            failures << QStringLiteral("the run failed without a failing surface");
    } else {
        if (messages.shown != QStringList{QuickPrint::Confirmation})
            failures << QStringLiteral("shown after the run: ") + messages.shown.join(QLatin1Char('|'));
        if (events.size() < 2 || events.last() != QLatin1String("message") ||
            events[events.size() - 2] != QLatin1String("end") || events.count(QStringLiteral("end")) != 1)
            failures << QStringLiteral("the confirmation did not follow the one end of the document: ") +
                            events.join(QLatin1Char(' '));
        checkNothingLost(input, surface.drawn, failures);
    }
    return failures;
}

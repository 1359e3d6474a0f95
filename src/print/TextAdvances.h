#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>

#include <array>
#include <optional>
#include <unordered_map>

// The widths of texts already measured, by font, at one resolution. Shaping a
// text is most of what composing a page costs, and the overflow marks compose
// the whole page again at every key the merchant types: with the widths kept,
// a page composed again measures only the texts that changed.
//
// A text's advance depends only on the font, the text and the resolution, so
// a kept width is the width measured anew; so do the font's ascent, line
// spacing and column width, kept with its widths. Fonts added while the
// program runs (the MICR font is added before any page) would not change a
// kept width.
class TextAdvances {
public:
    // Texts kept per font before its widths are measured afresh: a page
    // holds a few dozen, and each key typed adds one.
    static constexpr qsizetype MaxTexts = 4096;

    // What a font has of its own, whatever the text.
    enum class Measure { Ascent, LineSpacing, ColumnWidth };

    // The widths known in one font, and its own measures.
    class InFont {
    public:
        // The advance of `text`, measured with `metrics` (of this font) when not yet known.
        double of(const QString& text, const QFontMetricsF& metrics)
        {
            return of(text, [&metrics]() -> const QFontMetricsF& { return metrics; });
        }
        // The same with the metrics made by `metricsOf` only when needed.
        template <typename MetricsOf> double of(const QString& text, MetricsOf metricsOf)
        {
            if (const auto known = m_known.constFind(text); known != m_known.constEnd())
                return *known;
            if (m_known.size() >= MaxTexts)
                m_known.clear();
            const double advance = metricsOf().horizontalAdvance(text);
            m_known.insert(text, advance);
            return advance;
        }
        qsizetype size() const { return m_known.size(); }

        // The font's `which`, worked out by `measure` the first time.
        template <typename Measuring> double own(Measure which, Measuring measure)
        {
            std::optional<double>& known = m_own[static_cast<std::size_t>(which)];
            if (!known)
                known = measure();
            return *known;
        }

    private:
        QHash<QString, double> m_known;
        std::array<std::optional<double>, 3> m_own;
    };

    // The widths known in `font`; the reference stays valid while this object lives.
    InFont& inFont(const QFont& font);

    // The widths the pages built on this thread share. Only plain values are
    // kept, so the thread's end can free them after the application is gone.
    static TextAdvances& ofThisThread();

private:
    // Node-based: a font's widths stay where they are as others are added.
    std::unordered_map<QString, InFont> m_byFont;
};

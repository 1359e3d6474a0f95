#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>

#include <unordered_map>

// The widths of texts already measured, by font, at one resolution. Shaping a
// text is most of what composing a page costs, and the overflow marks compose
// the whole page again at every key the merchant types: with the widths kept,
// a page composed again measures only the texts that changed.
//
// A text's advance depends only on the font, the text and the resolution, so
// a kept width is the width measured anew. Fonts added while the program runs
// (the MICR font is added before any page) would not change a kept width.
class TextAdvances {
public:
    // Texts kept per font before its widths are measured afresh: a page
    // holds a few dozen, and each key typed adds one.
    static constexpr qsizetype MaxTexts = 4096;

    // The widths known in one font.
    class InFont {
    public:
        // The advance of `text`, measured with `metrics` (of this font) when not yet known.
        double of(const QString& text, const QFontMetricsF& metrics);
        qsizetype size() const { return m_known.size(); }

    private:
        QHash<QString, double> m_known;
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

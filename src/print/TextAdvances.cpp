#include "print/TextAdvances.h"

double TextAdvances::InFont::of(const QString& text, const QFontMetricsF& metrics)
{
    if (const auto known = m_known.constFind(text); known != m_known.constEnd())
        return *known;
    if (m_known.size() >= MaxTexts)
        m_known.clear();
    const double advance = metrics.horizontalAdvance(text);
    m_known.insert(text, advance);
    return advance;
}

TextAdvances::InFont& TextAdvances::inFont(const QFont& font)
{
    // The key names every property that sets the font's metrics.
    return m_byFont[font.key()];
}

TextAdvances& TextAdvances::ofThisThread()
{
    thread_local TextAdvances advances;
    return advances;
}

#include "print/TextAdvances.h"

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

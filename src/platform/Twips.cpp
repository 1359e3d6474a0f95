#include "platform/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

Twips Twips::forScreen()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return Twips(screen->logicalDotsPerInchY());
    return Twips();
}

int Twips::toPixels(int twips) const
{
    return static_cast<int>(std::lround(twips * m_dpi / PerInch));
}

int Twips::fromPixels(int pixels) const
{
    return static_cast<int>(std::lround(pixels * PerInch / m_dpi));
}

QRect Twips::toPixels(int left, int top, int width, int height) const
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

#pragma once

#include <QRect>

// Window geometry is designed in twips (1/1440 inch). This is the one place
// that turns twips into pixels and back: 15 twips make a pixel at 96 dpi, and
// other logical resolutions scale accordingly.
class Twips {
public:
    static constexpr int PerInch = 1440;
    static constexpr double DesignDpi = 96.0;

    explicit Twips(double logicalDpi = DesignDpi) : m_dpi(logicalDpi) {}

    // The converter for the primary screen's logical resolution.
    static Twips forScreen();

    double dpi() const { return m_dpi; }
    int toPixels(int twips) const;
    int fromPixels(int pixels) const;
    QRect toPixels(int left, int top, int width, int height) const;

private:
    double m_dpi;
};

#pragma once
// Window lengths are stored in twips; the screen works in pixels (15 twips each).

#include <cmath>

inline constexpr int kTwipsProPixel = 15;
inline int TwipsZuPixel(double twips) { return int(std::lround(twips / kTwipsProPixel)); }
inline int PixelZuTwips(int pixel) { return pixel * kTwipsProPixel; }
// A stored twips value that still rounds to the shown pixels is kept, so that
// reading a layout back does not change it.
inline int TwipsBehalten(int gespeichert, int pixel)
{
    return TwipsZuPixel(gespeichert) == pixel ? gespeichert : PixelZuTwips(pixel);
}

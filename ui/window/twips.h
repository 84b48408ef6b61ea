#pragma once

#include <QRect>
#include <QRectF>
#include <cmath>

namespace orbida::ui {

// The layout is written in twips (1/1440 inch). Qt lays widgets out in device-independent pixels
// and scales them to the screen itself, so one such pixel is always 15 twips: the factor of a
// 96 dpi screen. This is the one place where the two units meet.
inline constexpr double kTwipsPerPixel = 15.0;
inline constexpr float kTwipsPerPixelF = 15.0f;

inline int Px(double twips) {
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}

inline QRect TwipRect(double left, double top, double width, double height) {
    return QRect(Px(left), Px(top), Px(width), Px(height));
}

inline QRectF TwipRectF(double left, double top, double width, double height) {
    return QRectF(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                  height / kTwipsPerPixel);
}

}  // namespace orbida::ui

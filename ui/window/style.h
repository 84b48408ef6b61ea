#pragma once

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QLabel>
#include <QRect>
#include <QSize>
#include <QString>

namespace orbida::ui {

// Colours of the layout.
inline const QColor kGrey(128, 128, 128);
inline const QColor kSilver(192, 192, 192);
inline const QColor kCyan(0, 255, 255);
inline const QColor kLightCyan(192, 255, 255);
inline const QColor kLightGreen(192, 255, 192);
inline const QColor kRed(255, 0, 0);
inline const QColor kDialGreen(0, 128, 0);
inline const QColor kPaleYellow(255, 255, 128);
inline const QColor kAboutGrey(224, 224, 224);
inline const QColor kDarkGrey(64, 64, 64);
inline const QColor kGreen(0, 128, 0);
inline const QColor kBrightGreen(0, 255, 0);
// The long path, on the dial and on the map, and the pinned point's mark.
inline const QColor kLongPathOrange(255, 160, 0);
inline const QColor kPinMagenta(255, 0, 255);
// The antenna rotator's needle and text.
inline const QColor kRotorBlue(150, 205, 255);

// The program's font at a size in points (8.25 is the window font). The layout was drawn for
// "MS Sans Serif"; Liberation Sans (Arial's metrics) is the closest sans-serif that Debian ships,
// and every text the program writes fits its label with it. The size is set in pixels at 96 dpi
// so that text scales with the layout and not with the font configuration.
QFont UiFont(double points, bool bold = false);

// How a label of the layout looks.
struct LabelStyle {
    QColor colour;  // invalid: the system's button-text colour
    double points = 8.25;
    bool bold = true;
    Qt::Alignment alignment = Qt::AlignLeft;  // the text always starts at the top
};

// Names, places and styles a label of the layout; its text wraps at word boundaries.
void StyleLabel(QLabel* label, const char* name, QRect geometry, const LabelStyle& style);

// Sets up a fixed-size window of the layout: its name, size, background and the window font.
void StyleWindow(QWidget* window, const char* name, QSize size, const QColor& background);

// A new label of the layout, of type Label (a QLabel or one of its subclasses).
template <typename Label = QLabel>
Label* MakeLabel(QWidget* parent, const char* name, const QString& text, QRect geometry,
                 const LabelStyle& style) {
    auto* label = new Label(text, parent);
    StyleLabel(label, name, geometry, style);
    return label;
}

// Keeps a purely decorative widget (the title's shadow, a second copy of its text) out of what
// screen readers read: it shows as invisible and nameless to them.
void HideFromScreenReaders(QWidget* widget);

// The hand pointer of the buttons and the blank pointer of the map.
QCursor HandCursor();
QCursor BlankCursor();

}  // namespace orbida::ui

#pragma once

// The main window on fake desktop services, its widgets found by name, and what a user does to it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

#include "cities/city_file.h"
#include "fake_platform.h"
#include "ui/map/grey_line_layer.h"
#include "ui/map/map_widget.h"
#include "ui/map/route_layers.h"
#include "ui/parts/callsign_part.h"
#include "ui/parts/grey_line_part.h"
#include "ui/parts/pin_part.h"
#include "ui/parts/readings_part.h"
#include "ui/parts/rotator_part.h"
#include "ui/window/city_combo.h"
#include "ui/window/form1.h"
#include "ui/window/frame_widget.h"

namespace orbida::testing {

inline constexpr char kCities[] =
    "Paris, 48.8566, -2.3522\nNew York, 40.7143, 74.0060\nBesançon, 47.2380, -6.0244\n"
    "Sydney, -33.8678, -151.2073\n";
// The pointer's pixel in the window that measures New York (74 W, 40.46 N); from Paris its
// textbook initial bearing is 291.53 ° (the dial shows 292 °), its long path 111.53 °.
inline constexpr QPoint kNewYork(211, 161);
inline constexpr QPoint kOffTheMap(300, 900);

class FormTest : public ::testing::Test {
  protected:
    FormTest() : form(cities::ParseCityFile(kCities), fake.Services()) {}

    template <typename T = QLabel>
    T* Child(const char* name) {
        T* child = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QString Text(const char* name) { return Child(name)->text(); }
    bool Shown(const char* name) { return Child<QWidget>(name)->isVisibleTo(&form); }
    ui::MapWidget* Map() { return Child<ui::MapWidget>("Carte"); }
    ui::DialFrame* Dial() { return Child<ui::DialFrame>("Frame1"); }
    ui::CityCombo* Combo() { return Child<ui::CityCombo>("Combo1"); }

    // Shown and active, so that the window's shortcuts reach it.
    void ShowActive() {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    // The pointer resting at a pixel of the window, and the tick that measures it.
    void PointAt(QPoint p) {
        fake.pointer = form.mapToGlobal(p);
        form.TickAt(fake.pointer);
    }
    // A text in the city box, validated with the button.
    void Type(const QString& text) {
        Combo()->setEditText(text);
        Child<QPushButton>("ValidVille")->click();
    }
    void Choose(int index) {
        Combo()->setCurrentIndex(index);
        Child<QPushButton>("ValidVille")->click();
    }
    void ClickMap(QPoint windowPoint, Qt::MouseButton button = Qt::LeftButton) {
        const QPointF local = Map()->mapFrom(&form, windowPoint);
        QMouseEvent press(QEvent::MouseButtonPress, local, Map()->mapToGlobal(local), button,
                          button, Qt::NoModifier);
        QApplication::sendEvent(Map(), &press);
    }

    FakePlatform fake;
    ui::Form1 form;
};

}  // namespace orbida::testing

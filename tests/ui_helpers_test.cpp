// The window's helpers that need no window: the --time option's instant, the pacing of pointer
// moves to the screen's frames, and the web map's address.
#include <gtest/gtest.h>

#include <QLocale>
#include <chrono>
#include <clocale>
#include <cmath>
#include <optional>

#include "ui/platform/clock.h"
#include "ui/window/frame_pacer.h"
#include "ui/window/web_map.h"

namespace orbida::ui {
namespace {

using namespace std::chrono;

// A UTC instant, or a message saying what is wrong with the text.
TEST(ClockTest, ParsesTheTimeOption) {
    const WallTime noon{sys_days{2026y / 6 / 21} + hours{12}};
    const std::pair<const char*, std::optional<WallTime>> cases[] = {
        {"2026-06-21T12:00Z", noon},
        {"2026-06-21T12:00:00.250Z", noon + milliseconds{250}},
        {"2026-06-21T12:00+00:00", noon},
        {" 2026-06-21T12:00Z\n", noon},
        {"2100-12-31T23:59Z", WallTime{sys_days{2100y / 12 / 31} + hours{23} + minutes{59}}},
        // Local time, another zone, not a date at all, out of range.
        {"2026-06-21T12:00", std::nullopt},
        {"2026-06-21T14:00+02:00", std::nullopt},
        {"2026-13-01T00:00Z", std::nullopt},
        {"2026-02-30T00:00Z", std::nullopt},
        {"demain", std::nullopt},
        {"1066-10-14T09:00Z", std::nullopt},
    };
    for (const auto& [text, time] : cases) {
        const TimeOption option = ParseTimeOption(QString::fromUtf8(text));
        EXPECT_EQ(option.time, time) << text;
        EXPECT_EQ(option.error.isEmpty(), time.has_value()) << text;
        EXPECT_TRUE(time || option.error.startsWith(QStringLiteral("--time"))) << text;
    }
    // A date alone lacks its time, whatever its zone would have been.
    EXPECT_TRUE(ParseTimeOption(QStringLiteral("2026-12-21")).error.contains(u"pas d'heure"));
}

TEST(FramePacer, FrameFollowsTheScreenWithinLimits) {
    const std::pair<double, int> cases[] = {{60.0, 16}, {144.0, 6}, {50.0, 20},
                                            {30.0, 20}, {0.0, 20},  {-5.0, 20},
                                            {500.0, 4}, {240.0, 4}, {std::nan(""), 20}};
    for (const auto& [hertz, frameMs] : cases) {
        EXPECT_EQ(FramePacer::FrameFor(hertz), milliseconds{frameMs}) << hertz;
    }
}

// What the pacer says for each event of a run on a 16 ms frame: the wait for a move, nothing
// when a move is held already.
TEST(FramePacer, HoldsMovesUntilTheEndOfTheFrame) {
    enum class Event { Move, Shown, Drop };
    // The time, the event and, for a move, what the pacer says.
    const std::tuple<int, Event, std::optional<milliseconds>> steps[] = {
        {100, Event::Move, milliseconds{0}},   // the first move is shown at once
        {105, Event::Move, milliseconds{11}},  // inside the frame: held for the rest of it
        {110, Event::Move, std::nullopt},      // replaces the held move
        {116, Event::Shown, {}},               // the frame ends: a new one starts
        {120, Event::Move, milliseconds{12}},
        {125, Event::Drop, {}},               // the window ticked for the pointer itself
        {126, Event::Move, milliseconds{6}},  // still measured from the last frame's start
        {132, Event::Shown, {}},
        {148, Event::Move, milliseconds{0}},  // a whole frame later: at once
        {149, Event::Move, milliseconds{15}},
    };
    milliseconds now{0};
    FramePacer pacer(milliseconds{16}, [&] { return now; });
    for (const auto& [at, event, wait] : steps) {
        now = milliseconds{at};
        if (event == Event::Move) {
            EXPECT_EQ(pacer.Moved(), wait) << at;
        } else if (event == Event::Shown) {
            pacer.HeldShown();
        } else {
            pacer.DropHeld();
        }
    }
}

// "." as the decimal point whatever the locale, no exponent, the longitude turned east positive.
TEST(WebMapAddress, SameTextUnderEveryLocale) {
    const std::pair<geodesy::GeoPoint, const char*> cases[] = {
        {{48.8566, -2.3522}, "latitude=48.8566&longitude=2.3522"},
        {{-33.45, 70.66}, "latitude=-33.45&longitude=-70.66"},
        {{0.01, 0.01}, "latitude=0.01&longitude=-0.01"},
        {{0.00001, -1e-7}, "latitude=0.00001&longitude=0.0000001"},
        {{1.0 / 3.0, 100.0 / 3.0}, "latitude=0.333333333333333&longitude=-33.3333333333333"},
    };
    for (const char* locale : {"C", "fr_FR.UTF-8"}) {
        std::setlocale(LC_ALL, locale);
        QLocale::setDefault(locale[0] == 'C' ? QLocale::c() : QLocale(QLocale::French));
        for (const auto& [reference, query] : cases) {
            EXPECT_EQ(WebMapAddress(reference),
                      QStringLiteral("https://www.mapquest.com/maps/map.adp?latlongtype=decimal&") +
                          query + QStringLiteral("&zoom=3"))
                << locale;
        }
    }
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(QLocale::c());
}

}  // namespace
}  // namespace orbida::ui

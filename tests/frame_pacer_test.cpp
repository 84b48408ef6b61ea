// The pacing of pointer moves to the screen's frames, on a clock the test moves.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

#include "ui/frame_pacer.h"

namespace orbida::ui {
namespace {

using std::chrono::milliseconds;

TEST(FramePacer, FrameFollowsTheScreenWithinLimits) {
    const struct {
        double hertz;
        int frameMs;
    } cases[] = {{60.0, 16}, {144.0, 6}, {50.0, 20}, {30.0, 20},        {0.0, 20},
                 {-5.0, 20}, {500.0, 4}, {240.0, 4}, {std::nan(""), 20}};
    for (const auto& c : cases) {
        EXPECT_EQ(FramePacer::FrameFor(c.hertz), milliseconds{c.frameMs}) << c.hertz;
    }
}

// What the pacer says for each event of a run on a 16 ms frame.
TEST(FramePacer, HoldsMovesUntilTheEndOfTheFrame) {
    enum class Event { Move, Shown, Drop };
    const std::optional<milliseconds> held;  // std::nullopt: a move is held already
    const struct {
        int at;
        Event event;
        std::optional<milliseconds> wait;  // for a move
    } steps[] = {
        {100, Event::Move, milliseconds{0}},   // the first move is shown at once
        {105, Event::Move, milliseconds{11}},  // inside the frame: held for the rest of it
        {110, Event::Move, held},              // replaces the held move
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
    for (const auto& s : steps) {
        now = milliseconds{s.at};
        switch (s.event) {
            case Event::Move:
                EXPECT_EQ(pacer.Moved(), s.wait) << s.at;
                break;
            case Event::Shown:
                pacer.HeldShown();
                break;
            case Event::Drop:
                pacer.DropHeld();
                break;
        }
    }
}

}  // namespace
}  // namespace orbida::ui

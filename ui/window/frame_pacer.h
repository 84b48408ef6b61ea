#pragma once

#include <chrono>
#include <functional>
#include <optional>

namespace orbida::ui {

// Paces the ticks of pointer moves to the screen's frames. A move after a quiet spell of at least
// a frame is shown at once and starts a frame. Moves that follow faster are held, and the last of
// them is shown when the frame ends: the screen could not show the others anyway. The pacer only
// decides; the caller keeps the held position and the timer.
class FramePacer {
  public:
    using Milliseconds = std::chrono::milliseconds;
    // A monotonic clock.
    using Now = std::function<Milliseconds()>;

    FramePacer(Milliseconds frame, Now now);

    // The frame of a screen refreshing `hertz` times a second, kept between 50 and 240 frames a
    // second (a rate the screen does not report reads as the slowest).
    static Milliseconds FrameFor(double hertz);

    // A move has come. Zero: show it now, a frame starts. More: hold it and show the last move
    // held after that long. std::nullopt: a move is held already and its wait runs; this one
    // takes its place.
    std::optional<Milliseconds> Moved();
    // The held move is shown at the end of its frame; a new frame starts.
    void HeldShown();
    // The held move will not be shown (the window shows the pointer as it is now instead).
    void DropHeld();
    bool Holding() const { return holding_; }
    Milliseconds Frame() const { return frame_; }

  private:
    Milliseconds frame_;
    Now now_;
    std::optional<Milliseconds> frameStart_;
    bool holding_ = false;
};

}  // namespace orbida::ui

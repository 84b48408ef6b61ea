#include "ui/window/frame_pacer.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace orbida::ui {

FramePacer::FramePacer(Milliseconds frame, Now now) : frame_(frame), now_(std::move(now)) {}

FramePacer::Milliseconds FramePacer::FrameFor(double hertz) {
    const double rate = std::isfinite(hertz) ? std::clamp(hertz, 50.0, 240.0) : 50.0;
    return Milliseconds{static_cast<Milliseconds::rep>(1000.0 / rate)};
}

std::optional<FramePacer::Milliseconds> FramePacer::Moved() {
    if (holding_) {
        return std::nullopt;
    }
    const Milliseconds now = now_();
    const Milliseconds elapsed = frameStart_ ? now - *frameStart_ : frame_;
    if (elapsed >= frame_) {
        frameStart_ = now;
        return Milliseconds{0};
    }
    holding_ = true;
    return frame_ - elapsed;
}

void FramePacer::HeldShown() {
    holding_ = false;
    frameStart_ = now_();
}

void FramePacer::DropHeld() {
    holding_ = false;
}

}  // namespace orbida::ui

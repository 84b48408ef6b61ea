#pragma once

#include <QString>
#include <chrono>
#include <optional>

namespace orbida::ui {

using WallTime = std::chrono::sys_time<std::chrono::milliseconds>;

// The wall clock in UTC, behind an interface so that a fixed time can stand in for it: for tests,
// and for a user who wants the sky of a planned date.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual WallTime Now() const = 0;
};

class SystemClock final : public Clock {
  public:
    WallTime Now() const override;
};

class FixedClock final : public Clock {
  public:
    explicit FixedClock(WallTime time) : time_(time) {}
    WallTime Now() const override { return time_; }

  private:
    WallTime time_;
};

// The value of the --time option: an ISO 8601 date and time in UTC, with a Z or a +00:00 offset
// ("2026-06-21T12:00Z", "2026-06-21T12:00:00Z"). Anything else gives an error message in French
// and no time.
struct TimeOption {
    std::optional<WallTime> time;
    QString error;
};
TimeOption ParseTimeOption(const QString& text);

}  // namespace orbida::ui

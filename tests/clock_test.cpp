// The --time option's value: a UTC instant or a message saying what is wrong with it.
#include <gtest/gtest.h>

#include <chrono>

#include "ui/clock.h"

namespace orbida::ui {
namespace {

using namespace std::chrono;

TEST(ClockTest, ParsesTheTimeOption) {
    struct Case {
        const char* text;
        std::optional<WallTime> time;
    };
    const WallTime noon{sys_days{2026y / 6 / 21} + hours{12}};
    const Case cases[] = {
        {"2026-06-21T12:00Z", noon},
        {"2026-06-21T12:00:00Z", noon},
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
        {"", std::nullopt},
        {"1066-10-14T09:00Z", std::nullopt},
    };
    for (const Case& c : cases) {
        const TimeOption option = ParseTimeOption(QString::fromUtf8(c.text));
        EXPECT_EQ(option.time, c.time) << c.text;
        EXPECT_EQ(option.error.isEmpty(), c.time.has_value()) << c.text;
        if (!c.time) {
            EXPECT_TRUE(option.error.startsWith(QStringLiteral("--time"))) << c.text;
        }
    }
}

}  // namespace
}  // namespace orbida::ui

#include "ui/parts/grey_line_part.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>

#include "geodesy/sun.h"
#include "tracking/sun_text.h"
#include "ui/map/grey_line_layer.h"
#include "ui/map/map_widget.h"
#include "ui/parts/map_menu.h"
#include "ui/parts/remembered.h"
#include "ui/window/style.h"
#include "ui/window/twips.h"

namespace orbida::ui {
namespace {

// The shading timer fires this long after the minute has turned, so that it never wakes just
// before it.
constexpr int kAfterMinuteMs = 50;
// A difference between the wall clock and the monotonic time larger than this is a clock jump.
constexpr std::chrono::milliseconds kClockJump{2000};

// A sunrise or sunset time, "07:41 UTC", said with its day when it is not the noon's.
QString TimeText(const tracking::SunTime& time) {
    const QString hour = QString::fromStdString(time.hourMinute);
    switch (time.day) {
        case tracking::EventDay::kDayBefore:
            return QCoreApplication::translate("GreyLinePart", "%1 UTC (veille)").arg(hour);
        case tracking::EventDay::kDayAfter:
            return QCoreApplication::translate("GreyLinePart", "%1 UTC (lendemain)").arg(hour);
        case tracking::EventDay::kSame:
            break;
    }
    return QCoreApplication::translate("GreyLinePart", "%1 UTC").arg(hour);
}

// The line of a place's sunrise and sunset, in French the one tracking::SunEventsText words.
QString SunText(const QString& place, const geodesy::SunEvents& events) {
    const tracking::SunLine line = tracking::SunLineOf(events);
    switch (line.kind) {
        case geodesy::DayKind::kPolarDay:
            return QCoreApplication::translate("GreyLinePart", "%1 : Jour polaire").arg(place);
        case geodesy::DayKind::kPolarNight:
            return QCoreApplication::translate("GreyLinePart", "%1 : Nuit polaire").arg(place);
        case geodesy::DayKind::kRiseAndSet:
            break;
    }
    return QCoreApplication::translate("GreyLinePart", "%1 : Lever %2 · Coucher %3")
        .arg(place, TimeText(line.sunrise), TimeText(line.sunset));
}

}  // namespace

GreyLinePart::GreyLinePart() : layer_(std::make_unique<GreyLineLayer>()) {}

GreyLinePart::~GreyLinePart() = default;

void GreyLinePart::Build(PartHost& host) {
    host_ = &host;
    QWidget* window = host.Window();
    // Sunrise and sunset, in the strip under the frames.
    LblSoleilVille = MakeLabel(window, "LblSoleilVille", QString(), TwipRect(240, 7245, 4800, 240),
                               {kLightCyan, 8.25, false, Qt::AlignLeft});
    LblSoleilCible = MakeLabel(window, "LblSoleilCible", QString(), TwipRect(5100, 7245, 4800, 240),
                               {kLightCyan, 8.25, false, Qt::AlignLeft});
    LblSoleilVille->hide();
    LblSoleilCible->hide();

    greyLineAction_ = AddMenuEntry(
        window, nullptr, QCoreApplication::translate("GreyLinePart", "Ligne grise"),
        QKeySequence(Qt::CTRL | Qt::Key_G), [this](bool on) { SetGreyLine(on); }, true);
    host.AddToMapMenu(MenuPlace::GreyLine, greyLineAction_);

    sunTimer_.setSingleShot(true);
    sunTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&sunTimer_, &QTimer::timeout, window, [this] { RefreshSun(); });
    host.AddLayer(layer_.get());
}

void GreyLinePart::UseSettings(SettingsStore* settings) {
    settings_ = nullptr;  // nothing is written back while it is being read
    if (settings == nullptr) {
        return;
    }
    SetGreyLine(ReadRemembered(*settings).greyLine);
    settings_ = settings;
}

void GreyLinePart::SetGreyLine(bool on) {
    if (on == greyLine_) {
        return;
    }
    greyLine_ = on;
    greyLineAction_->setChecked(on);
    if (settings_ != nullptr) {
        RememberGreyLine(*settings_, on);
    }
    if (on) {
        RefreshSun();
        return;
    }
    sunTimer_.stop();
    sunMinute_.reset();
    layer_->SetSun(std::nullopt);
    UpdateSunTexts();
}

// Shades the map for the minute the clock shows, if not done yet, and sets the timer for the
// turn of the next minute.
void GreyLinePart::RefreshSun() {
    using namespace std::chrono;
    const WallTime now = host_->Services().clock.Now();
    sunWall_ = now;
    sinceSunWall_.start();
    const auto minute = floor<minutes>(now);
    if (minute != sunMinute_) {
        sunMinute_ = minute;
        layer_->SetSun(geodesy::SunAt(sys_seconds{minute}));
        UpdateSunTexts();
    }
    const milliseconds wait = (minute + minutes{1}) - now;
    sunTimer_.start(static_cast<int>(wait.count()) + kAfterMinuteMs);
}

void GreyLinePart::WindowActivated() {
    CheckClockJump();
}

// After a sleep or a change of the system's clock the wall time has moved by more than the
// monotonic time: the shading is brought up to date at once instead of at the timer's end,
// which counts monotonic time.
void GreyLinePart::CheckClockJump() {
    if (!greyLine_ || !sinceSunWall_.isValid()) {
        return;
    }
    const WallTime expected = sunWall_ + std::chrono::milliseconds{sinceSunWall_.elapsed()};
    const auto drift = host_->Services().clock.Now() - expected;
    if (drift > kClockJump || drift < -kClockJump) {
        RefreshSun();
    }
}

void GreyLinePart::Apply(const tracking::TickInput&, const tracking::TickFrame& f) {
    const std::optional<geodesy::GeoPoint> target =
        f.tracking ? std::optional(f.cursorPoint) : std::nullopt;
    if (target != target_) {
        target_ = target;
        UpdateSunTexts();
    }
}

void GreyLinePart::HomeChanged(const QString&) {
    UpdateSunTexts();
}

void GreyLinePart::UpdateSunTexts() {
    if (!greyLine_ || !sunMinute_) {
        LblSoleilVille->hide();
        LblSoleilCible->hide();
        return;
    }
    const std::chrono::year_month_day date{std::chrono::floor<std::chrono::days>(*sunMinute_)};
    auto show = [&](QLabel* label, const QString& place, std::optional<geodesy::GeoPoint> point) {
        if (!point) {
            label->hide();
            return;
        }
        const QString text = SunText(place, geodesy::SunEventsOn(*point, date));
        if (label->text() != text) {
            label->setText(text);
        }
        label->show();
    };
    const cities::ReferenceState& home = host_->Reference();
    show(LblSoleilVille, QCoreApplication::translate("GreyLinePart", "Domicile"),
         home.citySelected ? std::optional(home.referencePoint) : std::nullopt);
    show(LblSoleilCible, QCoreApplication::translate("GreyLinePart", "Cible"), target_);
}

}  // namespace orbida::ui

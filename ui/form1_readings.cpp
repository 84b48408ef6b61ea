// The station readings of the main window: the long path and the pointer's locator beside the
// readouts, a target pinned by a click, the map's right-click menu with its shortcuts, home from
// a locator or coordinates, and the settings remembered between runs.
#include <QAction>
#include <QActionGroup>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QToolTip>
#include <cstdio>
#include <vector>

#include "ui/city_combo.h"
#include "ui/form1.h"
#include "ui/frame_widget.h"
#include "ui/map_menu.h"
#include "ui/map_widget.h"
#include "ui/readout_label.h"
#include "ui/remembered.h"
#include "ui/style.h"
#include "ui/twips.h"

namespace orbida::ui {
namespace {

QLabel* MakeReading(QWidget* parent, const char* name, QRect geometry) {
    auto* label = MakeLabel<ReadoutLabel>(parent, name, QString(), geometry, {kLightCyan});
    label->setWordWrap(false);
    label->hide();
    return label;
}

// Whether a window of `size` at `position` would show its top strip on one of the screens: a
// position remembered from a screen that is gone is not used.
bool OnSomeScreen(QPoint position, QSize size) {
    const QRect strip(position, QSize(size.width(), 30));
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect shown = screen->availableGeometry().intersected(strip);
        if (shown.width() >= 100 && shown.height() >= 20) {
            return true;
        }
    }
    return false;
}

}  // namespace

void Form1::BuildReadings() {
    // In the free space right of the readout rows, in the rows' own font.
    LblLocatCurseur = MakeReading(this, "LblLocatCurseur", TwipRect(8130, 5640, 1890, 255));
    LblLongChemin = MakeReading(this, "LblLongChemin", TwipRect(8130, 5880, 1890, 255));

    // The map's right-click menu. Entries are added in the order they show; each keeps its
    // shortcut working wherever the focus is in the window.
    mapMenu_ = new QMenu(this);
    mapMenu_->setObjectName(QStringLiteral("MapMenu"));
    pinAction_ = AddMenuEntry(
        this, mapMenu_, QStringLiteral("Épingler ce point"), {},
        [this](bool) { TogglePin(menuPoint_); }, false, QStringLiteral("Clic gauche"));
    longRouteAction_ = AddMenuEntry(
        this, mapMenu_, QStringLiteral("Long chemin"), QKeySequence(Qt::CTRL | Qt::Key_L),
        [this](bool on) { SetLongRoute(on); }, true);
    greyLineAction_ = AddMenuEntry(
        this, mapMenu_, QStringLiteral("Ligne grise"), QKeySequence(Qt::CTRL | Qt::Key_G),
        [this](bool on) { SetGreyLine(on); }, true);

    QMenu* units = mapMenu_->addMenu(QStringLiteral("Unités"));
    units->setObjectName(QStringLiteral("UnitMenu"));
    auto* group = new QActionGroup(units);
    const QString unitTexts[] = {QStringLiteral("Kilomètres (Kms)"),
                                 QStringLiteral("Miles terrestres (Miles)"),
                                 QStringLiteral("Milles nautiques (Nq)")};
    for (std::size_t i = 0; i < unitActions_.size(); ++i) {
        const auto unit = static_cast<tracking::DistanceUnit>(i);
        unitActions_[i] = AddMenuEntry(
            this, units, unitTexts[i], {}, [this, unit](bool) { SetUnit(unit); }, true);
        group->addAction(unitActions_[i]);
    }
    unitActions_[0]->setChecked(true);
    units->addSeparator();
    AddMenuEntry(this, units, QStringLiteral("Unité suivante"), QKeySequence(Qt::CTRL | Qt::Key_M),
                 [this](bool) { CycleUnit(); });

    Carte->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Carte, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { ShowMapMenu(at); });
    OnMousePress(Carte, [this](QMouseEvent* event) {
        if (event->button() != Qt::LeftButton) {
            return false;
        }
        TogglePin(Carte->mapTo(this, event->position().toPoint()));
        return true;
    });
}

void Form1::ShowMapMenu(QPoint mapPoint) {
    menuPoint_ = Carte->mapTo(this, mapPoint);
    pinAction_->setText(
        (Pinned() ? QStringLiteral("Libérer le point") : QStringLiteral("Épingler ce point")) +
        QStringLiteral("\tClic gauche"));
    mapMenu_->popup(Carte->mapToGlobal(mapPoint));
}

void Form1::TogglePin(QPoint windowPoint) {
    if (Pinned()) {
        pinned_.reset();
        ReleaseCallsign();
        Carte->SetPinMark(false);
    } else {
        pinned_ = windowPoint;
    }
    ticked_ = false;  // the same pointer now measures something else
    TickAtPointer();
}

void Form1::SetLongRoute(bool on) {
    longRoute_ = on;
    longRouteAction_->setChecked(on);
    if (settings_ != nullptr) {
        RememberLongRoute(*settings_, on);
    }
    if (ticked_) {
        TickAtPointer();
    }
}

void Form1::SetUnit(tracking::DistanceUnit unit) {
    unit_ = unit;
    unitActions_[static_cast<std::size_t>(unit)]->setChecked(true);
    if (settings_ != nullptr) {
        RememberUnit(*settings_, unit);
    }
    if (ticked_) {
        TickAtPointer();
    }
}

void Form1::CycleUnit() {
    SetUnit(static_cast<tracking::DistanceUnit>((static_cast<int>(unit_) + 1) % 3));
}

void Form1::ApplyReadings(const tracking::TickFrame& f) {
    LblLocatCurseur->setVisible(f.tracking);
    LblLongChemin->setVisible(f.tracking);
    const QString locator = QStringLiteral("Loc: ") + QString::fromStdString(f.targetLocator);
    if (LblLocatCurseur->text() != locator) {
        LblLocatCurseur->setText(locator);
    }
    const QString longPath = QStringLiteral("LP: ") + QString::fromStdString(f.longPathText);
    if (LblLongChemin->text() != longPath) {
        LblLongChemin->setText(longPath);
    }
    Frame1->SetLongNeedle(f.longNeedleX2, f.longNeedleY2, f.tracking);

    std::vector<QPointF> marks;
    if (f.longRoute.shown) {
        marks.reserve(f.longRoute.marks.size());
        for (const geodesy::MapPosition& m : f.longRoute.marks) {
            marks.emplace_back(m.x, m.y);
        }
    }
    Carte->SetLongRoute(marks);
    ApplyCallsignLine(f);
    Carte->SetPinMark(Pinned() && f.tracking, QPointF(static_cast<double>(f.crosshairX),
                                                      static_cast<double>(f.crosshairY)));
}

bool Form1::ValidateTypedHome(const QString& text) {
    // The name was looked for in the list already: a locator, coordinates or a callsign are left.
    const cities::HomeEntry entry = cities::ReadHomeEntry(text, nullptr);
    if (entry.kind == cities::HomeKind::Callsign) {
        // A callsign pins the target; home stays. A text that was nearly coordinates ("48N")
        // and is no callsign either is refused as coordinates.
        if (!PinCallsign(entry.name) && !entry.reason.isEmpty()) {
            lastRefusal_ = entry.reason;
            ShowInputHint(entry.reason);
        }
        return false;
    }
    if (entry.kind == cities::HomeKind::Refused) {
        lastRefusal_ = entry.reason;
        if (!entry.reason.isEmpty()) {
            ShowInputHint(entry.reason);
        }
        return false;
    }
    if (!ApplyHome(entry)) {
        return false;
    }
    lastRefusal_.clear();
    HideInputHint();
    RememberHomeText(entry.name);
    TickAtPointer();
    return true;
}

bool Form1::ApplyHome(const cities::HomeEntry& entry, bool checkConnection) {
    const cities::ConnectionReport connection =
        checkConnection ? platform_.connection.Check() : cities::ConnectionReport{};
    const float width = static_cast<float>(Carte->width()) * kTwipsPerPixelF;
    const float height = static_cast<float>(Carte->height()) * kTwipsPerPixelF;
    std::optional<cities::ReferenceState> selected;
    if (entry.kind == cities::HomeKind::City) {
        selected =
            cities::SelectCity(catalogue_, entry.cityIndex, reference_, connection, width, height);
    } else if (entry.kind == cities::HomeKind::Locator ||
               entry.kind == cities::HomeKind::Coordinates) {
        selected = cities::SelectPoint(entry.point, entry.name, entry.locator, reference_,
                                       connection, width, height);
    }
    if (!selected) {
        return false;
    }
    reference_ = *selected;
    ApplyReference();
    return true;
}

void Form1::CheckConnectionLater() {
    const cities::ConnectionReport connection = platform_.connection.Check();
    if (!reference_.internetConnected && (connection.viaLan || connection.online)) {
        reference_.internetConnected = true;
        TickAtPointer();
    }
}

void Form1::RememberHomeText(const QString& text) {
    if (settings_ != nullptr) {
        RememberHome(*settings_, text);
    }
}

void Form1::RememberWindowPosition() {
    if (settings_ != nullptr && isVisible()) {
        RememberPosition(*settings_, pos());
    }
}

void Form1::UseSettings(SettingsStore* settings) {
    settings_ = nullptr;  // nothing is written back while it is being read
    if (settings == nullptr) {
        return;
    }
    const Remembered remembered = ReadRemembered(*settings);
    SetUnit(remembered.unit);
    SetLongRoute(remembered.longRoute);
    SetGreyLine(remembered.greyLine);
    if (!remembered.home.isEmpty()) {
        // A city is remembered by its exact name: another city that merely starts the same way
        // is not it.
        const cities::HomeEntry entry = cities::ReadHomeEntry(
            remembered.home,
            [this](const QString& typed) { return static_cast<int>(catalogue_.IndexOf(typed)); });
        // The connection is asked once the window is up: the answer may come from the system's
        // network service, and it only decides whether the web map's button shows.
        if (ApplyHome(entry, false)) {
            if (entry.kind == cities::HomeKind::City) {
                Combo1->setCurrentIndex(entry.cityIndex);
            } else {
                Combo1->setEditText(entry.name);
            }
            QTimer::singleShot(0, this, &Form1::CheckConnectionLater);
        }
    }
    if (remembered.position && OnSomeScreen(*remembered.position, size())) {
        move(*remembered.position);
    }
    const RotatorAddress rotator = ReadRotatorAddress(*settings);
    SetRotator(rotator.host, rotator.port, false);
    settings_ = settings;
    // Said on the terminal at once, and over the window once it shows; the store may outlive the
    // window.
    settings->SetReporter([window = QPointer<Form1>(this)](const QString& text) {
        std::fputs((QStringLiteral("orbida\u00A0: ") + text + u'\n').toLocal8Bit().constData(),
                   stderr);
        if (window) {
            QTimer::singleShot(
                0, window, [window, text] { window->platform_.session.ShowMessage(window, text); });
        }
    });
}

}  // namespace orbida::ui

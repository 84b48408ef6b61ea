#include "ui/window/form1.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <cmath>

#include "geodesy/map_layout.h"
#include "ui/map/map_views.h"
#include "ui/map/map_widget.h"
#include "ui/window/city_combo.h"
#include "ui/window/packed_pictures.h"
#include "ui/window/style.h"
#include "ui/window/twips.h"
#include "ui/window/web_map.h"

namespace orbida::ui {

Form1::Form1(cities::Catalogue catalogue, Platform platform, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      catalogue_(std::move(catalogue)),
      platform_(platform),
      pacer_(FramePacer::FrameFor(platform_.session.RefreshRate()),
             [this] { return FramePacer::Milliseconds{monotonic_.elapsed()}; }),
      drag_(platform_.windows) {
    monotonic_.start();
    StyleWindow(this, "Form1", TwipRect(0, 0, geodesy::kWindowWidth, geodesy::kWindowHeight).size(),
                kGrey);
    setWindowTitle(QStringLiteral("  ORBIDA"));
    setWindowIcon(PictureIcon("icon.png"));
    ui_ = MakeForm1Controls(this);
    ConnectControls();
    mapMenu_ = std::make_unique<ui::MapMenu>(this, ui_.Carte);
    maps_ = std::make_unique<MapViews>(ui_.Carte);
    inputHint_ = std::make_unique<InputHint>(this, ui_.Combo1);
    connect(ui_.Combo1, &QComboBox::editTextChanged, this, [this] { inputHint_->Hide(); });
    parts_ = MakeStationParts();
    for (const auto& part : parts_) {
        part->Build(*this);
    }

    // Start-up: the list's drop-down height, the city list, the reference display's first
    // values, the angle constants, no connection yet.
    SetCtrlHeight(ui_.Combo1, 450);
    ShowCatalogue();
    reference_ = cities::StartupReference();
    ApplyReference();
    pi_ = tracking::ComputePi();
    degToRad_ = tracking::ComputeDegToRad(pi_);
    reference_.internetConnected = false;

    // Only the bare surface (and the border drawn on it) starts a drag; every pointer move
    // reaches the tick.
    ClaimMouse(this);
    qApp->installEventFilter(this);

    frameTimer_.setSingleShot(true);
    frameTimer_.setTimerType(Qt::PreciseTimer);
    connect(&frameTimer_, &QTimer::timeout, this, [this] {
        pacer_.HeldShown();
        TickAt(pendingPointer_);
    });

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

Form1::~Form1() {
    // The box outlives the catalogue by a little: its widgets are closed after this body runs.
    ui_.Combo1->SetCatalogue(nullptr);
    qApp->removeEventFilter(this);
    delete about_;
    parts_.clear();  // before the controls they hold
}

void Form1::ConnectControls() {
    connect(ui_.ValidVille, &QPushButton::clicked, this, &Form1::ValidateCity);
    // Enter validates once the list has taken the key itself (choosing the completed name). The
    // key can reach the line edit twice, passed on by the box when the line edit leaves it, and
    // is validated once.
    enterTimer_.setSingleShot(true);
    enterTimer_.setInterval(0);
    connect(&enterTimer_, &QTimer::timeout, this, &Form1::ValidateCity);
    connect(ui_.Combo1->lineEdit(), &QLineEdit::returnPressed, &enterTimer_,
            qOverload<>(&QTimer::start));
    connect(ui_.CmdMapQuest, &QPushButton::clicked, this, &Form1::OpenWebMap);
    connect(ui_.CmdAide, &QPushButton::clicked, this, &Form1::ShowAbout);
    connect(ui_.CmdMinimise, &QPushButton::clicked, this, &Form1::Minimise);
    connect(ui_.CmdQuitte, &QPushButton::clicked, this, [this] { platform_.session.Exit(0); });
}

void Form1::AddToMapMenu(MenuPlace place, QAction* entry) {
    mapMenu_->Add(place, entry);
}

std::optional<QPoint> Form1::MenuPointer() const {
    return mapMenu_->Pointer();
}

void Form1::OpenMapMenu(QPoint globalPointer) {
    mapMenu_->Popup(globalPointer);
}

void Form1::AddLayer(MapLayer* layer) {
    maps_->AddLayer(layer);
}

void Form1::AddLayerToOtherMaps(MapLayer* layer) {
    maps_->AddLayerToOtherMaps(layer);
}

void Form1::AddView(QWidget* widget, MapView* view) {
    maps_->AddView(view);
    for (const auto& part : parts_) {
        part->MapOpened(widget, *view);
    }
}

void Form1::RemoveView(MapView* view) {
    maps_->RemoveView(view);
}

// chosen: the home as the user validated it, empty for one read back or the start-up state.
void Form1::ApplyReference(const QString& chosen) {
    ShowReference(ui_, reference_);
    for (const auto& part : parts_) {
        part->HomeChanged(chosen);
    }
}

void Form1::ValidateCity() {
    const int index = ui_.Combo1->SelectedIndex();
    if (index < 0) {
        ValidateTypedHome(ui_.Combo1->TypedText());
        return;
    }
    const cities::ConnectionReport connection = platform_.connection.Check();
    const auto selected =
        cities::SelectCity(catalogue_, index, reference_, connection,
                           static_cast<float>(ui_.Carte->width()) * kTwipsPerPixelF,
                           static_cast<float>(ui_.Carte->height()) * kTwipsPerPixelF);
    if (!selected) {
        return;
    }
    reference_ = *selected;
    ui_.Combo1->ShowChoice(index);
    inputHint_->Hide();
    ApplyReference(catalogue_.Name(index));
    TickAtPointer();
}

bool Form1::ValidateTypedHome(const QString& text) {
    // The name was looked for in the list already: a locator, coordinates or what a part takes
    // (a callsign) are left.
    const cities::HomeEntry entry = cities::ReadHomeEntry(text, nullptr);
    for (const auto& part : parts_) {
        if (part->TakeTyped(entry)) {
            return false;
        }
    }
    if (entry.kind != cities::HomeKind::Locator && entry.kind != cities::HomeKind::Coordinates) {
        Refuse(entry.reason);
        return false;
    }
    if (!SetHome(entry, false)) {
        return false;
    }
    Accept();
    TickAtPointer();
    return true;
}

// A home read back from the settings: shown in the box; whether it is connected is asked once
// the window is up, since the answer may come from the system's network service and only
// decides whether the web map's button shows.
bool Form1::SetHome(const cities::HomeEntry& entry, bool remembered) {
    const cities::ConnectionReport connection =
        remembered ? cities::ConnectionReport{} : platform_.connection.Check();
    const float width = static_cast<float>(ui_.Carte->width()) * kTwipsPerPixelF;
    const float height = static_cast<float>(ui_.Carte->height()) * kTwipsPerPixelF;
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
    ApplyReference(remembered ? QString() : entry.name);
    if (remembered) {
        if (entry.kind == cities::HomeKind::City) {
            ui_.Combo1->setCurrentIndex(entry.cityIndex);
        } else {
            ui_.Combo1->setEditText(entry.name);
        }
        QTimer::singleShot(0, this, &Form1::CheckConnectionLater);
    }
    return true;
}

void Form1::CheckConnectionLater() {
    const cities::ConnectionReport connection = platform_.connection.Check();
    if (!reference_.internetConnected && (connection.viaLan || connection.online)) {
        reference_.internetConnected = true;
        TickAtPointer();
    }
}

std::optional<dxcc::Country> Form1::CountryOf(const QString& call) {
    for (const auto& part : parts_) {
        if (auto country = part->CountryOf(call)) {
            return country;
        }
    }
    return std::nullopt;
}

void Form1::Refuse(const QString& reason) {
    lastRefusal_ = reason;
    if (!reason.isEmpty()) {
        inputHint_->Show(reason, ui_.Carte->width());
    }
}

void Form1::Accept() {
    lastRefusal_.clear();
    inputHint_->Hide();
}

void Form1::Pin(PinnedTarget target) {
    pinned_ = target;
    for (const auto& part : parts_) {
        part->PinChanged(pinned_);
    }
    Retick(true);
}

void Form1::Retick(bool changed) {
    if (changed) {
        ticked_ = false;  // the same pointer now measures something else
    } else if (!ticked_) {
        return;
    }
    TickAtPointer();
}

// What a tick reads with the pointer at a global position; a pinned point of the window stays
// measured wherever the pointer is.
tracking::TickInput Form1::InputAt(QPoint globalPointer) const {
    if (pinned_.windowPoint) {
        globalPointer = mapToGlobal(*pinned_.windowPoint);
    }
    tracking::TickInput in = PointerInput(ui_, mapToGlobal(QPoint(0, 0)), globalPointer);
    in.referencePoint = reference_.referencePoint;
    in.referenceHundredths = reference_.referenceHundredths;
    in.pi = pi_;
    in.degToRad = degToRad_;
    in.internetConnected = reference_.internetConnected;
    in.pinnedPoint = pinned_.place;
    for (const auto& part : parts_) {
        part->Input(in);
    }
    return in;
}

tracking::TickFrame Form1::Measure(QPoint globalPointer) {
    return tracking::ComputeTick(InputAt(globalPointer));
}

tracking::TickFrame Form1::MeasurePlace(geodesy::GeoPoint place) {
    tracking::TickInput in = InputAt(platform_.pointer.Position());
    in.pinnedPoint = place;
    return tracking::ComputeTick(in);
}

void Form1::TickAt(QPoint globalPointer) {
    const tracking::TickInput in = InputAt(globalPointer);
    // The tick is a pure function of its input: the same input would show the same frame.
    if (ticked_ && in == lastInput_) {
        return;
    }
    ticked_ = true;
    lastInput_ = in;
    ApplyFrame(in, tracking::ComputeTick(in));
}

void Form1::ApplyFrame(const tracking::TickInput& in, const tracking::TickFrame& f) {
    ShowFrame(ui_, f);
    reference_.referencePoint = f.referencePoint;  // an exact 0 measured as 0.01 stays so
    for (const auto& part : parts_) {
        part->Apply(in, f);
    }
}

void Form1::OpenWebMap() {
    text1_ = AddressNumber(reference_.referencePoint.latitude);
    text2_ = AddressNumber(-reference_.referencePoint.longitude);
    if (!platform_.urls.Open(QUrl(WebMapAddress(reference_.referencePoint)))) {
        platform_.session.ShowMessage(
            this,
            QCoreApplication::translate("Form1", "Impossible de se connecter au site GoogleMaps"));
    }
}

void Form1::ShowAbout() {
    ShowAboutBox(about_, platform_, this, topmost_);
}

void Form1::Minimise() {
    if (about_ && about_->isVisible()) {
        about_->hide();
    }
    inputHint_->Hide();
    platform_.windows.Minimise(this);
}

void Form1::PointerMoved(QPoint globalPointer) {
    // Each tick repaints text and dots: moves faster than the screen refreshes are gathered.
    pendingPointer_ = globalPointer;
    const std::optional<FramePacer::Milliseconds> wait = pacer_.Moved();
    if (!wait) {
        return;
    }
    if (wait->count() == 0) {
        TickAt(globalPointer);
    } else {
        frameTimer_.start(static_cast<int>(wait->count()));
    }
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == this && event->type() == QEvent::WindowActivate) {
        for (const auto& part : parts_) {
            part->WindowActivated();
        }
    }
    if (event->type() == QEvent::MouseMove) {
        // Every pointer move over the program's windows runs a tick; a move that reaches several
        // widgets of the same window runs it once (same input).
        const auto* move = static_cast<QMouseEvent*>(event);
        const QPointF global = move->globalPosition();
        // Synthetic moves may carry a position that is no pixel at all.
        if (std::abs(global.x()) < 1.0e9 && std::abs(global.y()) < 1.0e9) {
            PointerMoved(QPoint(static_cast<int>(std::floor(global.x())),
                                static_cast<int>(std::floor(global.y()))));
        }
        if (watched == ui_.CmdMapQuest && !ui_.LblVilleDistance->text().isEmpty()) {
            ui_.CmdMapQuest->setToolTip(WebMapTooltip(ui_.Combo1->currentText()));
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::paintEvent(QPaintEvent*) {
    if (!ui_.Combo1->IndexStarted()) {
        // Sorting the names for the box waits until the window is on screen, and then runs
        // beside it: until it is done, typing finds cities by looking at each name in turn.
        QTimer::singleShot(0, ui_.Combo1, &CityCombo::IndexInBackground);
    }
    // Borf: a silver outline 10 pixels wide around the window, centred on its rectangle.
    QPainter painter(this);
    QPen pen(kSilver, 10);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.drawRect(TwipRectF(30, 0, 10095, 7575));
}

void Form1::mousePressEvent(QMouseEvent* event) {
    topmost_ = drag_.Press(this, event) || topmost_;
}

void Form1::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    drag_.Move(this, event);
}

void Form1::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    drag_.Release();
}

void Form1::TickAtPointer() {
    // The pointer as it is now supersedes a move still waiting for the end of its frame.
    frameTimer_.stop();
    pacer_.DropHeld();
    TickAt(platform_.pointer.Position());
}

void Form1::showEvent(QShowEvent* event) {
    // The frame for where the pointer really is, applied before the window is painted: the
    // start-up texts and dot positions are never seen, and a pointer off the map shows the idle
    // state at once instead of waiting for the first move.
    TickAtPointer();
    QWidget::showEvent(event);
}

void Form1::UseSettings(SettingsStore* settings) {
    for (const auto& part : parts_) {
        part->UseSettings(settings);
    }
}

void Form1::SetCatalogue(cities::Catalogue catalogue) {
    catalogue_ = std::move(catalogue);
    ShowCatalogue();
}

void Form1::ShowCatalogue() {
    ui_.Combo1->SetCatalogue(&catalogue_);
    ui_.Combo1->setCurrentIndex(-1);
    ui_.Combo1->SetStartText(QCoreApplication::translate("Form1", "    Choisir un ville"));
}

void Form1::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    inputHint_->Hide();  // it would stay behind, away from the box
    for (const auto& part : parts_) {
        part->WindowMoved();
    }
    if (ticked_) {
        TickAtPointer();
    }
}

void Form1::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    if (!platform_.session.PointerKnownOutside()) {
        // The session does not tell where the pointer went: it is somewhere off this window.
        frameTimer_.stop();
        pacer_.DropHeld();
        TickAt(QPoint(-1'000'000, -1'000'000));
        return;
    }
    TickAtPointer();
}

}  // namespace orbida::ui

#include "ui/form1.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolTip>
#include <algorithm>
#include <cmath>

#include "geodesy/map_layout.h"
#include "geodesy/sun.h"
#include "tracking/sun_text.h"
#include "ui/about_box.h"
#include "ui/city_combo.h"
#include "ui/frame_widget.h"
#include "ui/map_widget.h"
#include "ui/packed_pictures.h"
#include "ui/readout_label.h"
#include "ui/remembered.h"
#include "ui/style.h"
#include "ui/twips.h"
#include "ui/web_map.h"

namespace orbida::ui {
namespace {

// The shading timer fires this long after the minute has turned, so that it never wakes just
// before it.
constexpr int kAfterMinuteMs = 50;
// A difference between the wall clock and the monotonic time larger than this is a clock jump.
constexpr std::chrono::milliseconds kClockJump{2000};

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setFont(UiFont(8.25));
    button->setCursor(HandCursor());
    return button;
}

QPushButton* MakeGlyphButton(QWidget* parent, const char* name, const char* glyph, QRect geometry) {
    QPushButton* button = MakeButton(parent, name, QString(), geometry);
    button->setIcon(PictureIcon(glyph));
    button->setIconSize(QSize(13, 13));
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

// Takes from a readout's area the pixels it shares with a caption beside it (their rectangles meet
// by a pixel row or column where neither draws). A change of the readout then leaves the caption
// alone instead of making it lay out and paint its text again.
void KeepOffCaption(QWidget* readout, const QWidget* caption) {
    const QRegion area = readout->mask().isEmpty() ? QRegion(readout->rect()) : readout->mask();
    readout->setMask(area.subtracted(caption->geometry().translated(-readout->pos())));
}

void SetTextIfChanged(QLabel* label, const QString& text) {
    if (label->text() != text) {
        label->setText(text);
    }
}

}  // namespace

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
    BuildControls();
    BuildReadings();
    BuildRotator();

    // Start-up: the list's drop-down height, the city list, the reference display's first
    // values, the angle constants, no connection yet.
    SetCtrlHeight(Combo1, 450);
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

    sunTimer_.setSingleShot(true);
    sunTimer_.setTimerType(Qt::PreciseTimer);
    connect(&sunTimer_, &QTimer::timeout, this, &Form1::RefreshSun);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

Form1::~Form1() {
    if (indexing_.valid()) {
        indexing_.wait();  // it reads the catalogue
    }
    // The box outlives the catalogue by a little: its widgets are closed after this body runs.
    Combo1->SetCatalogue(nullptr);
    qApp->removeEventFilter(this);
    delete about_;
}

void Form1::BuildControls() {
    // Widgets created later are drawn over earlier ones: labels first, then the windowed
    // controls, each group from the bottom of the stacking order to the top.
    const LabelStyle lightCyan{kLightCyan};
    MouseDegLon = MakeLabel<ReadoutLabel>(this, "MouseDegLon", QStringLiteral("Longitude"),
                                          TwipRect(2040, 5640, 2895, 255), lightCyan);
    MousedegLat = MakeLabel<ReadoutLabel>(this, "MousedegLat", QStringLiteral("Latitude"),
                                          TwipRect(5520, 5640, 2535, 255), lightCyan);
    LblDistance = MakeLabel<ReadoutLabel>(this, "LblDistance", QStringLiteral("Distance"),
                                          TwipRect(4800, 5880, 2535, 255), lightCyan);
    LblDistance->hide();
    LblVilleDistance =
        MakeLabel(this, "LblVilleDistance", QString(), TwipRect(2040, 5880, 2775, 375),
                  {kLightCyan, 8.25, true, Qt::AlignRight});
    LblVilleDistance->hide();
    // Titre1 is the title's shadow: screen readers read the title once, from Titre2.
    HideFromScreenReaders(MakeLabel(this, "Titre1", QStringLiteral("ORBIDA"),
                                    TwipRect(4240, 200, 1575, 375),
                                    {kSilver, 18, true, Qt::AlignHCenter}));
    MakeLabel(this, "Titre2", QStringLiteral("ORBIDA"), TwipRect(4200, 200, 1575, 360),
              {kGrey, 18, true, Qt::AlignHCenter});

    Carte = new MapWidget(this);
    Carte->setObjectName(QStringLiteral("Carte"));
    Carte->setGeometry(
        TwipRect(geodesy::kMapLeft, geodesy::kMapTop, geodesy::kMapWidth, geodesy::kMapHeight));

    Frame2 = new FrameWidget(QStringLiteral("Localisation d'une ville"), kCyan, this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(TwipRect(1200, 6120, 7575, 1095));
    {
        const LabelStyle cyan{kCyan};
        LblLonVille = MakeLabel<ReadoutLabel>(Frame2, "LblLonVille", QString(),
                                              TwipRect(3000, 240, 1935, 255), cyan);
        LblLatVille = MakeLabel<ReadoutLabel>(Frame2, "LblLatVille", QString(),
                                              TwipRect(3000, 480, 1935, 255), cyan);
        LblLocatVille = MakeLabel<ReadoutLabel>(Frame2, "LblLocatVille", QString(),
                                                TwipRect(3480, 720, 975, 255), cyan);
        MakeLabel(Frame2, "Label7", QStringLiteral("Longitude:"), TwipRect(2040, 240, 975, 255),
                  cyan);
        MakeLabel(Frame2, "Label8", QStringLiteral("Latitude:"), TwipRect(2040, 480, 975, 255),
                  cyan);
        MakeLabel(Frame2, "Label9", QStringLiteral("Locator:"), TwipRect(2040, 720, 735, 255),
                  cyan);
        Combo1 = new CityCombo(Frame2);
        Combo1->setObjectName(QStringLiteral("Combo1"));
        Combo1->setGeometry(TwipRect(240, 240, 1695, 315));
        Combo1->setFont(UiFont(8.25));
        Combo1->setCursor(HandCursor());
        QPalette palette = Combo1->palette();
        palette.setColor(QPalette::Base, kLightCyan);
        Combo1->setPalette(palette);
        ValidVille = MakeButton(Frame2, "ValidVille", QStringLiteral("Valider"),
                                TwipRect(480, 720, 1095, 255));
    }

    CmdQuitte = MakeGlyphButton(this, "CmdQuitte", "quitte.png", TwipRect(9480, 240, 300, 300));
    CmdQuitte->setAccessibleName(QStringLiteral("Quitter"));
    CmdAide = MakeButton(this, "CmdAide", QStringLiteral("A propos"), TwipRect(240, 240, 975, 255));

    Frame1 = new DialFrame(QStringLiteral("   Azimut "), kCyan, this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(TwipRect(6240, 6120, 2535, 1095));
    LblAzimut = MakeLabel<ReadoutLabel>(Frame1, "LblAzimut", QStringLiteral("Label10"),
                                        TwipRect(360, 480, 1215, 375),
                                        {kLightCyan, 9.75, true, Qt::AlignHCenter});
    QLabel* label10 = MakeLabel(Frame1, "Label10", QStringLiteral("Ville --> curseur"),
                                TwipRect(360, 240, 1215, 255), {kCyan, 8.25, false, Qt::AlignLeft});
    // The readouts change on every frame; the captions they touch by a pixel would be repainted
    // with them.
    KeepOffCaption(LblAzimut, label10);
    KeepOffCaption(MouseDegLon, LblVilleDistance);
    KeepOffCaption(LblDistance, LblVilleDistance);

    // The grey line's sunrise and sunset, in the strip under the frames.
    LblSoleilVille = MakeLabel(this, "LblSoleilVille", QString(), TwipRect(240, 7245, 4800, 240),
                               {kLightCyan, 8.25, false, Qt::AlignLeft});
    LblSoleilCible = MakeLabel(this, "LblSoleilCible", QString(), TwipRect(5100, 7245, 4800, 240),
                               {kLightCyan, 8.25, false, Qt::AlignLeft});
    LblSoleilVille->hide();
    LblSoleilCible->hide();

    CmdMinimise =
        MakeGlyphButton(this, "CmdMinimise", "minimise.png", TwipRect(9000, 240, 300, 300));
    CmdMinimise->setAccessibleName(QStringLiteral("Réduire"));
    CmdMapQuest = MakeButton(this, "CmdMapQuest", QStringLiteral("MapQuest"),
                             TwipRect(4920, 5880, 1335, 255));
    CmdMapQuest->setToolTip(QStringLiteral("  ") + kWebMapBase + QStringLiteral("  "));
    CmdMapQuest->hide();

    // Keyboard order of the controls that take the focus.
    setTabOrder(Combo1, ValidVille);
    setTabOrder(ValidVille, CmdQuitte);
    setTabOrder(CmdQuitte, CmdAide);
    setTabOrder(CmdAide, CmdMinimise);
    setTabOrder(CmdMinimise, CmdMapQuest);

    connect(ValidVille, &QPushButton::clicked, this, &Form1::ValidateCity);
    // Enter validates once the list has taken the key itself (choosing the completed name). The
    // key can reach the line edit twice, passed on by the box when the line edit leaves it, and
    // is validated once.
    enterTimer_.setSingleShot(true);
    enterTimer_.setInterval(0);
    connect(&enterTimer_, &QTimer::timeout, this, &Form1::ValidateCity);
    connect(Combo1->lineEdit(), &QLineEdit::returnPressed, &enterTimer_,
            qOverload<>(&QTimer::start));
    connect(CmdMapQuest, &QPushButton::clicked, this, &Form1::OpenWebMap);
    connect(CmdAide, &QPushButton::clicked, this, &Form1::ShowAbout);
    connect(CmdMinimise, &QPushButton::clicked, this, &Form1::Minimise);
    connect(CmdQuitte, &QPushButton::clicked, this, [this] { platform_.session.Exit(0); });
}

void Form1::ApplyReference() {
    Carte->SetEntoure(reference_.entoureLeft, reference_.entoureTop);
    SetTextIfChanged(LblLonVille, reference_.longitudeText);
    SetTextIfChanged(LblLatVille, reference_.latitudeText);
    SetTextIfChanged(LblLocatVille, reference_.locator.text);
    if (reference_.citySelected) {
        LblVilleDistance->show();
        LblDistance->show();
    }
    SetTextIfChanged(LblVilleDistance, reference_.cityName);
    UpdateSunTexts();
}

void Form1::ValidateCity() {
    const int index = Combo1->SelectedIndex();
    if (index < 0) {
        ValidateTypedHome(Combo1->TypedText());
        return;
    }
    const cities::ConnectionReport connection = platform_.connection.Check();
    const auto selected = cities::SelectCity(catalogue_, index, reference_, connection,
                                             static_cast<float>(Carte->width()) * kTwipsPerPixelF,
                                             static_cast<float>(Carte->height()) * kTwipsPerPixelF);
    if (!selected) {
        return;
    }
    reference_ = *selected;
    Combo1->ShowChoice(index);
    HideInputHint();
    ApplyReference();
    RememberHomeText(catalogue_.Name(index));
    TickAtPointer();
}

void Form1::TickAt(QPoint globalPointer) {
    if (pinned_) {
        globalPointer = mapToGlobal(*pinned_);  // a pinned target stays measured
    }
    tracking::TickInput in;
    in.cursorX = globalPointer.x();
    in.cursorY = globalPointer.y();
    in.twipsPerPixelX = kTwipsPerPixelF;
    in.twipsPerPixelY = kTwipsPerPixelF;
    const QPoint origin = mapToGlobal(QPoint(0, 0));
    in.windowLeft = static_cast<float>(origin.x()) * kTwipsPerPixelF;
    in.windowTop = static_cast<float>(origin.y()) * kTwipsPerPixelF;
    in.mapLeft = static_cast<float>(Carte->x()) * kTwipsPerPixelF;
    in.mapTop = static_cast<float>(Carte->y()) * kTwipsPerPixelF;
    in.mapWidth = static_cast<float>(Carte->width()) * kTwipsPerPixelF;
    in.mapHeight = static_cast<float>(Carte->height()) * kTwipsPerPixelF;
    in.entoureLeft = Carte->EntoureLeft();
    in.referencePoint = reference_.referencePoint;
    in.referenceHundredths = reference_.referenceHundredths;
    in.pi = pi_;
    in.degToRad = degToRad_;
    in.internetConnected = reference_.internetConnected;
    in.unit = unit_;
    in.longRoute = longRoute_;
    in.pinnedPoint = pinnedPlace_;
    // The tick is a pure function of its input: the same input would show the same frame.
    if (ticked_ && in == lastInput_) {
        return;
    }
    ticked_ = true;
    lastInput_ = in;
    ApplyFrame(tracking::ComputeTick(in));
}

void Form1::ApplyFrame(const tracking::TickFrame& f) {
    Carte->SetCrosshair(f.crosshairX, f.crosshairY);
    if (f.longitudeReadout) {
        SetTextIfChanged(MouseDegLon, QString::fromStdString(*f.longitudeReadout));
    }
    if (f.latitudeReadout) {
        SetTextIfChanged(MousedegLat, QString::fromStdString(*f.latitudeReadout));
    }
    if (f.mapQuestVisible) {
        CmdMapQuest->setVisible(*f.mapQuestVisible);
    }
    Carte->SetCrosshairVisible(f.tracking);
    MousedegLat->setVisible(f.tracking);
    MouseDegLon->setVisible(f.tracking);
    Frame1->SetNeedleVisible(f.tracking);
    LblAzimut->setVisible(f.tracking);
    SetTextIfChanged(LblDistance, QString::fromStdString(f.distanceText));

    reference_.referencePoint = f.referencePoint;
    SetTextIfChanged(LblAzimut, QString::fromStdString(f.dial.text));
    Frame1->SetNeedle(f.dial.needleX2, f.dial.needleY2);

    for (int n = 1; n <= tracking::kDotCount; ++n) {
        const tracking::DotUpdate& dot = f.dots.Shape(n);
        if (dot.placed) {
            Carte->SetDotPosition(n, dot.top, dot.left);
        }
        Carte->SetDotVisible(n, dot.visible);
    }
    ApplyReadings(f);

    const std::optional<geodesy::GeoPoint> target =
        f.tracking ? std::optional(f.cursorPoint) : std::nullopt;
    if (target != target_) {
        target_ = target;
        UpdateSunTexts();
    }
}

void Form1::SetGreyLine(bool on) {
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
    Carte->SetSun(std::nullopt);
    UpdateSunTexts();
}

// Shades the map for the minute the clock shows, if not done yet, and sets the timer for the
// turn of the next minute.
void Form1::RefreshSun() {
    using namespace std::chrono;
    const WallTime now = platform_.clock.Now();
    sunWall_ = now;
    sinceSunWall_.start();
    const auto minute = floor<minutes>(now);
    if (minute != sunMinute_) {
        sunMinute_ = minute;
        Carte->SetSun(geodesy::SunAt(sys_seconds{minute}));
        UpdateSunTexts();
    }
    const milliseconds wait = (minute + minutes{1}) - now;
    sunTimer_.start(static_cast<int>(wait.count()) + kAfterMinuteMs);
}

// After a sleep or a change of the system's clock the wall time has moved by more than the
// monotonic time: the shading is brought up to date at once instead of at the timer's end,
// which counts monotonic time.
void Form1::CheckClockJump() {
    if (!greyLine_ || !sinceSunWall_.isValid()) {
        return;
    }
    const WallTime expected = sunWall_ + std::chrono::milliseconds{sinceSunWall_.elapsed()};
    const auto drift = platform_.clock.Now() - expected;
    if (drift > kClockJump || drift < -kClockJump) {
        RefreshSun();
    }
}

void Form1::UpdateSunTexts() {
    if (!greyLine_ || !sunMinute_) {
        LblSoleilVille->hide();
        LblSoleilCible->hide();
        return;
    }
    const std::chrono::year_month_day date{std::chrono::floor<std::chrono::days>(*sunMinute_)};
    auto show = [&](QLabel* label, const char* place, std::optional<geodesy::GeoPoint> point) {
        if (!point) {
            label->hide();
            return;
        }
        SetTextIfChanged(label, QString::fromStdString(tracking::SunEventsText(
                                    place, geodesy::SunEventsOn(*point, date))));
        label->show();
    };
    show(LblSoleilVille, "Domicile",
         reference_.citySelected ? std::optional(reference_.referencePoint) : std::nullopt);
    show(LblSoleilCible, "Cible", target_);
}

void Form1::ShowInputHint(const QString& text) {
    if (inputHint_ == nullptr) {
        inputHint_ = new QLabel(this, Qt::ToolTip);
        inputHint_->setObjectName(QStringLiteral("InputHint"));
        inputHint_->setTextFormat(Qt::PlainText);  // typed text is never read as markup
        inputHint_->setFont(UiFont(8.25));
        inputHint_->setPalette(QToolTip::palette());
        inputHint_->setFrameStyle(QFrame::Box | QFrame::Plain);
        inputHint_->setMargin(2);
        inputHintTimer_.setSingleShot(true);
        connect(&inputHintTimer_, &QTimer::timeout, this, &Form1::HideInputHint);
        connect(Combo1, &QComboBox::editTextChanged, this, &Form1::HideInputHint);
    }
    // A long sentence is wrapped to the width of the map rather than run off the screen, and a
    // very long typed text is cut, keeping its start.
    constexpr int kLongest = 240;
    const QString shown = text.size() > kLongest ? text.left(kLongest - 1) + QChar(0x2026) : text;
    const int widest = Carte->width();
    const QMargins margins = inputHint_->contentsMargins();
    const bool wrap = inputHint_->fontMetrics().horizontalAdvance(shown) +
                          2 * inputHint_->margin() + margins.left() + margins.right() >
                      widest;
    inputHint_->setWordWrap(wrap);
    inputHint_->setText(shown);
    if (wrap) {
        inputHint_->resize(widest, inputHint_->heightForWidth(widest));
    } else {
        inputHint_->adjustSize();
    }
    // Under the window, in line with the box, where it hides none of the window's controls (just
    // under the box it covered "Valider" and the home's latitude); above the window when the
    // screen has no room below it.
    const QRect window = frameGeometry();
    const QRect screen = this->screen()->availableGeometry();
    const QSize size = inputHint_->size();
    int x = Combo1->mapToGlobal(QPoint(0, 0)).x();
    x = std::max(screen.left(), std::min(x, screen.right() + 1 - size.width()));
    int y = window.bottom() + 3;
    if (y + size.height() > screen.bottom() + 1) {
        y = window.top() - 2 - size.height();
        if (y < screen.top()) {
            // A screen too small for the window itself: under the box, as it was.
            y = Combo1->mapToGlobal(QPoint(0, Combo1->height() + 2)).y();
        }
    }
    inputHint_->move(x, y);
    inputHint_->show();
    inputHintTimer_.start(6000);
}

void Form1::HideInputHint() {
    if (inputHint_ != nullptr) {
        inputHintTimer_.stop();
        inputHint_->hide();
    }
}

void Form1::UpdateMapQuestTooltip() {
    if (!LblVilleDistance->text().isEmpty()) {
        CmdMapQuest->setToolTip(WebMapTooltip(Combo1->currentText()));
    }
}

void Form1::OpenWebMap() {
    text1_ = AddressNumber(reference_.referencePoint.latitude);
    text2_ = AddressNumber(-reference_.referencePoint.longitude);
    if (!platform_.urls.Open(QUrl(WebMapAddress(reference_.referencePoint)))) {
        platform_.session.ShowMessage(
            this, QStringLiteral("Impossible de se connecter au site GoogleMaps"));
    }
}

void Form1::ShowAbout() {
    if (!about_) {
        // A window of its own, kept above the main window by the window manager: the main
        // window stays on top of everything once it has been dragged.
        about_ = new AboutBox(platform_, this);
    }
    about_->show();
    if (topmost_) {
        // Once the main window floats above all others, the about box must too to be seen.
        platform_.windows.MakeTopmost(about_);
    }
    about_->raise();
}

void Form1::Minimise() {
    if (about_ && about_->isVisible()) {
        about_->hide();
    }
    HideInputHint();
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
        CheckClockJump();
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
        if (watched == CmdMapQuest) {
            UpdateMapQuestTooltip();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::paintEvent(QPaintEvent*) {
    if (!indexing_.valid()) {
        QTimer::singleShot(0, this, &Form1::StartIndexing);  // once this first paint is out
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

void Form1::SetCatalogue(cities::Catalogue catalogue) {
    catalogue_ = std::move(catalogue);
    ShowCatalogue();
}

void Form1::ShowCatalogue() {
    Combo1->SetCatalogue(&catalogue_);
    Combo1->setCurrentIndex(-1);
    Combo1->SetStartText(QStringLiteral("    Choisir un ville"));
}

// Sorting the names for the box waits until the window is on screen, and then runs beside it:
// until it is done, typing finds cities by looking at each name in turn.
void Form1::StartIndexing() {
    if (indexing_.valid() || catalogue_.NameCount() == 0) {
        return;
    }
    indexing_ = std::async(std::launch::async, [this] {
        auto index = std::make_shared<cities::NameIndex>(catalogue_);
        QMetaObject::invokeMethod(
            this,
            [this, index] {
                Combo1->SetIndex(std::make_unique<const cities::NameIndex>(std::move(*index)));
            },
            Qt::QueuedConnection);
    });
}

void Form1::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    HideInputHint();  // it would stay behind, away from the box
    RememberWindowPosition();
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

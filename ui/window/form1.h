#pragma once

#include <QElapsedTimer>
#include <QFuture>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <array>
#include <chrono>
#include <future>
#include <optional>

#include "cities/city_file.h"
#include "cities/home_entry.h"
#include "cities/selection.h"
#include "dxcc/locate.h"
#include "tracking/tick.h"
#include "ui/about_box.h"
#include "ui/frame_pacer.h"
#include "ui/platform.h"
#include "ui/window_drag.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace orbida::rotator {
class Client;
}

namespace orbida::ui {

class CityCombo;
class DialFrame;

// Where the country file of callsigns was looked for, and what reading it gave.
struct CountryFileReading {
    dxcc::CountryFileChoice choice;
    dxcc::CountryFileLoad load;
};
class FrameWidget;
class SettingsStore;
class MapWidget;

// The main window: a borderless grey window of 10140 x 7605 twips with the world map, the city
// choice, the readouts and the azimuth dial. It follows the pointer with the tracking tick and
// applies each frame, touching only what changed.
class Form1 : public QWidget {
  public:
    Form1(cities::Catalogue catalogue, Platform platform, QWidget* parent = nullptr);
    ~Form1() override;

    // One tracking tick with the pointer at a global position, in device-independent pixels.
    void TickAt(QPoint globalPointer);
    // The click of ValidVille: makes the chosen city the reference.
    void ValidateCity();
    void OpenWebMap();
    void ShowAbout();
    void Minimise();
    // Tells the user, in a tip under the city box and without interrupting, why what was typed
    // chose nothing. It goes away when the text is edited, a city is chosen, or after a while.
    void ShowInputHint(const QString& text);
    void HideInputHint();

    // The grey line: the night side of the map shaded and the sun marked, with sunrise and
    // sunset for home and for the target under the window's controls. Off at start-up; Ctrl+G
    // turns it on and off from anywhere in the program.
    void SetGreyLine(bool on);
    bool GreyLine() const { return greyLine_; }
    // The single-shot timer that brings the shading up to date at the next minute.
    const QTimer& SunTimer() const { return sunTimer_; }

    const cities::ReferenceState& Reference() const { return reference_; }
    const cities::Catalogue& Catalogue() const { return catalogue_; }
    // Replaces the city list, before the window first shows (the window may be built while the
    // file is still being read).
    void SetCatalogue(cities::Catalogue catalogue);
    AboutBox* About() const { return about_; }
    // The hidden text boxes that hold the web map address's latitude and longitude texts.
    const QString& Text1() const { return text1_; }
    const QString& Text2() const { return text2_; }

    // The station readings (form1_readings.cpp).
    // Reads what was remembered and applies it, then keeps it up to date as the user changes it.
    // Without settings (nullptr) nothing is remembered. What the store cannot keep is said once,
    // on the terminal and in a message over the window.
    void UseSettings(SettingsStore* settings);
    // A left click on the map at a point of the window: pins the point measured there, or
    // releases the pinned one.
    void TogglePin(QPoint windowPoint);
    bool Pinned() const { return pinned_.has_value() || pinnedPlace_.has_value(); }
    void SetLongRoute(bool on);
    bool LongRoute() const { return longRoute_; }
    void SetUnit(tracking::DistanceUnit unit);
    void CycleUnit();  // km, then statute miles, then nautical miles
    tracking::DistanceUnit Unit() const { return unit_; }
    QMenu* MapMenu() const { return mapMenu_; }
    // Makes the typed text home when it reads as a locator or coordinates, or pins the country
    // of a callsign as the target; otherwise says why below the city box and changes nothing.
    // The name of a city was tried before. True when home changed.
    bool ValidateTypedHome(const QString& text);
    const QString& LastRefusal() const { return lastRefusal_; }

    // Callsigns (form1_callsign.cpp).
    // Where the country file is looked for: overridePath (--cty) when given, else the newer of
    // cty.dat in userDataDir and systemPath. It is read in the background shortly after this
    // call, or at the first callsign typed if that comes sooner.
    void SetCountryFilePlaces(const QString& userDataDir, const QString& systemPath,
                              const QString& overridePath);
    // Pins the target at the country of the callsign (home does not change) and names it in the
    // top strip. Says why under the city box and changes nothing when no country fits or there
    // is no country file.
    bool PinCallsign(const QString& callsign);
    const std::optional<dxcc::Country>& CallsignCountry() const { return callsignCountry_; }
    // The country file in use and its release, in French; empty before it is read or without one.
    QString CountryFileDescription() const;

    // The antenna rotator (form1_rotator.cpp).
    // Where its daemon listens; an empty host means none, and nothing of it shows. remember:
    // kept for the next runs too.
    void SetRotator(const QString& host, quint16 port, bool remember);
    // Turns the antenna to the short or long path of the target: the pinned point, else the
    // point where the map's menu was opened, else the pointer's. Nothing off the map.
    void TurnRotator(bool longPath);
    void StopRotator();
    // "Rotor…": the daemon's address, with a test; OK keeps it.
    void OpenRotatorDialog();
    rotator::Client* Rotator() const { return rotator_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void BuildControls();
    void ApplyReference();
    void ApplyFrame(const tracking::TickFrame& frame);
    void UpdateMapQuestTooltip();
    void PointerMoved(QPoint globalPointer);
    void TickAtPointer();
    void RefreshSun();
    void CheckClockJump();
    void UpdateSunTexts();

    void BuildReadings();
    void ApplyReadings(const tracking::TickFrame& frame);
    void ShowMapMenu(QPoint mapPoint);
    // checkConnection false: the home is shown as not connected until CheckConnectionLater.
    bool ApplyHome(const cities::HomeEntry& entry, bool checkConnection = true);
    void CheckConnectionLater();
    void RememberHomeText(const QString& text);
    void RememberWindowPosition();

    void StartCountryFile();
    const dxcc::CountryFile* CountryFileNow();
    void CountryFileRead(CountryFileReading reading);
    void ReleaseCallsign();
    void ApplyCallsignLine(const tracking::TickFrame& frame);
    void BuildRotator();
    void ShowRotatorStatus();

    cities::Catalogue catalogue_;
    Platform platform_;
    cities::ReferenceState reference_;
    double pi_ = 0.0;
    double degToRad_ = 0.0;
    tracking::TickInput lastInput_;
    bool ticked_ = false;
    // The city box's name index, built on a worker once the window has shown.
    std::future<void> indexing_;
    void ShowCatalogue();
    void StartIndexing();
    bool topmost_ = false;  // made topmost by the first drag, for the rest of the run
    QElapsedTimer monotonic_;
    FramePacer pacer_;
    QTimer frameTimer_;  // the end of the frame of a held move
    QPoint pendingPointer_;
    QString text1_ = QStringLiteral("Text1");
    QString text2_ = QStringLiteral("Text2");
    QPointer<AboutBox> about_;
    QTimer enterTimer_;
    QLabel* inputHint_ = nullptr;
    QTimer inputHintTimer_;
    WindowDrag drag_;

    bool greyLine_ = false;
    QTimer sunTimer_;
    // The wall time when the shading was last brought up to date, and the monotonic time since:
    // the two drift apart when the machine sleeps or the clock is set.
    WallTime sunWall_{};
    QElapsedTimer sinceSunWall_;
    std::optional<std::chrono::sys_time<std::chrono::minutes>> sunMinute_;
    std::optional<geodesy::GeoPoint> target_;  // the point under the pointer, over the map

    // Controls, under their layout names.
    MapWidget* Carte = nullptr;
    DialFrame* Frame1 = nullptr;
    FrameWidget* Frame2 = nullptr;
    CityCombo* Combo1 = nullptr;
    QPushButton* ValidVille = nullptr;
    QPushButton* CmdMapQuest = nullptr;
    QPushButton* CmdMinimise = nullptr;
    QPushButton* CmdQuitte = nullptr;
    QPushButton* CmdAide = nullptr;
    QLabel* MousedegLat = nullptr;
    QLabel* MouseDegLon = nullptr;
    QLabel* LblDistance = nullptr;
    QLabel* LblVilleDistance = nullptr;
    QLabel* LblAzimut = nullptr;
    QLabel* LblLonVille = nullptr;
    QLabel* LblLatVille = nullptr;
    QLabel* LblLocatVille = nullptr;
    QLabel* LblSoleilVille = nullptr;
    QLabel* LblSoleilCible = nullptr;

    // Station readings.
    QLabel* LblLongChemin = nullptr;    // long-path azimuth and distance
    QLabel* LblLocatCurseur = nullptr;  // the measured point's locator
    QMenu* mapMenu_ = nullptr;
    QAction* pinAction_ = nullptr;
    QAction* longRouteAction_ = nullptr;
    QAction* greyLineAction_ = nullptr;
    std::array<QAction*, 3> unitActions_{};
    std::optional<QPoint> pinned_;                  // the pointer's place in the window when pinned
    std::optional<geodesy::GeoPoint> pinnedPlace_;  // a place pinned by its coordinates
    QPoint menuPoint_;  // where the map's menu was asked for, in the window
    bool longRoute_ = false;
    tracking::DistanceUnit unit_ = tracking::DistanceUnit::Kilometres;
    SettingsStore* settings_ = nullptr;
    QString lastRefusal_;

    // Callsigns.
    QLabel* LblIndicatif = nullptr;  // the pinned callsign's country and paths, in the top strip
    struct CountryFilePlaces {
        QString userDataDir;
        QString systemPath;
        QString overridePath;
    };
    std::optional<CountryFilePlaces> countryPlaces_;
    QFuture<CountryFileReading> countryReading_;
    bool countryFileSettled_ = false;
    CountryFileReading countryFile_;
    std::optional<dxcc::Country> callsignCountry_;

    // Antenna rotator.
    rotator::Client* rotator_ = nullptr;
    QLabel* LblRotor = nullptr;  // "Rotor 287 °", right of the dial
    QAction* turnShortAction_ = nullptr;
    QAction* turnLongAction_ = nullptr;
    QAction* stopRotorAction_ = nullptr;
    QPointer<QWidget> rotatorDialog_;
    bool menuTarget_ = false;  // an entry of the map's menu is being chosen
};

}  // namespace orbida::ui

#pragma once

#include <QPoint>
#include <QString>
#include <QUrl>
#include <memory>
#include <optional>

#include "cities/selection.h"
#include "ui/platform/clock.h"

class QWidget;

namespace orbida::ui {

// The services the windows take from the desktop, each behind a small interface so that tests
// can put a double in its place.

// Where the pointer is, in device-independent pixels of the virtual desktop.
class PointerSource {
  public:
    virtual ~PointerSource() = default;
    virtual QPoint Position() const = 0;
};

// Hands an address to the desktop's own opener (the default browser for a web address): the one
// way the program opens an address. False when it could not be handed over at all.
class UrlOpener {
  public:
    virtual ~UrlOpener() = default;
    virtual bool Open(const QUrl& url) = 0;
};

// Whether the machine has a network connection; a check that fails reports none.
class ConnectionChecker {
  public:
    virtual ~ConnectionChecker() = default;
    virtual cities::ConnectionReport Check() = 0;
};

// The window manager's part: stacking, moving and minimising top-level windows.
class WindowManager {
  public:
    virtual ~WindowManager() = default;
    virtual void MakeTopmost(QWidget* window) = 0;
    virtual void StartSystemMove(QWidget* window) = 0;
    virtual void Minimise(QWidget* window) = 0;
};

// The desktop session the program runs in: what it says of itself, the one message the program
// shows, and the end of the program.
class Session {
  public:
    virtual ~Session() = default;
    // Whether the session tells where the pointer is once it has left the program's windows
    // (Wayland does not).
    virtual bool PointerKnownOutside() const = 0;
    // The refresh rate of the primary screen, in hertz.
    virtual double RefreshRate() const = 0;
    // Shows a message with an OK button over `parent` and returns once it is closed.
    virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
    // Ends the program's event loop with an exit status.
    virtual void Exit(int status) = 0;
};

struct Platform {
    PointerSource& pointer;
    UrlOpener& urls;
    ConnectionChecker& connection;
    WindowManager& windows;
    Clock& clock;
    Session& session;
};

// The real services, over Qt.
class QtPlatform {
  public:
    // With a fixed time the clock stands still at it; otherwise it is the system's clock.
    explicit QtPlatform(std::optional<WallTime> fixedTime = std::nullopt);
    ~QtPlatform();
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    Platform Services();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace orbida::ui

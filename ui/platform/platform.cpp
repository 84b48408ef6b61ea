#include "ui/platform/platform.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "rotator/network.h"

namespace orbida::ui {
namespace {

class QtPointer final : public PointerSource {
  public:
    QPoint Position() const override { return QCursor::pos(); }
};

class QtUrlOpener final : public UrlOpener {
  public:
    bool Open(const QUrl& url) override { return QDesktopServices::openUrl(url); }
};

// Asks the network module (see rotator/network.h). A module that cannot be loaded leaves the
// question open: the web map is tried, and the browser says what it finds.
class QtConnectionChecker final : public ConnectionChecker {
  public:
    cities::ConnectionReport Check() override {
        cities::ConnectionReport report;
        const rotator::network::Functions* network = rotator::network::Load(nullptr);
        switch (network != nullptr ? network->reachability()
                                   : rotator::network::Reachability::kUnknown) {
            case rotator::network::Reachability::kOnline:
                report.online = true;
                break;
            case rotator::network::Reachability::kLocal:
            case rotator::network::Reachability::kUnknown:
                report.viaLan = true;
                break;
            case rotator::network::Reachability::kDisconnected:
                break;
        }
        return report;
    }
};

// Sets the stay-on-top flag on the native window itself: QWidget::setWindowFlags would hide and
// re-create a shown window. The move is the window system's own, which also works on Wayland.
class QtWindowManager final : public WindowManager {
  public:
    void MakeTopmost(QWidget* window) override {
        if (QWindow* handle = window->windowHandle()) {
            handle->setFlag(Qt::WindowStaysOnTopHint, true);
        }
    }
    void StartSystemMove(QWidget* window) override {
        if (QWindow* handle = window->windowHandle()) {
            handle->startSystemMove();
        }
    }
    void Minimise(QWidget* window) override { window->showMinimized(); }
};

class QtSession final : public Session {
  public:
    bool PointerKnownOutside() const override {
        return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    }
    double RefreshRate() const override {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen != nullptr ? screen->refreshRate() : 60.0;
    }
    void ShowMessage(QWidget* parent, const QString& text) override {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Orbida"), text, QMessageBox::Ok,
                        parent);
        box.exec();
    }
    void Exit(int status) override { QCoreApplication::exit(status); }
};

}  // namespace

struct QtPlatform::Impl {
    QtPointer pointer;
    QtUrlOpener urls;
    QtConnectionChecker connection;
    QtWindowManager windows;
    QtSession session;
    SystemClock systemClock;
    std::optional<FixedClock> fixedClock;
};

QtPlatform::QtPlatform(std::optional<WallTime> fixedTime) : impl_(std::make_unique<Impl>()) {
    if (fixedTime) {
        impl_->fixedClock.emplace(*fixedTime);
    }
}
QtPlatform::~QtPlatform() = default;

Platform QtPlatform::Services() {
    Clock& clock = impl_->fixedClock ? static_cast<Clock&>(*impl_->fixedClock)
                                     : static_cast<Clock&>(impl_->systemClock);
    return Platform{impl_->pointer, impl_->urls, impl_->connection,
                    impl_->windows, clock,       impl_->session};
}

}  // namespace orbida::ui

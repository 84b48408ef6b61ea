#include "ui/platform.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>
#include <QNetworkInformation>
#include <QNetworkInterface>
#include <QScreen>
#include <QWidget>
#include <QWindow>

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

// Asks the system's network information backend (NetworkManager on Linux, the Network List
// Manager on Windows, SystemConfiguration on macOS). Where none loads, as in a container or a
// desktop without NetworkManager, an interface that is up, running, not the loopback and has an
// address counts as a local-network connection.
class QtConnectionChecker final : public ConnectionChecker {
  public:
    cities::ConnectionReport Check() override {
        cities::ConnectionReport report;
        if (QNetworkInformation* info = Backend()) {
            switch (info->reachability()) {
                case QNetworkInformation::Reachability::Online:
                    report.online = true;
                    return report;
                case QNetworkInformation::Reachability::Local:
                case QNetworkInformation::Reachability::Site:
                    report.viaLan = true;
                    return report;
                case QNetworkInformation::Reachability::Disconnected:
                    return report;
                case QNetworkInformation::Reachability::Unknown:
                    break;
            }
        }
        report.viaLan = AnyInterfaceUp();
        return report;
    }

  private:
    QNetworkInformation* Backend() {
        if (!tried_) {
            tried_ = true;
            QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
        }
        return QNetworkInformation::instance();
    }

    static bool AnyInterfaceUp() {
        const auto interfaces = QNetworkInterface::allInterfaces();
        for (const QNetworkInterface& i : interfaces) {
            const auto flags = i.flags();
            if (flags.testFlag(QNetworkInterface::IsUp) &&
                flags.testFlag(QNetworkInterface::IsRunning) &&
                !flags.testFlag(QNetworkInterface::IsLoopBack) && !i.addressEntries().isEmpty()) {
                return true;
            }
        }
        return false;
    }

    bool tried_ = false;
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

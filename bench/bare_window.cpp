// The floor the measuring scripts compare Orbida with: a bare Qt window of Orbida's size whose
// only job is a label showing the pointer position. Same toolkit, same style, same window
// manager: what it costs to start and to show a moving pointer is what any Qt program pays.
// Run: out/build/default/bench/bare_window
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QStyleFactory>

namespace {

class BareWindow final : public QWidget {
  public:
    BareWindow() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
        setWindowTitle(QStringLiteral("  BARE QT"));
        setFixedSize(676, 507);  // Orbida's 10140 x 7605 twips
        setMouseTracking(true);
        label_ = new QLabel(QStringLiteral("0, 0"), this);
        label_->setGeometry(136, 376, 193, 17);  // where Orbida shows the pointer's longitude
        label_->setMouseTracking(true);
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
    }

  protected:
    void mouseMoveEvent(QMouseEvent* event) override {
        const QPointF at = event->globalPosition();
        label_->setText(QStringLiteral("%1, %2").arg(at.x()).arg(at.y()));
    }

  private:
    QLabel* label_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    BareWindow window;
    window.show();
    return QApplication::exec();
}

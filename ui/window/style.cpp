#include "ui/window/style.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <cmath>

#include "ui/window/packed_pictures.h"

namespace orbida::ui {

QFont UiFont(double points, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                      QStringLiteral("Arial"), QStringLiteral("Helvetica"),
                      QStringLiteral("Microsoft Sans Serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    font.setBold(bold);
    return font;
}

void StyleWindow(QWidget* window, const char* name, QSize size, const QColor& background) {
    window->setObjectName(QString::fromLatin1(name));
    window->setFixedSize(size);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, background);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    window->setFont(UiFont(8.25));
}

void StyleLabel(QLabel* label, const char* name, QRect geometry, const LabelStyle& style) {
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setFont(UiFont(style.points, style.bold));
    label->setAlignment(style.alignment | Qt::AlignTop);
    label->setWordWrap(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText,
                     style.colour.isValid() ? style.colour
                                            : QApplication::palette().color(QPalette::ButtonText));
    label->setPalette(palette);
}

QCursor HandCursor() {
    // The hand is 32 pixels at a pixel ratio of 1 and grows with the ratio like the system's own
    // pointers: drawn at twice the size and scaled down to the screen's ratio when it is above 1.
    // The hot spot is at the top of the fingertip.
    const qreal ratio = qApp != nullptr ? qApp->devicePixelRatio() : 1.0;
    if (ratio <= 1.0) {
        return QCursor(PicturePixmap("hand.png"), 1, 0);
    }
    QPixmap sharp = PicturePixmap("hand@2x.png");
    const int side = static_cast<int>(std::lround(32.0 * ratio));
    if (sharp.width() != side) {
        sharp = sharp.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    sharp.setDevicePixelRatio(ratio);
    // X11 places the hot spot of a pointer image in the image's own pixels; other platforms
    // scale it with the image.
    const bool imagePixels = QGuiApplication::platformName() == QLatin1String("xcb");
    return QCursor(sharp, imagePixels ? static_cast<int>(std::lround(ratio)) : 1, 0);
}

namespace {

constexpr char kDecorative[] = "orbidaDecorative";

class DecorativeAccessible : public QAccessibleWidget {
  public:
    explicit DecorativeAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::StaticText) {}
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        return state;
    }
    QString text(QAccessible::Text) const override { return {}; }
};

QAccessibleInterface* DecorativeFactory(const QString&, QObject* object) {
    if (object != nullptr && object->isWidgetType() && object->property(kDecorative).toBool()) {
        return new DecorativeAccessible(static_cast<QWidget*>(object));
    }
    return nullptr;
}

}  // namespace

void HideFromScreenReaders(QWidget* widget) {
    static const bool installed = [] {
        QAccessible::installFactory(DecorativeFactory);
        return true;
    }();
    (void)installed;
    widget->setProperty(kDecorative, true);
    // An interface made while the widget was being built is that of a plain label: drop it so
    // that the next query makes the decorative one.
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(widget);
    if (made != nullptr && dynamic_cast<DecorativeAccessible*>(made) == nullptr) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
}

QCursor BlankCursor() {
    return QCursor(Qt::BlankCursor);
}

}  // namespace orbida::ui

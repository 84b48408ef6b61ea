#include "ui/window/about_box.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTextLayout>
#include <algorithm>

#include "ui/version.h"
#include "ui/window/packed_pictures.h"
#include "ui/window/style.h"
#include "ui/window/twips.h"
#include "ui/window/web_map.h"

namespace orbida::ui {

QString CityListCredit() {
    return QCoreApplication::translate("AboutBox", "Liste des villes : GeoNames (CC BY 4.0)");
}

namespace {

// The texts of the description, written exactly as shown, runs of blanks and spellings included;
// translated when the box is made.
QString T1() {
    return QCoreApplication::translate("AboutBox",
                                       "La version 2 permet,  via le site %1,  de situer avec plus "
                                       "de précision la ville sélectionnée. - Connexion Internet "
                                       "indispensable -")
        .arg(kWebMapBase);
}
const char* const kT2 = QT_TRANSLATE_NOOP(
    "AboutBox",
    "La base de données concernant les villes est issue de la base    \"GeoNames\"  .Elle "
    "peut-être modifiée et complètée: Voir fichier \"Villes.txt\" dans le répertoire  "
    "\"ORBIDA\".");
const char* const kT3 = QT_TRANSLATE_NOOP(
    "AboutBox",
    " \"Orbida\"  donne également les coordonnées géographiques des points choisis ainsi que le "
    "Locator de la ville de référence.");
const char* const kT4 = QT_TRANSLATE_NOOP(
    "AboutBox",
    "Cette route (Orthodromie) et la route idéale que suit un avion volant sans escale entre les  "
    "points choisis. (En réalité, d'autres données telles que les couloirs aériens officiels, les "
    "vents dominants...peuvent infléchir ce choix) ");
const char* const kT5 = QT_TRANSLATE_NOOP(
    "AboutBox",
    "Affichage de la route la plus courte et de la distance  entre une ville  et tout autre point "
    "du globe");
const char* const kT6 = QT_TRANSLATE_NOOP(
    "AboutBox",
    "Il précise également l'azimut  à partir de  cette ville. Ceci  permet, par exemple,  à un "
    "radio amateur d'orienter ses antennes sur une région du monde de façon optimale. C'est aussi  "
    "la direction prise, dés le décollage,  par  notre avion.");

const QRectF kShape1 = TwipRectF(120, 120, 5895, 7095);
const QRectF kShape2 = TwipRectF(3480, 6840, 1215, 255);

// The first pixel column under the right side of Shape1's outline.
const int kFrameInnerRight = static_cast<int>(kShape1.right()) - 1;

// A label of the box. Two labels reach past the frame Shape1, and one past the window's edge:
// their text wraps inside the frame instead of running under it or off the window.
QLabel* FramedLabel(QWidget* parent, const char* name, const QString& text, QRect geometry,
                    const LabelStyle& style) {
    geometry.setRight(std::min(geometry.right(), kFrameInnerRight - 1));
    return MakeLabel(parent, name, text, geometry, style);
}

QColor Background(const QLabel* label) {
    return label->palette().color(QPalette::Window);
}

// Changes a label's background; false when it already had that colour.
bool SetBackground(QLabel* label, const QColor& colour) {
    if (Background(label) == colour) {
        return false;
    }
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, colour);
    label->setPalette(palette);
    return true;
}

void DrawLine(QPainter& painter, const QColor& colour, int pixels, double x1, double y1, double x2,
              double y2) {
    painter.setPen(QPen(colour, pixels));
    painter.drawLine(QPointF(x1 / kTwipsPerPixel, y1 / kTwipsPerPixel),
                     QPointF(x2 / kTwipsPerPixel, y2 / kTwipsPerPixel));
}

void DrawOutline(QPainter& painter, const QColor& colour, int pixels, const QRectF& rect) {
    QPen pen(colour, pixels);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect);
}

// Where a label lays out a run of its text: the run and the blanks after it, on one line, in the
// label's coordinates. Empty when the run is missing or broken over two lines. The label lays out
// word-wrapped text the same way, with no margin.
QRect RunBox(const QLabel* label, const QString& run) {
    const QString text = label->text();
    const int start = static_cast<int>(text.indexOf(run));
    if (start < 0) {
        return {};
    }
    int end = start + static_cast<int>(run.size());
    while (end < text.size() && text.at(end) == QLatin1Char(' ')) {
        ++end;
    }
    QTextLayout layout(text, label->font());
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal y = 0.0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label->width());
        line.setPosition(QPointF(0.0, y));
        y += line.height();
    }
    layout.endLayout();
    const QTextLine line = layout.lineForTextPosition(start);
    if (!line.isValid() || layout.lineForTextPosition(end - 1).lineNumber() != line.lineNumber()) {
        return {};
    }
    const qreal left = line.cursorToX(start);
    const qreal right =
        end < line.textStart() + line.textLength() ? line.cursorToX(end) : line.naturalTextWidth();
    return QRectF(left, line.y(), right - left, line.height()).toAlignedRect();
}

}  // namespace

AboutBox::AboutBox(Platform platform, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      platform_(platform),
      drag_(platform_.windows) {
    StyleWindow(this, "frmAbout", TwipRect(0, 0, 6105, 7350).size(), kAboutGrey);
    setAttribute(Qt::WA_DeleteOnClose);
    BuildControls();
    cmdOK->setFocus();

    // Centred on the screen the main window is on, not on the primary one.
    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void AboutBox::BuildControls() {
    // Widgets created later are drawn over earlier ones: the labels from the bottom of the
    // stacking order to the top, then the picture and the button, which lie over every label.
    // The lines and shapes are painted on the surface itself, under the labels.
    Label1 = FramedLabel(this, "Label1", QStringLiteral("ORBIDA"), TwipRect(1680, 315, 2055, 495),
                         {kGrey, 24, true, Qt::AlignHCenter});
    Label7 = FramedLabel(this, "Label7", QCoreApplication::translate("AboutBox", kT6),
                         TwipRect(360, 3360, 5775, 855), {});
    Label9 = FramedLabel(this, "Label9", QCoreApplication::translate("AboutBox", kT5),
                         TwipRect(360, 1200, 5535, 495), {});
    FramedLabel(this, "Label10", QString(), TwipRect(1560, 6240, 3255, 255),
                {QColor(), 8.25, true, Qt::AlignHCenter});
    Label11 = FramedLabel(this, "Label11", QCoreApplication::translate("AboutBox", kT4),
                          TwipRect(360, 1800, 5655, 855), {});
    QLabel* label13 =
        FramedLabel(this, "Label13", CityListCredit(), TwipRect(2160, 6480, 2175, 255), {});
    // The credit is longer than the box drawn for it: the box widens about its centre so that
    // the credit stays on one line.
    const int creditWidth = label13->fontMetrics().horizontalAdvance(label13->text()) + 1;
    if (creditWidth > label13->width()) {
        const QPoint centre = label13->geometry().center();
        label13->setGeometry(centre.x() - creditWidth / 2, label13->y(), creditWidth,
                             label13->height());
    }
    FramedLabel(this, "Label14",
                QCoreApplication::translate("AboutBox", "D'autres logiciels sur le site"),
                TwipRect(840, 6840, 2415, 255), {QColor(), 8.25, true, Qt::AlignRight});
    // Lblvemra is opaque, but Shape2 lies over it: the surface paints its background, then
    // Shape2, and the label draws only its text.
    Lblvemra = FramedLabel(this, "Lblvemra", kAuthorHost, TwipRect(3480, 6840, 1215, 255),
                           {QColor(), 8.25, true, Qt::AlignHCenter});
    SetBackground(Lblvemra, QApplication::palette().color(QPalette::Button));
    Lblvemra->setCursor(HandCursor());
    FramedLabel(this, "Label17", QCoreApplication::translate("AboutBox", kT3),
                TwipRect(360, 2760, 5535, 615), {});
    // The major and minor numbers as plain integers: " Version 2.0" for 2.00.
    FramedLabel(this, "Label18",
                QCoreApplication::translate("AboutBox", " Version %1.%2")
                    .arg(kVersionMajor)
                    .arg(kVersionMinor),
                TwipRect(3840, 555, 975, 255), {QColor(), 8.25, false, Qt::AlignLeft});
    Label2 = FramedLabel(this, "Label2", QStringLiteral("ORBIDA"), TwipRect(1560, 240, 2415, 495),
                         {kDarkGrey, 24, true, Qt::AlignHCenter});
    QLabel* label5 = FramedLabel(this, "Label5", QCoreApplication::translate("AboutBox", kT2),
                                 TwipRect(480, 5040, 5295, 615), {});
    // LblRmobile covers the word "GeoNames" of Label5 with its own opaque face, a link to the
    // source of the city list, whose licence asks for that credit. Its box was
    // drawn for another font: it is moved to where Label5 lays out the words, so that neither
    // shows a piece of the other, and covers them and the blanks after them.
    const QString source = QStringLiteral("\"GeoNames\"");
    LblRmobile = FramedLabel(this, "LblRmobile", source, TwipRect(600, 5235, 1335, 210), {});
    if (const QRect words = RunBox(label5, source); !words.isEmpty()) {
        LblRmobile->setGeometry(words.left() + label5->x(), words.top() + label5->y(),
                                words.width(), LblRmobile->height());
    }
    SetBackground(LblRmobile, kLightGreen);
    LblRmobile->setAutoFillBackground(true);
    FramedLabel(this, "Label3", T1(), TwipRect(360, 4320, 5535, 615), {});

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(TwipRect(480, 360, 480, 480));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setPixmap(PictureIcon("icon.png").pixmap(QSize(32, 32)));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(TwipRect(5160, 360, 420, 345));
    cmdOK->setCursor(HandCursor());
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QWidget::close);

    // Only a move over the bare surface resets the link labels, and only the surface and the
    // labels watched below drag.
    ClaimMouse(this);
    for (QLabel* label : {Lblvemra, LblRmobile, Label1, Label2, Label7, Label9, Label11}) {
        label->installEventFilter(this);
    }
}

bool AboutBox::StartsDrag(const QObject* widget) const {
    return widget == Label1 || widget == Label2 || widget == Label7 || widget == Label9 ||
           widget == Label11;
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseMove:
            if (StartsDrag(watched)) {
                drag_.Move(this, static_cast<QMouseEvent*>(event));
            }
            if (watched == Lblvemra) {
                VemraHover();
            } else if (watched == LblRmobile) {
                RmobileHover();
            }
            break;
        case QEvent::MouseButtonPress:
            if (StartsDrag(watched)) {
                drag_.Press(this, static_cast<QMouseEvent*>(event));
                return true;
            }
            break;
        case QEvent::MouseButtonRelease: {
            if (StartsDrag(watched)) {
                drag_.Release();
            }
            // A click: the left button released over the label it was pressed on.
            const auto* release = static_cast<QMouseEvent*>(event);
            const auto* label = qobject_cast<QLabel*>(watched);
            if (release->button() != Qt::LeftButton || label == nullptr ||
                !label->rect().contains(release->position().toPoint())) {
                break;
            }
            if (label == Lblvemra) {
                OpenLink(kAuthorSite);
            } else if (label == LblRmobile) {
                OpenLink(kCitySourcePage);
            }
            break;
        }
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

void AboutBox::HoverReset() {
    if (SetBackground(Lblvemra, kLightCyan)) {
        update(Lblvemra->geometry());
    }
    SetBackground(LblRmobile, kLightGreen);
    SetShape2Visible(false);
}

void AboutBox::VemraHover() {
    if (SetBackground(Lblvemra, kLightGreen)) {
        update(Lblvemra->geometry());
    }
    SetShape2Visible(true);
}

void AboutBox::RmobileHover() {
    SetBackground(LblRmobile, kLightCyan);
}

void AboutBox::SetShape2Visible(bool visible) {
    if (shape2Visible_ != visible) {
        shape2Visible_ = visible;
        update(kShape2.adjusted(-2, -2, 2, 2).toAlignedRect());
    }
}

void AboutBox::OpenLink(const QString& address) {
    // The browser starts on its own; whether it could be started at all changes nothing here.
    platform_.urls.Open(QUrl(address));
}

void AboutBox::paintEvent(QPaintEvent*) {
    // The lines and shapes, from the bottom of the stacking order to the top.
    QPainter painter(this);
    DrawLine(painter, Qt::white, 2, 480, 6120, 5880, 6120);  // Line1(0)
    DrawLine(painter, kGrey, 1, 480, 6120, 5925, 6120);      // Line1(1)
    painter.fillRect(Lblvemra->geometry(), Background(Lblvemra));
    if (shape2Visible_) {
        DrawOutline(painter, kBrightGreen, 3, kShape2);
    }
    DrawOutline(painter, kGreen, 2, kShape1);
    DrawLine(painter, QApplication::palette().color(QPalette::WindowText), 2, 4680, 3564, 2928,
             3564);  // Line2
}

void AboutBox::mousePressEvent(QMouseEvent* event) {
    drag_.Press(this, event);
}

void AboutBox::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    drag_.Move(this, event);
    HoverReset();
}

void AboutBox::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    drag_.Release();
}

void AboutBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            close();
            break;
        default:
            QWidget::keyPressEvent(event);
            break;
    }
}

void ShowAboutBox(QPointer<AboutBox>& box, const Platform& platform, QWidget* parent,
                  bool topmost) {
    if (!box) {
        // Kept above the main window by the window manager: the main window stays on top of
        // everything once it has been dragged.
        box = new AboutBox(platform, parent);
    }
    box->show();
    if (topmost) {
        platform.windows.MakeTopmost(box);
    }
    box->raise();
}

}  // namespace orbida::ui

#include "ui/window/form1_layout.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

#include "geodesy/map_layout.h"
#include "ui/map/map_widget.h"
#include "ui/window/city_combo.h"
#include "ui/window/frame_widget.h"
#include "ui/window/packed_pictures.h"
#include "ui/window/readout_label.h"
#include "ui/window/style.h"
#include "ui/window/twips.h"
#include "ui/window/web_map.h"

namespace orbida::ui {
namespace {

void SetTextIfChanged(QLabel* label, const QString& text) {
    if (label->text() != text) {
        label->setText(text);
    }
}

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

}  // namespace

Form1Controls MakeForm1Controls(QWidget* window) {
    Form1Controls c;
    // Widgets created later are drawn over earlier ones: labels first, then the windowed
    // controls, each group from the bottom of the stacking order to the top.
    const LabelStyle lightCyan{kLightCyan};
    c.MouseDegLon = MakeLabel<ReadoutLabel>(window, "MouseDegLon",
                                            QCoreApplication::translate("Form1", "Longitude"),
                                            TwipRect(2040, 5640, 2895, 255), lightCyan);
    c.MousedegLat = MakeLabel<ReadoutLabel>(window, "MousedegLat",
                                            QCoreApplication::translate("Form1", "Latitude"),
                                            TwipRect(5520, 5640, 2535, 255), lightCyan);
    c.LblDistance = MakeLabel<ReadoutLabel>(window, "LblDistance",
                                            QCoreApplication::translate("Form1", "Distance"),
                                            TwipRect(4800, 5880, 2535, 255), lightCyan);
    c.LblDistance->hide();
    c.LblVilleDistance =
        MakeLabel(window, "LblVilleDistance", QString(), TwipRect(2040, 5880, 2775, 375),
                  {kLightCyan, 8.25, true, Qt::AlignRight});
    c.LblVilleDistance->hide();
    // Titre1 is the title's shadow: screen readers read the title once, from Titre2.
    HideFromScreenReaders(MakeLabel(window, "Titre1", QStringLiteral("ORBIDA"),
                                    TwipRect(4240, 200, 1575, 375),
                                    {kSilver, 18, true, Qt::AlignHCenter}));
    MakeLabel(window, "Titre2", QStringLiteral("ORBIDA"), TwipRect(4200, 200, 1575, 360),
              {kGrey, 18, true, Qt::AlignHCenter});

    c.Carte = new MapWidget(window);
    c.Carte->setObjectName(QStringLiteral("Carte"));
    c.Carte->setGeometry(
        TwipRect(geodesy::kMapLeft, geodesy::kMapTop, geodesy::kMapWidth, geodesy::kMapHeight));

    c.Frame2 = new FrameWidget(QCoreApplication::translate("Form1", "Localisation d'une ville"),
                               kCyan, window);
    c.Frame2->setObjectName(QStringLiteral("Frame2"));
    c.Frame2->setGeometry(TwipRect(1200, 6120, 7575, 1095));
    {
        const LabelStyle cyan{kCyan};
        c.LblLonVille = MakeLabel<ReadoutLabel>(c.Frame2, "LblLonVille", QString(),
                                                TwipRect(3000, 240, 1935, 255), cyan);
        c.LblLatVille = MakeLabel<ReadoutLabel>(c.Frame2, "LblLatVille", QString(),
                                                TwipRect(3000, 480, 1935, 255), cyan);
        c.LblLocatVille = MakeLabel<ReadoutLabel>(c.Frame2, "LblLocatVille", QString(),
                                                  TwipRect(3480, 720, 975, 255), cyan);
        MakeLabel(c.Frame2, "Label7", QCoreApplication::translate("Form1", "Longitude:"),
                  TwipRect(2040, 240, 975, 255), cyan);
        MakeLabel(c.Frame2, "Label8", QCoreApplication::translate("Form1", "Latitude:"),
                  TwipRect(2040, 480, 975, 255), cyan);
        MakeLabel(c.Frame2, "Label9", QCoreApplication::translate("Form1", "Locator:"),
                  TwipRect(2040, 720, 735, 255), cyan);
        c.Combo1 = new CityCombo(c.Frame2);
        c.Combo1->setObjectName(QStringLiteral("Combo1"));
        c.Combo1->setGeometry(TwipRect(240, 240, 1695, 315));
        c.Combo1->setFont(UiFont(8.25));
        c.Combo1->setCursor(HandCursor());
        QPalette palette = c.Combo1->palette();
        palette.setColor(QPalette::Base, kLightCyan);
        c.Combo1->setPalette(palette);
        c.ValidVille =
            MakeButton(c.Frame2, "ValidVille", QCoreApplication::translate("Form1", "Valider"),
                       TwipRect(480, 720, 1095, 255));
    }

    c.CmdQuitte = MakeGlyphButton(window, "CmdQuitte", "quitte.png", TwipRect(9480, 240, 300, 300));
    c.CmdQuitte->setAccessibleName(QCoreApplication::translate("Form1", "Quitter"));
    c.CmdAide = MakeButton(window, "CmdAide", QCoreApplication::translate("Form1", "A propos"),
                           TwipRect(240, 240, 975, 255));

    c.Frame1 = new DialFrame(QCoreApplication::translate("Form1", "   Azimut "), kCyan, window);
    c.Frame1->setObjectName(QStringLiteral("Frame1"));
    c.Frame1->setGeometry(TwipRect(6240, 6120, 2535, 1095));
    c.LblAzimut = MakeLabel<ReadoutLabel>(c.Frame1, "LblAzimut", QStringLiteral("Label10"),
                                          TwipRect(360, 480, 1215, 375),
                                          {kLightCyan, 9.75, true, Qt::AlignHCenter});
    QLabel* label10 =
        MakeLabel(c.Frame1, "Label10", QCoreApplication::translate("Form1", "Ville --> curseur"),
                  TwipRect(360, 240, 1215, 255), {kCyan, 8.25, false, Qt::AlignLeft});
    // The readouts change on every frame; the captions they touch by a pixel would be repainted
    // with them.
    KeepOffCaption(c.LblAzimut, label10);
    KeepOffCaption(c.MouseDegLon, c.LblVilleDistance);
    KeepOffCaption(c.LblDistance, c.LblVilleDistance);

    c.CmdMinimise =
        MakeGlyphButton(window, "CmdMinimise", "minimise.png", TwipRect(9000, 240, 300, 300));
    c.CmdMinimise->setAccessibleName(QCoreApplication::translate("Form1", "Réduire"));
    c.CmdMapQuest = MakeButton(window, "CmdMapQuest", QStringLiteral("MapQuest"),
                               TwipRect(4920, 5880, 1335, 255));
    c.CmdMapQuest->setToolTip(QStringLiteral("  ") + kWebMapBase + QStringLiteral("  "));
    c.CmdMapQuest->hide();

    // Keyboard order of the controls that take the focus.
    QWidget::setTabOrder(c.Combo1, c.ValidVille);
    QWidget::setTabOrder(c.ValidVille, c.CmdQuitte);
    QWidget::setTabOrder(c.CmdQuitte, c.CmdAide);
    QWidget::setTabOrder(c.CmdAide, c.CmdMinimise);
    QWidget::setTabOrder(c.CmdMinimise, c.CmdMapQuest);
    return c;
}

namespace {

// The tracking's readouts and home's coordinates are French: "Longitude: 2°  21'  0'' Est",
// "  est à 5837  Kms". Their words are shown in the language installed; their numbers keep their
// format.
const char* const kCardinals[] = {
    QT_TRANSLATE_NOOP("Readout", "Est"), QT_TRANSLATE_NOOP("Readout", "Ouest"),
    QT_TRANSLATE_NOOP("Readout", "Nord"), QT_TRANSLATE_NOOP("Readout", "Sud")};

QString PositionReadout(QString shown) {
    const qsizetype space = shown.lastIndexOf(u' ');
    const QStringView word = QStringView(shown).mid(space + 1);
    for (const char* cardinal : kCardinals) {
        if (word == QLatin1String(cardinal)) {
            shown = shown.left(space + 1) + QCoreApplication::translate("Readout", cardinal);
            break;
        }
    }
    return shown;
}

QString DistanceReadout(const std::string& text) {
    static const QString kIsAt = QStringLiteral("  est à ");
    const QString shown = QString::fromStdString(text);
    if (!shown.startsWith(kIsAt)) {
        return shown;
    }
    //: Where the pointer is, after the home city's name: "Paris  est à 5837  Kms".
    return QCoreApplication::translate("Readout", "  est à %1").arg(shown.mid(kIsAt.size()));
}

}  // namespace

void ShowReference(const Form1Controls& ui, const cities::ReferenceState& reference) {
    ui.Carte->SetEntoure(reference.entoureLeft, reference.entoureTop);
    SetTextIfChanged(ui.LblLonVille, PositionReadout(reference.longitudeText));
    SetTextIfChanged(ui.LblLatVille, PositionReadout(reference.latitudeText));
    SetTextIfChanged(ui.LblLocatVille, reference.locator.text);
    if (reference.citySelected) {
        ui.LblVilleDistance->show();
        ui.LblDistance->show();
    }
    SetTextIfChanged(ui.LblVilleDistance, reference.cityName);
}

void ShowFrame(const Form1Controls& ui, const tracking::TickFrame& f) {
    ui.Carte->SetCrosshair(f.crosshairX, f.crosshairY);
    if (f.longitudeReadout) {
        SetTextIfChanged(ui.MouseDegLon,
                         PositionReadout(QString::fromStdString(*f.longitudeReadout)));
    }
    if (f.latitudeReadout) {
        SetTextIfChanged(ui.MousedegLat,
                         PositionReadout(QString::fromStdString(*f.latitudeReadout)));
    }
    if (f.mapQuestVisible) {
        ui.CmdMapQuest->setVisible(*f.mapQuestVisible);
    }
    ui.Carte->SetCrosshairVisible(f.tracking);
    ui.MousedegLat->setVisible(f.tracking);
    ui.MouseDegLon->setVisible(f.tracking);
    ui.Frame1->SetNeedleVisible(f.tracking);
    ui.LblAzimut->setVisible(f.tracking);
    SetTextIfChanged(ui.LblDistance, DistanceReadout(f.distanceText));
    SetTextIfChanged(ui.LblAzimut, QString::fromStdString(f.dial.text));
    ui.Frame1->SetNeedle(f.dial.needleX2, f.dial.needleY2);
    for (int n = 1; n <= tracking::kDotCount; ++n) {
        const tracking::DotUpdate& dot = f.dots.Shape(n);
        if (dot.placed) {
            ui.Carte->SetDotPosition(n, dot.top, dot.left);
        }
        ui.Carte->SetDotVisible(n, dot.visible);
    }
}

tracking::TickInput PointerInput(const Form1Controls& ui, QPoint windowOrigin,
                                 QPoint globalPointer) {
    tracking::TickInput in;
    in.cursorX = globalPointer.x();
    in.cursorY = globalPointer.y();
    in.twipsPerPixelX = kTwipsPerPixelF;
    in.twipsPerPixelY = kTwipsPerPixelF;
    in.windowLeft = static_cast<float>(windowOrigin.x()) * kTwipsPerPixelF;
    in.windowTop = static_cast<float>(windowOrigin.y()) * kTwipsPerPixelF;
    in.mapLeft = static_cast<float>(ui.Carte->x()) * kTwipsPerPixelF;
    in.mapTop = static_cast<float>(ui.Carte->y()) * kTwipsPerPixelF;
    in.mapWidth = static_cast<float>(ui.Carte->width()) * kTwipsPerPixelF;
    in.mapHeight = static_cast<float>(ui.Carte->height()) * kTwipsPerPixelF;
    in.entoureLeft = ui.Carte->EntoureLeft();
    return in;
}

}  // namespace orbida::ui

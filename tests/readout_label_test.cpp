// A readout draws what Qt's own text layout draws for its text: the same glyphs at the same place
// in the same colour for a text the font has every glyph of, the text cut short with an ellipsis
// when too long, nothing once empty. Font releases and platforms anti-alias the glyph run and the
// static text slightly differently (grey or sub-pixel edges), so the images are compared by their
// ink, not pixel for pixel.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QStaticText>
#include <algorithm>
#include <cmath>
#include <vector>

#include "ui/window/readout_label.h"
#include "ui/window/style.h"

namespace orbida::ui {
namespace {

// The label's text as QStaticText lays it out, on the parent's background, cut to `shown`.
QImage Expected(const QLabel& label, const QString& shown, const QColor& background) {
    QImage image(label.size(), QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    painter.setFont(label.font());
    painter.setPen(label.palette().color(QPalette::WindowText));
    QStaticText text(shown);
    text.prepare(QTransform(), label.font());
    double x = 0.0;
    if (label.alignment() & Qt::AlignHCenter) {
        x = (label.width() - text.size().width()) / 2.0;
    }
    painter.drawStaticText(QPointF(std::round(x), 0.0), text);
    return image;
}

// The ink of an image: each pixel's coverage, how far its colour goes from the background towards
// the text colour (0 background, 1 text colour).
struct Ink {
    std::vector<double> coverage;
    double peak = 0.0;  // how close the pixel nearest the text colour comes to it (1: that colour)
    double total = 0.0;
    QPointF centre;  // of the coverage
};

Ink Measure(const QImage& image, const QColor& background, const QColor& text) {
    const double dr = text.red() - background.red(), dg = text.green() - background.green(),
                 db = text.blue() - background.blue();
    const double contrast = dr * dr + dg * dg + db * db;
    Ink ink;
    double sumX = 0.0, sumY = 0.0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            const double r = qRed(p) - background.red(), g = qGreen(p) - background.green(),
                         b = qBlue(p) - background.blue();
            const double a = (r * dr + g * dg + b * db) / contrast;
            ink.peak =
                std::max(ink.peak, 1.0 - std::hypot(r - dr, g - dg, b - db) / std::sqrt(contrast));
            ink.coverage.push_back(a);
            ink.total += a;
            sumX += a * (x + 0.5);
            sumY += a * (y + 0.5);
        }
    }
    if (ink.total > 0.0) {
        ink.centre = QPointF(sumX / ink.total, sumY / ink.total);
    }
    return ink;
}

// Tolerances that the anti-aliasing of two font releases or of grey and sub-pixel edges stays
// within (up to 0.21 on a pixel, 0.22 pixel for the centre), and that a text moved by one pixel,
// another glyph or a darker colour exceeds.
constexpr double kPeak = 0.1;
constexpr double kPixel = 0.5;
constexpr double kCentre = 0.4;
constexpr double kTotal = 0.1;

void ExpectSameInk(const Ink& drawn, const Ink& expected) {
    EXPECT_NEAR(drawn.peak, expected.peak, kPeak) << "the text's colour";
    double worst = 0.0;
    for (std::size_t i = 0; i < drawn.coverage.size(); ++i) {
        worst = std::max(worst, std::abs(drawn.coverage[i] - expected.coverage[i]));
    }
    EXPECT_LE(worst, kPixel) << "a pixel of another glyph";
    EXPECT_NEAR(drawn.total, expected.total, kTotal * expected.total + 0.5) << "ink";
    EXPECT_NEAR(drawn.centre.x(), expected.centre.x(), kCentre) << "place";
    EXPECT_NEAR(drawn.centre.y(), expected.centre.y(), kCentre) << "place";
}

TEST(ReadoutLabel, DrawsWhatTextLayoutDraws) {
    QWidget parent;
    const QColor background(128, 128, 128);
    const QColor ink(128, 255, 255);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, background);
    parent.setPalette(palette);
    auto* label =
        MakeLabel<ReadoutLabel>(&parent, "Readout", QString(), QRect(0, 0, 180, 17), {ink});
    auto* centred = MakeLabel<ReadoutLabel>(&parent, "Centred", QString(), QRect(0, 20, 120, 25),
                                            {ink, 9.75, true, Qt::AlignHCenter});
    const QString overlong(60, QChar(u'8'));
    const struct {
        QLabel* label;
        QString text;
        QString shown;  // empty: computed as Qt elides it
    } cases[] = {
        {label, QStringLiteral("Longitude: 2°  21'  0'' Est"), {}},
        {label, QStringLiteral("Loc: JN18EU"), {}},
        {centred, QStringLiteral("147 °"), {}},
        {label, QStringLiteral("東京 Tōkyō"), {}},  // glyphs from another font
        {label, overlong, {}},
        {label, QString(), {}},  // after a text: nothing left of it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        c.label->setText(c.text);
        const QString shown =
            QFontMetrics(c.label->font()).elidedText(c.text, Qt::ElideRight, c.label->width());
        const QImage drawn = c.label->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ExpectSameInk(Measure(drawn, background, ink),
                      Measure(Expected(*c.label, shown, background), background, ink));
        EXPECT_EQ(c.label->text(), c.text) << "the label keeps the whole text";
    }
}

}  // namespace
}  // namespace orbida::ui

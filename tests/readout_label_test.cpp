// A readout draws what Qt's own text layout draws for its text: the same pixels for a text the
// font has every glyph of, the text cut short with an ellipsis when too long, nothing once empty.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QStaticText>
#include <cmath>

#include "ui/readout_label.h"
#include "ui/style.h"

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

TEST(ReadoutLabel, DrawsWhatTextLayoutDraws) {
    QWidget parent;
    const QColor background(128, 128, 128);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, background);
    parent.setPalette(palette);
    auto* label = MakeLabel<ReadoutLabel>(&parent, "Readout", QString(), QRect(0, 0, 180, 17),
                                          {QColor(128, 255, 255)});
    auto* centred = MakeLabel<ReadoutLabel>(&parent, "Centred", QString(), QRect(0, 20, 120, 25),
                                            {QColor(128, 255, 255), 9.75, true, Qt::AlignHCenter});
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
        EXPECT_EQ(drawn, Expected(*c.label, shown, background));
        EXPECT_EQ(c.label->text(), c.text) << "the label keeps the whole text";
    }
}

}  // namespace
}  // namespace orbida::ui

#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <optional>

namespace orbida::ui {

// A container with an etched border and a caption on its top edge, in the caption's own colour
// and font. Children are placed relative to its top-left corner.
class FrameWidget : public QWidget {
  public:
    FrameWidget(const QString& caption, const QColor& captionColour, QWidget* parent = nullptr);

    QString Caption() const { return caption_; }

  protected:
    // Paints the parts that never move (from a cached image when cacheStill_), then what moves
    // on top of it.
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    virtual void PaintStill(QPainter& painter);
    virtual void PaintMoving(QPainter&) {}

    // A frame whose moving parts repaint often keeps its still parts as an image; one without
    // paints them again on the rare repaint rather than hold a picture of itself.
    bool cacheStill_ = false;

  private:
    QString caption_;
    QColor captionColour_;
    QPixmap still_;
};

// Frame1 of the main window: the frame with the azimuth dial painted on it, the green face
// Cadran and the needle Aiguille from its fixed end (2040, 600) twips to its free end.
class DialFrame : public FrameWidget {
  public:
    DialFrame(const QString& caption, const QColor& captionColour, QWidget* parent = nullptr);

    void SetNeedle(float x2, float y2);
    void SetNeedleVisible(bool visible);
    float NeedleX2() const { return needleX2_; }
    float NeedleY2() const { return needleY2_; }
    bool NeedleVisible() const { return needleVisible_; }

    // The long-path needle: thinner, another colour, from the same fixed end.
    void SetLongNeedle(float x2, float y2, bool visible);
    float LongNeedleX2() const { return longX2_; }
    float LongNeedleY2() const { return longY2_; }
    bool LongNeedleVisible() const { return longVisible_; }

    // The antenna rotator's heading, a course in degrees; nothing while it is not known.
    void SetRotorNeedle(std::optional<double> heading);
    bool RotorNeedleVisible() const { return rotorVisible_; }
    float RotorNeedleX2() const { return rotorX2_; }
    float RotorNeedleY2() const { return rotorY2_; }

  protected:
    void PaintStill(QPainter& painter) override;
    void PaintMoving(QPainter& painter) override;

  private:
    QRect NeedleRect() const;
    static QRect NeedleRect(float x2, float y2);
    void MoveNeedle(float& x2, float& y2, bool& visible, float newX2, float newY2, bool newVisible);

    float needleX2_ = 2300.0f;  // design position of the free end
    float needleY2_ = 380.0f;
    bool needleVisible_ = true;
    float longX2_ = 2040.0f;
    float longY2_ = 880.0f;
    bool longVisible_ = false;
    float rotorX2_ = 2040.0f;
    float rotorY2_ = 280.0f;
    bool rotorVisible_ = false;
};

}  // namespace orbida::ui

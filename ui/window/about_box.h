#pragma once

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "ui/platform/platform.h"
#include "ui/window/window_drag.h"

class QLabel;
class QPushButton;

namespace orbida::ui {

// The author's web site: the host name that Lblvemra shows and the address it opens.
inline const QString kAuthorHost = QStringLiteral("www.orbida.fr");
inline const QString kAuthorSite = QStringLiteral("https://www.orbida.fr");
// The page of the software whose city list the program started from, opened by LblRmobile.
inline const QString kCitySourcePage = QStringLiteral("https://www.geonames.org/");
// Label13: the source of the city list that ships with the program, in the language installed.
QString CityListCredit();

// The about box frmAbout: a borderless window of 6105 x 7350 twips that describes the program,
// credits the city list and links to two web pages. The two link labels change colour under the
// pointer; a move over the bare surface puts them back. It is dragged by its surface and a few
// of its labels. OK, Enter and Escape close and release it.
class AboutBox : public QWidget {
  public:
    explicit AboutBox(Platform platform, QWidget* parent = nullptr);

    // Shape2, the bright green frame around Lblvemra.
    bool Shape2Visible() const { return shape2Visible_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildControls();
    void HoverReset();
    void VemraHover();
    void RmobileHover();
    void OpenLink(const QString& address);
    void SetShape2Visible(bool visible);
    bool StartsDrag(const QObject* widget) const;

    Platform platform_;
    WindowDrag drag_;
    bool shape2Visible_ = true;

    // Controls, under their layout names.
    QPushButton* cmdOK = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Lblvemra = nullptr;
    QLabel* LblRmobile = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label11 = nullptr;
};

// Shows the about box, made on first use as a window of its own; once the main window floats
// above all others (topmost), the box must too to be seen.
void ShowAboutBox(QPointer<AboutBox>& box, const Platform& platform, QWidget* parent, bool topmost);

}  // namespace orbida::ui

#include "ui/parts/beacon_part.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <chrono>

#include "ui/map/beacon_layer.h"
#include "ui/parts/remembered.h"
#include "ui/window/style.h"

namespace orbida::ui {
namespace {

namespace beacons = stations::beacons;

// 14.100, 18.110, 21.150, 24.930 and 28.200 MHz.
const QColor kBandColours[beacons::kBandCount] = {QColor(90, 170, 255), QColor(0, 225, 225),
                                                  QColor(80, 225, 80), QColor(255, 215, 0),
                                                  QColor(255, 100, 70)};

constexpr int kColumnCount = 7;

// The table's headings, in the language installed (read when the table is made, not at start).
QStringList Columns() {
    return {QStringLiteral("MHz"),
            QCoreApplication::translate("BeaconPart", "Indicatif"),
            QCoreApplication::translate("BeaconPart", "Site"),
            QCoreApplication::translate("BeaconPart", "Azimut"),
            QCoreApplication::translate("BeaconPart", "Distance"),
            QCoreApplication::translate("BeaconPart", "Long chemin"),
            QCoreApplication::translate("BeaconPart", "Reste")};
}

// The table's window: closing it turns the beacons off.
class BeaconWindow final : public QWidget {
  public:
    BeaconWindow(QWidget* parent, std::function<void()> closed)
        : QWidget(parent, Qt::Tool), closed_(std::move(closed)) {}

  protected:
    void closeEvent(QCloseEvent* event) override {
        QWidget::closeEvent(event);
        closed_();
    }

  private:
    std::function<void()> closed_;
};

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

BeaconPart::BeaconPart() : layer_(std::make_unique<BeaconLayer>()) {}

BeaconPart::~BeaconPart() {
    delete window_;
}

void BeaconPart::Build(PartHost& host) {
    host_ = &host;
    action_ = AddMenuEntry(
        host.Window(), nullptr, QCoreApplication::translate("BeaconPart", "Balises NCDXF"), {},
        [this](bool on) { SetBeacons(on); }, true);
    host.AddToMapMenu(MenuPlace::Beacons, action_);
    host.AddLayer(layer_.get());
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, host.Window(), [this] { Refresh(); });
}

void BeaconPart::UseSettings(SettingsStore* settings) {
    settings_ = settings;
    if (settings_ != nullptr) {
        SetBeacons(ReadRemembered(*settings_).beacons);
    }
}

void BeaconPart::SetBeacons(bool on) {
    action_->setChecked(on);
    if (on == on_) {
        return;
    }
    on_ = on;
    if (settings_ != nullptr) {
        RememberBeacons(*settings_, on);
    }
    if (!on) {
        timer_.stop();
        layer_->SetMarks({});
        QWidget* window = window_;
        window_ = nullptr;
        table_ = nullptr;
        if (window != nullptr) {
            window->hide();
            window->deleteLater();
        }
        return;
    }
    auto* window = new BeaconWindow(host_->Window(), [this] { SetBeacons(false); });
    window->setObjectName(QStringLiteral("FenetreBalises"));
    window->setWindowTitle(QCoreApplication::translate("BeaconPart", "Orbida — balises NCDXF"));
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    table_ = new QTableWidget(beacons::kBandCount, kColumnCount, window);
    table_->setObjectName(QStringLiteral("TableBalises"));
    table_->setHorizontalHeaderLabels(Columns());
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setFont(UiFont(8.25));
    for (int row = 0; row < beacons::kBandCount; ++row) {
        for (int column = 0; column < kColumnCount; ++column) {
            table_->setItem(row, column, new QTableWidgetItem);
        }
    }
    QObject::connect(table_, &QTableWidget::cellClicked, window, [this](int row, int) {
        if (row < 0 || row >= beacons::kBandCount) {
            return;
        }
        if (const auto place =
                beacons::BeaconPosition(onAir_[static_cast<std::size_t>(row)].beacon)) {
            host_->Pin({std::nullopt, place});
        }
    });
    layout->addWidget(table_);
    window_ = window;
    Refresh();
    table_->resizeColumnsToContents();
    const int width = table_->horizontalHeader()->length() + 2 * table_->frameWidth();
    const int height = table_->horizontalHeader()->height() + table_->verticalHeader()->length() +
                       2 * table_->frameWidth();
    window->resize(width, height);
    // Under the main window, where it hides nothing of it.
    const QRect main = host_->Window()->frameGeometry();
    window->move(main.left(), main.bottom() + 8);
    window->show();
    if (host_->Topmost()) {
        host_->Services().windows.MakeTopmost(window);
    }
}

void BeaconPart::Apply(const tracking::TickInput& input, const tracking::TickFrame&) {
    if (on_ && input.unit != unit_) {
        unit_ = input.unit;
        Refresh();
    }
    unit_ = input.unit;
}

void BeaconPart::HomeChanged(const QString&) {
    if (on_) {
        Refresh();
    }
}

// The beacons on the air at the clock's second, and the timer aimed at the next second.
void BeaconPart::Refresh() {
    if (!on_) {
        return;
    }
    using namespace std::chrono;
    const WallTime now = host_->Services().clock.Now();
    const auto second = floor<seconds>(now);
    onAir_ = beacons::OnAirNow(second.time_since_epoch().count());

    std::vector<BeaconLayer::Mark> marks;
    for (int b = 0; b < beacons::kBeaconCount; ++b) {
        const auto place = beacons::BeaconPosition(b);
        if (!place) {
            continue;
        }
        QColor colour;
        for (const beacons::OnAir& on : onAir_) {
            if (on.beacon == b) {
                colour = kBandColours[on.band];
            }
        }
        marks.push_back(
            {*place, Text(beacons::kBeacons[static_cast<std::size_t>(b)].call), colour});
    }
    layer_->SetMarks(std::move(marks));

    if (table_ != nullptr) {
        for (const beacons::OnAir& on : onAir_) {
            const beacons::Beacon& beacon = beacons::kBeacons[static_cast<std::size_t>(on.beacon)];
            const auto place = beacons::BeaconPosition(on.beacon);
            const tracking::TickFrame f = host_->MeasurePlace(*place);
            const QString cells[] = {
                QString::number(on.kilohertz / 1000.0, 'f', 3),
                Text(beacon.call),
                Text(beacon.site),
                QString::fromStdString(f.dial.text),
                QString::fromStdString(tracking::FormatDistance(f.distanceKm, unit_)).simplified(),
                QString::number(f.longAzimuth, 'f', 0) + QStringLiteral(" °  ") +
                    QString::fromStdString(tracking::FormatDistance(f.longDistanceKm, unit_))
                        .simplified(),
                QStringLiteral("%1 s").arg(on.secondsLeft)};
            for (int column = 0; column < kColumnCount; ++column) {
                QTableWidgetItem* item = table_->item(on.band, column);
                if (item->text() != cells[column]) {
                    item->setText(cells[column]);
                }
            }
            table_->item(on.band, 0)->setBackground(kBandColours[on.band]);
            table_->item(on.band, 0)->setForeground(Qt::black);
        }
    }
    const auto wait = duration_cast<milliseconds>(second + seconds{1} - now);
    timer_.start(static_cast<int>(wait.count()) + 2);
}

}  // namespace orbida::ui

// What the stations heard cost: drawing 2,000 marks on the world map (the whole layer, placed anew
// as in the frame after new stations arrived; the target is under 3 ms), against drawing the bare
// map picture alone, the baseline; and a WSJT-X decode taken by the listener into the store (200 a
// second is the load to bear), against parsing the same datagram alone. Run:
// QT_QPA_PLATFORM=offscreen out/build/default/bench/stations_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDataStream>
#include <QIODevice>
#include <QImage>
#include <QPainter>
#include <random>

#include "live/wsjtx_listener.h"
#include "stations/wsjtx_message.h"
#include "ui/map/map_widget.h"
#include "ui/map/station_layer.h"

namespace {

using namespace orbida;

std::vector<ui::StationLayer::Mark> Marks(int count) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> lat(-70, 75), lon(-180, 180);
    std::vector<ui::StationLayer::Mark> marks;
    for (int i = 0; i < count; ++i) {
        marks.push_back({static_cast<std::uint64_t>(i + 1),
                         {lat(random), lon(random)},
                         QColor(40, 230, 40, 60 + i % 190),
                         i % 7 == 0});
    }
    return marks;
}

// The layer's part of a frame: each mark placed through the projection and drawn.
class Painter : public ui::MapWidget {
  public:
    void PaintMarks(QPainter& painter, ui::StationLayer& layer) {
        layer.Paint(painter, *this, QRegion(rect()));
    }
};

void BM_DrawMarks(benchmark::State& state) {
    Painter map;
    map.resize(642, 321);
    ui::StationLayer layer;
    // Two lists told apart by one mark's fading, given in turn: each frame places every mark, as
    // the frame after new stations arrived does.
    std::vector<ui::StationLayer::Mark> lists[2] = {Marks(static_cast<int>(state.range(0))),
                                                    Marks(static_cast<int>(state.range(0)))};
    if (!lists[1].empty()) {
        lists[1][0].colour.setAlpha(255);
    }
    QImage image(642, 321, QImage::Format_RGB32);
    int turn = 0;
    for (auto _ : state) {
        layer.SetMarks(lists[turn++ % 2]);
        QPainter painter(&image);
        if (state.range(0) == 0) {
            painter.drawPixmap(0, 0, map.Ground());  // the baseline: the picture alone
        } else {
            map.PaintMarks(painter, layer);
        }
    }
}
BENCHMARK(BM_DrawMarks)->Arg(0)->Arg(2000)->Unit(benchmark::kMillisecond);

QByteArray DecodeDatagram(int i) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_5_4);
    out << quint32(0xADBCCBDA) << quint32(3) << quint32(2) << QByteArray("WSJT-X") << true
        << quint32(45'285'000) << qint32(-12) << 0.3 << quint32(1234) << QByteArray("~")
        << (QByteArray("CQ K") + QByteArray::number(i) + "ABC FN42") << false << false;
    return bytes;
}

void BM_TakeDecode(benchmark::State& state) {
    stations::StationStore store;
    live::WsjtxListener listener(store, {});
    std::vector<QByteArray> datagrams;
    for (int i = 0; i < 200; ++i) {
        datagrams.push_back(DecodeDatagram(i));
    }
    std::size_t n = 0;
    for (auto _ : state) {
        const QByteArray& d = datagrams[n++ % datagrams.size()];
        if (state.range(0) == 0) {
            benchmark::DoNotOptimize(stations::wsjtx::Parse(d));  // the baseline
        } else {
            listener.Take(d, QStringLiteral("127.0.0.1"), 2237);
        }
    }
}
BENCHMARK(BM_TakeDecode)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

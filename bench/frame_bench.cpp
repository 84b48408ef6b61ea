// Instructions per painted frame, deterministic: the main window (or the bare window the measuring
// scripts compare it with) shown on the display, then N frames, each one pointer position given
// to the tick and the repaint it asks for painted and flushed, with no timer and no real pointer.
// Run under callgrind for counts that do not depend on the machine's load:
//   valgrind --tool=callgrind --toggle-collect='*RunFrames*' out/build/default/bench/frame_bench
//   orbida 400
// Without valgrind it prints the wall time per frame.
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QStyleFactory>
#include <cstdio>
#include <cstring>

#include "cities/catalogue.h"
#include "ui/platform/platform.h"
#include "ui/window/form1.h"

namespace {

QPoint SweepPoint(int i) {
    return {30 + (i * 7) % 580, 30 + (i * 3) % 260};
}

void PaintPending() {
    QApplication::processEvents();
}

// Kept out of line so that callgrind can count it alone (--toggle-collect).
[[gnu::noinline]] void RunFrames(QWidget& window, QLabel* bareLabel, orbida::ui::Form1* form,
                                 int frames) {
    for (int i = 0; i < frames; ++i) {
        const QPoint at = window.mapToGlobal(SweepPoint(i) + QPoint(20, 40));
        if (form != nullptr) {
            form->TickAt(at);
        } else {
            bareLabel->setText(QStringLiteral("%1, %2").arg(at.x()).arg(at.y()));
        }
        PaintPending();
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
    const int frames = argc > 2 ? std::atoi(argv[2]) : 400;

    orbida::ui::QtPlatform platform(std::nullopt);
    std::unique_ptr<QWidget> window;
    orbida::ui::Form1* form = nullptr;
    QLabel* label = nullptr;
    if (bare) {
        window = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint);
        window->setFixedSize(676, 507);
        label = new QLabel(QStringLiteral("0, 0"), window.get());
        label->setGeometry(136, 376, 193, 17);
    } else {
        auto owned =
            std::make_unique<orbida::ui::Form1>(orbida::cities::Catalogue{}, platform.Services());
        form = owned.get();
        window = std::move(owned);
    }
    window->show();
    for (int i = 0; i < 50; ++i) {  // the window mapped and painted once, the caches warm
        QApplication::processEvents();
    }
    RunFrames(*window, label, form, 20);
    QElapsedTimer timer;
    timer.start();
    RunFrames(*window, label, form, frames);
    std::printf("%s: %.3f ms per frame over %d frames\n", bare ? "bare" : "orbida",
                static_cast<double>(timer.nsecsElapsed()) / 1e6 / frames, frames);
    return 0;
}

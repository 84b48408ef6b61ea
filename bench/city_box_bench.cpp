// The city box with a large list, as the user meets it: opening the drop-down, and the first
// suggestion after typing one letter, with the name index and (as before it is built) without.
// Prints min / median / max over the repeats, in milliseconds.
// Run: out/build/default/bench/city_box_bench [cities-file] [repeats]
//      (default: a generated list of 1,000,000 cities; QT_QPA_PLATFORM=offscreen or under X)
#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "cities/catalogue.h"
#include "cities/city_file.h"
#include "ui/window/city_combo.h"

namespace {

using orbida::cities::Catalogue;

std::string MakeCities(int count) {
    static const char* const kStarts[] = {"Pa", "Be", "Lo", "Ma", "Sa", "Ri", "To", "Ve"};
    std::string file;
    for (int k = 0; k < count; ++k) {
        file += kStarts[k % 8];
        file += std::to_string(static_cast<long long>(k) * 7919 % count);
        file += ", 1.5, 2.5\n";
    }
    return file;
}

void Print(const char* label, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-44s min %8.2f  median %8.2f  max %8.2f ms\n", label, ms.front(),
                ms[ms.size() / 2], ms.back());
}

double Time(const std::function<void()>& step) {
    QElapsedTimer timer;
    timer.start();
    step();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::string bytes;
    if (argc > 1) {
        QFile file(QString::fromLocal8Bit(argv[1]));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", argv[1]);
            return 2;
        }
        bytes = file.readAll().toStdString();
    } else {
        bytes = MakeCities(1'000'000);
    }
    const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;

    std::vector<double> load;
    Catalogue catalogue;
    for (int r = 0; r < repeats; ++r) {
        load.push_back(Time([&] { catalogue = orbida::cities::ParseCityFile(bytes); }));
    }
    std::printf("%lld cities, %.1f MB\n", static_cast<long long>(catalogue.NameCount()),
                static_cast<double>(bytes.size()) / 1e6);
    Print("load", load);

    orbida::ui::CityCombo box;
    box.setGeometry(100, 100, 113, 21);
    box.SetOuterHeight(300);
    std::vector<double> fill;
    for (int r = 0; r < repeats; ++r) {
        box.SetCatalogue(nullptr);
        fill.push_back(Time([&] { box.SetCatalogue(&catalogue); }));
    }
    Print("filling the box with the list", fill);
    box.show();
    QApplication::processEvents();

    std::vector<double> open;
    for (int r = 0; r < repeats; ++r) {
        box.setCurrentIndex(static_cast<int>(catalogue.NameCount() * (r + 1) / (repeats + 2)));
        open.push_back(Time([&] {
            box.showPopup();
            QApplication::processEvents();
        }));
        box.hidePopup();
        QApplication::processEvents();
    }
    Print("opening the drop-down at the chosen city", open);

    // One key into an empty box, until the suggestions are in the completer's popup.
    const auto typeP = [&box] {
        QLineEdit* edit = box.lineEdit();
        edit->clear();
        box.completer()->popup()->hide();
        QApplication::processEvents();
        return Time([&] {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_P, Qt::NoModifier, QStringLiteral("p"));
            QApplication::sendEvent(edit, &press);
            QApplication::processEvents();
            if (box.completer()->completionCount() == 0) {
                std::fprintf(stderr, "no suggestion for \"p\"\n");
            }
        });
    };
    std::vector<double> scan;
    for (int r = 0; r < repeats; ++r) {
        scan.push_back(typeP());
    }
    Print("first suggestion after \"p\", no index yet", scan);

    std::vector<double> build;
    for (int r = 0; r < repeats; ++r) {
        build.push_back(Time(
            [&] { box.SetIndex(std::make_unique<const orbida::cities::NameIndex>(catalogue)); }));
    }
    Print("building the name index (on a worker)", build);
    const orbida::cities::NameIndex index(catalogue);
    std::vector<double> beginning;
    for (int r = 0; r < repeats; ++r) {
        beginning.push_back(Time([&] {
            const std::vector<int> cities = index.Beginning("p");
            if (cities.empty()) {
                std::fprintf(stderr, "no city begins with \"p\"\n");
            }
        }));
    }
    Print("of which the index's part (sorted to file order)", beginning);
    std::vector<double> indexed;
    for (int r = 0; r < repeats; ++r) {
        indexed.push_back(typeP());
    }
    Print("first suggestion after \"p\", with the index", indexed);
    return 0;
}

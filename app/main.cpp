#include <QApplication>
#include <QMessageBox>
#include <QStyleFactory>
#include <cstdio>
#include <cstring>
#include <optional>

#include "cities/city_file.h"
#include "ui/form1.h"
#include "ui/platform.h"
#include "ui/version.h"

namespace {

// --time DATE or --time=DATE: the clock fixed at a UTC instant, to see the grey line of a planned
// date or to test it. Returns false, with the message on stderr, when the value does not parse.
bool ReadTimeOption(int argc, char** argv, std::optional<orbida::ui::WallTime>& fixed) {
    for (int i = 1; i < argc; ++i) {
        const char* value = nullptr;
        if (std::strcmp(argv[i], "--time") == 0) {
            value = i + 1 < argc ? argv[i + 1] : "";
        } else if (std::strncmp(argv[i], "--time=", 7) == 0) {
            value = argv[i] + 7;
        } else {
            continue;
        }
        const orbida::ui::TimeOption option =
            orbida::ui::ParseTimeOption(QString::fromLocal8Bit(value));
        if (!option.time) {
            std::fprintf(stderr, "orbida: %s\n", option.error.toLocal8Bit().constData());
            return false;
        }
        fixed = option.time;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::optional<orbida::ui::WallTime> fixedTime;
    if (!ReadTimeOption(argc, argv, fixedTime)) {
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orbida"));
    QApplication::setApplicationVersion(QString::fromLatin1(orbida::kVersion));
    QApplication::setDesktopFileName(QStringLiteral("fr.orbida.Orbida"));
    // One style everywhere: the layout is fixed to the pixel and was drawn for small controls.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    orbida::cities::LoadResult cities =
        orbida::cities::LoadCityFile(QCoreApplication::applicationDirPath());
    if (!cities.ok) {
        QMessageBox::critical(nullptr, QStringLiteral("Orbida"), cities.errorMessage);
        return 1;
    }

    orbida::ui::QtPlatform platform(fixedTime);
    orbida::ui::Form1 form(std::move(cities.catalogue), platform.Services());
    form.show();
    return QApplication::exec();
}

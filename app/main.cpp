#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QMessageBox>
#include <QStandardPaths>
#include <QStyleFactory>
#include <cstdio>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <future>
#include <optional>

#include "app/display.h"
#include "app/options.h"
#include "cities/city_check.h"
#include "cities/city_file.h"
#include "ui/parts/callsign_part.h"
#include "ui/parts/remembered.h"
#include "ui/parts/rotator_part.h"
#include "ui/parts/settings_store.h"
#include "ui/parts/stations_part.h"
#include "ui/platform/clock.h"
#include "ui/platform/language.h"
#include "ui/platform/platform.h"
#include "ui/version.h"
#include "ui/window/form1.h"
#include "ui/window/style.h"

namespace {

void Print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// Reads the city file as the program would and says what would be misread; 0 when it is clean.
int CheckCities(const QString& file) {
    QString path = file;
    if (path.isEmpty()) {
        path = orbida::cities::FindCityFile(QCoreApplication::applicationDirPath());
        if (path.isEmpty()) {
            Print(
                stderr,
                orbida::cities::LoadCityFile(QCoreApplication::applicationDirPath()).errorMessage +
                    u'\n');
            return 1;
        }
    }
    const orbida::cities::CityFileBytes read = orbida::cities::ReadCityFile(path);
    if (!read.ok) {
        Print(stderr, read.errorMessage + u'\n');
        return 1;
    }
    const orbida::cities::CheckReport report = orbida::cities::CheckCityFile(
        std::string_view(read.bytes.constData(), static_cast<std::size_t>(read.bytes.size())));
    Print(stdout, QCoreApplication::translate("main", "Fichier\u00A0: %1\n")
                          .arg(QDir::toNativeSeparators(path)) +
                      report.Text());
    return report.Clean() ? 0 : 1;
}

QStringList Arguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef __GLIBC__
    // One heap for all threads: the few workers (the city file's reading, the name index) are
    // short-lived, and what they free is then reused by the window instead of staying resident
    // in an arena of their own.
    mallopt(M_ARENA_MAX, 1);
#endif
    // The command line is read before any window system is touched: --help, --version and
    // --check work without a display.
    const QStringList arguments = Arguments(argc, argv);
    orbida::app::Options options = orbida::app::ParseOptions(arguments);
    QCoreApplication::setApplicationName(QStringLiteral("Orbida"));
    QCoreApplication::setOrganizationName(QStringLiteral("Orbida"));
    // The language: --lang for this run, else the one chosen in the map's menu, else the
    // desktop's (French where it is neither English nor French).
    QString wanted = options.language;
    if (wanted.isEmpty() && !options.reset) {
        wanted = orbida::ui::ReadLanguage(orbida::ui::SettingsStore(
            orbida::ui::DefaultSettingsPath(), orbida::ui::RememberedKeys()));
    }
    const orbida::ui::Translations translations(
        orbida::ui::ChooseLanguage(QLocale::system().uiLanguages(), wanted));
    // What is printed before the window is translated through an application object of its own,
    // made only when something is to be printed.
    std::optional<QCoreApplication> printing;
    const auto speak = [&] {
        if (!printing) {
            printing.emplace(argc, argv);
            translations.Install();
            options = orbida::app::ParseOptions(arguments);  // its messages, translated
        }
    };
    if (!options.error.isEmpty()) {
        speak();
        Print(stderr, QCoreApplication::translate(
                          "main", "orbida\u00A0: %1\nVoir «\u00A0orbida --help\u00A0».\n")
                          .arg(options.error));
        return 1;
    }
    if (options.help) {
        speak();
        Print(stdout, orbida::app::HelpText());
        return 0;
    }
    if (options.version) {
        Print(stdout, QStringLiteral("Orbida %1\n").arg(QString::fromLatin1(orbida::kVersion)));
        return 0;
    }
    if (options.check) {
        speak();
        return CheckCities(options.checkFile);
    }
    // --time fixes the clock at a UTC instant, to see the grey line of a planned date or to test
    // it; a value that does not parse is a usage error.
    std::optional<orbida::ui::WallTime> fixedTime;
    if (!options.time.isEmpty()) {
        orbida::ui::TimeOption time = orbida::ui::ParseTimeOption(options.time);
        if (!time.time) {
            speak();
            time = orbida::ui::ParseTimeOption(options.time);
            Print(stderr,
                  QCoreApplication::translate("main", "orbida\u00A0: %1\n").arg(time.error));
            return 2;
        }
        fixedTime = time.time;
    }
    if (!orbida::app::NoDisplayReason(options.platform, options.display).isEmpty()) {
        speak();
        Print(stderr, orbida::app::NoDisplayReason(options.platform, options.display) + u'\n');
        return 1;
    }

    QApplication app(argc, argv);
    translations.Install();
    QApplication::setApplicationVersion(QString::fromLatin1(orbida::kVersion));
    QApplication::setDesktopFileName(QStringLiteral("fr.orbida.Orbida"));
    // One style everywhere: the layout is fixed to the pixel and was drawn for small controls.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // One font too: the window's, for every text that names none (menus, dialogs, hints), as in
    // the window itself. The desktop's font is not loaded at all: the city box's line edit lays
    // its text out once in the application's font before it takes its own.
    QApplication::setFont(orbida::ui::UiFont(8.25));

    // The city file is read beside the building of the window.
    auto loading =
        std::async(std::launch::async, [folder = QCoreApplication::applicationDirPath()] {
            return orbida::cities::LoadCityFile(folder);
        });
    orbida::ui::QtPlatform platform(fixedTime);
    orbida::ui::Form1 form(orbida::cities::Catalogue{}, platform.Services());
    orbida::cities::LoadResult cities = loading.get();
    if (!cities.ok) {
        // On the terminal too, for whoever started it from one.
        Print(stderr, cities.errorMessage + u'\n');
        QMessageBox::critical(nullptr, QStringLiteral("Orbida"), cities.errorMessage);
        return 1;
    }

    form.SetCatalogue(std::move(cities.catalogue));
    // What the user set last time; --reset forgets it all and starts as new. Changes are written
    // in batches, and what waits when the window closes is written as the store goes.
    orbida::ui::SettingsStore settings(orbida::ui::DefaultSettingsPath(),
                                       orbida::ui::RememberedKeys(),
                                       options.reset ? orbida::ui::SettingsStore::Start::Forget
                                                     : orbida::ui::SettingsStore::Start::Read);
    form.UseSettings(&settings);
    if (!options.rotatorHost.isEmpty()) {
        // For this run only: what "Rotor…" keeps stays as it was.
        form.Find<orbida::ui::RotatorPart>()->SetRotator(options.rotatorHost, options.rotatorPort,
                                                         false);
    }
    if (!options.wsjtxAddress.isEmpty()) {
        // For this run only, as --rotator.
        auto* stationsPart = form.Find<orbida::ui::StationsPart>();
        stationsPart->SetWsjtx(
            {true, options.wsjtxAddress, options.wsjtxPort, stationsPart->Wsjtx().followDx}, false);
    }
    if (!options.clusterHost.isEmpty()) {
        form.Find<orbida::ui::StationsPart>()->SetCluster(
            {true, options.clusterHost, options.clusterPort, options.clusterCall, QString()},
            false);
    }
    form.show();
    // Where the country file of callsigns is looked for, read at the first callsign: the user's
    // own copy (the weekly release dropped in the data folder), the system's, or --cty.
    form.Find<orbida::ui::CallsignPart>()->SetCountryFilePlaces(
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
        QStringLiteral("/usr/share/hamradio-files/cty.dat"), options.countryFile);
    return QApplication::exec();
}

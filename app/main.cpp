#include <QApplication>
#include <QMessageBox>
#include <QSettings>
#include <QStyleFactory>

#include "cities/city_file.h"
#include "ui/form1.h"
#include "ui/platform.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orbida"));
    QApplication::setApplicationVersion(QStringLiteral("2.00"));
    QApplication::setDesktopFileName(QStringLiteral("fr.orbida.Orbida"));
    QApplication::setOrganizationName(QStringLiteral("Orbida"));
    // One style everywhere: the layout is fixed to the pixel and was drawn for small controls.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    orbida::cities::LoadResult cities =
        orbida::cities::LoadCityFile(QCoreApplication::applicationDirPath());
    if (!cities.ok) {
        QMessageBox::critical(nullptr, QStringLiteral("Orbida"), cities.errorMessage);
        return 1;
    }

    orbida::ui::QtPlatform platform;
    // What the user set last time; --reset forgets it all and starts as new.
    QSettings settings;
    if (QCoreApplication::arguments().contains(QStringLiteral("--reset"))) {
        settings.clear();
    }
    orbida::ui::Form1 form(std::move(cities.catalogue), platform.Services());
    form.UseSettings(&settings);
    form.show();
    return QApplication::exec();
}

// The web map address: "." as the decimal point whatever the locale, no exponent, the longitude
// turned east positive.
#include <gtest/gtest.h>

#include <QLocale>
#include <clocale>

#include "ui/web_map.h"

namespace orbida::ui {
namespace {

TEST(WebMapAddress, SameTextUnderEveryLocale) {
    struct Case {
        const char* name;
        geodesy::GeoPoint reference;
        const char* latitude;
        const char* longitude;
    };
    const Case cases[] = {
        {"Paris", {48.8566, -2.3522}, "48.8566", "2.3522"},
        {"Santiago, south and west", {-33.45, 70.66}, "-33.45", "-70.66"},
        {"179.5 degrees west", {10.0, 179.5}, "10", "-179.5"},
        {"zero coordinates nudged by the tick", {0.01, 0.01}, "0.01", "-0.01"},
        {"tiny values never in exponent form", {0.00001, -1e-7}, "0.00001", "0.0000001"},
        {"15 significant digits at most",
         {1.0 / 3.0, 100.0 / 3.0},
         "0.333333333333333",
         "-33.3333333333333"},
    };
    for (const char* locale : {"C", "fr_FR.UTF-8"}) {
        std::setlocale(LC_ALL, locale);
        QLocale::setDefault(locale[0] == 'C' ? QLocale::c() : QLocale(QLocale::French));
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << locale << ": " << c.name);
            const QString expected =
                QStringLiteral(
                    "https://www.mapquest.com/maps/map.adp?latlongtype=decimal&latitude=") +
                QString::fromLatin1(c.latitude) + QStringLiteral("&longitude=") +
                QString::fromLatin1(c.longitude) + QStringLiteral("&zoom=3");
            EXPECT_EQ(WebMapAddress(c.reference), expected);
        }
    }
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(QLocale::c());
}

}  // namespace
}  // namespace orbida::ui

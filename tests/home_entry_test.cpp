// What the city box reads: a city of the list, a locator, or coordinates with their letters.
#include <gtest/gtest.h>

#include "cities/home_entry.h"

namespace orbida::cities {
namespace {

const QStringList kNames = {QStringLiteral("Paris"), QStringLiteral("Besançon"),
                            QStringLiteral("Sydney"), QStringLiteral("Parme")};

HomeEntry Read(const QString& text) {
    return ReadHomeEntry(text, [](const QString& t) { return FindCityByPrefix(kNames, t); });
}

TEST(ReadHomeEntry, AcceptedTexts) {
    const struct {
        const char* text;
        HomeKind kind;
        int index;
        double latitude, longitude;  // west positive
    } cases[] = {
        {"Paris", HomeKind::City, 0, 0, 0},
        {"  besancon ", HomeKind::City, 1, 0, 0},
        {"PAR", HomeKind::City, 0, 0, 0},
        {"parm", HomeKind::City, 3, 0, 0},
        {"jn18eu", HomeKind::Locator, -1, 48.854167, -2.375},
        {"JN18", HomeKind::Locator, -1, 48.5, -3.0},
        {"JN18EU55XX", HomeKind::Locator, -1, 48.858247, -2.383160},
        {"48.8566N 2.3522E", HomeKind::Coordinates, -1, 48.8566, -2.3522},
        {"48.8566 N, 2.3522 E", HomeKind::Coordinates, -1, 48.8566, -2.3522},
        {"48,8566N 2,3522E", HomeKind::Coordinates, -1, 48.8566, -2.3522},
        {"48°51'24\"N 2°21'08\"E", HomeKind::Coordinates, -1, 48.856667, -2.352222},
        {"48°51′24″N 2°21′08″E", HomeKind::Coordinates, -1, 48.856667, -2.352222},
        {"48°51'24''N 2°21'08''E", HomeKind::Coordinates, -1, 48.856667, -2.352222},
        {"48 51 24 N 2 21 8 E", HomeKind::Coordinates, -1, 48.856667, -2.352222},
        {"N48 51.4 E2 21.13", HomeKind::Coordinates, -1, 48.856667, -2.352167},
        {"N 48°51.4', W 74°0.5'", HomeKind::Coordinates, -1, 48.856667, 74.008333},
        {"2.3522E 48.8566N", HomeKind::Coordinates, -1, 48.8566, -2.3522},
        {"33.87S 151.21E", HomeKind::Coordinates, -1, -33.87, -151.21},
        {"40.71n 74.0o", HomeKind::Coordinates, -1, 40.71, 74.0},
        {"90S 180W", HomeKind::Coordinates, -1, -90, 180},
        {"0S 0E", HomeKind::Coordinates, -1, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const HomeEntry e = Read(QString::fromUtf8(c.text));
        ASSERT_EQ(e.kind, c.kind) << e.reason.toStdString();
        EXPECT_EQ(e.cityIndex, c.index);
        if (c.kind != HomeKind::City) {
            EXPECT_NEAR(e.point.latitude, c.latitude, 1e-6);
            EXPECT_NEAR(e.point.longitude, c.longitude, 1e-6);
            EXPECT_FALSE(std::signbit(e.point.latitude) && e.point.latitude == 0.0);
            EXPECT_FALSE(std::signbit(e.point.longitude) && e.point.longitude == 0.0);
        }
    }
    EXPECT_EQ(Read(QStringLiteral("jn18eu")).name, QStringLiteral("JN18EU"));
    EXPECT_EQ(Read(QStringLiteral(" 33.87S  151.21E ")).name, QStringLiteral("33.87S 151.21E"));
}

TEST(ReadHomeEntry, RefusedTextsSayWhy) {
    const struct {
        const char* text;
        const char* reasonContains;  // empty: no reason at all
    } cases[] = {
        {"", ""},
        {"   ", ""},
        {"Lyon", "Aucune ville ne commence par"},
        {"SS99", "Locator hors limites"},
        {"JN18YZ", "Locator hors limites"},
        {"91N 0E", "Latitude hors limites"},
        {"0N 180.5E", "Longitude hors limites"},
        {"48 60 0 N 2E", "Minutes et secondes"},
        {"48.85 2.35", "Il manque la lettre"},
        {"48.85N 2.35", "Il manque la lettre"},
        {"48N 2N", "Deux latitudes"},
        {"48E 2W", "Deux longitudes"},
        {"48N 2E 3S", "deux coordonnées"},
        {"-33.87S 151.21E", "Caractère inattendu"},
        {"48.5 30 N 2E", "illisibles"},
        {"48°51'24\"30 N 2E", "illisibles"},
        {"48'N 2E", "illisibles"},
        {"N E 48 2", "illisibles"},
        {"F4 ABC", "Caractère inattendu"},
        {"F4ABC-1", "Caractère inattendu"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const HomeEntry e = Read(QString::fromUtf8(c.text));
        EXPECT_EQ(e.kind, HomeKind::Refused);
        if (*c.reasonContains == '\0') {
            EXPECT_TRUE(e.reason.isEmpty());
        } else {
            EXPECT_TRUE(e.reason.contains(QString::fromUtf8(c.reasonContains)))
                << e.reason.toStdString();
        }
    }
}

}  // namespace
// A callsign is the last reading: what reads as a locator or coordinates stays so, and only a
// text of letters, digits and strokes with a digit among them is taken for a call.
TEST(ReadHomeEntry, CallsignsComeLast) {
    const struct {
        const char* text;
        HomeKind kind;
        const char* name;    // Callsign: the call handed to the look-up
        const char* reason;  // Callsign: what to say if no country fits; empty: the look-up's
    } cases[] = {
        {"3b8cf", HomeKind::Callsign, "3B8CF", ""},
        {" JA1NUT/P ", HomeKind::Callsign, "JA1NUT/P", ""},
        {"ea8/dl1abc", HomeKind::Callsign, "EA8/DL1ABC", ""},
        {"W1AW/MM", HomeKind::Callsign, "W1AW/MM", ""},
        {"VK0", HomeKind::Callsign, "VK0", ""},
        {"48N", HomeKind::Callsign, "48N", "deux coordonnées"},
        {"N1SE", HomeKind::Callsign, "N1SE", "illisibles"},
        {"48N2E", HomeKind::Coordinates, "", ""},
        {"JN18EU", HomeKind::Locator, "", ""},
        {"JN18YZ", HomeKind::Refused, "", ""},
        {"Lyon", HomeKind::Refused, "", ""},
        {"VK", HomeKind::Refused, "", ""},
        {"3B8 CF", HomeKind::Refused, "", ""},
        {"F4ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFG", HomeKind::Refused, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const HomeEntry e = Read(QString::fromUtf8(c.text));
        EXPECT_EQ(e.kind, c.kind);
        if (c.kind == HomeKind::Callsign) {
            EXPECT_EQ(e.name, QString::fromUtf8(c.name));
            EXPECT_EQ(e.reason.isEmpty(), *c.reason == '\0');
            EXPECT_TRUE(e.reason.contains(QString::fromUtf8(c.reason))) << e.reason.toStdString();
        }
    }
}

}  // namespace orbida::cities

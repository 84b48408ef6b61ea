// What the city box reads: a city of the list, a locator, coordinates with their letters, or a
// callsign, and why a text is refused.
#include <gtest/gtest.h>

#include "cities/home_entry.h"

namespace orbida::cities {
namespace {

using enum HomeKind;

HomeEntry Read(const char* text) {
    static const QStringList names = {"Paris", "Besançon", "Sydney", "Parme"};
    return ReadHomeEntry(QString::fromUtf8(text),
                         [](const QString& t) { return FindCityByPrefix(names, t); });
}

TEST(ReadHomeEntry, AcceptedTexts) {
    // The text, what it reads as, and the city's index or the point (longitude west positive).
    const std::tuple<const char*, HomeKind, double, double> cases[] = {
        {"Paris", City, 0, 0},
        {"  besancon ", City, 1, 0},
        {"parm", City, 3, 0},
        {"jn18eu", Locator, 48.854167, -2.375},
        {"JN18", Locator, 48.5, -3.0},
        {"JN18EU55XX", Locator, 48.858247, -2.383160},
        {"48.8566N 2.3522E", Coordinates, 48.8566, -2.3522},
        {"48,8566N 2,3522E", Coordinates, 48.8566, -2.3522},
        {"48°51'24\"N 2°21'08\"E", Coordinates, 48.856667, -2.352222},
        {"48°51′24″N 2°21′08″E", Coordinates, 48.856667, -2.352222},
        {"N48 51.4 E2 21.13", Coordinates, 48.856667, -2.352167},
        {"N 48°51.4', W 74°0.5'", Coordinates, 48.856667, 74.008333},
        {"90S 180W", Coordinates, -90, 180},
        {"0S 0E", Coordinates, 0, 0},
    };
    for (const auto& [text, kind, index_or_latitude, longitude] : cases) {
        SCOPED_TRACE(text);
        const HomeEntry e = Read(text);
        ASSERT_EQ(e.kind, kind) << e.reason.toStdString();
        if (kind == City) {
            EXPECT_EQ(e.cityIndex, index_or_latitude);
            continue;
        }
        EXPECT_EQ(e.cityIndex, -1);
        EXPECT_NEAR(e.point.latitude, index_or_latitude, 1e-6);
        EXPECT_NEAR(e.point.longitude, longitude, 1e-6);
        EXPECT_FALSE(std::signbit(e.point.latitude) && e.point.latitude == 0.0);
        EXPECT_FALSE(std::signbit(e.point.longitude) && e.point.longitude == 0.0);
    }
    EXPECT_EQ(Read("jn18eu").name, QStringLiteral("JN18EU"));
    EXPECT_EQ(Read(" 33.87S  151.21E ").name, QStringLiteral("33.87S 151.21E"));
}

// A text is refused with the reason why, and a callsign is the last reading: what reads as a
// locator or coordinates stays so, and only a text of letters, digits and strokes with a digit
// among them is taken for a call. A call that could have been meant as coordinates carries what to
// say if no country fits.
TEST(ReadHomeEntry, RefusalsAndCallsigns) {
    // What the text reads as; for a callsign, the call handed to the look-up; the reason given
    // (for a callsign: what to say if no country fits, empty for what the look-up says).
    const std::tuple<const char*, HomeKind, const char*, const char*> cases[] = {
        {"", Refused, "", ""},  // no reason at all
        {"Lyon", Refused, "", "Aucune ville ne commence par"},
        {"SS99", Refused, "", "Locator hors limites"},
        {"91N 0E", Refused, "", "Latitude hors limites"},
        {"0N 180.5E", Refused, "", "Longitude hors limites"},
        {"48 60 0 N 2E", Refused, "", "Minutes et secondes"},
        {"48.85 2.35", Refused, "", "Il manque la lettre"},
        {"48N 2N", Refused, "", "Deux latitudes"},
        {"-33.87S 151.21E", Refused, "", "Caractère inattendu"},
        {"48.5 30 N 2E", Refused, "", "illisibles"},
        {"F4 ABC", Refused, "", "Caractère inattendu"},
        {"3b8cf", Callsign, "3B8CF", ""},
        {" JA1NUT/P ", Callsign, "JA1NUT/P", ""},
        {"48N", Callsign, "48N", "deux coordonnées"},
        {"N1SE", Callsign, "N1SE", "illisibles"},
        {"48N2E", Coordinates, "", ""},
        {"JN18EU", Locator, "", ""},
        {"JN18YZ", Refused, "", nullptr},
        // Begun as a locator and mistyped, not a call of Japan; a call that only starts alike.
        {"JN18E", Refused, "", "Locator incomplet"},
        {"JN18EU5A", Refused, "", "Locator incomplet"},
        {"JN18EU55XXA", Callsign, "JN18EU55XXA", ""},
        {"JA18EUAB", Callsign, "JA18EUAB", ""},
        {"TM50TDF", Callsign, "TM50TDF", ""},
        {"VK", Refused, "", nullptr},
        {"F4ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFG", Refused, "", nullptr},
    };
    for (const auto& [text, kind, name, reason] : cases) {
        SCOPED_TRACE(text);
        const HomeEntry e = Read(text);
        EXPECT_EQ(e.kind, kind);
        if (kind == Callsign) {
            EXPECT_EQ(e.name, QString::fromUtf8(name));
        }
        if ((kind == Callsign || kind == Refused) && reason != nullptr) {
            EXPECT_EQ(e.reason.isEmpty(), *reason == '\0');
            EXPECT_TRUE(e.reason.contains(QString::fromUtf8(reason))) << e.reason.toStdString();
        }
    }
}

}  // namespace
}  // namespace orbida::cities

// Callsigns on their own: a callsign typed pins its country or is refused with the reason, the
// line naming the country, and the country file read in the background.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "fake_part_host.h"
#include "ui/parts/callsign_part.h"

namespace orbida::ui {
namespace {

using testing::kMidAtlantic;

// Entity lines as the real country file writes them, with exact calls.
const char kCountries[] =
    "Mauritius:                39:  53:  AF:  -20.35:   -57.50:    -4.0:  3B8:\n    3B8;\n"
    "Japan:                    25:  45:  AS:   36.40:  -138.38:    -9.0:  JA:\n"
    "    7J,JA,JE,JH,JR;\n"
    "Heard Island:             39:  68:  AF:  -53.08:   -73.50:    -5.0:  VK0H:\n"
    "    =VK0EK,=VK0LD;\n"
    "United States of America: 05:  08:  NA:   37.60:    91.87:     5.0:  K:\n    K,W;\n";

class CallsignPartTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.Add(part);
        QFile file(CountryFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kCountries);
    }
    QString CountryFile() const { return dir.filePath(QStringLiteral("cty.dat")); }
    // The text typed in the city box handed to the part: true when it took it.
    bool Type(const char* text) {
        return part.TakeTyped(cities::ReadHomeEntry(QString::fromUtf8(text), nullptr));
    }

    QTemporaryDir dir;
    testing::FakePartHost host;
    CallsignPart part;
};

// A sequence of typed texts and releases: a country found is pinned and named, a refused text
// leaves the target as it was.
TEST_F(CallsignPartTest, PinsTheCountryAndRefusesWhatHasNone) {
    part.SetCountryFilePlaces({}, {}, CountryFile());
    const QString notCoordinates = cities::ReadHomeEntry(QStringLiteral("48N"), nullptr).reason;
    ASSERT_FALSE(notCoordinates.isEmpty());
    // What is typed ("release": another pin or a click), what the line starts with afterwards
    // (empty: nothing pinned), the country's place, and the refusal (empty: none).
    const std::tuple<const char*, const char*, geodesy::GeoPoint, QString> steps[] = {
        {"3b8cf", "3B8CF  Mauritius\nAF  CQ 39  UIT 53  UTC+4\nSP ", {-20.35, -57.50}, {}},
        {"Q1ABC", "3B8CF  Mauritius\n", {-20.35, -57.50}, "Aucun pays ne correspond"},
        {"W1AW/MM", "3B8CF  Mauritius\n", {-20.35, -57.50}, "mobile maritime"},
        {"48N", "3B8CF  Mauritius\n", {-20.35, -57.50}, notCoordinates},
        {"W1AW/7", "W1AW/7  United States of America\nNA  CQ 5  UIT 8  UTC-5", {37.60, 91.87}, {}},
        {"release", "", {}, {}},
        {"JA1NUT/P", "JA1NUT/P  Japan\nAS  CQ 25  UIT 45  UTC+9", {36.40, -138.38}, {}},
        {"release", "", {}, {}},
    };
    for (const auto& [typed, line, at, refusal] : steps) {
        SCOPED_TRACE(typed);
        host.refusals.clear();
        host.accepts = 0;
        if (std::string_view(typed) == "release") {
            host.Pin({kMidAtlantic, std::nullopt});
        } else {
            EXPECT_TRUE(Type(typed));
            EXPECT_EQ(host.accepts, refusal.isEmpty() ? 1 : 0);
            ASSERT_EQ(host.refusals.size(), refusal.isEmpty() ? 0u : 1u);
            EXPECT_TRUE(refusal.isEmpty() || host.refusals[0].contains(refusal));
        }
        const bool pinned = *line != '\0';
        EXPECT_EQ(part.CallsignCountry().has_value(), pinned);
        EXPECT_EQ(host.pinned.place, pinned ? std::optional(at) : std::nullopt);
        host.Tick(kMidAtlantic);
        EXPECT_EQ(host.Shown("LblIndicatif").isEmpty(), !pinned);
        EXPECT_TRUE(!pinned || host.Shown("LblIndicatif").startsWith(QString::fromUtf8(line)));
    }
    EXPECT_EQ(host.pins.size(), 5u) << "three countries and two releases";
}

// Texts that are no callsign are left to the window; without a usable file a callsign is refused
// with the reason, and nothing is pinned.
TEST_F(CallsignPartTest, LeavesOtherTextsAndRefusesWithoutAFile) {
    EXPECT_FALSE(Type("JN18EU"));
    EXPECT_FALSE(Type("Paris"));
    EXPECT_FALSE(Type("48.85N 2.35E"));
    EXPECT_TRUE(host.refusals.empty());
    // No place to look (the country file is not installed), a --cty file that is missing.
    const std::pair<QString, bool> files[] = {{QString(), false},
                                              {dir.filePath(QStringLiteral("gone.dat")), true}};
    for (const auto& [file, placed] : files) {
        SCOPED_TRACE(file.toStdString());
        CallsignPart other;
        host.Add(other);
        if (placed) {
            other.SetCountryFilePlaces(dir.filePath(QStringLiteral("none")), {}, file);
        }
        host.refusals.clear();
        EXPECT_TRUE(other.TakeTyped(cities::ReadHomeEntry(QStringLiteral("3B8CF"), nullptr)));
        ASSERT_EQ(host.refusals.size(), 1u);
        EXPECT_FALSE(host.refusals[0].isEmpty());
        EXPECT_TRUE(placed || host.refusals[0].startsWith("Aucun fichier des pays"));
        EXPECT_FALSE(other.CallsignCountry().has_value());
        EXPECT_TRUE(host.pins.empty());
        host.parts.pop_back();
    }
}

// A file named on the command line is read in the background once the window's events run, and
// named with its path.
TEST_F(CallsignPartTest, FileReadInTheBackgroundAndNamed) {
    part.SetCountryFilePlaces({}, {}, CountryFile());
    EXPECT_TRUE(part.CountryFileDescription().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !part.CountryFileDescription().isEmpty(); }));
    EXPECT_TRUE(part.CountryFileDescription().contains(CountryFile()));
    EXPECT_TRUE(Type("3B8CF"));
    EXPECT_TRUE(part.CallsignCountry().has_value());
}

}  // namespace
}  // namespace orbida::ui

// The city file's traps, the reference texts and locator figures, and the selection of a city.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "cities/city_check.h"
#include "cities/city_file.h"
#include "cities/coordinate_text.h"
#include "cities/leading_number.h"
#include "cities/maidenhead.h"
#include "cities/selection.h"
#include "file_kinds.h"

namespace orbida::cities {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const std::string kBom = "\xEF\xBB\xBF";
using namespace std::string_literals;

TEST(LeadingNumber, ReadsTheNumberATextBeginsWith) {
    const std::pair<std::string, double> cases[] = {
        {"48.8566", 48.8566}, {"-2.3522", -2.3522}, {" 4 8.\t5\n", 48.5}, {"48,85", 48.0},
        {"2 Alpes", 2.0},     {".5", 0.5},          {"1.2.3", 1.2},       {"1E3", 1000.0},
        {"1e-2", 0.01},       {"2.5e+1x", 25.0},    {"5e", 5.0},          {"5e-", 5.0},
        {"4\0005"s, 4.0},     {"1\r5", 1.0},        {"Paris", 0.0},       {"", 0.0},
        {"-", 0.0},           {"-0.0", 0.0},        {"+5", 5.0},          {"+48.85", 48.85},
        {"+-5", 0.0},         {"-+5", 0.0},         {"0x1A", 0.0},        {"nan", 0.0},
        {"inf", 0.0},         {"1e999", kInf},      {"-1e999", -kInf},    {"1e-999", 0.0}};
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(LeadingNumber(text), value) << text;
    }
    EXPECT_EQ(LeadingNumber("1e99999999999999999999"), kInf);
}

TEST(LeadingNumber, HugeFieldsAreReadInFullAndRoundedCorrectly) {
    EXPECT_EQ(LeadingNumber("1" + std::string(10'000'000, '0')), kInf);
    EXPECT_EQ(LeadingNumber("0." + std::string(10'000'000, '0') + "1"), 0.0);
    // Exactly half way between 0.1 and the next double: the tie goes to 0.1 (even), but one
    // non-zero digit beyond the first 800 tips it upwards.
    const std::string half = "0.100000000000000012490009027033011079765856266021728515625";
    EXPECT_EQ(LeadingNumber(half + std::string(900, '0')), 0.1);
    EXPECT_EQ(LeadingNumber(half + std::string(900, '0') + "1"), std::nextafter(0.1, 1.0));
}

TEST(FieldReader, SplitsFieldsAtCommasAndLineEnds) {
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"Paris, 48.8566, -2.3522\n", {"Paris", "48.8566", "-2.3522"}},
        {"a,1\nb,2", {"a", "1", "b", "2"}},  // last line without line end
        {"a,1\rb,2\r", {"a", "1", "b", "2"}},
        {"\n \n a b ,\t1 ,\n\r\n\tb,,2,\n\n", {"a b", "1", "b", "2"}},
        {"\"Washington, D.C.\",1\n\"a\r\nb\"", {"Washington, D.C.", "1", "a\r\nb"}},
        {"\"Lyon\" x\"y, 45", {"Lyon", "45"}},  // text after the closing quote
        {"a,\"b, c\n", {"a", "b, c\n"}},        // unterminated quote
        {"a\0b,1"s, {"a\0b"s, "1"}},
        {" ,\r\n\t,,\n", {}},
    };
    for (const auto& [bytes, expected] : cases) {
        std::vector<std::string> fields;
        for (FieldReader reader(bytes); !reader.AtEnd();) {
            fields.emplace_back(reader.Next());
        }
        EXPECT_EQ(fields, expected) << bytes;
    }
}

TEST(FieldReader, TakesLinearTimeOnPathologicalInput) {
    const std::string field(10'000'000, 'x');
    FieldReader one(field);
    EXPECT_EQ(one.Next().size(), field.size());
    EXPECT_TRUE(one.AtEnd());
    EXPECT_EQ(ParseCityFile(std::string(10'000'000, ',')).NameCount(), 0);
    std::string emptyNames;
    for (int i = 0; i < 1'000'000; ++i) {
        emptyNames += "\"\",";
    }
    EXPECT_EQ(ParseCityFile(emptyNames).NameCount(), 1'000'000);
    EXPECT_EQ(ParseCityFile(std::string(10'000'000, '"')).Names(), QStringList{""});
    EXPECT_EQ(ParseCityFile("\"" + std::string(10'000'000, ' ')).NameCount(), 1);
}

TEST(ParseCityFile, ClassifiesFieldsByTheirLeadingNumber) {
    const std::tuple<std::string, QStringList, std::vector<double>> cases[] = {
        {"Paris, 48.8566, -2.3522", {"Paris"}, {48.8566, -2.3522}},
        {"Quito, -0.0, 78.5", {"Quito", "-0.0"}, {78.5}},
        {"2 Alpes, 45, -6", {}, {2, 45, -6}},
        {"Lyon, 45,76, -4.8", {"Lyon"}, {45, 76, -4.8}},
        {"\"Lyon\", \"45.76\", -4.8", {"Lyon"}, {45.76, -4.8}},
        {"Washington, D.C., 38.9, 77", {"Washington", "D.C."}, {38.9, 77}},
        {"A, 1e999, -1e999\nnan, 0x1A", {"A", "nan", "0x1A"}, {kInf, -kInf}},
        {kBom + "A," + kBom + "9", {"A", QStringLiteral("\uFEFF9")}, {}},
        {"A,1,2\n\"B, 3", {"A", "B, 3"}, {1, 2}},  // a quote left open at the end
        {"\x89PNG\r\n\x1A\n\0\0"s, {"\u2030PNG", "\x1A", QString(2, QChar(0))}, {}},
    };
    for (const auto& [bytes, names, coordinates] : cases) {
        SCOPED_TRACE(bytes);
        const Catalogue catalogue = ParseCityFile(bytes);
        EXPECT_EQ(catalogue.Names(), names);
        EXPECT_EQ(catalogue.Coordinates(), coordinates);
    }
}

// Plain decimals are converted on a short path; every coordinate must still be the number the
// general reader gives, to the last bit, on both sides of that path's limits.
TEST(ParseCityFile, CoordinatesAreTheLeadingNumberOfTheirField) {
    const std::string fields =
        "48.8566 -2.3522 0.1 -179.99999999 1. .5 -.5 007.25 9007199254740991 9007199254740993 "
        "0.9007199254740993 1.0000000000000000000001 123.4567890123456789012 1e5 +4.5 4.5.6 12abc "
        "-0.0001 -1234.567 12345678 1234567890123456789012345678901234567890";
    for (const QString& text : QString::fromStdString(fields).split(' ')) {
        const std::string field = text.toStdString();
        SCOPED_TRACE(field);
        // Alone and twice in a row (a city's two coordinates are read together), with blanks
        // after the last line, as the short paths read ahead of a field.
        for (const qsizetype count : {1, 2}) {
            std::string line = "A";
            for (qsizetype k = 0; k < count; ++k) {
                line += "," + field;
            }
            const Catalogue catalogue = ParseCityFile(line + "\n" + std::string(16, ' '));
            ASSERT_EQ(catalogue.CoordinateCount(), count);
            for (qsizetype k = 0; k < count; ++k) {
                EXPECT_EQ(catalogue.Coordinate(k), LeadingNumber(field));
            }
        }
    }
}

TEST(ParseCityFile, ReadsUtf8WhenValidUtf16WithItsMarkElseWindows1252) {
    const std::pair<std::string, QString> cases[] = {
        {"Besan\xC3\xA7on,1,1", QStringLiteral("Besançon")},
        {kBom + "\xC5\x92uf,1,1", QStringLiteral("Œuf")},
        {"Besan\xE7on,1,1", QStringLiteral("Besançon")},  // Windows-1252
        {"\x8C\x75\x66 \x80\x9F,1,1", QStringLiteral("Œuf €Ÿ")},
        {"C\x9Cur d\x92\xE9t\xE9,1,1", QStringLiteral("Cœur d’été")},
        {"A\x81\x8D\x8F\x90\x9D,1,1", QStringLiteral("A\u0081\u008D\u008F\u0090\u009D")},
        {kBom + "Besan\xE7on,1,1", QStringLiteral("Besan\uFFFDon")},
        {"\xFF\xFE\x42\0\xE7\0,\0001\0,\0001\0"s, QStringLiteral("Bç")},    // UTF-16 LE
        {"\xFE\xFF\0\x42\0\xE7\0,\0001\0,\0001"s, QStringLiteral("Bç")},    // UTF-16 BE
        {"\xFF\xFE\x42\0\xE7\0,\0001\0,\0001\0\n"s, QStringLiteral("Bç")},  // odd last byte
        {"\xFF\xFE\x3D\xD8\x0D\xDE\x00\xD8,\0001\0,\0002\0"s, QStringLiteral("\U0001F60D\uFFFD")},
        {"A\xE0\xA0\x80,1,1", QStringLiteral("A\u0800")},  // smallest three-byte form
        {"A\xED\x9F\xBF,1,1", QStringLiteral("A\uD7FF")},  // last before the surrogates
        {"A\xF0\x90\x80\x80,1,1", QString::fromUcs4(U"A\U00010000")},
        {"A\xF4\x8F\xBF\xBF,1,1", QString::fromUcs4(U"A\U0010FFFF")},
        // An overlong form, a surrogate, a code point above U+10FFFF or a broken
        // sequence is not UTF-8: the whole file is then read as Windows-1252.
        {"A\xC0\xAF,1,1", QStringLiteral("AÀ¯")},
        {"A\xE0\x80\xAF,1,1", QStringLiteral("Aà€¯")},
        {"A\xF0\x80\x80\xAF,1,1", QStringLiteral("Að€€¯")},
        {"A\xED\xA0\x80,1,1", QStringLiteral("Aí\u00A0€")},
        {"A\xF4\x90\x80\x80,1,1", QStringLiteral("Aô\u0090€€")},
        {"A\xF5\x80\x80\x80,1,1", QStringLiteral("Aõ€€€")},
        {"A\xE2\x82\x41,1,1", QStringLiteral("Aâ‚A")},
        {"A\xF0\x9F\x98\x41,1,1", QStringLiteral("AðŸ˜A")},
    };
    for (const auto& [bytes, city] : cases) {
        EXPECT_EQ(ParseCityFile(bytes).Names(), QStringList{city}) << city.toStdString();
    }
}

// The index answers what a look at every name in turn answers: the exact name first (the earliest
// of equal ones), else the first name in file order that the text begins, whatever the case and
// accents; the suggestions are every name the text begins, in file order.
TEST(NameIndex, ExactNameFirstThenTheFirstNameItBegins) {
    const Catalogue catalogue = ParseCityFile(
        "Paris-Plage,1,1\nParis,1,1\nPâturages,1,1\nBesançon,1,1\nBès,1,1\nPARIS,1,1\nÉvry,1,1\n"
        "evry,1,1\nStraße,1,1\nAbc,1,1\nab,1,1\n");
    const NameIndex index(catalogue);
    const std::tuple<const char*, int, std::vector<int>> cases[] = {
        {"paris", 1, {0, 1, 5}}, {"pat", 2, {2}},     {"p", 0, {0, 1, 2, 5}}, {"bes", 4, {3, 4}},
        {"  bè", 3, {3, 4}},     {"EVRY", 6, {6, 7}}, {"STRAß", 8, {8}},      {"ab", 10, {9, 10}},
        {"xyz", -1, {}},         {"parisx", -1, {}},  {"", -1, {}},
    };
    for (const auto& [text, city, suggested] : cases) {
        SCOPED_TRACE(text);
        const QString typed = QString::fromUtf8(text);
        EXPECT_EQ(index.Match(typed), city);
        EXPECT_EQ(MatchByScan(catalogue, typed), city);
        const QByteArray key = FoldedKey(typed);
        if (!key.isEmpty()) {
            const std::string_view view(key.constData(), static_cast<std::size_t>(key.size()));
            EXPECT_EQ(index.Beginning(view), suggested);
            EXPECT_EQ(BeginningByScan(catalogue, view, 100), suggested);
        }
    }
}

TEST(LoadCityFile, FindsTheFileWhateverItsLetterCase) {
    // Each file holds its own name as its one city. A folder of the same name is passed over.
    const std::pair<std::vector<const char*>, QString> cases[] = {
        {{"villes.txt"}, "villes.txt"},
        {{"VILLES.TXT", "villes.txt", "Villes.txt"}, "villes.txt"},
        {{"Villes.txt", "VILLES.TXT"}, "VILLES.TXT"},
        {{"villes.TXT", "Villes.Txt"}, "Villes.Txt"},
    };
    for (const auto& [files, read] : cases) {
        SCOPED_TRACE(read.toStdString());
        QTemporaryDir dir;
        ASSERT_TRUE(QDir(dir.path()).mkdir("VILLES.txt"));
        for (const char* fileName : files) {
            QFile file(dir.filePath(QString::fromLatin1(fileName)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(fileName) + ", 48.8566, -2.3522\n");
        }
        const LoadResult result = LoadCityFile(dir.path());
        EXPECT_TRUE(result.ok && result.errorMessage.isEmpty());
        EXPECT_EQ(result.catalogue.Names(), QStringList{read});
        EXPECT_EQ(QFileInfo(result.path).fileName(), read);
    }
}

// Whatever "villes.txt" turns out to be, or when it is missing, loading ends at once with a
// message naming the file, its folder and what is wrong, and never reads without bound.
TEST(LoadCityFile, RefusesWhatIsNotARegularFileOfReasonableSize) {
    const std::vector<testing::OddKind> kinds =
        testing::OddKindsAndLimits("introuvable", kMaxCityFileBytes, "513");
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        QTemporaryDir dir;
        if (!kind.make(dir.path(), dir.filePath("villes.txt"))) {
            continue;  // a device node needs root
        }
        const testing::PipeWatchdog watchdog(dir.path());
        const LoadResult result = LoadCityFile(dir.path());
        EXPECT_FALSE(watchdog.Fired());
        EXPECT_FALSE(result.ok);
        for (const QString& part :
             {QStringLiteral("villes.txt"), QDir::toNativeSeparators(dir.path()),
              QString::fromUtf8(kind.said)}) {
            EXPECT_TRUE(result.errorMessage.contains(part)) << result.errorMessage.toStdString();
        }
    }
}

// What is no number reads 0 degrees, with the word of its sign; a NaN is not below 0, whatever its
// sign bit.
TEST(FormatDms, DegreesMinutesSecondsAndHemisphereWord) {
    const std::tuple<double, bool, QString> cases[] = {
        {48.8566, true, "48°  51'  24''   Nord"}, {-2.3522, false, "2°  21'  8''   Est"},
        {74.006, false, "74°  0'  22''   Ouest"}, {-33.8688, true, "33°  52'  8''   Sud"},
        {-0.5, true, "0°  30'  0''   Sud"},       {0.0, true, "0°  0'  0''   Nord"},
        {-0.0, false, "0°  0'  0''   Ouest"},     {45.76, true, "45°  45'  36''   Nord"},
        {0.99999, true, "1°  0'  0''   Nord"},    {-179.999999, false, "180°  0'  0''   Est"},
        {kNaN, true, "0°  0'  0''   Nord"},       {-kNaN, false, "0°  0'  0''   Ouest"},
        {kInf, true, "0°  0'  0''   Nord"},       {-kInf, false, "0°  0'  0''   Est"}};
    for (const auto& [value, latitude, text] : cases) {
        EXPECT_EQ(latitude ? FormatDms(value, " Nord", " Sud") : FormatDms(value, " Ouest", " Est"),
                  text);
    }
}

// Six characters whatever the point, far off the globe too (a field letter may then be "ß" or
// "?").
TEST(MaidenheadLocator, Figures) {
    const std::tuple<double, double, const char*> cases[] = {
        {0, 0, "JJ00AA"},         {48.85, -2.36, "JN18EU"},  {-33.87, -151.21, "QF56OD"},
        {40.71, 74.00, "FN30AR"}, {90, -180, "AR09AX"},      {-90, 180, "AA00AA"},
        {0, 200, "@J00AA"},       {100, 0, "JT00AA"},        {1e300, -1e300, "??00AA"},
        {1490.5, 0, "Jß00AM"},    {1490.5, -2990, "ßß50AM"}, {kNaN, 0, "J?0?A?"},
        {0, kInf, "?J?0?A"},      {-kInf, -kInf, "????\?\?"}};
    for (const auto& [latitude, longitude, text] : cases) {
        const Locator locator = MaidenheadLocator(latitude, longitude);
        EXPECT_EQ(locator.text, QString::fromUtf8(text));
        EXPECT_EQ(locator.text.size(), 6) << text;
    }
}

ReferenceState Select(const std::string& file, int index, ConnectionReport connection = {},
                      const ReferenceState& current = StartupReference()) {
    return SelectCity(ParseCityFile(file), index, current, connection, 9630.0f, 4815.0f).value();
}

TEST(SelectCity, ParisEndToEnd) {
    const std::string file = "Paris, 48.8566, -2.3522\n";
    const ReferenceState paris = Select(file, 0, {.viaLan = true});
    EXPECT_EQ(paris.referencePoint, (geodesy::GeoPoint{48.8566, -2.3522}));
    EXPECT_EQ(paris.referenceHundredths, (geodesy::GeoPoint{48.85, -2.36}));
    EXPECT_EQ(paris.entoureLeft, 4807.9214f);
    EXPECT_EQ(paris.entoureTop, 1030.5859f);
    EXPECT_EQ(paris.longitudeText, "2°  21'  8''   Est");
    EXPECT_EQ(paris.latitudeText, "48°  51'  24''   Nord");
    EXPECT_EQ(paris.locator.cells, (std::array<QString, 6>{"J", "N", "1", "8", "E", "U"}));
    EXPECT_EQ(paris.cityName, "PARIS");
    EXPECT_TRUE(paris.citySelected && paris.internetConnected);
    // The connection flag: off without one, on when online, and never turned off again.
    EXPECT_FALSE(Select(file, 0).internetConnected);
    EXPECT_TRUE(Select(file, 0, {.online = true}).internetConnected);
    EXPECT_TRUE(Select(file, 0, {}, paris).internetConnected);
    EXPECT_EQ(Select("Besan\xE7on, 47.24, -6.02", 0).cityName, QStringLiteral("BESANÇON"));
    // The locator comes from the coordinates as written (Hamlib's too): 0.0015 W is field I,
    // though its hundredths are 0.00; Abidjan, 4.0017 W, lies in IJ75, not IJ85.
    EXPECT_EQ(Select("Greenwich, 51.4779, 0.0015", 0).locator.text, "IO91XL");
    EXPECT_EQ(Select("Abidjan, 5.3544, 4.0017", 0).locator.text, "IJ75XI");
}

TEST(SelectCity, NothingChangesWithoutTwoUsableCoordinates) {
    const std::pair<std::string, int> cases[] = {
        {"Paris, 48.8566, -2.3522", -1},
        {"Paris, 48.8566, -2.3522", 1},
        {"", 0},
        {"Paris, 48.8566, -2.3522\nLyon, 45.76", 1},
        {"Atlantis, 1e999, 10", 0},
        {"Far, 1e307, 10", 0}};  // hundredths beyond double range
    for (const auto& [file, index] : cases) {
        EXPECT_FALSE(SelectCity(ParseCityFile(file), index, StartupReference(), {true, true},
                                9630.0f, 4815.0f))
            << file << " " << index;
    }
}

// The check reads the file as the loader does and points at each line that would be misread. (The
// plural of the words that follow a count comes from the program's translations; the program's
// own run of --check is tested with them.)
TEST(CheckCityFile, PointsAtEachTrapWithItsLineAndWhatFollows) {
    // A sign before a number, a quoted comma and a number before the name are no trap.
    const CheckReport clean = CheckCityFile(
        "Paris, +48.8566, -2.3522\r\n\"Washington, D.C.\", 38.9, 77\r\n48, Zurich, -8\r\n");
    EXPECT_TRUE(clean.Clean() && clean.Text().startsWith("Aucun problème"));
    // The bytes, the line pointed at, part of its reason and of what follows from it.
    const std::tuple<std::string, qsizetype, const char*, const char*> cases[] = {
        {"Paris, 48.85, -2.35\nQuito, 0, 78.5\nLyon, 45.7, -4.8\n", 2, "vaut 0", "3 champ"},
        {"Lyon, 45,76, -4.8\nParis, 48.85, -2.35\n", 1, "45.76", "1 champ"},
        {"2 Alpes, 45.05, -6.12\nParis, 48.85, -2.35\n", 1, "commence par un nombre", "3 champ"},
        {"Washington, D.C., 38.9, 77\nParis, 48.85, -2.35\n", 1, "entre guillemets", "1 ville"},
        {"A, 1, 2, 3\nB, 4\nC, 5, 6\n", 2, "il manque 1", "retrouvent"},
        {"Paris, 48.85, -2.35\nNulle part, 1e999, 2\n", 2, "trop grand", "autres villes"},
        {"Paris, 48.85, -2.35\n\"Lyon, 45.7, -4.8\nNice, 43.7, -7.2\n", 2, "jamais fermé",
         "1 ville"},
        {"\377\376A\0,\0 \0000\0,\0 \0001\0\n\0"s, 1, "vaut 0", "3 champ"},  // UTF-16
    };
    for (const auto& [bytes, line, reason, consequence] : cases) {
        const CheckReport report = CheckCityFile(bytes);
        const QString text = report.Text();
        SCOPED_TRACE(text.toStdString());
        EXPECT_FALSE(report.Clean());
        const auto found = std::find_if(report.findings.begin(), report.findings.end(),
                                        [&](const CheckFinding& f) { return f.line == line; });
        ASSERT_NE(found, report.findings.end());
        const auto plain = [](QString t) { return t.replace(QChar(0xA0), u' '); };
        EXPECT_TRUE(plain(found->reasons.join(' ')).contains(QString::fromUtf8(reason)));
        EXPECT_TRUE(plain(found->consequence).contains(QString::fromUtf8(consequence)));
        EXPECT_TRUE(text.endsWith(".\n") && text.count('\n') > 2);
    }
}

}  // namespace
}  // namespace orbida::cities

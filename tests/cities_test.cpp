// The city file's traps, the reference texts and locator figures, and the selection of a city.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "cities/city_file.h"
#include "cities/coordinate_text.h"
#include "cities/leading_number.h"
#include "cities/maidenhead.h"
#include "cities/selection.h"

namespace orbida::cities {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
const std::string kBom = "\xEF\xBB\xBF";
using namespace std::string_literals;

TEST(LeadingNumber, ReadsTheNumberATextBeginsWith) {
    const struct {
        std::string text;
        double value;
    } cases[] = {{"48.8566", 48.8566}, {"-2.3522", -2.3522},
                 {" 4 8.\t5\n", 48.5}, {"48,85", 48.0},
                 {"2 Alpes", 2.0},     {".5", 0.5},
                 {"1.2.3", 1.2},       {"1E3", 1000.0},
                 {"1e-2", 0.01},       {"2.5e+1x", 25.0},
                 {"5e", 5.0},          {"5e-", 5.0},
                 {"4\0005"s, 4.0},     {"1\r5", 1.0},
                 {"Paris", 0.0},       {"", 0.0},
                 {"-", 0.0},           {"-0.0", 0.0},
                 {"+5", 0.0},          {"0x1A", 0.0},
                 {"nan", 0.0},         {"inf", 0.0},
                 {"1e999", kInf},      {"-1e999", -kInf},
                 {"1e-999", 0.0},      {"1e99999999999999999999", kInf}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(LeadingNumber(c.text), c.value);
    }
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
    const struct {
        const char* name;
        std::string bytes;
        std::vector<std::string> fields;
    } cases[] = {
        {"one record per line", "Paris, 48.8566, -2.3522\n", {"Paris", "48.8566", "-2.3522"}},
        {"last line without line end", "a,1\nb,2", {"a", "1", "b", "2"}},
        {"CRLF", "a,1\r\nb,2\r\n", {"a", "1", "b", "2"}},
        {"CR only", "a,1\rb,2\r", {"a", "1", "b", "2"}},
        {"blank lines, blanks, empty fields",
         "\n \n a b ,\t1 ,\n\r\n\tb,,2,\n\n",
         {"a b", "1", "b", "2"}},
        {"quoted comma and line end",
         "\"Washington, D.C.\",1\n\"a\r\nb\"",
         {"Washington, D.C.", "1", "a\r\nb"}},
        {"text after the closing quote", "\"Lyon\" x\"y, 45", {"Lyon", "45"}},
        {"empty quoted field", "\"\",1", {"", "1"}},
        {"unterminated quote", "a,\"b, c\n", {"a", "b, c\n"}},
        {"NUL bytes", "a\0b,1"s, {"a\0b"s, "1"}},
        {"empty file", "", {}},
        {"separators only", " ,\r\n\t,,\n", {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> fields;
        for (FieldReader reader(c.bytes); !reader.AtEnd();) {
            fields.emplace_back(reader.Next());
        }
        EXPECT_EQ(fields, c.fields);
    }
}

TEST(FieldReader, TakesLinearTimeOnPathologicalInput) {
    const std::string field(10'000'000, 'x');
    FieldReader one(field);
    EXPECT_EQ(one.Next().size(), field.size());
    EXPECT_TRUE(one.AtEnd());
    EXPECT_EQ(ParseCityFile(std::string(10'000'000, ',')).names.size(), 0);
    std::string emptyNames;
    for (int i = 0; i < 1'000'000; ++i) {
        emptyNames += "\"\",";
    }
    EXPECT_EQ(ParseCityFile(emptyNames).names.size(), 1'000'000);
    EXPECT_EQ(ParseCityFile(std::string(10'000'000, '"')).names, QStringList{""});
    EXPECT_EQ(ParseCityFile("\"" + std::string(10'000'000, ' ')).names.size(), 1);
}

TEST(ParseCityFile, ClassifiesFieldsByTheirLeadingNumber) {
    const struct {
        const char* name;
        std::string bytes;
        QStringList names;
        QStringList coordinates;
    } cases[] = {
        {"Paris", "Paris, 48.8566, -2.3522", {"Paris"}, {"48.8566", "-2.3522"}},
        {"zero coordinate", "Quito, -0.0, 78.5", {"Quito", "-0.0"}, {"78.5"}},
        {"name starting with a digit", "2 Alpes, 45, -6", {}, {"2 Alpes", "45", "-6"}},
        {"decimal comma", "Lyon, 45,76, -4.8", {"Lyon"}, {"45", "76", "-4.8"}},
        {"quoted number", "\"Lyon\", \"45.76\", -4.8", {"Lyon"}, {"45.76", "-4.8"}},
        {"unquoted comma in a name",
         "Washington, D.C., 38.9, 77",
         {"Washington", "D.C."},
         {"38.9", "77"}},
        {"odd numbers", "A, 1e999, -1e999\nnan, 0x1A", {"A", "nan", "0x1A"}, {"1e999", "-1e999"}},
        {"byte-order marks", kBom + "A," + kBom + "9", {"A", QStringLiteral("\uFEFF9")}, {}},
        {"binary", "\x89PNG\r\n\x1A\n\0\0"s, {"\u2030PNG", "\x1A", QString(2, QChar(0))}, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Catalogue catalogue = ParseCityFile(c.bytes);
        EXPECT_EQ(catalogue.names, c.names);
        EXPECT_EQ(catalogue.coordinates, c.coordinates);
    }
}

TEST(ParseCityFile, ReadsUtf8WhenValidElseWindows1252) {
    const struct {
        const char* name;
        std::string bytes;
        QString city;
    } cases[] = {
        {"UTF-8", "Besan\xC3\xA7on,1,1", QStringLiteral("Besançon")},
        {"UTF-8 with BOM", kBom + "\xC5\x92uf,1,1", QStringLiteral("Œuf")},
        {"Windows-1252", "Besan\xE7on,1,1", QStringLiteral("Besançon")},
        {"Windows-1252 high range", "\x8C\x75\x66 \x80\x9F,1,1", QStringLiteral("Œuf €Ÿ")},
        {"BOM then a stray byte",
         "\xEF\xBB\xBF"
         "Besan\xE7on,1,1",
         QStringLiteral("Besan\uFFFDon")},
        {"smallest three-byte form", "A\xE0\xA0\x80,1,1", QStringLiteral("A\u0800")},
        {"last before the surrogates", "A\xED\x9F\xBF,1,1", QStringLiteral("A\uD7FF")},
        {"smallest four-byte form", "A\xF0\x90\x80\x80,1,1", QString::fromUcs4(U"A\U00010000")},
        {"U+10FFFF", "A\xF4\x8F\xBF\xBF,1,1", QString::fromUcs4(U"A\U0010FFFF")},
        // An overlong form, a surrogate, a code point above U+10FFFF or a broken
        // sequence is not UTF-8: the whole file is then read as Windows-1252.
        {"overlong two bytes", "A\xC0\xAF,1,1", QStringLiteral("AÀ¯")},
        {"overlong three bytes", "A\xE0\x80\xAF,1,1", QStringLiteral("Aà€¯")},
        {"overlong four bytes", "A\xF0\x80\x80\xAF,1,1", QStringLiteral("Að€€¯")},
        {"surrogate", "A\xED\xA0\x80,1,1", QStringLiteral("Aí\u00A0€")},
        {"above U+10FFFF", "A\xF4\x90\x80\x80,1,1", QStringLiteral("Aô\u0090€€")},
        {"lead byte F5", "A\xF5\x80\x80\x80,1,1", QStringLiteral("Aõ€€€")},
        {"third byte not a continuation", "A\xE2\x82\x41,1,1", QStringLiteral("Aâ‚A")},
        {"fourth byte not a continuation", "A\xF0\x9F\x98\x41,1,1", QStringLiteral("AðŸ˜A")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ParseCityFile(c.bytes).names, QStringList{c.city});
    }
}

TEST(LoadCityFile, FindsTheFileWhateverItsLetterCase) {
    // Each file holds its own name as its one city.
    const struct {
        std::vector<const char*> files;
        QString read;
    } cases[] = {
        {{"villes.txt"}, "villes.txt"},
        {{"Villes.txt"}, "Villes.txt"},
        {{"VILLES.TXT"}, "VILLES.TXT"},
        {{"VILLES.TXT", "villes.txt", "Villes.txt"}, "villes.txt"},
        {{"Villes.txt", "VILLES.TXT"}, "VILLES.TXT"},
        {{"villes.TXT", "Villes.Txt"}, "Villes.Txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.read.toStdString());
        QTemporaryDir dir;
        for (const char* fileName : c.files) {
            QFile file(dir.filePath(QString::fromLatin1(fileName)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(fileName);
            file.write(", 48.8566, -2.3522\n");
        }
        const LoadResult result = LoadCityFile(dir.path());
        EXPECT_TRUE(result.ok);
        EXPECT_TRUE(result.errorMessage.isEmpty());
        EXPECT_EQ(result.catalogue.names, QStringList{c.read});
        EXPECT_EQ(QFileInfo(result.path).fileName(), c.read);
    }
}

TEST(LoadCityFile, MissingFileIsReportedWithFileAndFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("villes.txt"));  // a folder is not the city file
    const LoadResult result = LoadCityFile(dir.path());
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.errorMessage.contains("introuvable"));
    EXPECT_TRUE(result.errorMessage.contains("villes.txt"));
    EXPECT_TRUE(result.errorMessage.contains(QDir::toNativeSeparators(dir.path())));
}

TEST(FormatDms, DegreesMinutesSecondsAndHemisphereWord) {
    const struct {
        double value;
        bool latitude;
        QString text;
    } cases[] = {
        {48.8566, true, "48°  51'  24''   Nord"}, {-2.3522, false, "2°  21'  8''   Est"},
        {74.006, false, "74°  0'  22''   Ouest"}, {-33.8688, true, "33°  52'  8''   Sud"},
        {-0.5, true, "0°  30'  0''   Sud"},       {0.0, true, "0°  0'  0''   Nord"},
        {-0.0, false, "0°  0'  0''   Ouest"},     {45.76, true, "45°  45'  36''   Nord"},
        {0.99999, true, "1°  0'  0''   Nord"},    {-179.999999, false, "180°  0'  0''   Est"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(
            c.latitude ? FormatDms(c.value, " Nord", " Sud") : FormatDms(c.value, " Ouest", " Est"),
            c.text);
    }
}

TEST(MaidenheadLocator, Figures) {
    const struct {
        double latitude, longitude;
        const char* text;
    } cases[] = {{0, 0, "JJ00AA"},         {48.85, -2.36, "JN18EU"}, {-33.87, -151.21, "QF56OD"},
                 {40.71, 74.00, "FN20XR"}, {90, -180, "SS00AA"},     {-90, 180, "AA00AA"},
                 {0, 200, "@J00AA"},       {100, 0, "JT00AA"},       {1e300, -1e300, "??00AA"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(MaidenheadLocator(c.latitude, c.longitude).text, c.text);
    }
}

ReferenceState Select(const std::string& file, int index, ConnectionReport connection = {},
                      const ReferenceState& current = StartupReference()) {
    return SelectCity(ParseCityFile(file), index, current, connection, 9630.0f, 4815.0f).value();
}

TEST(SelectCity, ParisEndToEnd) {
    const ReferenceState paris = Select("Paris, 48.8566, -2.3522\n", 0, {.viaLan = true});
    EXPECT_EQ(paris.referencePoint, (geodesy::GeoPoint{48.8566, -2.3522}));
    EXPECT_EQ(paris.referenceHundredths, (geodesy::GeoPoint{48.85, -2.36}));
    EXPECT_EQ(paris.entoureLeft, 4807.9214f);
    EXPECT_EQ(paris.entoureTop, 1030.5859f);
    EXPECT_EQ(paris.longitudeText, "2°  21'  8''   Est");
    EXPECT_EQ(paris.latitudeText, "48°  51'  24''   Nord");
    EXPECT_EQ(paris.locator.text, "JN18EU");
    EXPECT_EQ(paris.locator.cells, (std::array<QString, 6>{"J", "N", "1", "8", "E", "U"}));
    EXPECT_EQ(paris.cityName, "PARIS");
    EXPECT_TRUE(paris.citySelected);
    EXPECT_TRUE(paris.internetConnected);
}

TEST(SelectCity, StartupValuesAndNames) {
    const ReferenceState start = StartupReference();
    EXPECT_EQ(start.entoureLeft, 4760.0f);
    EXPECT_EQ(start.entoureTop, 2360.0f);
    EXPECT_FALSE(start.citySelected || start.internetConnected);
    // The list keeps the name as written; beside the distance it is upper-cased, accents too.
    EXPECT_EQ(Select("Besan\xE7on, 47.24, -6.02", 0).cityName, QStringLiteral("BESANÇON"));
    // The cut to hundredths comes first: just west of Greenwich is still field J.
    EXPECT_EQ(Select("Greenwich, 51.4779, 0.0015", 0).locator.text, "JO01AL");
}

TEST(SelectCity, NothingChangesWithoutTwoUsableCoordinates) {
    const struct {
        const char* name;
        std::string file;
        int index;
    } cases[] = {{"no city chosen", "Paris, 48.8566, -2.3522", -1},
                 {"index past the list", "Paris, 48.8566, -2.3522", 1},
                 {"empty file", "", 0},
                 {"coordinates missing", "Paris, 48.8566, -2.3522\nLyon, 45.76", 1},
                 {"infinite latitude", "Atlantis, 1e999, 10", 0},
                 {"infinite longitude", "Atlantis, 10, -1e999", 0},
                 {"hundredths beyond double range", "Far, 1e307, 10", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(SelectCity(ParseCityFile(c.file), c.index, StartupReference(), {true, true},
                                9630.0f, 4815.0f));
    }
}

TEST(SelectCity, ConnectionFlagNeverFallsBack) {
    const std::string file = "Paris, 48.8566, -2.3522";
    ReferenceState state = Select(file, 0);
    EXPECT_FALSE(state.internetConnected);
    state = Select(file, 0, {.online = true}, state);
    EXPECT_TRUE(state.internetConnected);
    state = Select(file, 0, {}, state);
    EXPECT_TRUE(state.internetConnected);
}

}  // namespace
}  // namespace orbida::cities

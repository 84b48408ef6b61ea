#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "dxcc/country_file.h"
#include "dxcc/locate.h"

namespace {

using namespace orbida::dxcc;

const QString kSystemFile = QStringLiteral("/usr/share/hamradio-files/cty.dat");

CountryFile ReadSystemFile() {
    QFile file(kSystemFile);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    return CountryFile::Parse(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

std::string Name(const LookupResult& result) {
    return result.country ? result.country->name.toStdString() : std::string("(none)");
}

// Every case comes from the file's own entries: its entity lines, exact calls and overrides.
TEST(CountryFileTest, DebianFileGivesEachCallItsCountry) {
    if (!QFile::exists(kSystemFile)) {
        GTEST_SKIP() << "hamradio-files is not installed";
    }
    const CountryFile file = ReadSystemFile();
    EXPECT_EQ(file.skippedCount(), 0) << file.skippedSummary().toStdString();
    EXPECT_GT(file.entityCount(), 340);
    EXPECT_GT(file.entryCount(), 20000);
    EXPECT_EQ(file.version(), QStringLiteral("20230502"));

    struct Case {
        const char* call;
        const char* name;
        int cq, itu;
        const char* continent;
        double latitude, longitude, offset;
        const char* matched;
        bool exact, wae;
        int area;
    };
    const Case cases[] = {
        {"3B8CF", "Mauritius", 39, 53, "AF", -20.35, -57.50, 4.0, "3B8", false, false, -1},
        {"vk0ek", "Heard Island", 39, 68, "AF", -53.08, -73.50, 5.0, "VK0EK", true, false, -1},
        {"JA1NUT/P", "Japan", 25, 45, "AS", 36.40, -138.38, 9.0, "JA", false, false, -1},
        {"EA8/DL1ABC", "Canary Islands", 33, 36, "AF", 28.32, 15.85, 0.0, "EA8", false, false, -1},
        {"DL1ABC/EA8", "Canary Islands", 33, 36, "AF", 28.32, 15.85, 0.0, "EA8", false, false, -1},
        // The call area decides the zones: W7 carries its own.
        {"W1AW/7", "United States of America", 3, 6, "NA", 37.60, 91.87, -5.0, "W7", false, false,
         7},
        // Shetland (WAE only) lists again calls of Scotland: Scotland keeps them.
        {"GM4AFF/P", "Scotland", 14, 27, "EU", 56.82, 4.18, 0.0, "GM4AFF/P", true, false, -1},
        {"KH6/W1AW/P", "Hawaii", 31, 61, "OC", 21.12, 157.48, -10.0, "KH6", false, false, -1},
        // Exact calls with zone overrides; the exact call wins over the prefix AL (Alaska) and over
        // the /P and /MM rules.
        {"AL7QQ/P", "United States of America", 4, 7, "NA", 37.60, 91.87, -5.0, "AL7QQ/P", true,
         false, -1},
        {"N2NL/MM", "United States of America", 7, 8, "NA", 37.60, 91.87, -5.0, "N2NL/MM", true,
         false, -1},
        {"VK0/K2ARB", "Heard Island", 39, 68, "AF", -53.08, -73.50, 5.0, "VK0/K2ARB", true, false,
         -1},
        // Prefixes with overrides.
        {"AA0XYZ", "United States of America", 4, 7, "NA", 37.60, 91.87, -5.0, "AA0", false, false,
         -1},
        {"PP6ZZ", "Brazil", 11, 13, "SA", -10.00, 53.00, -3.0, "PP6", false, false, -1},
        // Entities counted for WAE only, by prefix and by exact call.
        {"IT9ABC", "Sicily", 15, 28, "EU", 37.50, -14.00, 1.0, "IT9", false, true, -1},
        {"JW0BEA", "Bear Island", 40, 18, "EU", 74.43, -19.08, 1.0, "JW0BEA", true, true, -1},
        // Vienna Intl Ctr (WAE only) lists 4U1A, and so does Austria, which keeps it.
        {"4U1A", "Austria", 15, 28, "EU", 47.33, -13.33, 1.0, "4U1A", true, false, -1},
        // MM before the call is Scotland's prefix, not maritime mobile.
        {"MM/DL1ABC", "Scotland", 14, 27, "EU", 56.82, 4.18, 0.0, "MM", false, false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        const LookupResult result = file.Lookup(QString::fromLatin1(c.call));
        ASSERT_TRUE(result.country);
        const Country& country = *result.country;
        EXPECT_EQ(country.name.toStdString(), c.name);
        EXPECT_EQ(country.cqZone, c.cq);
        EXPECT_EQ(country.ituZone, c.itu);
        EXPECT_EQ(country.continent.toStdString(), c.continent);
        EXPECT_DOUBLE_EQ(country.latitude, c.latitude);
        EXPECT_DOUBLE_EQ(country.longitude, c.longitude);
        EXPECT_DOUBLE_EQ(country.localOffset, c.offset);
        EXPECT_EQ(country.matched.toStdString(), c.matched);
        EXPECT_EQ(country.exactCall, c.exact);
        EXPECT_EQ(country.waeOnly, c.wae);
        EXPECT_EQ(country.callArea, c.area);
    }
    EXPECT_EQ(file.Lookup(std::string_view("JW0BEA")).country->primaryPrefix,
              QStringLiteral("JW/b"));

    const struct {
        const char* call;
        LookupFailure failure;
    } refused[] = {
        {"DL1ABC/MM", LookupFailure::NoCountry},
        {"w1aw/am", LookupFailure::NoCountry},
        {"EA8/DL1ABC/MM", LookupFailure::NoCountry},
        {"", LookupFailure::Invalid},
        {"//", LookupFailure::Invalid},
        {"W1AW!", LookupFailure::Invalid},
        {"F\xC3\xA9", LookupFailure::Invalid},
        {"0", LookupFailure::NoMatch},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.call);
        const LookupResult result = file.Lookup(std::string_view(r.call));
        EXPECT_FALSE(result.country) << Name(result);
        EXPECT_EQ(result.failure, r.failure);
    }
}

// Small files of one or two entities, for what the file in use does not show.
constexpr const char* kTwoEntities =
    "Alpha Land:  14:  27:  EU:   50.00:    -10.00:    -1.0:  A1:\n"
    "    A1,A2(15)[28],=A1XYZ<51.5/-0.5>{AF}~-2.5~;\n"
    "Beta Isle:   39:  53:  AF:  -20.00:    -57.00:    -4.0:  *B9:\n"
    "    B9;\n";

TEST(CountryFileTest, OverridesReplaceTheEntityValues) {
    const CountryFile file = CountryFile::Parse(kTwoEntities);
    EXPECT_EQ(file.skippedCount(), 0);
    const struct {
        const char* call;
        int cq, itu;
        const char* continent;
        double latitude, longitude, offset;
    } cases[] = {
        {"A1B", 14, 27, "EU", 50.0, -10.0, 1.0},
        {"A2B", 15, 28, "EU", 50.0, -10.0, 1.0},
        {"A1XYZ", 14, 27, "AF", 51.5, -0.5, 2.5},
        {"A1XYZA", 14, 27, "EU", 50.0, -10.0, 1.0},  // an exact call is not a prefix
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        const auto country = file.Lookup(std::string_view(c.call)).country;
        ASSERT_TRUE(country);
        EXPECT_EQ(country->cqZone, c.cq);
        EXPECT_EQ(country->ituZone, c.itu);
        EXPECT_EQ(country->continent.toStdString(), c.continent);
        EXPECT_DOUBLE_EQ(country->latitude, c.latitude);
        EXPECT_DOUBLE_EQ(country->longitude, c.longitude);
        EXPECT_DOUBLE_EQ(country->localOffset, c.offset);
    }

    // A WAE-only entity repeating a call of its DXCC entity leaves it there, in either order.
    const std::string wae = "Wae Isle: 14: 27: EU: 60: 1: 0: *A1/w:\n =A1XYZ;\n";
    for (const std::string& text : {wae + kTwoEntities, kTwoEntities + wae}) {
        const CountryFile mixed = CountryFile::Parse(text);
        EXPECT_EQ(mixed.skippedCount(), 0);
        EXPECT_EQ(mixed.Lookup(std::string_view("A1XYZ")).country->name, u"Alpha Land");
    }
}

// Whatever cannot be read is skipped and counted; the rest of the file stays usable.
TEST(CountryFileTest, MalformedFilesKeepWhatCanBeRead) {
    const std::string tooLong(200'000, 'Q');
    const struct {
        const char* what;
        std::string text;
        int skipped;
        bool alpha, beta;  // whether A1ABC and B9ABC still resolve
    } cases[] = {
        {"empty", "", 0, false, false},
        {"CR LF line ends", "Alpha Land: 14: 27: EU: 50: -10: -1: A1:\r\n A1;\r\n", 0, true, false},
        {"missing semicolon",
         "Alpha Land: 14: 27: EU: 50: -10: -1: A1:\n A1\nBeta Isle: 39: 53: AF: -20: -57: -4: B9:\n"
         " B9;\n",
         1, true, true},
        {"zone not a number",
         "Alpha Land: x4: 27: EU: 50: -10: -1: A1:\n A1;\nBeta Isle: 39: 53: AF: -20: -57: -4: "
         "B9:\n B9;\n",
         1, false, true},
        {"latitude out of range",
         "Alpha Land: 14: 27: EU: 95: -10: -1: A1:\n A1;\nBeta Isle: 39: 53: AF: -20: nan: -4: "
         "B9:\n"
         " B9;\n",
         2, false, false},
        {"control character in a prefix",
         "Alpha Land: 14: 27: EU: 50: -10: -1: A1:\n A\x01"
         "1,A1;\n",
         1, true, false},
        {"override never closed", "Alpha Land: 14: 27: EU: 50: -10: -1: A1:\n A1(14,B9;\n", 1,
         false, true},
        {"prefix given twice", "Alpha Land: 14: 27: EU: 50: -10: -1: A1:\n A1,A1;\n", 1, true,
         false},
        {"entries before any entity", " B9;\nAlpha Land: 14: 27: EU: 50: -10: -1: A1:\n A1;\n", 1,
         true, false},
        {"too long a line",
         "Alpha Land: 14: 27: EU: 50: -10: -1: A1:\n A1," + tooLong + ";\n" + tooLong + ": 1\n", 2,
         true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CountryFile file = CountryFile::Parse(c.text);
        EXPECT_EQ(file.skippedCount(), c.skipped) << file.skippedSummary().toStdString();
        EXPECT_EQ(file.skippedSummary().isEmpty(), c.skipped == 0);
        EXPECT_EQ(file.Lookup(std::string_view("A1ABC")).country.has_value(), c.alpha);
        EXPECT_EQ(file.Lookup(std::string_view("B9ABC")).country.has_value(), c.beta);
    }

    // A huge file is read up to the cap only, and says so.
    std::string huge = kTwoEntities;
    huge.resize(100'000'000, 'x');
    const CountryFile file = CountryFile::Parse(huge);
    EXPECT_TRUE(file.Lookup(std::string_view("B9ABC")).country);
    EXPECT_TRUE(file.skippedSummary().contains(QStringLiteral("premiers Mo")))
        << file.skippedSummary().toStdString();
}

// The version entry in its two forms.
TEST(CountryFileTest, VersionEntry) {
    const std::string base = "Alpha Land: 14: 27: EU: 50: -10: -1: A1:\n A1,";
    EXPECT_EQ(CountryFile::Parse(base + "=VERSION;").version(), QStringLiteral("Alpha Land"));
    const CountryFile dated = CountryFile::Parse(base + "=VER20070803;");
    EXPECT_EQ(dated.version(), QStringLiteral("20070803"));
    EXPECT_EQ(dated.versionDate(), 20070803);
    EXPECT_TRUE(CountryFile::Parse(base + "=VER2007;").version().isEmpty());
    EXPECT_EQ(CountryFile::ScanVersionDate(base + "=VER20070803,=VER20230502X,=VER20010101;"),
              20070803);
}

void WriteFile(const QString& path, const QByteArray& bytes, const QDateTime& modified) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
}

QByteArray Dated(int date) {
    QByteArray text(kTwoEntities);
    if (date > 0) {
        text += "Gamma: 14: 27: EU: 50: -10: -1: G1:\n =VER" + QByteArray::number(date) + ";\n";
    }
    return text;
}

TEST(LocateTest, ChoosesTheFileToRead) {
    const QDateTime older = QDateTime::currentDateTimeUtc().addDays(-30);
    const QDateTime newer = QDateTime::currentDateTimeUtc().addDays(-1);
    const struct {
        const char* what;
        const char* userName;  // "" for no user copy
        QDateTime userTime;
        bool system;
        QDateTime systemTime;
        bool givenOverride;
        CountryFileOrigin origin;
        int userDate = 0, systemDate = 0;  // release dates of "=VERyyyymmdd" entries, 0 for none
    } cases[] = {
        {"newer user copy", "cty.dat", newer, true, older, false, CountryFileOrigin::UserData},
        {"upper-case user copy", "CTY.DAT", newer, true, older, false, CountryFileOrigin::UserData},
        {"newer system copy", "cty.dat", older, true, newer, false, CountryFileOrigin::System},
        {"same time", "cty.dat", older, true, older, false, CountryFileOrigin::UserData},
        {"system only", "", {}, true, older, false, CountryFileOrigin::System},
        {"user only", "cty.dat", older, false, {}, false, CountryFileOrigin::UserData},
        {"command line", "cty.dat", newer, true, newer, true, CountryFileOrigin::CommandLine},
        {"none", "", {}, false, {}, false, CountryFileOrigin::None},
        // The release dates decide over the times when both files carry one.
        {"later system release", "cty.dat", newer, true, older, false, CountryFileOrigin::System,
         20230101, 20230502},
        {"later user release", "cty.dat", older, true, newer, false, CountryFileOrigin::UserData,
         20230502, 20230101},
        {"one release date only", "cty.dat", newer, true, older, false, CountryFileOrigin::UserData,
         0, 20230502},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir root;
        ASSERT_TRUE(root.isValid());
        const QString userDir = root.filePath(QStringLiteral("data"));
        ASSERT_TRUE(QDir().mkpath(userDir));
        const QString systemPath = root.filePath(QStringLiteral("system-cty.dat"));
        const QString givenPath = root.filePath(QStringLiteral("given.dat"));
        if (*c.userName != '\0') {
            WriteFile(userDir + QLatin1Char('/') + QString::fromLatin1(c.userName),
                      Dated(c.userDate), c.userTime);
        }
        if (c.system) {
            WriteFile(systemPath, Dated(c.systemDate), c.systemTime);
        }
        if (c.givenOverride) {
            WriteFile(givenPath, kTwoEntities, older);
        }
        const CountryFileChoice choice =
            FindCountryFile(userDir, systemPath, c.givenOverride ? givenPath : QString());
        EXPECT_EQ(choice.origin, c.origin);
        EXPECT_EQ(choice.path.isEmpty(), c.origin == CountryFileOrigin::None);
        if (c.origin == CountryFileOrigin::None) {
            EXPECT_TRUE(choice.message.contains(QDir::toNativeSeparators(userDir)));
        } else {
            EXPECT_TRUE(LoadCountryFile(choice.path).ok);
        }
    }
    // A file named on the command line that is not there is said so, not replaced by another.
    QTemporaryDir root;
    const CountryFileChoice missing =
        FindCountryFile(root.path(), kSystemFile, root.filePath(QStringLiteral("nope.dat")));
    EXPECT_EQ(missing.origin, CountryFileOrigin::None);
    EXPECT_TRUE(missing.message.contains(QStringLiteral("nope.dat")));
}

TEST(LocateTest, LoadingSaysWhatWentWrong) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString damaged = root.filePath(QStringLiteral("damaged.dat"));
    WriteFile(damaged, QByteArray(kTwoEntities) + "\x01\x02;\n", QDateTime::currentDateTimeUtc());
    const QString empty = root.filePath(QStringLiteral("empty.dat"));
    WriteFile(empty, QByteArray(), QDateTime::currentDateTimeUtc());
    const struct {
        QString path;
        bool ok;
        bool message;
    } cases[] = {
        {damaged, true, true},
        {empty, false, true},
        {root.filePath(QStringLiteral("absent.dat")), false, true},
        {root.path(), false, true},  // a folder
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const CountryFileLoad load = LoadCountryFile(c.path);
        EXPECT_EQ(load.ok, c.ok);
        EXPECT_TRUE(load.message.contains(QDir::toNativeSeparators(c.path)))
            << load.message.toStdString();
    }
}

}  // namespace

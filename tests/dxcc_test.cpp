// The country file: each call's country from the file the system installs and from small files of
// our own, what a damaged file keeps, its version, and which copy of it is read.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <sstream>
#include <string>

#include "dxcc/country_file.h"
#include "dxcc/locate.h"
#include "file_kinds.h"

namespace orbida::dxcc {
namespace {

const QString kSystemFile = QStringLiteral("/usr/share/hamradio-files/cty.dat");

// What a look-up gives, in one line: the country's name, zones, continent, position, local offset
// and the prefix or call that decided ("=" before an exact call, "*" for WAE only, "/7" for a call
// area), or the failure.
std::string Describe(const CountryFile& file, const char* call) {
    const LookupResult result = file.Lookup(std::string_view(call));
    if (!result.country) {
        return result.failure == LookupFailure::Invalid     ? "invalid"
               : result.failure == LookupFailure::NoCountry ? "no country"
                                                            : "no match";
    }
    const Country& c = *result.country;
    std::ostringstream out;
    out << c.name.toStdString() << ' ' << c.cqZone << ' ' << c.ituZone << ' '
        << c.continent.toStdString() << ' ' << c.latitude << ' ' << c.longitude << ' '
        << c.localOffset << ' ' << (c.exactCall ? "=" : "") << (c.waeOnly ? "*" : "")
        << c.matched.toStdString() << (c.callArea >= 0 ? "/" + std::to_string(c.callArea) : "");
    return out.str();
}

// The entity line of the installed file whose primary prefix (last field, WAE star dropped) is
// `prefix`, described as Describe() does for a call the prefix decides: the name, zones,
// continent, position and local offset (the file counts it west of UTC, the program east).
std::string EntityLine(const QByteArray& bytes, const QString& prefix, const QString& matched) {
    for (const QByteArray& line : bytes.split('\n')) {
        const QList<QByteArray> fields = line.split(':');
        if (fields.size() != 9 || line.startsWith(' ')) {
            continue;
        }
        QString primary = QString::fromLatin1(fields[7].trimmed());
        primary.remove(u'*');
        if (primary != prefix) {
            continue;
        }
        std::ostringstream out;
        out << fields[0].trimmed().toStdString() << ' ' << fields[1].trimmed().toInt() << ' '
            << fields[2].trimmed().toInt() << ' ' << fields[3].trimmed().toStdString() << ' '
            << fields[4].trimmed().toDouble() << ' ' << fields[5].trimmed().toDouble() << ' '
            << 0.0 - fields[6].trimmed().toDouble() << ' ' << matched.toStdString();
        return out.str();
    }
    return "no entity " + prefix.toStdString();
}

// The installed file, whatever its release: read whole, its version entry found, and each call
// given the entity of its prefix with the values of that entity's line. The exact calls and
// overrides of a release come and go, so they are checked on a file of our own below.
TEST(CountryFileTest, InstalledFileGivesEachCallItsEntity) {
    QFile system(kSystemFile);
    if (!system.open(QIODevice::ReadOnly)) {
        GTEST_SKIP() << "hamradio-files is not installed";
    }
    const QByteArray bytes = system.readAll();
    const CountryFile file = CountryFile::Parse(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    EXPECT_EQ(file.skippedCount(), 0) << file.skippedSummary().toStdString();
    EXPECT_GT(file.entityCount(), 340);
    EXPECT_GT(file.entryCount(), 20000);
    // The release date of the "=VERyyyymmdd" entry (some releases also have a "=VERSION" one).
    const QRegularExpressionMatch version =
        QRegularExpression(QStringLiteral("=VER(\\d{8})[,;]")).match(QString::fromLatin1(bytes));
    ASSERT_TRUE(version.hasMatch());
    EXPECT_EQ(file.version(), version.captured(1));
    // The call, the entity's primary prefix, and the prefix of the file that decides.
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"3B8CF", "3B8", "3B8"},
        {"JA1NUT/P", "JA", "JA"},
        {"EA8/DL1ABC", "EA8", "EA8"},
        {"DL1ABC/EA8", "EA8", "EA8"},
        {"4X1ABC", "4X", "4X"},
        {"MM/DL1ABC", "GM", "MM"},  // Scotland's prefix before the call, not maritime mobile
    };
    for (const auto& [call, entity, matched] : cases) {
        EXPECT_EQ(Describe(file, call), EntityLine(bytes, entity, matched)) << call;
    }
    for (const char* call : {"DL1ABC/MM", "EA8/DL1ABC/MM"}) {
        EXPECT_EQ(Describe(file, call), "no country") << call;
    }
}

// A file of our own for the rules that decide between entities: exact calls, call areas, WAE-only
// entities listing calls of their DXCC entity, and zone overrides.
TEST(CountryFileTest, ExactCallsCallAreasAndWaeEntities) {
    const CountryFile file = CountryFile::Parse(
        "Scotland: 14: 27: EU: 56.82: 4.18: 0.0: GM:\n GM,MM,=GM4AFF/P;\n"
        "Shetland Islands: 14: 27: EU: 60.50: 1.50: 0.0: *GM/s:\n =GM4AFF/P;\n"
        "Vienna Intl Ctr: 15: 28: EU: 48.20: -16.30: -1.0: *4U1V:\n =4U1A,=4U1VIC;\n"
        "Austria: 15: 28: EU: 47.33: -13.33: -1.0: OE:\n OE,=4U1A;\n"
        "Svalbard: 40: 18: EU: 78.00: -16.00: -1.0: JW:\n JW;\n"
        "Bear Island: 40: 18: EU: 74.43: -19.08: -1.0: *JW/b:\n =JW0BEA;\n"
        "United States: 05: 08: NA: 37.60: 91.87: 5.0: K:\n"
        " K,W,=N2NL/MM(7),=AL7QQ/P(4)[7],\n W7(3)[6];\n"
        "Alaska: 01: 01: NA: 61.40: 148.87: 8.0: KL:\n AL,KL;\n"
        "Sicily: 15: 28: EU: 37.50: -14.00: -1.0: *IT9:\n IT9;\n"
        "Italy: 15: 28: EU: 42.82: -12.58: -1.0: I:\n I;\n");
    EXPECT_EQ(file.skippedCount(), 0) << file.skippedSummary().toStdString();
    const std::pair<const char*, const char*> cases[] = {
        // The call area decides the zones: W7 carries its own.
        {"W1AW/7", "United States 3 6 NA 37.6 91.87 -5 W7/7"},
        {"W1AW", "United States 5 8 NA 37.6 91.87 -5 W"},
        // Shetland (WAE only) lists again calls of Scotland: Scotland keeps them.
        {"gm4aff/p", "Scotland 14 27 EU 56.82 4.18 0 =GM4AFF/P"},
        // Exact calls with zone overrides win over the prefix AL (Alaska) and the /P, /MM rules.
        {"AL7QQ/P", "United States 4 7 NA 37.6 91.87 -5 =AL7QQ/P"},
        {"AL7QQ", "Alaska 1 1 NA 61.4 148.87 -8 AL"},
        {"N2NL/MM", "United States 7 8 NA 37.6 91.87 -5 =N2NL/MM"},
        {"IT9ABC", "Sicily 15 28 EU 37.5 -14 1 *IT9"},
        {"I1ABC", "Italy 15 28 EU 42.82 -12.58 1 I"},
        {"JW0BEA", "Bear Island 40 18 EU 74.43 -19.08 1 =*JW0BEA"},
        // Vienna Intl Ctr (WAE only) lists 4U1A, and so does Austria, which keeps it.
        {"4U1A", "Austria 15 28 EU 47.33 -13.33 1 =4U1A"},
        {"4U1VIC", "Vienna Intl Ctr 15 28 EU 48.2 -16.3 1 =*4U1VIC"},
        {"MM/DL1ABC", "Scotland 14 27 EU 56.82 4.18 0 MM"},
        {"DL1ABC/MM", "no country"},
        {"", "invalid"},
        {"F\xC3\xA9", "invalid"},
        {"0", "no match"},
    };
    for (const auto& [call, description] : cases) {
        EXPECT_EQ(Describe(file, call), description) << call;
    }
    EXPECT_EQ(file.Lookup(std::string_view("JW0BEA")).country->primaryPrefix, "JW/b");
}

// Small files of one or two entities, for what the file in use does not show.
const std::string kAlpha = "Alpha Land: 14: 27: EU: 50: -10: -1: A1:\n";
const std::string kTwoEntities = kAlpha + " A1,A2(15)[28]~-3~,=A1XYZ<51.5/-0.5>{AF}~-2.5~;\n" +
                                 "Beta Isle: 39: 53: AF: -20: -57: -4: *B9:\n B9;\n";

TEST(CountryFileTest, OverridesReplaceTheEntityValues) {
    const CountryFile file = CountryFile::Parse(kTwoEntities);
    EXPECT_EQ(file.skippedCount(), 0);
    EXPECT_EQ(Describe(file, "A1B"), "Alpha Land 14 27 EU 50 -10 1 A1");
    EXPECT_EQ(Describe(file, "A2B"), "Alpha Land 15 28 EU 50 -10 3 A2");
    EXPECT_EQ(Describe(file, "A1XYZ"), "Alpha Land 14 27 AF 51.5 -0.5 2.5 =A1XYZ");
    EXPECT_EQ(Describe(file, "A1XYZA"), "Alpha Land 14 27 EU 50 -10 1 A1") << "not a prefix";
    // A WAE-only entity repeating a call of its DXCC entity leaves it there, in either order.
    const std::string wae = "Wae Isle: 14: 27: EU: 60: 1: 0: *A1/w:\n =A1XYZ;\n";
    for (const std::string& text : {wae + kTwoEntities, kTwoEntities + wae}) {
        const CountryFile mixed = CountryFile::Parse(text);
        EXPECT_EQ(mixed.skippedCount(), 0);
        EXPECT_EQ(mixed.Lookup(std::string_view("A1XYZ")).country->name, u"Alpha Land");
    }
}

// Of two parts of one length, the prefix is the one with no letter after its last digit; when
// that does not decide, the first.
TEST(CountryFileTest, TwoPartsOfOneLength) {
    const CountryFile file = CountryFile::Parse(
        "Hawaii: 31: 61: OC: 21.12: 157.48: 10: KH6:\n KH6;\n"
        "United States: 5: 8: NA: 37.6: 91.87: 5: K:\n K;\n"
        "Canada: 5: 9: NA: 44.35: 78.75: 5: VE:\n VE,CK;\n");
    ASSERT_EQ(file.skippedCount(), 0);
    const std::pair<const char*, const char*> cases[] = {
        {"KH6/K1A", "Hawaii"},         {"K1A/KH6", "Hawaii"},  {"VE3/K1A", "Canada"},
        {"CK5/K3H", "Canada"},         {"KH6/VE3", "Hawaii"},  {"VE3/KH6", "Canada"},
        {"K1A/VE3B", "United States"}, {"K1AB/VE3", "Canada"}, {"K1A/VE3", "Canada"},
    };
    for (const auto& [call, country] : cases) {
        const LookupResult result = file.Lookup(std::string_view(call));
        ASSERT_TRUE(result.country.has_value()) << call;
        EXPECT_EQ(result.country->name.toStdString(), country) << call;
    }
}

// Whatever cannot be read is skipped and counted; the rest of the file stays usable.
TEST(CountryFileTest, MalformedFilesKeepWhatCanBeRead) {
    const std::string beta = "Beta Isle: 39: 53: AF: -20: -57: -4: B9:\n B9;\n";
    const std::string tooLong(200'000, 'Q');
    // The text, the entries skipped, and whether A1ABC and B9ABC still resolve.
    const std::tuple<std::string, int, bool, bool> cases[] = {
        {"", 0, false, false},
        {"Alpha Land: 14: 27: EU: 50: -10: -1: A1:\r\n A1;\r\n", 0, true, false},
        {kAlpha + " A1\n" + beta, 1, true, true},  // missing semicolon
        {"Alpha Land: x4: 27: EU: 50: -10: -1: A1:\n A1;\n" + beta, 1, false, true},
        {"Alpha Land: 14: 27: EU: 95: -10: -1: A1:\n A1;\nB: 39: 53: AF: -20: nan: -4: B9:\n B9;\n",
         2, false, false},
        {kAlpha + " A\0011,A1;\n", 1, true, false},  // a control character in a prefix
        {kAlpha + " A1(14,B9;\n", 1, false, true},   // an override never closed
        {kAlpha + " A1,A1;\n", 1, true, false},
        {" B9;\n" + kAlpha + " A1;\n", 1, true, false},  // entries before any entity
        {kAlpha + " A1," + tooLong + ";\n" + tooLong + ": 1\n", 2, true, false},
    };
    for (const auto& [text, skipped, findsA1, findsB9] : cases) {
        SCOPED_TRACE(text.substr(0, 60));
        const CountryFile file = CountryFile::Parse(text);
        EXPECT_EQ(file.skippedCount(), skipped) << file.skippedSummary().toStdString();
        EXPECT_EQ(file.skippedSummary().isEmpty(), skipped == 0);
        EXPECT_EQ(file.Lookup(std::string_view("A1ABC")).country.has_value(), findsA1);
        EXPECT_EQ(file.Lookup(std::string_view("B9ABC")).country.has_value(), findsB9);
    }
    // A huge file is read up to the cap only, and says so.
    std::string huge = kTwoEntities;
    huge.resize(100'000'000, 'x');
    const CountryFile file = CountryFile::Parse(huge);
    EXPECT_TRUE(file.Lookup(std::string_view("B9ABC")).country);
    EXPECT_TRUE(file.skippedSummary().contains(QStringLiteral("premiers Mo")));
}

// The version entry in its two forms.
TEST(CountryFileTest, VersionEntry) {
    const std::string base = kAlpha + " A1,";
    EXPECT_EQ(CountryFile::Parse(base + "=VERSION;").version(), QStringLiteral("Alpha Land"));
    const CountryFile dated = CountryFile::Parse(base + "=VER20070803;");
    EXPECT_EQ(dated.version(), QStringLiteral("20070803"));
    EXPECT_EQ(dated.versionDate(), 20070803);
    EXPECT_TRUE(CountryFile::Parse(base + "=VER2007;").version().isEmpty());
    EXPECT_EQ(CountryFile::ScanVersionDate(base + "=VER20070803,=VER20230502X,=VER20010101;"),
              20070803);
}

// A file of the two entities, with a release date when one is given, modified at a time.
void WriteFile(const QString& path, const QDateTime& modified, int date = 0) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kTwoEntities.c_str());
    if (date > 0) {
        file.write("Gamma: 14: 27: EU: 50: -10: -1: G1:\n =VER" + QByteArray::number(date) + ";\n");
    }
    file.close();
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
}

// The user's copy, the system's or the one named on the command line: the newer release when both
// carry a date, else the newer file, the user's on a tie. A file named on the command line that is
// not there is said so, not replaced by another.
TEST(LocateTest, ChoosesTheFileToRead) {
    using enum CountryFileOrigin;
    const QDateTime old = QDateTime::currentDateTimeUtc().addDays(-30);
    const QDateTime recent = QDateTime::currentDateTimeUtc().addDays(-1);
    enum Given { kNone, kThere, kMissing };
    const struct {
        const char* userName;            // "" for no user copy
        QDateTime userTime, systemTime;  // a null time for no system copy
        Given given;
        CountryFileOrigin origin;
        int userDate = 0, systemDate = 0;  // release dates of "=VERyyyymmdd" entries, 0 for none
    } cases[] = {
        {"cty.dat", recent, old, kNone, UserData},
        {"CTY.DAT", recent, old, kNone, UserData},
        {"cty.dat", old, recent, kNone, System},
        {"cty.dat", old, old, kNone, UserData},
        {"", {}, old, kNone, System},
        {"cty.dat", recent, recent, kThere, CommandLine},
        {"", {}, {}, kNone, None},
        {"cty.dat", recent, recent, kMissing, None},
        {"cty.dat", recent, old, kNone, System, 20230101, 20230502},
        {"cty.dat", recent, old, kNone, UserData, 0, 20230502},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.userName << " " << static_cast<int>(c.origin));
        QTemporaryDir root;
        const QString userDir = root.filePath(QStringLiteral("data"));
        ASSERT_TRUE(QDir().mkpath(userDir));
        const QString systemPath = root.filePath(QStringLiteral("system-cty.dat"));
        const QString givenPath = root.filePath(QStringLiteral("given.dat"));
        if (*c.userName != '\0') {
            WriteFile(userDir + '/' + c.userName, c.userTime, c.userDate);
        }
        if (c.systemTime.isValid()) {
            WriteFile(systemPath, c.systemTime, c.systemDate);
        }
        if (c.given == kThere) {
            WriteFile(givenPath, old);
        }
        const CountryFileChoice choice =
            FindCountryFile(userDir, systemPath, c.given != kNone ? givenPath : QString());
        EXPECT_EQ(choice.origin, c.origin);
        EXPECT_EQ(choice.path.isEmpty(), c.origin == None);
        if (c.origin == None) {
            EXPECT_TRUE(choice.message.contains(
                c.given == kMissing ? givenPath : QDir::toNativeSeparators(userDir)));
        } else {
            EXPECT_TRUE(LoadCountryFile(choice.path).ok);
        }
    }
}

// A copy that is there but cannot be read (a pipe, a device, a folder, a loop of links, even when
// it would be the newer) is passed over for the other, named with what it is; a --cty file of the
// kind says what it is, not that it is missing. Nothing waits.
TEST(LocateTest, PassesOverACopyThatCannotBeRead) {
    const QDateTime old = QDateTime::currentDateTimeUtc().addDays(-30);
    for (const auto& kind : testing::OddKinds()) {
        SCOPED_TRACE(kind.name);
        QTemporaryDir root;
        const QString userDir = root.filePath(QStringLiteral("data"));
        ASSERT_TRUE(QDir().mkpath(userDir));
        const QString odd = userDir + QStringLiteral("/cty.dat");
        if (!kind.make(userDir, odd)) {
            continue;  // a device node needs root
        }
        const QString systemPath = root.filePath(QStringLiteral("system-cty.dat"));
        WriteFile(systemPath, old, 20230502);
        const QString said = QString::fromUtf8(kind.said);
        const testing::PipeWatchdog watchdog(root.path());
        // The system's copy read instead, the user's named.
        const CountryFileChoice fallback = FindCountryFile(userDir, systemPath, {});
        EXPECT_EQ(fallback.origin, CountryFileOrigin::System);
        EXPECT_TRUE(fallback.skipped.contains(QDir::toNativeSeparators(odd)) &&
                    fallback.skipped.contains(said))
            << fallback.skipped.toStdString();
        // Without it, no file, and the note says why.
        ASSERT_TRUE(QFile::remove(systemPath));
        const CountryFileChoice none = FindCountryFile(userDir, systemPath, {});
        EXPECT_EQ(none.origin, CountryFileOrigin::None);
        EXPECT_TRUE(none.message.contains(said)) << none.message.toStdString();
        // Given with --cty: what it is.
        const CountryFileChoice given = FindCountryFile({}, {}, odd);
        EXPECT_EQ(given.origin, CountryFileOrigin::None);
        EXPECT_TRUE(given.message.contains(said) && !given.message.contains("introuvable"))
            << given.message.toStdString();
        // Loaded all the same (swapped in after the choice): refused with what it is.
        const CountryFileLoad load = LoadCountryFile(odd);
        EXPECT_FALSE(load.ok);
        EXPECT_TRUE(load.message.contains(said)) << load.message.toStdString();
        EXPECT_FALSE(watchdog.Fired());
    }
}

}  // namespace
}  // namespace orbida::dxcc

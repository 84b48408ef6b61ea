#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace orbida::dxcc {

// What a callsign resolves to: the country's values from its entity line, with the overrides of
// the prefix or exact call that matched laid over them.
struct Country {
    QString name;           // as the file spells it ("Mauritius")
    QString primaryPrefix;  // without the WAE star ("3B8", "4U1V")
    QString continent;      // AF, AN, AS, EU, NA, OC or SA
    int cqZone = 0;
    int ituZone = 0;
    double latitude = 0.0;   // degrees, north positive
    double longitude = 0.0;  // degrees, WEST positive, as the file and the rest of the program
    // Local time minus UTC in hours, east positive (Mauritius +4, the United States -5). The file
    // writes it the other way round, like its longitudes.
    double localOffset = 0.0;
    bool waeOnly = false;  // counts only for the WAE list (a star before the primary prefix)

    QString callsign;        // what was looked up, upper case, blanks removed
    QString matched;         // the prefix or exact call of the file that decided
    bool exactCall = false;  // matched was an exact call ("=VK0EK")
    int callArea = -1;       // the digit of a "/7" suffix, -1 without one
};

// Why a look-up gave nothing.
enum class LookupFailure {
    Invalid,    // empty, too long, or characters a callsign never has
    NoCountry,  // /MM or /AM: maritime or aeronautical mobile
    NoMatch,    // no prefix of the file fits
};

struct LookupResult {
    std::optional<Country> country;
    LookupFailure failure = LookupFailure::NoMatch;  // meaningful only without a country
};

// A country file, read once and immutable afterwards: copies share the data and any number of
// threads may look up at once. Parse it in a worker or on first use; it takes a few milliseconds.
class CountryFile {
  public:
    // Bytes read at most; the rest of a longer file is ignored (and said so in the summary). The
    // file in use is about a third of a megabyte.
    static constexpr std::size_t kMaxBytes = 4u * 1024u * 1024u;

    CountryFile();  // empty: every look-up fails with NoMatch

    // Reads the text of a country file. Whatever cannot be read (an entity line with a field that
    // is not a number, an entry with characters no callsign has, an entity never closed by its
    // semicolon, bytes past kMaxBytes) is skipped and counted; the rest is kept.
    static CountryFile Parse(std::string_view bytes);

    // Looks up a callsign or a prefix, in any letter case.
    LookupResult Lookup(std::string_view callsign) const;
    LookupResult Lookup(const QString& callsign) const;

    bool isEmpty() const;
    int entityCount() const;
    int entryCount() const;  // prefixes and exact calls

    // Things skipped while reading, and a French sentence saying so (empty when none was).
    int skippedCount() const;
    QString skippedSummary() const;

    // The release of the file: the date of its "=VERyyyymmdd" entry ("20230502"); without one,
    // the name of the entity that lists "=VERSION", which changes at each release and which the
    // release notes name. Empty when the file has neither.
    QString version() const;
    // The release date as yyyymmdd from a "=VERyyyymmdd" entry, 0 without one.
    std::int32_t versionDate() const;

    struct Data;

    // The release date of the text of a country file, from its "=VERyyyymmdd" entry, without
    // reading the rest: the latest when there are several, 0 without one.
    static std::int32_t ScanVersionDate(std::string_view bytes);

  private:
    explicit CountryFile(std::shared_ptr<const Data> data);
    std::shared_ptr<const Data> data_;
};

}  // namespace orbida::dxcc

#include "dxcc/country_file.h"

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace orbida::dxcc {
namespace {

// Longest prefix or exact call kept from the file; the longest in use are about fifteen characters
// ("=4U2STAYHOME", "=9H1VC/KHS/P"). A callsign looked up may be twice as long.
constexpr std::size_t kMaxCall = 24;
constexpr std::size_t kMaxLookup = 2 * kMaxCall;
constexpr std::size_t kMaxName = 64;
// Line numbers quoted in the summary.
constexpr std::size_t kQuotedLines = 5;

constexpr std::array<std::string_view, 7> kContinents = {"AF", "AN", "AS", "EU", "NA", "OC", "SA"};

const std::array<QString, 7>& ContinentNames() {
    static const std::array<QString, 7> names = {
        QStringLiteral("AF"), QStringLiteral("AN"), QStringLiteral("AS"), QStringLiteral("EU"),
        QStringLiteral("NA"), QStringLiteral("OC"), QStringLiteral("SA")};
    return names;
}

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

struct Entity {
    QString name;
    QString primaryPrefix;
    int continent = 0;  // index in kContinents
    int cqZone = 0;
    int ituZone = 0;
    double latitude = 0.0;
    double longitude = 0.0;
    double localOffset = 0.0;
    bool waeOnly = false;
};

// A prefix or exact call as read. Overrides left unset are 0, -1 or NaN.
struct Entry {
    std::uint32_t entity = 0;
    int cqZone = 0;
    int ituZone = 0;
    int continent = -1;
    double latitude = kNone;
    double longitude = kNone;
    double localOffset = kNone;
};

// The place overrides of an entry: few entries have them, so they are kept aside.
struct Place {
    double latitude = kNone;
    double longitude = kNone;
    double localOffset = kNone;
};

// An entry as kept: a file lists tens of thousands, so the zones and the continent (checked to
// fit on reading) take a byte each and the place overrides are an index into the list of places.
struct StoredEntry {
    static constexpr std::uint32_t kNoPlace = 0xFFFFFFFFu;
    std::uint32_t entity = 0;
    std::uint32_t place = kNoPlace;
    std::uint8_t cqZone = 0;
    std::uint8_t ituZone = 0;
    std::int8_t continent = -1;
};

// An open-addressing hash table from keys (prefixes or calls, upper case, at most kMaxCall
// characters) to entry numbers. The keys live side by side in one string, so that reading a file
// of tens of thousands of entries allocates a few dozen times rather than once per entry.
class KeyTable {
  public:
    std::optional<std::uint32_t> Find(std::string_view key) const {
        if (slots_.empty()) {
            return std::nullopt;
        }
        for (std::size_t i = Hash(key) & Mask();; i = (i + 1) & Mask()) {
            const Slot& slot = slots_[i];
            if (slot.length == 0) {
                return std::nullopt;
            }
            if (KeyOf(slot) == key) {
                return std::uint32_t{slot.value};
            }
        }
    }

    // Stores value under key when the key is new. Returns the value stored under key and whether
    // it was added.
    std::pair<std::uint32_t, bool> Insert(std::string_view key, std::uint32_t value) {
        if (4 * (size_ + 1) > 3 * slots_.size()) {  // at most three quarters full
            Grow();
        }
        std::size_t i = Hash(key) & Mask();
        for (; slots_[i].length != 0; i = (i + 1) & Mask()) {
            if (KeyOf(slots_[i]) == key) {
                return {std::uint32_t{slots_[i].value}, false};
            }
        }
        slots_[i].offset = static_cast<std::uint32_t>(keys_.size());
        slots_[i].length = static_cast<std::uint32_t>(key.size()) & 63u;
        slots_[i].value = value & 0x3FFFFFFu;
        keys_.append(key);
        ++size_;
        return {value, true};
    }

    // Gives back what the key string reserved beyond its use, once every key is in.
    void Compact() { keys_.shrink_to_fit(); }

  private:
    // Eight bytes: a key is at most kMaxCall characters, and a file of at most kMaxBytes holds
    // fewer than 2^26 entries.
    struct Slot {
        std::uint32_t offset = 0;
        std::uint32_t length : 6 = 0;  // 0: empty
        std::uint32_t value : 26 = 0;
    };
    static_assert(kMaxCall < 64 && CountryFile::kMaxBytes < (std::size_t{1} << 26));

    static std::size_t Hash(std::string_view key) {
        std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
        for (const char c : key) {
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        }
        return static_cast<std::size_t>(hash ^ (hash >> 29));
    }

    std::size_t Mask() const { return slots_.size() - 1; }

    std::string_view KeyOf(const Slot& slot) const {
        return std::string_view(keys_).substr(slot.offset, slot.length);
    }

    void Grow() {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(old.empty() ? 1024 : 2 * old.size(), Slot{});
        for (const Slot& slot : old) {
            if (slot.length != 0) {
                std::size_t i = Hash(KeyOf(slot)) & Mask();
                while (slots_[i].length != 0) {
                    i = (i + 1) & Mask();
                }
                slots_[i] = slot;
            }
        }
    }

    std::vector<Slot> slots_;
    std::string keys_;
    std::size_t size_ = 0;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsCallChar(char c) {
    return IsDigit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '/';
}

// A whole field as an integer in [low, high]; blanks around it are allowed, a leading '+' too.
std::optional<int> ReadInt(std::string_view text, int low, int high) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low ||
        value > high) {
        return std::nullopt;
    }
    return value;
}

// A whole field as a decimal number in [-limit, limit]; "inf", "nan" and hexadecimal are refused.
std::optional<double> ReadNumber(std::string_view text, double limit) {
    text = Trim(text);
    std::string_view digits = text;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        digits.remove_prefix(1);
    }
    if (digits.empty() || !(IsDigit(digits.front()) || digits.front() == '.')) {
        return std::nullopt;
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
        std::fabs(value) > limit) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> ReadContinent(std::string_view text) {
    text = Trim(text);
    if (text.size() != 2) {
        return std::nullopt;
    }
    const std::string upper{Upper(text[0]), Upper(text[1])};
    for (std::size_t k = 0; k < kContinents.size(); ++k) {
        if (kContinents[k] == upper) {
            return static_cast<int>(k);
        }
    }
    return std::nullopt;
}

// The eight fields of an entity line. The primary prefix keeps its letter case ("3D2/c"): it is
// a label, never looked up.
std::optional<Entity> ReadEntity(const std::array<std::string_view, 8>& fields) {
    Entity entity;
    const std::string_view name = Trim(fields[0]);
    if (name.empty() || name.size() > kMaxName) {
        return std::nullopt;
    }
    for (const char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) {
            return std::nullopt;
        }
    }
    std::string_view prefix = Trim(fields[7]);
    if (!prefix.empty() && prefix.front() == '*') {
        entity.waeOnly = true;
        prefix.remove_prefix(1);
    }
    if (prefix.empty() || prefix.size() > kMaxCall ||
        !std::all_of(prefix.begin(), prefix.end(), IsCallChar)) {
        return std::nullopt;
    }
    const auto cq = ReadInt(fields[1], 1, 40);
    const auto itu = ReadInt(fields[2], 1, 90);
    const auto continent = ReadContinent(fields[3]);
    const auto latitude = ReadNumber(fields[4], 90.0);
    const auto longitude = ReadNumber(fields[5], 180.0);
    const auto offset = ReadNumber(fields[6], 24.0);
    if (!cq || !itu || !continent || !latitude || !longitude || !offset) {
        return std::nullopt;
    }
    entity.name =
        QString::fromUtf8(QByteArrayView(name.data(), static_cast<qsizetype>(name.size())));
    entity.primaryPrefix =
        QString::fromLatin1(QByteArrayView(prefix.data(), static_cast<qsizetype>(prefix.size())));
    entity.cqZone = *cq;
    entity.ituZone = *itu;
    entity.continent = *continent;
    entity.latitude = *latitude;
    entity.longitude = *longitude;
    entity.localOffset = *offset == 0.0 ? 0.0 : -*offset;
    return entity;
}

// One prefix or exact call with its overrides: "=AL7QQ/P(4)[7]", "VK9X<-10.5/-105.7>~-7~".
// The key comes out in upper case. Anything malformed refuses the whole entry.
bool ReadEntry(std::string_view token, std::string& key, bool& exact, Entry& entry) {
    exact = !token.empty() && token.front() == '=';
    if (exact) {
        token.remove_prefix(1);
    }
    std::size_t pos = 0;
    while (pos < token.size() && IsCallChar(token[pos])) {
        ++pos;
    }
    if (pos == 0 || pos > kMaxCall) {
        return false;
    }
    key.assign(token.substr(0, pos));
    std::transform(key.begin(), key.end(), key.begin(), Upper);

    while (pos < token.size()) {
        const char open = token[pos];
        char close = 0;
        switch (open) {
            case '(':
                close = ')';
                break;
            case '[':
                close = ']';
                break;
            case '<':
                close = '>';
                break;
            case '{':
                close = '}';
                break;
            case '~':
                close = '~';
                break;
            default:
                return false;
        }
        const std::size_t end = token.find(close, pos + 1);
        if (end == std::string_view::npos) {
            return false;
        }
        const std::string_view inside = token.substr(pos + 1, end - pos - 1);
        pos = end + 1;
        if (open == '(') {
            const auto cq = ReadInt(inside, 1, 40);
            if (!cq) {
                return false;
            }
            entry.cqZone = *cq;
        } else if (open == '[') {
            const auto itu = ReadInt(inside, 1, 90);
            if (!itu) {
                return false;
            }
            entry.ituZone = *itu;
        } else if (open == '<') {
            const std::size_t slash = inside.find('/');
            if (slash == std::string_view::npos) {
                return false;
            }
            const auto latitude = ReadNumber(inside.substr(0, slash), 90.0);
            const auto longitude = ReadNumber(inside.substr(slash + 1), 180.0);
            if (!latitude || !longitude) {
                return false;
            }
            entry.latitude = *latitude;
            entry.longitude = *longitude;
        } else if (open == '{') {
            const auto continent = ReadContinent(inside);
            if (!continent) {
                return false;
            }
            entry.continent = *continent;
        } else {
            const auto offset = ReadNumber(inside, 24.0);
            if (!offset) {
                return false;
            }
            entry.localOffset = *offset == 0.0 ? 0.0 : -*offset;
        }
    }
    return true;
}

// "VER" and eight digits: the date form of the version entry.
std::int32_t VersionDate(std::string_view key) {
    if (key.size() != 11 || !key.starts_with("VER")) {
        return 0;
    }
    std::int32_t date = 0;
    for (const char c : key.substr(3)) {
        if (!IsDigit(c)) {
            return 0;
        }
        date = date * 10 + (c - '0');
    }
    return date;
}

}  // namespace

struct CountryFile::Data {
    std::vector<Entity> entities;
    std::vector<StoredEntry> entries;
    std::vector<Place> places;
    KeyTable calls;  // exact calls
    KeyTable prefixes;
    std::size_t longestPrefix = 0;

    int skipped = 0;
    std::vector<int> skippedLines;  // the first few, for the summary
    bool truncated = false;
    QString version;
    std::int32_t versionDate = 0;

    void Skip(int line) {
        ++skipped;
        if (skippedLines.size() < kQuotedLines &&
            (skippedLines.empty() || skippedLines.back() != line)) {
            skippedLines.push_back(line);
        }
    }

    StoredEntry Store(const Entry& entry) {
        StoredEntry stored;
        stored.entity = entry.entity;
        stored.cqZone = static_cast<std::uint8_t>(entry.cqZone);
        stored.ituZone = static_cast<std::uint8_t>(entry.ituZone);
        stored.continent = static_cast<std::int8_t>(entry.continent);
        if (!std::isnan(entry.latitude) || !std::isnan(entry.longitude) ||
            !std::isnan(entry.localOffset)) {
            stored.place = static_cast<std::uint32_t>(places.size());
            places.push_back({entry.latitude, entry.longitude, entry.localOffset});
        }
        return stored;
    }

    // Adds a prefix or exact call of the last entity read.
    void Add(std::string_view key, bool exact, const Entry& entry, int line) {
        KeyTable& table = exact ? calls : prefixes;
        const auto [stored, added] = table.Insert(key, static_cast<std::uint32_t>(entries.size()));
        if (added) {
            entries.push_back(Store(entry));
            if (!exact) {
                longestPrefix = std::max(longestPrefix, key.size());
            } else if (const std::int32_t date = VersionDate(key); date > versionDate) {
                versionDate = date;
            }
        } else if (entities[entries[stored].entity].waeOnly && !entities[entry.entity].waeOnly) {
            // A WAE-only entity lists again calls of the DXCC entity it lies in (Shetland in
            // Scotland): the DXCC entity keeps them, whichever comes first.
            entries[stored] = Store(entry);
        } else if (!entities[entry.entity].waeOnly) {
            Skip(line);
        }
    }

    std::optional<std::uint32_t> LongestPrefix(std::string_view call, std::size_t& length) const {
        for (length = std::min(call.size(), longestPrefix); length > 0; --length) {
            if (const auto index = prefixes.Find(call.substr(0, length))) {
                return index;
            }
        }
        return std::nullopt;
    }
};

// How the reader goes through the file:
// - Lines end at LF, CR or CR LF. A line holding a colon is an entity line (no prefix has one);
//   any other line carries prefixes and calls separated by commas, and a semicolon closes the
//   entity. Lines have no length limit of their own; names, prefixes and calls have.
// - An entity line that comes while the previous entity is still open means its semicolon is
//   missing: that is counted, the entries read so far are kept, and the new entity starts.
// - An entity line that cannot be read is counted once and its entries are passed over up to its
//   semicolon. An entry that cannot be read is counted and dropped; so is a prefix or call the
//   file already gave (the first one stays). A WAE-only entity repeats calls of the DXCC entity it
//   lies in: that is no fault, and the DXCC entity keeps them whatever their order. Entries
//   outside any entity count once per line.
// Time is linear in the size of what is read, and only the first kMaxBytes are read.
CountryFile CountryFile::Parse(std::string_view bytes) {
    auto data = std::make_shared<Data>();
    if (bytes.size() > kMaxBytes) {
        bytes = bytes.substr(0, kMaxBytes);
        data->truncated = true;
    }
    data->entities.reserve(400);
    data->entries.reserve(std::min<std::size_t>(bytes.size() / 10, 50'000));

    enum class State { Outside, Open, Passing };
    State state = State::Outside;
    int lineNumber = 0;
    std::string key;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = pos;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r') {
            ++end;
        }
        std::string_view line = bytes.substr(pos, end - pos);
        pos =
            end + (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n' ? 2 : 1);
        ++lineNumber;

        if (line.find(':') != std::string_view::npos) {
            if (state == State::Open) {
                data->Skip(lineNumber - 1);  // the previous entity's semicolon is missing
            }
            std::array<std::string_view, 8> fields;
            std::size_t count = 0;
            while (count < fields.size()) {
                const std::size_t colon = line.find(':');
                if (colon == std::string_view::npos) {
                    break;
                }
                fields[count++] = line.substr(0, colon);
                line.remove_prefix(colon + 1);
            }
            std::optional<Entity> entity;
            if (count == fields.size()) {
                entity = ReadEntity(fields);
            }
            if (entity) {
                data->entities.push_back(std::move(*entity));
                state = State::Open;
            } else {
                data->Skip(lineNumber);
                state = State::Passing;
                line = {};
                // An entity line that cannot be read may still be followed by entries; they are
                // passed over with it. One without colons enough has no entries after it either.
            }
        }

        bool orphans = false;
        while (!line.empty()) {
            std::size_t separator = 0;
            while (separator < line.size() && line[separator] != ',' && line[separator] != ';') {
                ++separator;
            }
            if (separator == line.size()) {
                separator = std::string_view::npos;
            }
            const std::string_view token =
                Trim(line.substr(0, separator == std::string_view::npos ? line.size() : separator));
            if (!token.empty()) {
                if (state == State::Open) {
                    Entry entry;
                    bool exact = false;
                    if (ReadEntry(token, key, exact, entry)) {
                        entry.entity = static_cast<std::uint32_t>(data->entities.size() - 1);
                        data->Add(key, exact, entry, lineNumber);
                    } else {
                        data->Skip(lineNumber);
                    }
                } else if (state == State::Outside) {
                    orphans = true;
                }
            }
            if (separator == std::string_view::npos) {
                break;
            }
            if (line[separator] == ';') {
                state = State::Outside;
            }
            line.remove_prefix(separator + 1);
        }
        if (orphans) {
            data->Skip(lineNumber);
        }
    }
    if (state == State::Open) {
        data->Skip(lineNumber);  // the last entity's semicolon is missing
    }
    data->entries.shrink_to_fit();
    data->places.shrink_to_fit();
    data->calls.Compact();
    data->prefixes.Compact();

    if (data->versionDate > 0) {
        data->version = QString::number(data->versionDate);
    } else if (const auto index = data->calls.Find("VERSION")) {
        data->version = data->entities[data->entries[*index].entity].name;
    }
    return CountryFile(std::move(data));
}

std::int32_t CountryFile::ScanVersionDate(std::string_view bytes) {
    bytes = bytes.substr(0, std::min(bytes.size(), kMaxBytes));
    std::int32_t latest = 0;
    for (std::size_t pos = bytes.find("=VER"); pos != std::string_view::npos;
         pos = bytes.find("=VER", pos + 1)) {
        std::size_t end = pos + 1;
        while (end < bytes.size() && IsCallChar(bytes[end])) {
            ++end;
        }
        latest = std::max(latest, VersionDate(bytes.substr(pos + 1, end - pos - 1)));
    }
    return latest;
}

CountryFile::CountryFile() : data_(std::make_shared<const Data>()) {}

CountryFile::CountryFile(std::shared_ptr<const Data> data) : data_(std::move(data)) {}

bool CountryFile::isEmpty() const {
    return data_->entries.empty();
}

int CountryFile::entityCount() const {
    return static_cast<int>(data_->entities.size());
}

int CountryFile::entryCount() const {
    return static_cast<int>(data_->entries.size());
}

int CountryFile::skippedCount() const {
    return data_->skipped;
}

QString CountryFile::skippedSummary() const {
    QStringList parts;
    if (data_->skipped > 0) {
        QStringList lines;
        for (const int line : data_->skippedLines) {
            lines << QString::number(line);
        }
        const bool more = data_->skipped > static_cast<int>(data_->skippedLines.size());
        parts << QCoreApplication::translate("CountryFile",
                                             "%n élément(s) illisible(s) ignoré(s) (ligne(s) %1).",
                                             nullptr, data_->skipped)
                     .arg(lines.join(QStringLiteral(", ")) +
                          (more ? QStringLiteral("…") : QString()));
    }
    if (data_->truncated) {
        parts << QCoreApplication::translate(
                     "CountryFile",
                     "Fichier trop grand\u00A0: seuls ses %1 premiers Mo ont été lus.")
                     .arg(kMaxBytes / (1024u * 1024u));
    }
    return parts.join(QLatin1Char(' '));
}

QString CountryFile::version() const {
    return data_->version;
}

std::int32_t CountryFile::versionDate() const {
    return data_->versionDate;
}

LookupResult CountryFile::Lookup(const QString& callsign) const {
    if (callsign.size() > 64) {
        return {std::nullopt, LookupFailure::Invalid};
    }
    for (const QChar c : callsign) {
        if (c.unicode() >= 0x80) {
            return {std::nullopt, LookupFailure::Invalid};
        }
    }
    const QByteArray bytes = callsign.toLatin1();
    return Lookup(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

// Reading a callsign, as loggers do:
// - the whole call as an exact call of the file first ("=VK0/K2ARB", "=3D2AG/P");
// - /MM and /AM after the call: no country. /P, /M, /QRP and /A after it are dropped, and what
//   remains is tried again as an exact call;
// - a single digit after it is the call area: it replaces the last digit of the call
//   (W1AW/7 is looked up as W7AW);
// - with two parts or more, the base call is the longest part (the first of equals) and the
//   others are prefixes: the shortest of them that a prefix of the file fits decides
//   (EA8/DL1ABC and DL1ABC/EA8 are both Canary Islands). None fitting, the base call decides;
// - a single call: an exact call, else its longest prefix in the file.
LookupResult CountryFile::Lookup(std::string_view callsign) const {
    std::string call;
    for (const char c : callsign) {
        if (IsBlank(c) || c == '\r' || c == '\n') {
            continue;
        }
        if (!IsCallChar(c) || call.size() >= kMaxLookup) {
            return {std::nullopt, LookupFailure::Invalid};
        }
        call.push_back(Upper(c));
    }
    if (call.empty()) {
        return {std::nullopt, LookupFailure::Invalid};
    }

    const Data& data = *data_;
    const auto make = [&](std::uint32_t index, std::string_view matched, bool exact) {
        const StoredEntry& entry = data.entries[index];
        const Entity& entity = data.entities[entry.entity];
        const Place place =
            entry.place == StoredEntry::kNoPlace ? Place{} : data.places[entry.place];
        Country country;
        country.name = entity.name;
        country.primaryPrefix = entity.primaryPrefix;
        country.continent = ContinentNames()[static_cast<std::size_t>(
            entry.continent >= 0 ? entry.continent : entity.continent)];
        country.cqZone = entry.cqZone > 0 ? entry.cqZone : entity.cqZone;
        country.ituZone = entry.ituZone > 0 ? entry.ituZone : entity.ituZone;
        country.latitude = std::isnan(place.latitude) ? entity.latitude : place.latitude;
        country.longitude = std::isnan(place.longitude) ? entity.longitude : place.longitude;
        country.localOffset =
            std::isnan(place.localOffset) ? entity.localOffset : place.localOffset;
        country.waeOnly = entity.waeOnly;
        country.callsign =
            QString::fromLatin1(QByteArrayView(call.data(), static_cast<qsizetype>(call.size())));
        country.matched = QString::fromLatin1(
            QByteArrayView(matched.data(), static_cast<qsizetype>(matched.size())));
        country.exactCall = exact;
        return LookupResult{std::move(country), LookupFailure::NoMatch};
    };
    const auto exactOrPrefix = [&](std::string_view text) -> LookupResult {
        if (const auto index = data.calls.Find(text)) {
            return make(*index, text, true);
        }
        std::size_t length = 0;
        if (const auto index = data.LongestPrefix(text, length)) {
            return make(*index, text.substr(0, length), false);
        }
        return {std::nullopt, LookupFailure::NoMatch};
    };

    if (const auto index = data.calls.Find(call)) {
        return make(*index, call, true);
    }

    std::vector<std::string_view> parts;
    for (std::size_t start = 0; start <= call.size();) {
        std::size_t slash = call.find('/', start);
        if (slash == std::string::npos) {
            slash = call.size();
        }
        if (slash > start) {
            parts.emplace_back(call.data() + start, slash - start);
        }
        start = slash + 1;
    }
    if (parts.empty()) {
        return {std::nullopt, LookupFailure::Invalid};
    }
    for (std::size_t k = 1; k < parts.size(); ++k) {
        if (parts[k] == "MM" || parts[k] == "AM") {
            return {std::nullopt, LookupFailure::NoCountry};
        }
    }
    const auto ignored = [](std::string_view part) {
        return part == "P" || part == "M" || part == "QRP" || part == "A";
    };
    parts.erase(std::remove_if(parts.begin() + 1, parts.end(), ignored), parts.end());

    int area = -1;
    if (parts.size() >= 2 && parts.back().size() == 1 && IsDigit(parts.back().front())) {
        area = parts.back().front() - '0';
        parts.pop_back();
    }

    std::string reduced;
    for (const std::string_view part : parts) {
        reduced += reduced.empty() ? "" : "/";
        reduced += part;
    }
    if (area < 0 && reduced != call) {
        if (const auto index = data.calls.Find(reduced)) {
            return make(*index, reduced, true);
        }
    }

    // The home call is the longest part. Of two parts of the same length, the prefix is the one
    // with no letter after its last digit ("KH6/K1A" is K1A in Hawaii, "CK5/H3H" H3H in
    // Canada); when that does not decide, the first is the prefix.
    const auto letterAfterLastDigit = [](std::string_view part) {
        const std::size_t digit = part.find_last_of("0123456789");
        return digit != std::string_view::npos && digit + 1 < part.size();
    };
    std::size_t base = 0;
    for (std::size_t k = 1; k < parts.size(); ++k) {
        if (parts[k].size() > parts[base].size() ||
            (parts[k].size() == parts[base].size() &&
             letterAfterLastDigit(parts[k]) >= letterAfterLastDigit(parts[base]))) {
            base = k;
        }
    }
    if (parts.size() >= 2) {
        std::vector<std::string_view> others;
        for (std::size_t k = 0; k < parts.size(); ++k) {
            if (k != base) {
                others.push_back(parts[k]);
            }
        }
        std::stable_sort(others.begin(), others.end(), [](std::string_view a, std::string_view b) {
            return a.size() < b.size();
        });
        for (const std::string_view other : others) {
            std::size_t length = 0;
            if (const auto index = data.LongestPrefix(other, length)) {
                return make(*index, other.substr(0, length), false);
            }
        }
    }

    std::string home(parts[base]);
    if (area >= 0) {
        const std::size_t digit = home.find_last_of("0123456789");
        if (digit != std::string::npos) {
            home[digit] = static_cast<char>('0' + area);
        }
    }
    LookupResult result = exactOrPrefix(home);
    if (result.country) {
        result.country->callArea = area;
    }
    return result;
}

}  // namespace orbida::dxcc

#include "cities/catalogue.h"

#include <QChar>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cstdint>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace orbida::cities {
namespace {

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// QString::fromUtf8 drops a byte-order mark at the start; a name keeps it, as the file has it.
QString DecodeUtf8(std::string_view utf8) {
    const QByteArrayView bytes(utf8.data(), static_cast<qsizetype>(utf8.size()));
    if (!utf8.starts_with("\xEF\xBB\xBF")) {
        return QString::fromUtf8(bytes);
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

std::string_view View(const QByteArray& bytes, std::size_t begin, std::size_t end) {
    return std::string_view(bytes.constData() + begin, end - begin);
}

}  // namespace

void* AllocateLarge(std::size_t bytes) {
#if defined(Q_OS_LINUX) && defined(MADV_HUGEPAGE)
    // Large pages back only whole, aligned large pages of a block: the block is aligned so that
    // none of it is left to small pages, each a fault of its own when first written.
    constexpr std::size_t kLargePage = std::size_t{2} << 20;
    if (bytes >= 2 * kLargePage) {
        const std::size_t rounded = (bytes + kLargePage - 1) & ~(kLargePage - 1);
        void* block = std::aligned_alloc(kLargePage, rounded);
        if (block != nullptr) {
            ::madvise(block, rounded, MADV_HUGEPAGE);
        }
        return block;
    }
#endif
    return std::malloc(bytes);
}

std::string_view Catalogue::NameUtf8(qsizetype index) const {
    const auto k = static_cast<std::size_t>(index);
    const std::size_t begin = k == 0 ? 0 : nameEnds_[k - 1];
    return std::string_view(names_.Data() + begin, nameEnds_[k] - begin);
}

QString Catalogue::Name(qsizetype index) const {
    return DecodeUtf8(NameUtf8(index));
}

qsizetype Catalogue::IndexOf(QStringView name) const {
    const QByteArray bytes = name.toUtf8();
    const std::string_view wanted(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    for (qsizetype k = 0; k < NameCount(); ++k) {
        if (NameUtf8(k) == wanted) {
            return k;
        }
    }
    return -1;
}

QStringList Catalogue::Names() const {
    QStringList names;
    names.reserve(NameCount());
    for (qsizetype k = 0; k < NameCount(); ++k) {
        names.append(Name(k));
    }
    return names;
}

void Catalogue::Reserve(std::size_t fileBytes) {
    // A field takes at least two bytes with its separator.
    names_.Reserve(fileBytes);
    nameEnds_.Reserve(fileBytes / 2 + 1);
    coordinates_.Reserve(fileBytes / 2 + 1);
}

void Catalogue::Squeeze() {
    names_.Squeeze();
    nameEnds_.Squeeze();
    coordinates_.Squeeze();
}

QString FoldForMatch(QStringView text) {
    const QString decomposed = text.toString().normalized(QString::NormalizationForm_KD);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing) {
            out.append(c);
        }
    }
    return out.toCaseFolded();
}

// ASCII letters fold to their lower case and every other ASCII character to itself, which is what
// the general path gives them at a fraction of its cost; most names in a list are plain ASCII.
void AppendFolded(std::string_view utf8, QByteArray& out) {
    if (IsAscii(utf8)) {
        const qsizetype start = out.size();
        out.append(utf8.data(), static_cast<qsizetype>(utf8.size()));
        for (qsizetype i = start; i < out.size(); ++i) {
            const char c = out[i];
            if (c >= 'A' && c <= 'Z') {
                out[i] = static_cast<char>(c - 'A' + 'a');
            }
        }
        return;
    }
    out.append(FoldForMatch(DecodeUtf8(utf8)).toUtf8());
}

QByteArray FoldedKey(QStringView typed) {
    return FoldForMatch(typed.trimmed()).toUtf8();
}

namespace {

// The first eight bytes of a folded name as one big-endian number, zeros after its end: keys
// order as the names do, except that names sharing their first eight bytes tie.
std::uint64_t SortKey(std::string_view folded) {
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        key = (key << 8) | (i < folded.size() ? static_cast<unsigned char>(folded[i]) : 0u);
    }
    return key;
}

// Sorts city numbers: a radix sort, eleven bits a pass, for the long runs a short prefix gives
// (a first letter may begin a tenth of a large list), else a plain sort.
void SortNumbers(std::vector<std::uint32_t>& numbers) {
    constexpr std::size_t kRadixFrom = 4096;
    if (numbers.size() < kRadixFrom) {
        std::sort(numbers.begin(), numbers.end());
        return;
    }
    constexpr unsigned kBits = 11;
    constexpr std::uint32_t kMask = (1u << kBits) - 1;
    std::vector<std::uint32_t> spare(numbers.size());
    for (unsigned shift = 0; shift < 32; shift += kBits) {
        std::array<std::size_t, kMask + 2> starts{};
        for (const std::uint32_t n : numbers) {
            ++starts[((n >> shift) & kMask) + 1];
        }
        if (starts[1] == numbers.size()) {
            continue;  // every number has zeros here: nothing moves
        }
        for (std::size_t b = 1; b < starts.size(); ++b) {
            starts[b] += starts[b - 1];
        }
        for (const std::uint32_t n : numbers) {
            spare[starts[(n >> shift) & kMask]++] = n;
        }
        numbers.swap(spare);
    }
}

}  // namespace

NameIndex::NameIndex(const Catalogue& catalogue) {
    const auto count = static_cast<std::size_t>(catalogue.NameCount());
    foldedEnds_.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        AppendFolded(catalogue.NameUtf8(static_cast<qsizetype>(k)), folded_);
        foldedEnds_.push_back(static_cast<std::size_t>(folded_.size()));
    }
    folded_.squeeze();
    // Sorted on the keys first, which compare as plain numbers, then each run of equal keys on the
    // whole names. Equal folded names keep their file order, so the first of a run is the first in
    // the file.
    struct Entry {
        std::uint64_t key;
        std::uint32_t city;
    };
    std::vector<Entry> entries(count);
    for (std::size_t k = 0; k < count; ++k) {
        entries[k] = {SortKey(Folded(static_cast<std::uint32_t>(k))),
                      static_cast<std::uint32_t>(k)};
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.key < b.key || (a.key == b.key && a.city < b.city);
    });
    order_.resize(count);
    for (std::size_t k = 0; k < count; ++k) {
        order_[k] = entries[k].city;
    }
    for (std::size_t first = 0; first < count;) {
        std::size_t last = first + 1;
        while (last < count && entries[last].key == entries[first].key) {
            ++last;
        }
        if (last - first > 1) {
            std::sort(order_.begin() + static_cast<std::ptrdiff_t>(first),
                      order_.begin() + static_cast<std::ptrdiff_t>(last),
                      [this](std::uint32_t a, std::uint32_t b) {
                          const int c = Folded(a).compare(Folded(b));
                          return c < 0 || (c == 0 && a < b);
                      });
        }
        first = last;
    }
}

std::string_view NameIndex::Folded(std::uint32_t index) const {
    return View(folded_, index == 0 ? 0 : foldedEnds_[index - 1], foldedEnds_[index]);
}

// UTF-8 sorts bytewise as its code points do, and a folded text begins with the key exactly when
// its bytes begin with the key's: the names beginning with the key form one run of the order.
std::pair<std::size_t, std::size_t> NameIndex::Range(std::string_view key) const {
    const auto first =
        std::lower_bound(order_.begin(), order_.end(), key,
                         [this](std::uint32_t k, std::string_view v) { return Folded(k) < v; });
    const auto last = std::partition_point(
        first, order_.end(), [this, key](std::uint32_t k) { return Folded(k).starts_with(key); });
    return {static_cast<std::size_t>(first - order_.begin()),
            static_cast<std::size_t>(last - order_.begin())};
}

int NameIndex::Match(QStringView typed) const {
    const QByteArray bytes = FoldedKey(typed);
    const std::string_view key(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (key.empty()) {
        return -1;
    }
    const auto [first, last] = Range(key);
    if (first == last) {
        return -1;
    }
    // The exact name sorts first in the run, its earliest copy first of all.
    if (Folded(order_[first]) == key) {
        return static_cast<int>(order_[first]);
    }
    return static_cast<int>(*std::min_element(order_.begin() + static_cast<std::ptrdiff_t>(first),
                                              order_.begin() + static_cast<std::ptrdiff_t>(last)));
}

std::vector<int> NameIndex::Beginning(std::string_view foldedKey) const {
    const auto [first, last] = Range(foldedKey);
    std::vector<std::uint32_t> sorted(order_.begin() + static_cast<std::ptrdiff_t>(first),
                                      order_.begin() + static_cast<std::ptrdiff_t>(last));
    SortNumbers(sorted);
    return std::vector<int>(sorted.begin(), sorted.end());
}

int MatchByScan(const Catalogue& catalogue, QStringView typed) {
    const QByteArray bytes = FoldedKey(typed);
    const std::string_view key(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (key.empty()) {
        return -1;
    }
    int first = -1;
    QByteArray folded;
    for (qsizetype k = 0; k < catalogue.NameCount(); ++k) {
        folded.clear();
        AppendFolded(catalogue.NameUtf8(k), folded);
        const std::string_view name(folded.constData(), static_cast<std::size_t>(folded.size()));
        if (name == key) {
            return static_cast<int>(k);
        }
        if (first < 0 && name.starts_with(key)) {
            first = static_cast<int>(k);
        }
    }
    return first;
}

std::vector<int> BeginningByScan(const Catalogue& catalogue, std::string_view foldedKey,
                                 std::size_t limit) {
    std::vector<int> cities;
    QByteArray folded;
    for (qsizetype k = 0; k < catalogue.NameCount() && cities.size() < limit; ++k) {
        folded.clear();
        AppendFolded(catalogue.NameUtf8(k), folded);
        if (std::string_view(folded.constData(), static_cast<std::size_t>(folded.size()))
                .starts_with(foldedKey)) {
            cities.push_back(static_cast<int>(k));
        }
    }
    return cities;
}

}  // namespace orbida::cities

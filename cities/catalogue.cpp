#include "cities/catalogue.h"

#include <QChar>
#include <QStringDecoder>
#include <algorithm>

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

std::string_view Catalogue::NameUtf8(qsizetype index) const {
    const auto k = static_cast<std::size_t>(index);
    return View(names_, k == 0 ? 0 : nameEnds_[k - 1], nameEnds_[k]);
}

QString Catalogue::Name(qsizetype index) const {
    return DecodeUtf8(NameUtf8(index));
}

QStringList Catalogue::Names() const {
    QStringList names;
    names.reserve(NameCount());
    for (qsizetype k = 0; k < NameCount(); ++k) {
        names.append(Name(k));
    }
    return names;
}

void Catalogue::AppendName(std::string_view utf8) {
    names_.append(utf8.data(), static_cast<qsizetype>(utf8.size()));
    nameEnds_.push_back(static_cast<std::uint32_t>(names_.size()));
}

void Catalogue::Squeeze() {
    names_.squeeze();
    nameEnds_.shrink_to_fit();
    coordinates_.shrink_to_fit();
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

NameIndex::NameIndex(const Catalogue& catalogue) {
    const auto count = static_cast<std::size_t>(catalogue.NameCount());
    foldedEnds_.reserve(count);
    order_.resize(count);
    for (std::size_t k = 0; k < count; ++k) {
        AppendFolded(catalogue.NameUtf8(static_cast<qsizetype>(k)), folded_);
        foldedEnds_.push_back(static_cast<std::size_t>(folded_.size()));
        order_[k] = static_cast<std::uint32_t>(k);
    }
    folded_.squeeze();
    // Equal folded names keep their file order, so the first of a run is the first in the file.
    std::sort(order_.begin(), order_.end(), [this](std::uint32_t a, std::uint32_t b) {
        const int c = Folded(a).compare(Folded(b));
        return c < 0 || (c == 0 && a < b);
    });
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
    std::vector<int> cities(order_.begin() + static_cast<std::ptrdiff_t>(first),
                            order_.begin() + static_cast<std::ptrdiff_t>(last));
    std::sort(cities.begin(), cities.end());
    return cities;
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

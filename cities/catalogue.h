#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <string_view>
#include <vector>

namespace orbida::cities {

// The catalogue: the visible names and, two per name, the coordinates, both in file order. Name k
// owns coordinates 2k (latitude) and 2k + 1 (longitude), pairing by rank alone as the file is read.
// Names are held in one UTF-8 buffer with their end offsets, and coordinates as the numbers they
// read as, so that a million cities cost a few tens of bytes each and nothing per city is
// allocated on its own.
class Catalogue {
  public:
    qsizetype NameCount() const { return static_cast<qsizetype>(nameEnds_.size()); }
    std::string_view NameUtf8(qsizetype index) const;
    QString Name(qsizetype index) const;
    // The first city named exactly so (letter case and accents count), or -1.
    qsizetype IndexOf(QStringView name) const;
    // Every name, in order (for checks and small lists).
    QStringList Names() const;

    qsizetype CoordinateCount() const { return static_cast<qsizetype>(coordinates_.size()); }
    double Coordinate(qsizetype index) const {
        return coordinates_[static_cast<std::size_t>(index)];
    }
    const std::vector<double>& Coordinates() const { return coordinates_; }

    void AppendName(std::string_view utf8);
    void AppendCoordinate(double value) { coordinates_.push_back(value); }
    // Room for what a file of that many bytes may hold, so that reading it grows nothing; only
    // the pages written become resident.
    void Reserve(std::size_t fileBytes);
    // Gives back the spare room left by growing, once the file is read.
    void Squeeze();

  private:
    QByteArray names_;
    std::vector<std::uint32_t> nameEnds_;  // end of name k in names_; it starts where k - 1 ends
    std::vector<double> coordinates_;
};

// Folds a name for matching: accents removed, case folded ("Besançon" and "BESANCON" both give
// "besancon").
QString FoldForMatch(QStringView text);
// The same for a name held as UTF-8, giving UTF-8; ASCII names take a short path.
void AppendFolded(std::string_view utf8, QByteArray& out);

// The names folded and sorted, for finding by prefix in logarithmic time. Built once from a
// catalogue (which must outlive it and not change), possibly on another thread.
class NameIndex {
  public:
    NameIndex() = default;
    explicit NameIndex(const Catalogue& catalogue);

    bool Empty() const { return order_.empty(); }
    // The city a typed text names: the first (in file order) whose folded name equals the folded
    // text, else the first whose folded name begins with it, else -1 (also for an empty text).
    int Match(QStringView typed) const;
    // Every city whose folded name begins with the folded key, in file order.
    std::vector<int> Beginning(std::string_view foldedKey) const;

  private:
    std::string_view Folded(std::uint32_t index) const;
    // The range of order_ whose folded names begin with key.
    std::pair<std::size_t, std::size_t> Range(std::string_view key) const;

    QByteArray folded_;
    std::vector<std::size_t> foldedEnds_;  // folding may lengthen a name many times over
    std::vector<std::uint32_t> order_;     // city numbers sorted by folded name, then by number
};

// The typed text trimmed and folded, as UTF-8: the key that Match and Beginning compare.
QByteArray FoldedKey(QStringView typed);

// What NameIndex::Match answers, found by looking at every name in turn: for use before the index
// is built.
int MatchByScan(const Catalogue& catalogue, QStringView typed);
// What NameIndex::Beginning answers, by a scan, stopping after `limit` cities.
std::vector<int> BeginningByScan(const Catalogue& catalogue, std::string_view foldedKey,
                                 std::size_t limit);

}  // namespace orbida::cities

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace orbida::cities {

// A block of at least `bytes` that free and realloc take, null when memory is short. A large one
// is backed with large pages where the system can: filling tens of megabytes a small page at a
// time costs more than reading the file.
void* AllocateLarge(std::size_t bytes);

// A growable array of plain values in one block from malloc. Growing and shrinking go through
// realloc, which for a large block moves page mappings rather than bytes: reserving room for the
// largest file and giving back the rest once it is read costs next to nothing.
template <typename T>
class PlainArray {
    static_assert(std::is_trivially_copyable_v<T>);

  public:
    PlainArray() = default;
    PlainArray(const PlainArray& other) { *this = other; }
    PlainArray(PlainArray&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)),
          size_(std::exchange(other.size_, 0)),
          capacity_(std::exchange(other.capacity_, 0)) {}
    PlainArray& operator=(const PlainArray& other) {
        if (this != &other) {
            Resize(0, other.size_);
            if (other.size_ > 0) {
                std::memcpy(data_, other.data_, other.size_ * sizeof(T));
            }
            size_ = other.size_;
        }
        return *this;
    }
    PlainArray& operator=(PlainArray&& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        std::swap(capacity_, other.capacity_);
        return *this;
    }
    ~PlainArray() { std::free(data_); }

    const T* Data() const { return data_; }
    std::size_t Size() const { return size_; }
    T operator[](std::size_t index) const { return data_[index]; }

    void PushBack(T value) {
        if (size_ == capacity_) {
            Resize(size_, capacity_ < 16 ? 16 : 2 * capacity_);
        }
        data_[size_++] = value;
    }
    void Append(const T* values, std::size_t count) {
        if (capacity_ - size_ < count) {
            Resize(size_, std::max(size_ + count, 2 * capacity_));
        }
        if (count > 0) {
            std::memcpy(data_ + size_, values, count * sizeof(T));
        }
        size_ += count;
    }
    // The same, reading from values up to `readable` values (at least count): a run of at most 16
    // bytes is copied 16 bytes at once, its length then costing no branch.
    void Append(const T* values, std::size_t count, std::size_t readable) {
        constexpr std::size_t kRun = 16 / sizeof(T);
        if (count <= kRun && readable >= kRun && capacity_ - size_ >= kRun) {
            std::memcpy(data_ + size_, values, kRun * sizeof(T));
            size_ += count;
            return;
        }
        Append(values, count);
    }
    void Reserve(std::size_t capacity) {
        if (capacity <= capacity_) {
            return;
        }
        void* block = AllocateLarge(capacity * sizeof(T));
        if (block == nullptr) {
            throw std::bad_alloc();
        }
        if (size_ > 0) {
            std::memcpy(block, data_, size_ * sizeof(T));
        }
        std::free(data_);
        data_ = static_cast<T*>(block);
        capacity_ = capacity;
    }
    void Squeeze() {
        if (capacity_ > size_) {
            Resize(size_, size_);
        }
    }

  private:
    // Keeps the first `keep` values (keep <= size_) in a block of `capacity` values.
    void Resize(std::size_t keep, std::size_t capacity) {
        if (capacity == 0) {
            std::free(data_);
            data_ = nullptr;
        } else {
            void* block = std::realloc(data_, capacity * sizeof(T));
            if (block == nullptr) {
                throw std::bad_alloc();
            }
            data_ = static_cast<T*>(block);
        }
        size_ = keep;
        capacity_ = capacity;
    }

    T* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// The catalogue: the visible names and, two per name, the coordinates, both in file order. Name k
// owns coordinates 2k (latitude) and 2k + 1 (longitude), pairing by rank alone as the file is read.
// Names are held in one UTF-8 buffer with their end offsets, and coordinates as the numbers they
// read as, so that a million cities cost a few tens of bytes each and nothing per city is
// allocated on its own.
class Catalogue {
  public:
    qsizetype NameCount() const { return static_cast<qsizetype>(nameEnds_.Size()); }
    std::string_view NameUtf8(qsizetype index) const;
    QString Name(qsizetype index) const;
    // The first city named exactly so (letter case and accents count), or -1.
    qsizetype IndexOf(QStringView name) const;
    // Every name, in order (for checks and small lists).
    QStringList Names() const;

    qsizetype CoordinateCount() const { return static_cast<qsizetype>(coordinates_.Size()); }
    double Coordinate(qsizetype index) const {
        return coordinates_[static_cast<std::size_t>(index)];
    }
    // Every coordinate, in order (for checks).
    std::vector<double> Coordinates() const {
        return std::vector<double>(coordinates_.Data(), coordinates_.Data() + coordinates_.Size());
    }

    void AppendName(std::string_view utf8) {
        names_.Append(utf8.data(), utf8.size());
        nameEnds_.PushBack(static_cast<std::uint32_t>(names_.Size()));
    }
    // The same, for a name whose bytes may be read on to readableEnd, for a faster copy.
    Q_ALWAYS_INLINE void AppendName(std::string_view utf8, const char* readableEnd) {
        names_.Append(utf8.data(), utf8.size(),
                      static_cast<std::size_t>(readableEnd - utf8.data()));
        nameEnds_.PushBack(static_cast<std::uint32_t>(names_.Size()));
    }
    void AppendCoordinate(double value) { coordinates_.PushBack(value); }
    // Room for what a file of that many bytes may hold, so that reading it grows nothing; only
    // the pages written become resident.
    void Reserve(std::size_t fileBytes);
    // Gives back the spare room left by growing, once the file is read.
    void Squeeze();

  private:
    PlainArray<char> names_;
    PlainArray<std::uint32_t> nameEnds_;  // end of name k in names_; it starts where k - 1 ends
    PlainArray<double> coordinates_;
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

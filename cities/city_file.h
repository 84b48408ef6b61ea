#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string_view>

#include "cities/catalogue.h"

namespace orbida::cities {

// Reads the city file one field at a time. Fields are separated by commas and line ends (LF, CRLF
// or a lone CR); a field in double quotes may contain commas and line ends.
// Blank lines and empty unquoted fields are skipped, blanks around an unquoted field are dropped,
// text after a closing quote up to the separator is dropped, and a quote left open runs to the
// end. Time is linear in the input size; the fields are views into the bytes.
class FieldReader {
  public:
    explicit FieldReader(std::string_view bytes) : data_(bytes) {}
    // True when no field remains (only blanks, line ends and commas are left).
    bool AtEnd() const;
    // The next field; empty at the end.
    std::string_view Next();

  private:
    std::string_view data_;
    mutable std::size_t pos_ = 0;
};

// The bytes of a city file as the field reader sees them, and the decoding of their fields: UTF-8
// with or without a byte-order mark when valid, UTF-16 of either byte order with its mark (turned
// into UTF-8 bytes first), else Windows-1252. Views the bytes it is given unless it converted them.
class CityFileText {
  public:
    explicit CityFileText(std::string_view bytes);
    // The same, but the bytes (when not UTF-16) are taken to be valid UTF-8 without a look: for a
    // reader that checks them itself as it goes, and reads them again with the constructor above
    // when they are not.
    struct AssumeValidUtf8 {};
    CityFileText(std::string_view bytes, AssumeValidUtf8);
    CityFileText(const CityFileText&) = delete;
    CityFileText& operator=(const CityFileText&) = delete;

    std::string_view Bytes() const { return bytes_; }
    // Every byte is valid UTF-8 as it stands: every field is its own UTF-8.
    bool ValidUtf8() const { return validUtf8_; }
    QString Decode(std::string_view field) const;
    // The field decoded as Decode does, as UTF-8: the field itself when it is valid UTF-8, else
    // its conversion, held in scratch.
    std::string_view Utf8(std::string_view field, QByteArray& scratch) const;

  private:
    void Read(std::string_view bytes, bool check);

    QByteArray converted_;
    std::string_view bytes_;
    bool utf8_ = false;
    bool validUtf8_ = false;  // every byte as it stands is valid UTF-8
};

// A field whose LeadingNumber is 0 is a name; anything else is a coordinate.
bool IsName(std::string_view field);

// Decodes the bytes of a city file (see CityFileText) and sorts every field into names and
// coordinates with IsName; a coordinate is kept as the number LeadingNumber reads.
Catalogue ParseCityFile(std::string_view bytes);

// A city file larger than this is refused rather than read.
inline constexpr qint64 kMaxCityFileBytes = qint64{512} << 20;

// The path of the entry named "villes.txt", in any letter case, in folder; empty when none.
QString FindCityFile(const QString& folder);

struct CityFileBytes {
    bool ok = false;
    QString errorMessage;  // French: the file, its folder and why it was not read
    QByteArray bytes;
};

// Reads the city file at path through files::ReadRegularFile: never blocking, only a regular file
// (a link to one will do) of at most maxBytes, and no more than its size when opened.
CityFileBytes ReadCityFile(const QString& path, qint64 maxBytes = kMaxCityFileBytes);

// Result of looking for and reading the city file in a folder.
struct LoadResult {
    bool ok = false;
    QString folder;        // where it was looked for
    QString path;          // the file found, or the expected path
    QString errorMessage;  // French, names the file and the folder; empty when ok
    Catalogue catalogue;
};

// Finds the city file in folder with FindCityFile and reads it with ReadCityFile.
LoadResult LoadCityFile(const QString& folder);

}  // namespace orbida::cities

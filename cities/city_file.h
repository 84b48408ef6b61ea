#pragma once

#include <QString>
#include <QStringList>
#include <string_view>

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
    std::size_t pos_ = 0;
};

// The catalogue: the visible names (Combo1) and, two per name, the coordinate texts (Combo2),
// both in file order. Name k owns coordinates 2k (latitude) and 2k + 1 (longitude).
struct Catalogue {
    QStringList names;
    QStringList coordinates;
};

// Decodes the bytes of a city file (UTF-8 with or without a byte-order mark when valid, else
// Windows-1252) and classifies every field with LeadingNumber: 0 makes a name, anything else a
// coordinate.
Catalogue ParseCityFile(std::string_view bytes);

// Result of looking for and reading the city file in a folder.
struct LoadResult {
    bool ok = false;
    QString folder;        // where it was looked for
    QString path;          // the file found, or the expected path
    QString errorMessage;  // French, names the file and the folder; empty when ok
    Catalogue catalogue;
};

// Finds "villes.txt" in folder, name matched without regard to letter case, and reads it.
LoadResult LoadCityFile(const QString& folder);

}  // namespace orbida::cities

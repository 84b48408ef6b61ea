#pragma once

#include <QList>
#include <QString>
#include <string_view>

namespace orbida::cities {

// One line of a city file that would not give the cities its writer meant.
struct CheckFinding {
    qsizetype line = 0;   // 1-based, the line where the first field in question starts
    QString text;         // that line as written, shortened when very long
    QString readAs;       // how the program reads its fields
    QStringList reasons;  // why, and what to write instead
    QString consequence;  // what follows for this and the later cities
};

struct CheckReport {
    QList<CheckFinding> findings;
    qsizetype names = 0;
    qsizetype coordinates = 0;
    bool Clean() const { return findings.isEmpty() && coordinates == 2 * names; }
    // The whole report in French: a block per finding, then a one-line summary.
    QString Text() const;
};

// Reads the bytes of a city file exactly as the program loads them and looks, line by line, for
// the traps of the format: a coordinate of 0 read as a name, a decimal comma splitting a number,
// a name read as a number, a comma splitting a name, a missing or extra field, a value no city can
// use, a quote never closed. A line counts as one city when it holds one name and two coordinates
// (in any order: the program pairs names and coordinates by their rank alone).
CheckReport CheckCityFile(std::string_view bytes);

}  // namespace orbida::cities

#pragma once

#include <QString>

#include "dxcc/country_file.h"

namespace orbida::dxcc {

// Where the country file is taken from.
enum class CountryFileOrigin {
    None,         // no file: the callsign reading is off
    CommandLine,  // orbida --cty FILE
    UserData,     // cty.dat in the user's data folder
    System,       // the system's copy
};

struct CountryFileChoice {
    CountryFileOrigin origin = CountryFileOrigin::None;
    QString path;     // the file chosen, empty with None
    QString message;  // French; with None, says where to put a country file
    // French: each copy that was there but could not be read (a named pipe, a folder, no
    // permission) and was passed over for the next, and why. Empty when none was.
    QString skipped;
};

// Chooses the country file: overridePath when given (it must be a readable regular file, or the
// message says what it is), else the newer of "cty.dat" in userDataDir (any letter case) and
// systemPath. Newer is the later release date of their "=VERyyyymmdd" entries when both carry one
// and they differ, else the later modification time; the user's copy wins a tie. A copy that
// cannot be read is passed over for the other (and named in skipped). Reads the candidates' text,
// never blocking, to find their dates: call it where the file is loaded, off the way to the first
// window.
CountryFileChoice FindCountryFile(const QString& userDataDir, const QString& systemPath,
                                  const QString& overridePath);

struct CountryFileLoad {
    bool ok = false;
    QString path;
    CountryFile file;
    // French, naming the file: why it could not be read, or what was skipped while reading it.
    // Empty when all went well. Meant to be shown once, on stderr and where the file is named.
    QString message;
};

// Reads the country file at path (at most CountryFile::kMaxBytes of it). Takes a few
// milliseconds: call it from a worker thread or on first use, not on the way to the first window.
CountryFileLoad LoadCountryFile(const QString& path);

}  // namespace orbida::dxcc

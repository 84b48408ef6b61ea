// Feeds arbitrary bytes to the city file reader, LeadingNumber and the selection, and checks what
// the rest of the program relies on: the loader's fast reader gives exactly the catalogue of the
// simple one; every field is read once, in linear time, and classified the same way from its bytes
// and from its decoded text; no selection lets a non-finite value through.
//
// Short run (CI): make fuzz
// Longer run of every target: make fuzz FUZZ_SECONDS=600
// Longer still, keeping the inputs it finds in a corpus folder (two processes on two cores):
//   cmake --preset fuzz && cmake --build --preset fuzz
//   mkdir -p out/fuzz/corpus && out/build/fuzz/tests/fuzz/city_file_fuzz out/fuzz/corpus \
//       -max_total_time=3600 -jobs=2 -workers=2 -artifact_prefix=out/fuzz/
// A crash leaves its input in out/fuzz/crash-*; run the target on that file alone to replay it.
#include <bit>
#include <cmath>
#include <string>

#include "cities/city_check.h"
#include "cities/city_file.h"
#include "cities/leading_number.h"
#include "cities/selection.h"
#include "fuzz_check.h"

namespace {

using orbida::fuzz::Check;
using namespace orbida::cities;

// The catalogue as the simple reader gives it: FieldReader's fields in turn, each a coordinate
// when LeadingNumber reads it as a number other than 0, else a name.
Catalogue SimpleCatalogue(std::string_view bytes) {
    const CityFileText text(bytes);
    Catalogue catalogue;
    QByteArray scratch;
    for (FieldReader reader(text.Bytes()); !reader.AtEnd();) {
        const std::string_view field = reader.Next();
        const double number = LeadingNumber(field);
        if (number == 0.0) {
            catalogue.AppendName(text.Utf8(field, scratch));
        } else {
            catalogue.AppendCoordinate(number);
        }
    }
    return catalogue;
}

// The same names, and the same coordinates to the last bit.
bool SameCatalogue(const Catalogue& a, const Catalogue& b) {
    if (a.NameCount() != b.NameCount() || a.CoordinateCount() != b.CoordinateCount()) {
        return false;
    }
    for (qsizetype k = 0; k < a.NameCount(); ++k) {
        if (a.NameUtf8(k) != b.NameUtf8(k)) {
            return false;
        }
    }
    for (qsizetype k = 0; k < a.CoordinateCount(); ++k) {
        if (std::bit_cast<std::uint64_t>(a.Coordinate(k)) !=
            std::bit_cast<std::uint64_t>(b.Coordinate(k))) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = orbida::fuzz::Bytes(data, size);

    Check(!std::isnan(LeadingNumber(bytes)));

    qsizetype fields = 0;
    for (orbida::cities::FieldReader reader(bytes); !reader.AtEnd(); ++fields) {
        const std::string_view field = reader.Next();
        Check(field.data() >= bytes.data() && field.data() + field.size() <= bytes.data() + size);
        Check(fields <= static_cast<qsizetype>(size));  // at least one byte per field
    }

    // The loader reads fields a window of bytes at a time from bit masks, numbers eight bytes at a
    // time, and checks the encoding as it goes: it must give exactly what the simple reader gives.
    const Catalogue catalogue = ParseCityFile(bytes);
    Check(SameCatalogue(catalogue, SimpleCatalogue(bytes)));

    // Without a byte-order mark the reader sees the same bytes as ParseCityFile does.
    if (!bytes.starts_with("\xEF\xBB\xBF") && !bytes.starts_with("\xFF\xFE") &&
        !bytes.starts_with("\xFE\xFF")) {
        Check(catalogue.NameCount() + catalogue.CoordinateCount() == fields);
    }

    // The check counts what the loader loads, and points only at lines of the file.
    const CheckReport report = CheckCityFile(bytes);
    Check(report.names == catalogue.NameCount() &&
          report.coordinates == catalogue.CoordinateCount());
    Check(report.Clean() ==
          (report.findings.isEmpty() && catalogue.CoordinateCount() == 2 * catalogue.NameCount()));
    qsizetype previousLine = 0;
    for (const CheckFinding& finding : report.findings) {
        Check(finding.line > previousLine && !finding.reasons.isEmpty());
        previousLine = finding.line;
    }
    const QStringList names = catalogue.Names();
    for (const QString& name : names) {
        Check(LeadingNumber(name.toStdString()) == 0.0);
    }
    for (const double coordinate : catalogue.Coordinates()) {
        Check(coordinate != 0.0 && !std::isnan(coordinate));
    }
    // The index finds what a scan of the names finds.
    const NameIndex nameIndex(catalogue);
    for (const QString& name : names.mid(0, 4)) {
        for (const QString& typed : {name, name.left(1), name.left(3).toUpper()}) {
            Check(nameIndex.Match(typed) == MatchByScan(catalogue, typed));
        }
    }

    const ReferenceState start = StartupReference();
    for (int index = -1; index <= 8; ++index) {
        const auto state = SelectCity(catalogue, index, start, {}, 9630.0f, 4815.0f);
        if (!state) {
            continue;
        }
        Check(std::isfinite(state->referencePoint.latitude) &&
              std::isfinite(state->referencePoint.longitude) &&
              std::isfinite(state->referenceHundredths.latitude) &&
              std::isfinite(state->referenceHundredths.longitude) &&
              std::isfinite(state->entoureLeft) && std::isfinite(state->entoureTop));
        Check(state->locator.text.size() == 6 && state->citySelected);
    }
    return 0;
}

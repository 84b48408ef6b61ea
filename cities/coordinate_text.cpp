#include "cities/coordinate_text.h"

#include "geodesy/dms.h"
#include "geodesy/numbers.h"

namespace orbida::cities {

// The split into degrees, minutes and seconds is the one the cursor readouts use, so both carry a
// rounding to 60 seconds alike: 0.99999 reads 1 0' 0'', never 0 59' 60''. A NaN (which the
// selection never passes) reads as 0 with the positive word, since it is not below 0.
QString FormatDms(double value, const QString& positiveWord, const QString& negativeWord) {
    const geodesy::Dms dms = geodesy::SplitDms(value);
    return QString::fromStdString(geodesy::FormatWhole(dms.degrees)) + QStringLiteral("°  ") +
           QString::number(dms.minutes) + QStringLiteral("'  ") + QString::number(dms.seconds) +
           QStringLiteral("''  ") + (value < 0.0 ? negativeWord : positiveWord);
}

}  // namespace orbida::cities

#pragma once

#include <QString>

namespace orbida::cities {

// The reference texts before any city is chosen: twelve blanks, 0 and the degree sign.
inline const QString kStartupDmsText = QStringLiteral("            0°");

// Degrees, minutes, seconds and a hemisphere word: FormatDms(48.8566, " Nord", " Sud") is
// "48°  51'  24''   Nord". The sign lives only in the word (negativeWord when value < 0);
// seconds rounding to 60 are carried into the minutes and the degrees.
QString FormatDms(double value, const QString& positiveWord, const QString& negativeWord);

}  // namespace orbida::cities

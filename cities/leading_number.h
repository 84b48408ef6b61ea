#pragma once

#include <string_view>

namespace orbida::cities {

// The value of the number a text begins with: an optional sign ("-" or "+"), digits with at most
// one
// "." as the decimal point, an optional exponent (E or e, optional sign, digits). Blanks, tabs and
// line feeds are ignored wherever they stand. Reading stops at the first character that cannot
// continue the number; a text that does not begin with a number gives 0. The comma is never a
// decimal separator: "48,85" is 48. Values beyond double range give +-infinity.
double LeadingNumber(std::string_view text);

}  // namespace orbida::cities

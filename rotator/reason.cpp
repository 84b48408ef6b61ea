#include "rotator/reason.h"

namespace orbida::rotator {

std::string Reason::French() const {
    std::string out;
    for (const char* c = text; *c != '\0'; ++c) {
        // %1 to %9, as Qt's arg() reads them in the translated text.
        if (c[0] == '%' && c[1] >= '1' && c[1] <= '9' &&
            static_cast<std::size_t>(c[1] - '1') < values.size()) {
            out += values[static_cast<std::size_t>(c[1] - '1')];
            ++c;
        } else {
            out += *c;
        }
    }
    return out;
}

}  // namespace orbida::rotator

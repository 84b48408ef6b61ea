#pragma once

// A rotator's reason in the language the program speaks.
#include <QCoreApplication>
#include <QString>

#include "rotator/reason.h"

namespace orbida::rotator {

// The values go in all at once: one taken in first could hold a "%2" of its own (an IPv6 zone).
inline QString ReasonText(const Reason& reason) {
    const QString text = QCoreApplication::translate("Rotator", reason.text);
    const auto value = [&reason](std::size_t i) {
        return QString::fromStdString(reason.values[i]);
    };
    switch (reason.values.size()) {
        case 0:
            return text;
        case 1:
            return text.arg(value(0));
        case 2:
            return text.arg(value(0), value(1));
        default:
            return text.arg(value(0), value(1), value(2));
    }
}

}  // namespace orbida::rotator

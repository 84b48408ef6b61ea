#pragma once

// Why something about the rotator failed, as French text with placeholders and their values
// apart, so that the window can show it in the user's language (the text is the key of its
// translation) while this code needs only the standard library.
#include <string>
#include <utility>
#include <vector>

// Marks a text for Qt's translation tools without Qt; the same definition as Qt's own.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace orbida::rotator {

struct Reason {
    Reason() = default;
    Reason(const char* french, std::vector<std::string> with = {})  // NOLINT: implicit on purpose
        : text(french), values(std::move(with)) {}

    const char* text = "";            // French, with %1, %2…: a string literal of this library
    std::vector<std::string> values;  // what %1, %2… stand for

    bool empty() const { return *text == '\0'; }
    // The French text with its values in place.
    std::string French() const;
};

}  // namespace orbida::rotator

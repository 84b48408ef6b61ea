#pragma once

// The station a WSJT-X decode names: who transmitted, where from when the message says, and to
// whom (anyone, some, or me). Read the way WSJT-X reads its own decodes.
#include <QString>
#include <optional>

#include "stations/wsjtx_message.h"

namespace orbida::stations {

enum class StationKind {
    kCq,          // "CQ K1ABC FN42", "QRZ K1ABC"
    kCqDirected,  // "CQ DX K1ABC FN42", "CQ NA …", "CQ 123 …": a call to some only
    kCallingMe,   // addressed to the operator's own call
    kOther,       // a QSO under way between others, a WSPR beacon
};

struct DecodedStation {
    QString call;  // as sent, without the angle brackets of a hashed call
    QString grid;  // "FN42" (a WSPR decode may give six characters); empty when none was sent
    StationKind kind = StationKind::kOther;
    bool hashed = false;  // the call came as <K1ABC>: WSJT-X knew it only from an earlier decode
};

// The transmitting station of a decoded message text, or nothing for free text and messages
// whose sender is unknown ("<...>"). myCall is the operator's own call (WSJT-X's Status "DE
// call"), which may be empty; a call with a prefix or suffix ("F/K1ABC", "K1ABC/P") is the same
// station as its base call.
std::optional<DecodedStation> StationFromText(const QString& text, const QString& myCall);
std::optional<DecodedStation> StationFromDecode(const wsjtx::Decode& decode, const QString& myCall);
// A WSPR decode gives its call and grid as fields.
std::optional<DecodedStation> StationFromWspr(const wsjtx::WsprDecode& decode);

// Whether a word could be a callsign: letters, digits and slashes, with a part that holds a
// digit and ends in a letter ("K1ABC", "3DA0RU", "PJ4/K1ABC", "K1ABC/P"; not "FN42" or "RR73").
bool LooksLikeCall(const QString& word);
// A four-character Maidenhead square ("FN42"), RR73 excepted: WSJT-X never sends that square.
bool IsGridSquare(const QString& word);

}  // namespace orbida::stations

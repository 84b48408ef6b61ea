#include "rotator/protocol.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>
#include <utility>

namespace orbida::rotator {
namespace {

// Limits and positions beyond this many degrees are not a rotator's; they would also lose the
// tenths.
constexpr double kLargestLimit = 3600.0;
// The model's name is shown in a dialog: a few words at most.
constexpr std::size_t kMaxInfo = 200;

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<int> ParseInteger(std::string_view text) {
    text = Trim(text);
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<double> ParseNumber(std::string_view text) {
    text = Trim(text);
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

Reason ErrorReason(int code) {
    const char* text = QT_TRANSLATE_NOOP("Rotator", "erreur %1");
    switch (code) {
        case -1:
            text = QT_TRANSLATE_NOOP("Rotator", "erreur %1 (paramètre refusé)");
            break;
        case -2:
            text = QT_TRANSLATE_NOOP("Rotator", "erreur %1 (configuration invalide)");
            break;
        case -3:
            text = QT_TRANSLATE_NOOP("Rotator", "erreur %1 (mémoire insuffisante)");
            break;
        case -4:
            text = QT_TRANSLATE_NOOP("Rotator", "erreur %1 (commande non prise en charge)");
            break;
        case -5:
            text = QT_TRANSLATE_NOOP("Rotator", "erreur %1 (délai dépassé)");
            break;
        case -6:
            text = QT_TRANSLATE_NOOP("Rotator", "erreur %1 (erreur d'entrée-sortie)");
            break;
        case -7:
            text = QT_TRANSLATE_NOOP("Rotator", "erreur %1 (erreur interne)");
            break;
        case -8:
            text = QT_TRANSLATE_NOOP("Rotator", "erreur %1 (erreur de protocole)");
            break;
        case -9:
            text = QT_TRANSLATE_NOOP("Rotator", "erreur %1 (commande rejetée)");
            break;
        case -10:
            text = QT_TRANSLATE_NOOP("Rotator", "erreur %1 (texte tronqué)");
            break;
        case -11:
            text = QT_TRANSLATE_NOOP("Rotator", "erreur %1 (fonction indisponible)");
            break;
        case -17:
            text = QT_TRANSLATE_NOOP("Rotator", "erreur %1 (valeur hors limites)");
            break;
        default:
            break;
    }
    // The code's magnitude, without the overflow of negating the smallest int.
    return {text, {std::to_string(std::llabs(static_cast<long long>(code)))}};
}

std::string ErrorText(int code) {
    return ErrorReason(code).French();
}

ReplyReader::Status ReplyReader::Fail(Reason reason) {
    status_ = Status::kFailed;
    failure_ = reason.French();
    reason_ = std::move(reason);
    buffer_.clear();
    return status_;
}

void ReplyReader::Reset() {
    *this = ReplyReader();
}

ReplyReader::Status ReplyReader::Expect(Question question) {
    if (status_ == Status::kFailed) {
        return status_;
    }
    if (!buffer_.empty()) {
        return Fail({QT_TRANSLATE_NOOP("Rotator", "réponse inattendue")});
    }
    status_ = Status::kPending;
    question_ = question;
    reply_ = Reply();
    reply_.question = question;
    linesRead_ = 0;
    sawMinAzimuth_ = false;
    sawMaxAzimuth_ = false;
    return status_;
}

Reply ReplyReader::Take() {
    if (status_ == Status::kComplete) {
        status_ = Status::kIdle;
    }
    return std::move(reply_);
}

ReplyReader::Status ReplyReader::Feed(std::string_view bytes) {
    if (status_ == Status::kFailed || bytes.empty()) {
        return status_;
    }
    if (status_ != Status::kPending) {
        return Fail({QT_TRANSLATE_NOOP("Rotator", "réponse sans question")});
    }
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::size_t taken = end == std::string_view::npos ? bytes.size() : end;
        // Checked before the bytes are stored: a line without end never grows past the cap.
        if (buffer_.size() + taken > kMaxLine) {
            return Fail({QT_TRANSLATE_NOOP("Rotator", "ligne trop longue")});
        }
        if (end == std::string_view::npos) {
            buffer_.append(bytes);
            return status_;
        }
        buffer_.append(bytes.substr(0, end));
        bytes.remove_prefix(end + 1);
        const std::string line = std::move(buffer_);
        buffer_.clear();
        const Status status = Line(line);
        if (status == Status::kFailed) {
            return status;
        }
        if (status == Status::kComplete) {
            return bytes.empty() ? status
                                 : Fail({QT_TRANSLATE_NOOP("Rotator", "réponse inattendue")});
        }
    }
    return status_;
}

ReplyReader::Status ReplyReader::Close() {
    if (status_ == Status::kPending) {
        return Fail(
            {linesRead_ > 0 || !buffer_.empty()
                 ? QT_TRANSLATE_NOOP("Rotator", "connexion coupée au milieu d'une réponse")
                 : QT_TRANSLATE_NOOP("Rotator", "pas de réponse (connexion fermée par le rotor)")});
    }
    return status_;
}

ReplyReader::Status ReplyReader::Line(std::string_view line) {
    line = Trim(line);
    if (line.starts_with("RPRT")) {
        const std::optional<int> code = ParseInteger(line.substr(4));
        if (!code || *code > 0 || line.size() < 5 || (line[4] != ' ' && line[4] != '\t')) {
            return Fail({QT_TRANSLATE_NOOP("Rotator", "réponse illisible")});
        }
        // Value lines or "RPRT 0" mid-answer: this answers some other question.
        if (linesRead_ > 0 || (*code == 0 && question_ != Question::kCommand)) {
            return Fail({QT_TRANSLATE_NOOP("Rotator", "réponse inattendue")});
        }
        reply_.code = *code;
        // A model without a name is still a working rotator.
        if (*code < 0 && question_ != Question::kInfo) {
            return Fail(ErrorReason(*code));
        }
        status_ = Status::kComplete;
        return status_;
    }
    switch (question_) {
        case Question::kCommand:
            return Fail({ParseNumber(line) ? QT_TRANSLATE_NOOP("Rotator", "réponse inattendue")
                                           : QT_TRANSLATE_NOOP("Rotator", "réponse illisible")});
        case Question::kInfo:
            for (const char c : line) {
                if (reply_.info.size() < kMaxInfo && (static_cast<unsigned char>(c) >= 0x20) &&
                    c != 0x7F) {
                    reply_.info += c;
                }
            }
            status_ = Status::kComplete;
            return status_;
        case Question::kPosition: {
            const std::optional<double> value = ParseNumber(line);
            if (!value) {
                return Fail({QT_TRANSLATE_NOOP("Rotator", "réponse illisible")});
            }
            // Capped as the limits are: beyond them no rotator points, and a heading of 1e308
            // would be shown as some course of its remainder.
            if (std::abs(*value) > kLargestLimit) {
                return Fail({QT_TRANSLATE_NOOP("Rotator", "position illisible")});
            }
            (linesRead_ == 0 ? reply_.azimuth : reply_.elevation) = *value;
            if (++linesRead_ == 2) {
                status_ = Status::kComplete;
            }
            return status_;
        }
        case Question::kDumpState:
            return StateLine(line);
    }
    return Fail({QT_TRANSLATE_NOOP("Rotator", "réponse illisible")});
}

ReplyReader::Status ReplyReader::StateLine(std::string_view line) {
    const int index = linesRead_++;
    if (index >= kMaxStateLines) {
        return Fail({QT_TRANSLATE_NOOP("Rotator", "réponse trop longue")});
    }
    if (index < 2) {
        const std::optional<int> value = ParseInteger(line);
        if (!value) {
            return Fail({QT_TRANSLATE_NOOP("Rotator", "réponse illisible")});
        }
        // Version 0 daemons wrote their state in another layout, not read here.
        if (index == 0 && *value < 1) {
            return Fail({QT_TRANSLATE_NOOP("Rotator", "version du protocole non prise en charge")});
        }
        if (index == 1) {
            reply_.model = *value;
        }
        return status_;
    }
    if (line == "done") {
        Limits& limits = reply_.limits;
        const bool sane =
            sawMinAzimuth_ && sawMaxAzimuth_ && limits.minAzimuth < limits.maxAzimuth &&
            limits.minElevation <= limits.maxElevation &&
            std::max({std::abs(limits.minAzimuth), std::abs(limits.maxAzimuth),
                      std::abs(limits.minElevation), std::abs(limits.maxElevation)}) <=
                kLargestLimit;
        if (!sane) {
            return Fail({QT_TRANSLATE_NOOP("Rotator", "limites du rotor illisibles")});
        }
        status_ = Status::kComplete;
        return status_;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return Fail({QT_TRANSLATE_NOOP("Rotator", "réponse illisible")});
    }
    const std::string_view key = Trim(line.substr(0, equals));
    double* target = nullptr;
    if (key == "min_az") {
        target = &reply_.limits.minAzimuth;
        sawMinAzimuth_ = true;
    } else if (key == "max_az") {
        target = &reply_.limits.maxAzimuth;
        sawMaxAzimuth_ = true;
    } else if (key == "min_el") {
        target = &reply_.limits.minElevation;
    } else if (key == "max_el") {
        target = &reply_.limits.maxElevation;
    }
    if (target != nullptr) {
        const std::optional<double> value = ParseNumber(line.substr(equals + 1));
        if (!value) {
            return Fail({QT_TRANSLATE_NOOP("Rotator", "limites du rotor illisibles")});
        }
        *target = *value;
    }
    return status_;
}

std::optional<long long> AzimuthTenths(double course, const Limits& limits, double currentAzimuth) {
    const double values[] = {course, currentAzimuth, limits.minAzimuth, limits.maxAzimuth};
    for (const double value : values) {
        if (!std::isfinite(value)) {
            return std::nullopt;
        }
    }
    if (std::abs(limits.minAzimuth) > kLargestLimit ||
        std::abs(limits.maxAzimuth) > kLargestLimit) {
        return std::nullopt;
    }
    double turn = std::fmod(course, 360.0);
    if (turn < 0.0) {
        turn += 360.0;
    }
    // Whole tenths from here on: the value sent is exactly the value checked against the limits.
    const long long tenths = std::llround(turn * 10.0) % 3600;
    // The small allowance absorbs the limits' decimal writing ("-180.000000").
    const double lowest = std::ceil(limits.minAzimuth * 10.0 - 1e-6);
    const double highest = std::floor(limits.maxAzimuth * 10.0 + 1e-6);
    const double fewest = std::ceil((lowest - static_cast<double>(tenths)) / 3600.0);
    const double most = std::floor((highest - static_cast<double>(tenths)) / 3600.0);
    if (fewest > most) {
        return std::nullopt;
    }
    const double nearest =
        std::round((currentAzimuth * 10.0 - static_cast<double>(tenths)) / 3600.0);
    const long long turns = std::llround(std::clamp(nearest, fewest, most));
    return tenths + turns * 3600;
}

double LevelElevation(const Limits& limits) {
    return std::max(limits.minElevation, std::min(0.0, limits.maxElevation));
}

std::string SetPositionCommand(long long azimuthTenths, double elevation) {
    const long long magnitude = azimuthTenths < 0 ? -azimuthTenths : azimuthTenths;
    std::string line = "P ";
    if (azimuthTenths < 0) {
        line += '-';
    }
    line += std::to_string(magnitude / 10) + '.' + std::to_string(magnitude % 10) + ' ';
    // Shortest exact writing, whatever the locale: "0", "12.5".
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, elevation);
    line.append(text, result.ptr);
    line += '\n';
    return line;
}

}  // namespace orbida::rotator

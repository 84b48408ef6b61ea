#pragma once

// The text protocol of Hamlib's rotator daemon (rotctld), default form: one command per line, each
// answered by value lines ("p": azimuth and elevation) or by one "RPRT n" line (0 for success, a
// negative Hamlib error code otherwise). Standard library only, so that it can be fuzzed alone.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "rotator/reason.h"

namespace orbida::rotator {

// What the daemon reports of the rotator it drives (`\dump_state`), in degrees.
struct Limits {
    double minAzimuth = 0.0;
    double maxAzimuth = 360.0;
    double minElevation = 0.0;
    double maxElevation = 90.0;
};

// The questions the client asks, each with the shape of its answer.
enum class Question {
    kDumpState,  // "\dump_state": protocol version, model, key=value lines, "done"
    kPosition,   // "p": two number lines
    kInfo,       // "_": one line of text (the model's name)
    kCommand,    // "P az el", "S": one "RPRT n" line
};

// A complete answer. Only the fields of its question are filled.
struct Reply {
    Question question = Question::kCommand;
    int code = 0;  // the RPRT value; 0 when the daemon answered with values
    double azimuth = 0.0;
    double elevation = 0.0;
    Limits limits;
    int model = 0;
    std::string info;  // printable characters only
};

// Reads the daemon's byte stream into replies, one question at a time. Every byte it does not
// expect is a failure with a French reason: a line longer than kMaxLine, an answer that is not the
// shape of the question asked, bytes when no question is open, a negative RPRT to a question that
// must succeed, the connection closing inside an answer. After a failure it stays failed until
// Reset().
class ReplyReader {
  public:
    // Longer than any line rotctld writes; a longer one is refused before it is stored whole.
    static constexpr std::size_t kMaxLine = 1024;
    // More lines than any `\dump_state` has.
    static constexpr int kMaxStateLines = 64;

    enum class Status { kIdle, kPending, kComplete, kFailed };

    // Opens a question. Bytes left over from an earlier answer are a failure.
    Status Expect(Question question);
    // Takes bytes as they arrive. kComplete: Take() gives the answer and no question is open.
    Status Feed(std::string_view bytes);
    // The connection closed: a failure if an answer or a line was unfinished.
    Status Close();
    void Reset();

    Status status() const { return status_; }
    const std::string& failure() const { return failure_; }  // French
    const Reason& reason() const { return reason_; }
    // The completed answer; the reader is idle again.
    Reply Take();

  private:
    Status Fail(Reason reason);
    Status Line(std::string_view line);
    Status StateLine(std::string_view line);

    Status status_ = Status::kIdle;
    Question question_ = Question::kCommand;
    std::string buffer_;  // bytes of the unfinished line
    Reply reply_;
    int linesRead_ = 0;
    bool sawMinAzimuth_ = false;
    bool sawMaxAzimuth_ = false;
    std::string failure_;
    Reason reason_;
};

// The reason for a negative Hamlib error code, "erreur 5 (délai dépassé)", and its French text.
Reason ErrorReason(int code);
std::string ErrorText(int code);

// A number as the daemon writes it ("292.40", "-0.01"), the whole text and nothing else, finite.
std::optional<double> ParseNumber(std::string_view text);

// The azimuth to send, in tenths of a degree, for a wanted course in degrees (any real value,
// taken modulo 360 and rounded to a tenth): among the course's turns (course + k·360) that lie
// within the rotator's limits, the one nearest its current azimuth. std::nullopt when no turn is
// reachable or a value is not finite.
std::optional<long long> AzimuthTenths(double course, const Limits& limits, double currentAzimuth);

// The elevation to send with an azimuth: level (0) brought inside the rotator's limits.
double LevelElevation(const Limits& limits);

// The set-position command line for an azimuth in tenths: "P 292.4 0\n", "P -67.6 0\n".
std::string SetPositionCommand(long long azimuthTenths, double elevation);

}  // namespace orbida::rotator

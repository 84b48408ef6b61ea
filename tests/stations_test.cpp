// WSJT-X's messages: datagrams captured from WSJT-X read as it sent them and written back byte
// for byte, what a cut, foreign or hostile datagram gives; the stations that decodes name. The
// Reply's bytes are checked against the tests' own datagram writer in wsjtx_sender_test.cpp.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <map>
#include <string>

#include "stations/decoded_station.h"
#include "stations/wsjtx_message.h"

namespace orbida::stations {
namespace {

using namespace wsjtx;

// The datagrams captured from WSJT-X that Debian's golang-github-k0swe-wsjtx-go-dev ships in
// its tests, by test name ("Parse Decode"); empty when the package is absent.
std::map<std::string, QByteArray> CapturedDatagrams() {
    std::map<std::string, QByteArray> datagrams;
    QDirIterator files(QStringLiteral("/usr/share/gocode"), {QStringLiteral("parser_test.go")},
                       QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (!file.fileName().contains(QStringLiteral("wsjtx-go")) ||
            !file.open(QIODevice::ReadOnly)) {
            continue;
        }
        static const QRegularExpression entry(
            QString::fromLatin1(R"re(name:\s*"([^"]+)",\s*args:\s*argsFrom\(`([0-9a-f]+)`\))re"));
        auto matches = entry.globalMatch(QString::fromUtf8(file.readAll()));
        while (matches.hasNext()) {
            const auto match = matches.next();
            datagrams[match.captured(1).toStdString()] =
                QByteArray::fromHex(match.captured(2).toLatin1());
        }
    }
    return datagrams;
}

std::string Text(const QByteArray& text) {
    return text.isNull() ? "null" : "'" + text.toStdString() + "'";
}

// A message in one line: its type, id and fields in order.
std::string Describe(const Message& m) {
    std::string out = std::to_string(m.type) + " " + Text(m.id);
    const auto add = [&out](const auto&... fields) { ((out += " " + fields), ...); };
    const auto n = [](auto value) { return std::to_string(value); };
    const auto time = [](const QTime& t) { return t.toString("hh:mm:ss.zzz").toStdString(); };
    const auto when = [](const QDateTime& t) {
        return t.toString(Qt::ISODateWithMs).toStdString();
    };
    if (const auto* h = std::get_if<Heartbeat>(&m.body)) {
        add(n(h->maxSchema), Text(h->version), Text(h->revision));
    } else if (const auto* s = std::get_if<Status>(&m.body)) {
        add(n(s->dialFrequency), Text(s->mode), Text(s->dxCall), Text(s->report), Text(s->txMode),
            n(s->txEnabled), n(s->transmitting), n(s->decoding), n(s->rxDf), n(s->txDf),
            Text(s->deCall), Text(s->deGrid), Text(s->dxGrid), n(s->txWatchdog), Text(s->subMode),
            n(s->fastMode), n(s->specialOperationMode), n(s->frequencyTolerance), n(s->trPeriod),
            Text(s->configurationName), Text(s->txMessage));
    } else if (const auto* d = std::get_if<Decode>(&m.body)) {
        add(n(d->isNew), time(d->time), n(d->snr), n(d->deltaTime), n(d->deltaFrequency),
            Text(d->mode), Text(d->message), n(d->lowConfidence), n(d->offAir));
    } else if (const auto* q = std::get_if<QsoLogged>(&m.body)) {
        add(when(q->timeOff), Text(q->dxCall), Text(q->dxGrid), n(q->txFrequency), Text(q->mode),
            Text(q->reportSent), Text(q->reportReceived), Text(q->txPower), Text(q->comments),
            Text(q->name), when(q->timeOn), Text(q->operatorCall), Text(q->myCall), Text(q->myGrid),
            Text(q->exchangeSent), Text(q->exchangeReceived), Text(q->propagationMode));
    } else if (const auto* w = std::get_if<WsprDecode>(&m.body)) {
        add(n(w->isNew), time(w->time), n(w->snr), n(w->deltaTime), n(w->frequency), n(w->drift),
            Text(w->callsign), Text(w->grid), n(w->power), n(w->offAir));
    } else if (std::holds_alternative<Other>(m.body)) {
        add(std::string("other"));
    }
    return out;
}

// Each datagram as the Go package's test expects it, except "Status 2.2.2": WSJT-X 2.2.2 sent
// no Tx Message yet, which the Go package refuses and the protocol keeps (a null text); and the
// QSO's times keep the milliseconds they were sent with, which the Go package drops. The
// number is how many cuts of the datagram (at field ends) still give a message: one per
// trailing field a sender may not have had yet, plus the whole.
struct CapturedCase {
    const char* name;
    const char* description;
    int readableCuts;
};
const CapturedCase kCaptured[] = {
    {"Parse Heartbeat", "0 'WSJT-X' 3 '2.2.2' '0d9b96'", 4},
    {"Parse Status 2.2.2",
     "1 'WSJT-X' 7074000 'FT8' null '-15' 'FT8' 0 0 0 883 1950 'K0SWE' 'DM79LV' null 0 null 0 0 "
     "4294967295 4294967295 'Default' null",
     14},
    {"Parse Status 2.3.1",
     "1 'WSJT-X' 7074000 'FT8' null '-15' 'FT8' 0 0 0 883 1950 'K0SWE' 'DM79LV' null 0 null 0 0 "
     "4294967295 4294967295 'Default' ''",
     15},
    {"Parse Decode", "2 'WSJT-X' 1 10:57:15.000 -5 0.200000 1302 '~' 'JA2EJP N4BP 73' 0 0", 3},
    {"Parse Clear", "3 'WSJT-X'", 1},
    {"Parse QSO Logged",
     "5 'WSJT-X' 2020-10-30T11:29:57.320Z 'T3ST' 'JK73' 7075950 'FT8' '-3' '-7' '5' 'Comment' "
     "'Joe' 2020-10-30T11:28:57.320Z 'T3STR' 'K0SWE' 'DM79LV' '1B' '1D' 'ION'",
     9},
    {"Parse Close", "6 'WSJT-X'", 1},
    {"Parse WSPR Decode", "10 'WSJT-X' 1 12:38:00.000 -18 -0.500000 7040115 0 'K6TGW' 'CM95' 23 0",
     2},
    {"Parse Logged Adif", "12 'WSJT-X' other", -1},  // any cut past its id: nothing is read
};

TEST(WsjtxCaptured, ReadsEachAsWsjtxSentItAndWritesItBack) {
    const auto datagrams = CapturedDatagrams();
    if (datagrams.empty()) {
        GTEST_SKIP() << "golang-github-k0swe-wsjtx-go-dev is not installed";
    }
    for (const CapturedCase& c : kCaptured) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(datagrams.count(c.name), 1u);
        const QByteArray& bytes = datagrams.at(c.name);
        const Parsed parsed = Parse(bytes);
        ASSERT_TRUE(parsed.ok());
        EXPECT_EQ(Describe(parsed.message), c.description);
        EXPECT_EQ(parsed.message.schema, 2u);
        if (!std::holds_alternative<Other>(parsed.message.body) &&
            std::string_view(c.name) != "Parse Status 2.2.2") {
            EXPECT_EQ(Encode(parsed.message).toHex(), bytes.toHex());
        }
    }
}

TEST(WsjtxCaptured, CutDatagramIsReadOnlyWhereATrailingFieldEnds) {
    const auto datagrams = CapturedDatagrams();
    if (datagrams.empty()) {
        GTEST_SKIP() << "golang-github-k0swe-wsjtx-go-dev is not installed";
    }
    for (const CapturedCase& c : kCaptured) {
        SCOPED_TRACE(c.name);
        const QByteArray& bytes = datagrams.at(c.name);
        int readable = 0;
        for (qsizetype size = 0; size <= bytes.size(); ++size) {
            const Parsed cut = Parse(QByteArrayView(bytes).first(size));
            if (cut.ok()) {
                ++readable;
                EXPECT_EQ(cut.message.type, Parse(bytes).message.type);
            } else {
                EXPECT_EQ(cut.failure, size < 4 ? Failure::kNotWsjtx : Failure::kTruncated) << size;
            }
        }
        const qsizetype header = 22;  // magic, schema, type and the id "WSJT-X"
        EXPECT_EQ(readable, c.readableCuts < 0 ? bytes.size() - header + 1 : c.readableCuts);
    }
}

// A header of schema 3 from "WSJT-X" before the hex of the fields; spaces are for reading.
QByteArray Datagram(const char* type, const char* fields) {
    return QByteArray::fromHex(QByteArray("adbccbda 00000003 ") + type + " 00000006 57534a542d58 " +
                               fields);
}

TEST(WsjtxParse, RefusesForeignCutAndImpossibleDatagrams) {
    const char* decode = "01 0259baf8 fffffffb 3fc99999a0000000 00000516 00000001 7e ";
    const struct {
        const char* what;
        QByteArray bytes;
        Failure failure;
    } cases[] = {
        {"empty", {}, Failure::kNotWsjtx},
        {"another magic", QByteArray::fromHex("adbccbdb00000003000000060000000141"),
         Failure::kNotWsjtx},
        {"schema 1", QByteArray::fromHex("adbccbda00000001000000060000000141"),
         Failure::kUnsupportedSchema},
        {"schema 4", QByteArray::fromHex("adbccbda00000004000000060000000141"),
         Failure::kUnsupportedSchema},
        {"no id", QByteArray::fromHex("adbccbda0000000300000006"), Failure::kTruncated},
        {"id longer than the datagram", QByteArray::fromHex("adbccbda0000000300000006fffffff041"),
         Failure::kTruncated},
        {"message longer than the datagram",
         Datagram("00000002", (std::string(decode) + "0000000f 4a41").c_str()),
         Failure::kTruncated},
        {"time of day past midnight",
         Datagram("00000002",
                  "01 05265c00 fffffffb 3fc99999a0000000 00000516 "
                  "00000001 7e 00000002 3733"),
         Failure::kCorrupt},
        {"date and time in a time zone", Datagram("00000005", "00000000 00258611 0277ac48 03"),
         Failure::kCorrupt},
        {"offset of 15 hours", Datagram("00000005", "00000000 00258611 0277ac48 02 0000d2f0"),
         Failure::kCorrupt},
        {"offset cut short", Datagram("00000005", "00000000 00258611 0277ac48 02 0000"),
         Failure::kTruncated},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Parse(c.bytes).failure, c.failure) << c.what;
    }
}

TEST(WsjtxParse, IgnoresUnknownTypesAndTrailingBytes) {
    const struct {
        QByteArray bytes;
        std::string description;
    } cases[] = {
        {Datagram("00000063", "0102030405"), "99 'WSJT-X' other"},
        {Datagram("00000007", ""), "7 'WSJT-X' other"},
        {Datagram("00000006", "00000000ff"), "6 'WSJT-X'"},
        {Datagram("00000000", "00000003 00000000 ffffffff 000000 0102"), "0 'WSJT-X' 3 '' null"},
    };
    for (const auto& c : cases) {
        const Parsed parsed = Parse(c.bytes);
        EXPECT_TRUE(parsed.ok()) << c.description;
        EXPECT_EQ(Describe(parsed.message), c.description);
    }
}

TEST(WsjtxEncode, ReadsBackWhatItWrites) {
    Status status;
    status.mode = "FT8";
    status.dxCall = "";  // empty, where the others are null
    Decode decode;
    decode.isNew = true;
    decode.time = QTime(23, 59, 45);
    decode.snr = -24;
    decode.deltaTime = -1.5;
    decode.message = "CQ K1ABC FN42";
    decode.offAir = true;
    QsoLogged logged;
    logged.timeOff = QDateTime(QDate(2024, 2, 29), QTime(12, 0), Qt::OffsetFromUTC, -3600);
    logged.timeOn = QDateTime(QDate(2024, 2, 29), QTime(11, 58, 30), Qt::LocalTime);
    WsprDecode wspr;
    wspr.drift = -1;
    wspr.callsign = "<PJ4/K1ABC>";
    const Body bodies[] = {Heartbeat{3, "2.6.1", ""}, status, decode,  Clear{}, Clear{2},
                           ReplyTo(decode, 0x02),     logged, Close{}, wspr};
    for (const std::uint32_t schema : {2u, 3u}) {
        for (const Body& body : bodies) {
            Message message;
            message.schema = schema;
            message.id = "WSJT-X - rig 2";
            message.body = body;
            const Parsed parsed = Parse(Encode(message));
            ASSERT_TRUE(parsed.ok()) << Describe(message);
            message.type = parsed.message.type;
            EXPECT_EQ(parsed.message, message) << Describe(message);
        }
    }
}

TEST(StationFromText, ReadsCallerGridAndKindAsWsjtxDoes) {
    const QString me = QStringLiteral("F4ABC");
    const std::pair<const char*, const char*> cases[] = {
        {"CQ K1ABC FN42", "K1ABC FN42 cq"},
        {"QRZ K1ABC", "K1ABC - cq"},
        {"CQ DX K1ABC FN42", "K1ABC FN42 directed"},
        {"CQDX K1ABC FN42", "K1ABC FN42 directed"},
        {"CQ NA K1ABC FN42", "K1ABC FN42 directed"},
        {"CQ POTA K1ABC FN42", "K1ABC FN42 directed"},
        {"CQ 123 K1ABC FN42", "K1ABC FN42 directed"},
        {"CQ PJ4/K1ABC", "PJ4/K1ABC - cq"},
        {"CQ <PJ4/K1ABC> FK52", "PJ4/K1ABC FK52 cq hashed"},
        {"K1ABC G4XYZ IO91", "G4XYZ IO91 other"},
        {"F4ABC G4XYZ IO91", "G4XYZ IO91 me"},
        {"<F4ABC/P> G4XYZ -12", "G4XYZ - me"},
        {"F/F4ABC G4XYZ R-05", "G4XYZ - me"},
        {"K1ABC G4XYZ RR73", "G4XYZ - other"},
        {"K1ABC G4XYZ R IO91", "G4XYZ IO91 other"},
        {"K1ABC <G4XYZ> IO91", "G4XYZ IO91 other hashed"},
        {"K1ABC RR73; W9XYZ <G4XYZ> -12", "G4XYZ - other hashed"},
        {"W9XYZ K1ABC 6A WI", "K1ABC - other"},
        {"CQ K1ABC FN42 ? a2", "K1ABC FN42 cq"},
        {"<...> G4XYZ IO91", "G4XYZ IO91 other"},
        // Free text, and senders nobody knows.
        {"TNX BOB 73 GL", nullptr},
        {"CQ <...> FN42", nullptr},
        {"K1ABC <...> RR73", nullptr},
        {"", nullptr},
        {"CQ FN42 K1ABC", nullptr},
    };
    for (const auto& [text, expected] : cases) {
        const auto station = StationFromText(QString::fromLatin1(text), me);
        if (!expected) {
            EXPECT_FALSE(station) << text;
            continue;
        }
        ASSERT_TRUE(station) << text;
        const char* kinds[] = {"cq", "directed", "me", "other"};
        const std::string got = station->call.toStdString() + " " +
                                (station->grid.isEmpty() ? "-" : station->grid.toStdString()) +
                                " " + kinds[static_cast<int>(station->kind)] +
                                (station->hashed ? " hashed" : "");
        EXPECT_EQ(got, expected) << text;
    }
}

TEST(StationFromWspr, TakesCallAndGridFromTheirFields) {
    const struct {
        const char* call;
        const char* grid;
        const char* expected;  // call, grid; nullptr for no station
    } cases[] = {
        {"K6TGW", "CM95", "K6TGW CM95"}, {"<PJ4/K1ABC>", "FK52uf", "PJ4/K1ABC FK52UF"},
        {"PJ4/K1ABC", "", "PJ4/K1ABC "}, {"K1ABC", "RR73", "K1ABC RR73"},
        {"K1ABC", "FN4", "K1ABC "},      {"K1ABC", "FN42az", "K1ABC "},
        {"", "FN42", nullptr},           {"<...>", "FN42", nullptr},
    };
    for (const auto& c : cases) {
        WsprDecode decode;
        decode.callsign = c.call;
        decode.grid = c.grid;
        const auto station = StationFromWspr(decode);
        ASSERT_EQ(station.has_value(), c.expected != nullptr) << c.call;
        if (station) {
            EXPECT_EQ((station->call + u' ' + station->grid).toStdString(), c.expected);
            EXPECT_EQ(station->kind, StationKind::kOther);
        }
    }
}

}  // namespace
}  // namespace orbida::stations

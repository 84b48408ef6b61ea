#pragma once

// WSJT-X's datagrams as WSJT-X writes them, for the tests to send: through a QDataStream of the
// schema's Qt version, texts as UTF-8 byte arrays, doubles as 64-bit. Written apart from the
// program's own encoder (stations/wsjtx_message.h) so that the two check each other, and checked
// itself against WSJT-X's reference receiver (wsjtx_sender_test.cpp).
#include <QByteArray>
#include <QDataStream>
#include <QIODevice>
#include <QTime>

namespace orbida::test {

struct SentStatus {
    quint64 dialFrequency = 14'074'000;
    QByteArray mode = "FT8";
    QByteArray dxCall = "";
    QByteArray report = "-10";
    QByteArray txMode = "FT8";
    bool txEnabled = false;
    bool transmitting = false;
    bool decoding = false;
    quint32 rxDf = 1500;
    quint32 txDf = 1500;
    QByteArray deCall;
    QByteArray deGrid;
    QByteArray dxGrid = "";
};

struct SentDecode {
    bool isNew = true;
    QTime time = QTime(12, 34, 45);
    qint32 snr = -12;
    double deltaTime = 0.3;
    quint32 deltaFrequency = 1234;
    QByteArray mode = "~";
    QByteArray message;
    bool lowConfidence = false;
    bool offAir = false;
};

class WsjtxSender {
  public:
    explicit WsjtxSender(QByteArray id = "WSJT-X", quint32 schema = 3)
        : id_(std::move(id)), schema_(schema) {}

    QByteArray Heartbeat(quint32 maxSchema = 3, const char* version = "2.6.1",
                         const char* revision = "abc123") const {
        return Write(0, [&](QDataStream& out) {
            out << maxSchema << QByteArray(version) << QByteArray(revision);
        });
    }

    QByteArray Status(const SentStatus& s) const {
        return Write(1, [&](QDataStream& out) {
            out << s.dialFrequency << s.mode << s.dxCall << s.report << s.txMode << s.txEnabled
                << s.transmitting << s.decoding << s.rxDf << s.txDf << s.deCall << s.deGrid
                << s.dxGrid << false << QByteArray("") << false << quint8(0) << quint32(0xFFFFFFFF)
                << quint32(15) << QByteArray("Default") << QByteArray("");
        });
    }

    QByteArray Decode(const SentDecode& d) const {
        return Write(2, [&](QDataStream& out) {
            out << d.isNew << d.time << d.snr << d.deltaTime << d.deltaFrequency << d.mode
                << d.message << d.lowConfidence << d.offAir;
        });
    }

    // The Reply a server sends to answer decode d.
    QByteArray Reply(const SentDecode& d, quint8 modifiers) const {
        return Write(4, [&](QDataStream& out) {
            out << d.time << d.snr << d.deltaTime << d.deltaFrequency << d.mode << d.message
                << d.lowConfidence << modifiers;
        });
    }

    QByteArray Clear() const {
        return Write(3, [](QDataStream&) {});
    }
    QByteArray Close() const {
        return Write(6, [](QDataStream&) {});
    }

  private:
    template <typename Body>
    QByteArray Write(quint32 type, Body body) const {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setVersion(schema_ >= 3 ? QDataStream::Qt_5_4 : QDataStream::Qt_5_2);
        out << quint32(0xADBCCBDA) << schema_ << type << id_;
        body(out);
        return bytes;
    }

    QByteArray id_;
    quint32 schema_;
};

}  // namespace orbida::test

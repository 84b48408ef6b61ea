#pragma once

// A DX cluster node of the test's own on a loopback port.
#include <QByteArray>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <list>
#include <vector>

namespace orbida::testing {

// Each connection plays the script: a step waits for the client to send `awaited` (when not
// empty), then for `pauseMs`, then sends `send`. Everything the client sends is recorded.
class FakeNode {
  public:
    struct Step {
        QByteArray send;
        QByteArray awaited = {};
        int pauseMs = 0;
    };

    explicit FakeNode(std::vector<Step> steps) : script(std::move(steps)) {
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] { Accept(); });
        server_.listen(QHostAddress::LocalHost, 0);
    }
    // The sockets, children of the server, go after the peers they report to: they are silenced
    // first.
    ~FakeNode() {
        for (Peer& peer : peers_) {
            if (peer.socket != nullptr) {
                QObject::disconnect(peer.socket, nullptr, nullptr, nullptr);
            }
        }
    }
    FakeNode(const FakeNode&) = delete;
    FakeNode& operator=(const FakeNode&) = delete;
    quint16 Port() const { return server_.serverPort(); }
    // The node goes down: connections dropped, the port refused.
    void Kill() {
        server_.close();
        for (Peer& peer : peers_) {
            if (peer.socket != nullptr) {
                peer.socket->abort();
            }
        }
    }
    bool Listen(quint16 port) { return server_.listen(QHostAddress::LocalHost, port); }

    std::vector<Step> script;
    QByteArray received;
    int connections = 0;

  private:
    struct Peer {
        QTcpSocket* socket = nullptr;
        std::size_t step = 0;
        QByteArray heard;
        bool paused = false;  // the step's pause is over
    };

    void Accept() {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            ++connections;
            Peer& peer = peers_.emplace_back();
            peer.socket = socket;
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, &peer] {
                const QByteArray bytes = peer.socket->readAll();
                received += bytes;
                peer.heard += bytes;
                Play(peer);
            });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, [&peer] {
                peer.socket->deleteLater();
                peer.socket = nullptr;
            });
            Play(peer);
        }
    }
    void Play(Peer& peer) {
        while (peer.socket != nullptr && peer.step < script.size()) {
            const Step& step = script[peer.step];
            const qsizetype at = peer.heard.indexOf(step.awaited);
            if (at < 0) {
                return;
            }
            if (step.pauseMs > 0 && !peer.paused) {
                QTimer::singleShot(step.pauseMs, peer.socket, [this, &peer] {
                    peer.paused = true;
                    Play(peer);
                });
                return;
            }
            peer.heard.remove(0, at + step.awaited.size());
            peer.paused = false;
            peer.socket->write(step.send);
            peer.socket->flush();
            ++peer.step;
        }
    }

    QTcpServer server_;
    std::list<Peer> peers_;
};

}  // namespace orbida::testing

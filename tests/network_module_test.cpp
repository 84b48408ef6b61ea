// The network module as the program finds it: built into the plugins folder beside the
// executable, and its absence told rather than crashed on; its UDP socket shared in a multicast
// group and refused a port held. (The WSJT-X listener's tests send and answer datagrams through
// it.)
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>
#include <vector>

#include "rotator/network.h"

namespace orbida::rotator::network {
namespace {

TEST(NetworkModule, IsFoundBesideTheProgramOnly) {
    QString why;
    const Functions* functions = LoadFrom(QStringLiteral(ORBIDA_TEST_PROGRAM_FOLDER), &why);
    ASSERT_NE(functions, nullptr) << why.toStdString();
    EXPECT_EQ(functions->version, kVersion);
    EXPECT_NE(functions->reachability, nullptr);
    EXPECT_NE(functions->sendUdp, nullptr);
    const QTemporaryDir empty;
    EXPECT_EQ(LoadFrom(empty.path(), &why), nullptr);
    EXPECT_EQ(why, QStringLiteral("module réseau absent"));
}

struct Received {
    QString address;
    quint16 port = 0;
    QByteArray bytes;
};

// A socket of the module that records what it receives.
struct Listener {
    QObject owner;
    std::vector<Received> received;
    QObject* socket = nullptr;

    Listener() {
        socket = Load(nullptr)->newUdp(&owner,
                                       {[this](const QString& a, quint16 p, const QByteArray& b) {
                                           received.push_back({a, p, b});
                                       }});
    }
    QString Bind(const QString& address, quint16 port) {
        return Load(nullptr)->bindUdp(socket, address, port);
    }
    quint16 Port() const { return static_cast<QUdpSocket*>(socket)->localPort(); }
};

TEST(NetworkUdp, SharesAMulticastGroupWithOtherListeners) {
    const QString group = QStringLiteral("239.255.42.99");
    Listener first, second;
    ASSERT_EQ(first.Bind(group, 0), QString());
    ASSERT_EQ(second.Bind(group, first.Port()), QString());
    QUdpSocket sender;
    ASSERT_TRUE(sender.bind(QHostAddress::AnyIPv4, 0));
    sender.setSocketOption(QAbstractSocket::MulticastLoopbackOption, 1);
    if (sender.writeDatagram("to all", QHostAddress(group), first.Port()) < 0) {
        GTEST_SKIP() << "no multicast route: " << sender.errorString().toStdString();
    }
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !first.received.empty() && !second.received.empty(); }, 5000));
    EXPECT_EQ(first.received.front().bytes, "to all");
    EXPECT_EQ(second.received.front().bytes, "to all");
}

TEST(NetworkUdp, SaysInFrenchWhyItCannotListen) {
    QUdpSocket holder;
    ASSERT_TRUE(holder.bind(QHostAddress::LocalHost, 0, QAbstractSocket::DontShareAddress));
    const quint16 taken = holder.localPort();
    Listener shared;
    ASSERT_EQ(shared.Bind(QStringLiteral("239.255.42.98"), 0), QString());
    const struct {
        QString address;
        quint16 port;
        QString why;
    } cases[] = {
        {QStringLiteral("127.0.0.1"), taken, QStringLiteral("port %1 déjà utilisé").arg(taken)},
        {QStringLiteral("127.0.0.1"), shared.Port(),
         QStringLiteral("port %1 déjà utilisé").arg(shared.Port())},
        {QStringLiteral("192.0.2.1"), 2237,
         QStringLiteral("adresse 192.0.2.1 absente de cet ordinateur")},
        {QStringLiteral("localhost"), 2237, QStringLiteral("adresse invalide : localhost")},
    };
    for (const auto& c : cases) {
        Listener listener;
        EXPECT_EQ(listener.Bind(c.address, c.port), c.why) << c.address.toStdString();
    }
}

}  // namespace
}  // namespace orbida::rotator::network

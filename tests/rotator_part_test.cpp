// The rotator on its own: its menu entries, its heading on the dial, and the address dialog, which
// keeps what it accepts for the next runs and refuses what the command line refuses.
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "fake_part_host.h"
#include "fake_rotctld.h"
#include "rotator/client.h"
#include "ui/map/route_layers.h"
#include "ui/parts/remembered.h"
#include "ui/parts/rotator_dialog.h"
#include "ui/parts/rotator_part.h"

namespace orbida::ui {
namespace {

class RotatorPartTest : public ::testing::Test {
  protected:
    QString Path() const { return dir.filePath(QStringLiteral("orbida.conf")); }
    // One run of the program: the part on the settings file, used, then gone.
    void Run(const std::function<void(RotatorPart&, testing::FakePartHost&)>& use) {
        SettingsStore settings(Path(), RememberedKeys());
        testing::FakePartHost host;
        RotatorPart part;
        host.Add(part).UseSettings(&settings);
        use(part, host);
    }
    // "Rotor…" with its fields filled, then OK.
    static RotatorDialog* Accept(testing::FakePartHost& host, const QString& text, int port) {
        host.Entry(QStringLiteral("Rotor…"))->trigger();
        auto* dialog = host.window.findChild<RotatorDialog*>(QStringLiteral("RotatorDialog"));
        EXPECT_NE(dialog, nullptr);
        if (dialog != nullptr) {
            dialog->findChild<QLineEdit*>(QStringLiteral("host"))->setText(text);
            dialog->findChild<QSpinBox*>(QStringLiteral("port"))->setValue(port);
            dialog->accept();
        }
        return dialog;
    }
    QTemporaryDir dir;
};

// The entries that turn and stop the antenna wait for an address; the dialog floats above all
// windows once the window does.
TEST_F(RotatorPartTest, EntriesWaitForAnAddress) {
    Run([](RotatorPart& part, testing::FakePartHost& host) {
        ASSERT_EQ(host.MenuTexts(MenuPlace::Rotator).size(), 4);  // turn short and long, stop, set
        for (const QString& address : {QString(), QStringLiteral("shack"), QStringLiteral(" ")}) {
            part.SetRotator(address, 4533, false);
            for (const auto& [place, entry] : host.menu) {
                EXPECT_EQ(entry->isEnabled(),
                          !address.trimmed().isEmpty() || entry->text() == QStringLiteral("Rotor…"))
                    << entry->text().toStdString();
            }
        }
        host.topmost = true;
        host.Entry(QStringLiteral("Rotor…"))->trigger();
        ASSERT_EQ(host.fake.topmost.size(), 1u);
        EXPECT_EQ(host.fake.topmost[0]->objectName(), "RotatorDialog");
    });
}

// The third needle and the text follow what the rotator reports; nothing of them shows, and
// nothing is sent, without a rotator.
TEST_F(RotatorPartTest, NeedleAndTextFollowTheRotator) {
    Run([](RotatorPart& part, testing::FakePartHost& host) {
        const auto idle = [&] {
            EXPECT_EQ(host.Shown("LblRotor"), "");
            EXPECT_FALSE(host.dial->RotorNeedleVisible());
            EXPECT_FALSE(part.Rotator()->Busy());
            EXPECT_TRUE(part.Heading().Lines().empty());
        };
        idle();
        host.Tick(testing::kOverNewYork);
        part.TurnRotator(false);
        EXPECT_EQ(part.Rotator()->state(), rotator::Client::State::kDisconnected);

        testing::FakeRotctld daemon;
        part.SetRotator(QStringLiteral("127.0.0.1"), daemon.Port(), false);
        // The azimuth reported, the text, the needle's free end in twips of the dial's frame.
        const std::tuple<const char*, const char*, float, float> readings[] = {
            {"287.000000", "Rotor 287 °", 1753.11f, 492.29f},
            {"-90.000000", "Rotor 270 °", 1740.0f, 580.0f},
            {"405.500000", "Rotor 45 °", 2253.98f, 369.73f},
            // Whole degrees as the dial writes them: 291.5 is the course it shows as 292 °.
            {"-68.500000", "Rotor 292 °", 1760.87f, 470.05f},
        };
        for (const auto& [reported, text, x2, y2] : readings) {
            SCOPED_TRACE(reported);
            daemon.azimuth = reported;
            ASSERT_TRUE(QTest::qWaitFor(
                [&] { return host.Shown("LblRotor") == QString::fromUtf8(text); }, 3000));
            EXPECT_TRUE(host.dial->RotorNeedleVisible());
            EXPECT_NEAR(host.dial->RotorNeedleX2(), x2, 0.5f);
            EXPECT_NEAR(host.dial->RotorNeedleY2(), y2, 0.5f);
            // The heading's line on the other maps: from home, on the needle's course.
            const auto& lines = part.Heading().Lines();
            ASSERT_EQ(lines.size(), 1u);
            EXPECT_NEAR(std::fmod(lines[0].course + 360.0, 360.0),
                        std::fmod(std::stod(reported) + 720.0, 360.0), 1e-6);
        }
        ASSERT_EQ(host.otherLayers.size(), 1u);
        EXPECT_EQ(host.otherLayers[0], static_cast<const ui::MapLayer*>(&part.Heading()));
        part.SetRotator(QString(), 4533, false);
        idle();
    });
}

// "Rotor…" keeps the address for the next runs; an address given for one run is not kept.
TEST_F(RotatorPartTest, DialogKeepsTheAddress) {
    Run([](RotatorPart& part, testing::FakePartHost& host) {
        Accept(host, QStringLiteral("shack"), 4540);
        EXPECT_EQ(part.Rotator()->Host(), "shack");
        part.SetRotator(QStringLiteral("127.0.0.1"), 4600, false);  // --rotator
    });
    Run([](RotatorPart& part, testing::FakePartHost&) {
        EXPECT_EQ(part.Rotator()->Host(), "shack");
        EXPECT_EQ(part.Rotator()->Port(), 4540);
    });
}

// "Rotor…" reads its fields as the command line reads --rotator: what it would refuse is refused
// with the reason, the dialog staying open and nothing kept; brackets and a port typed in the
// host field are taken apart.
TEST_F(RotatorPartTest, DialogRefusesWhatTheCommandLineRefuses) {
    // The host field, the port field, the address kept (empty host: none, "-": refused).
    const std::tuple<QString, int, const char*, int> cases[] = {
        {"bad host", 4533, "-", 0},
        {"[::1]", 4540, "::1", 4540},
        {"127.0.0.1:4902", 4533, "127.0.0.1", 4902},
        {"  ", 4533, "", 4533},
    };
    for (const auto& [text, port, kept, keptPort] : cases) {
        SCOPED_TRACE(text.left(20).toStdString());
        Run([&](RotatorPart& part, testing::FakePartHost& host) {
            part.SetRotator(QStringLiteral("before"), 4600, false);
            RotatorDialog* dialog = Accept(host, text, port);
            ASSERT_NE(dialog, nullptr);
            const bool refused = std::string_view(kept) == "-";
            EXPECT_EQ(dialog->isVisible(), refused);
            EXPECT_EQ(dialog->ResultText().startsWith("Adresse refusée"), refused);
            EXPECT_EQ(part.Rotator()->Host(), refused ? "before" : kept);
            if (!refused) {
                EXPECT_EQ(part.Rotator()->Port(), keptPort);
            }
            dialog->close();
        });
    }
}

}  // namespace
}  // namespace orbida::ui

// The antenna rotator on the main window: the menu's entries and shortcuts turn it to the target,
// its heading shows as a needle and a text, faults leave the window working; the address dialog's
// tester. Driven with a rotator daemon of the test's own.
#include <QAction>
#include <QLineEdit>
#include <QMenu>

#include "fake_rotctld.h"
#include "form_fixture.h"
#include "rotator/client.h"
#include "ui/parts/rotator_dialog.h"

namespace orbida::ui {
namespace {

using testing::FakeRotctld;
using testing::kNewYork;
constexpr QPoint kMoscow(460, 85);

class RotatorFormTest : public testing::FormTest {
  protected:
    void SetUp() override {
        ShowActive();
        Type(QStringLiteral("Paris"));
    }
    QLabel* Status() { return Child("LblRotor"); }
    // From the city box: the shortcuts work wherever the focus is in the window.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(Combo()->lineEdit(), key, modifiers);
    }
    // The first command line after `before` other than the readings, once it reaches the daemon.
    static QByteArray NextCommand(FakeRotctld& daemon, qsizetype before) {
        QByteArray found;
        static_cast<void>(QTest::qWaitFor(
            [&] {
                for (qsizetype i = before; i < daemon.commands.size() && found.isEmpty(); ++i) {
                    const QByteArray& line = daemon.commands[i];
                    found = line == "p" || line == "\\dump_state" ? QByteArray() : line;
                }
                return !found.isEmpty();
            },
            2000));
        return found;
    }
    bool WaitForStatus(const QString& text) {
        return QTest::qWaitFor([&] { return Status()->text() == text; }, 3000);
    }
};

// Ctrl+R and Ctrl+Shift+R send the target's unrounded course (291.53 ° to New York, 111.53 ° the
// long way), Ctrl+Space stops the rotator; the menu's entry aims where the menu was opened, and a
// pinned target is aimed at wherever the pointer is.
TEST_F(RotatorFormTest, TurnsToTheTargetAndStops) {
    // How the rotator is turned, and the command it is sent (empty: none).
    const std::pair<std::string, QByteArray> cases[] = {
        {"short", "P 291.5 0"}, {"long", "P 111.5 0"},   {"stop", "S"},
        {"menu", "P 291.5 0"},  {"pinned", "P 291.5 0"}, {"off", ""}};
    for (const auto& [how, sent] : cases) {
        SCOPED_TRACE(how);
        FakeRotctld daemon;
        daemon.limits = "min_az=0\nmax_az=360\n";
        form.Find<ui::RotatorPart>()->SetRotator(QStringLiteral("127.0.0.1"), daemon.Port(), false);
        ASSERT_TRUE(WaitForStatus(QStringLiteral("Rotor 10 °")));
        ShowActive();  // back from the menu of the case before
        const qsizetype before = daemon.commands.size();
        PointAt(how == "off" ? testing::kOffTheMap : kNewYork);
        if (how == "menu") {
            emit Map()->customContextMenuRequested(Map()->mapFrom(&form, kNewYork));
            PointAt(kMoscow);  // on its way to the entry
            QMenu* menu = form.MapMenu();
            const QList<QAction*> actions = menu->actions();
            const auto entry = std::find_if(actions.begin(), actions.end(), [](QAction* a) {
                return a->text().startsWith("Orienter l'antenne (court");
            });
            ASSERT_NE(entry, actions.end());
            ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(*entry).center());
        } else if (how == "pinned") {
            form.Find<ui::PinPart>()->TogglePin(form.mapToGlobal(kNewYork));
            PointAt(kMoscow);
            Key(Qt::Key_R, Qt::ControlModifier);
            form.Find<ui::PinPart>()->TogglePin(form.mapToGlobal(kMoscow));
        } else {
            Key(how == "stop" ? Qt::Key_Space : Qt::Key_R,
                how == "long" ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
        }
        EXPECT_EQ(NextCommand(daemon, before), sent);
    }
}

TEST(RotatorDialogTest, TesterShowsTheModelAndAzimuthOrTheReason) {
    const std::tuple<QString, bool, QString> cases[] = {
        {" 127.0.0.1 ", false, "Fake rotator, azimut 10 °"},
        {"127.0.0.1", true, "Échec : connexion refusée"},
        {"  ", false, "Échec : aucun hôte"}};
    for (const auto& [host, refuse, result] : cases) {
        SCOPED_TRACE(result.toStdString());
        FakeRotctld daemon;
        const quint16 port = daemon.Port();
        if (refuse) {
            daemon.Refuse();
        }
        RotatorDialog dialog(host, port);
        dialog.show();
        auto* test = dialog.findChild<QPushButton*>("test");
        QTest::mouseClick(test, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return test->isEnabled(); }, 3000));
        EXPECT_EQ(dialog.ResultText(), result);
        EXPECT_EQ(dialog.Host(), host.trimmed());
        EXPECT_EQ(dialog.Port(), port);
    }
}

}  // namespace
}  // namespace orbida::ui

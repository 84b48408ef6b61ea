#include "ui/rotator_dialog.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "fake_rotctld.h"

namespace orbida::ui {
namespace {

TEST(RotatorDialogTest, TesterShowsTheModelAndAzimuthOrTheReason) {
    const struct {
        const char* name;
        QString host;
        bool refuse;
        QString result;
    } cases[] = {
        {"answers", " 127.0.0.1 ", false, "Fake rotator, azimut 10 °"},
        {"refuses", "127.0.0.1", true, "Échec : connexion refusée"},
        {"no host", "  ", false, "Échec : aucun hôte"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing::FakeRotctld daemon;
        const quint16 port = daemon.Port();
        if (c.refuse) {
            daemon.Refuse();
        }
        RotatorDialog dialog(c.host, port);
        dialog.show();
        auto* test = dialog.findChild<QPushButton*>("test");
        QTest::mouseClick(test, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return test->isEnabled(); }, 3000));
        EXPECT_EQ(dialog.ResultText(), c.result);
        EXPECT_EQ(dialog.Host(), c.host.trimmed());
        EXPECT_EQ(dialog.Port(), port);
    }
}

TEST(RotatorDialogTest, StartsFromHamlibsDefaultsAndKeepsWhatIsTyped) {
    RotatorDialog dialog(kDefaultRotatorHost, 0);
    EXPECT_EQ(dialog.Host(), "localhost");
    EXPECT_EQ(dialog.Port(), 4533);
    dialog.findChild<QLineEdit*>("host")->setText("shack.local");
    dialog.findChild<QSpinBox*>("port")->setValue(4534);
    EXPECT_EQ(dialog.Host(), "shack.local");
    EXPECT_EQ(dialog.Port(), 4534);
}

}  // namespace
}  // namespace orbida::ui

// The network module as the program finds it: built into the plugins folder beside the
// executable, and its absence told rather than crashed on.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "rotator/network.h"

namespace orbida::rotator::network {
namespace {

TEST(NetworkModule, IsFoundBesideTheProgramOnly) {
    const QTemporaryDir empty;
    const struct {
        QString folder;
        bool found;
    } cases[] = {
        {QStringLiteral(ORBIDA_TEST_PROGRAM_FOLDER), true},
        {empty.path(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        QString why;
        const Functions* functions = LoadFrom(c.folder, &why);
        EXPECT_EQ(functions != nullptr, c.found);
        if (functions != nullptr) {
            EXPECT_EQ(functions->version, kVersion);
            EXPECT_NE(functions->reachability, nullptr);
        } else {
            EXPECT_EQ(why, QStringLiteral("module réseau absent"));
        }
    }
}

}  // namespace
}  // namespace orbida::rotator::network

// The network module as the program finds it: built into the plugins folder beside the
// executable, and its absence told rather than crashed on.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "rotator/network.h"

namespace orbida::rotator::network {
namespace {

TEST(NetworkModule, IsFoundBesideTheProgramOnly) {
    QString why;
    const Functions* functions = LoadFrom(QStringLiteral(ORBIDA_TEST_PROGRAM_FOLDER), &why);
    ASSERT_NE(functions, nullptr) << why.toStdString();
    EXPECT_EQ(functions->version, kVersion);
    EXPECT_NE(functions->reachability, nullptr);
    const QTemporaryDir empty;
    EXPECT_EQ(LoadFrom(empty.path(), &why), nullptr);
    EXPECT_EQ(why, QStringLiteral("module réseau absent"));
}

}  // namespace
}  // namespace orbida::rotator::network

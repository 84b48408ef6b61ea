// The command line, and the program itself started where it cannot show a window or read its
// city file: it must end at once with a French line and exit status 1, never hang or abort.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "app/options.h"

namespace orbida::app {
namespace {

// The program must end within a second; sanitizers slow its start-up several times over.
#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 kPromptMs = 3000;
#else
constexpr qint64 kPromptMs = 1000;
#endif

TEST(ParseOptions, ReadsOurOptionsAndLeavesQtItsOwn) {
    const struct {
        QStringList arguments;
        bool help, version, check;
        QString checkFile, platform, countryFile, error;
    } cases[] = {
        {{}, false, false, false, {}, {}, {}, {}},
        {{"-h"}, true, false, false, {}, {}, {}, {}},
        {{"--version"}, false, true, false, {}, {}, {}, {}},
        {{"--check"}, false, false, true, {}, {}, {}, {}},
        {{"--check", "a b.txt"}, false, false, true, "a b.txt", {}, {}, {}},
        {{"-platform", "offscreen", "-style", "Fusion"},
         false,
         false,
         false,
         {},
         "offscreen",
         {},
         {}},
        {{"--cty", "/tmp/cty.dat"}, false, false, false, {}, {}, "/tmp/cty.dat", {}},
        {{"--cty=mon cty.dat"}, false, false, false, {}, {}, "mon cty.dat", {}},
        {{"--cty"}, false, false, false, {}, {}, {}, "Il manque la valeur d'une option."},
        {{"--chek"}, false, false, false, {}, {}, {}, "Option inconnue\u00A0: --chek"},
        {{"fichier"}, false, false, false, {}, {}, {}, "Argument inattendu\u00A0: fichier"},
        {{"--check", "a", "b"}, false, false, true, "", {}, {}, "Argument inattendu\u00A0: b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const Options options = ParseOptions(QStringList{"orbida"} + c.arguments);
        EXPECT_EQ(options.help, c.help);
        EXPECT_EQ(options.version, c.version);
        EXPECT_EQ(options.check, c.check);
        EXPECT_EQ(options.checkFile, c.checkFile);
        EXPECT_EQ(options.platform, c.platform);
        EXPECT_EQ(options.countryFile, c.countryFile);
        EXPECT_EQ(options.error, c.error);
    }
}

TEST(ParseOptions, RotatorAddress) {
    const struct {
        const char* value;
        const char* host;  // empty: refused
        quint16 port;
    } cases[] = {
        {"localhost:4533", "localhost", 4533},
        {"192.168.1.20:4534", "192.168.1.20", 4534},
        {"shack.example.org", "shack.example.org", 4533},
        {"[::1]:4540", "::1", 4540},
        {"[fe80::1]", "fe80::1", 4533},
        {"::1", "::1", 4533},
        {"localhost:", "", 0},
        {":4533", "", 0},
        {"localhost:0", "", 0},
        {"localhost:65536", "", 0},
        {"localhost:+45", "", 0},
        {"local host:4533", "", 0},
        {"[::1", "", 0},
        {"[::1]4533", "", 0},
        {"", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const Options options =
            ParseOptions({QStringLiteral("orbida"), QStringLiteral("--rotator"), c.value});
        EXPECT_EQ(options.rotatorHost, QString::fromUtf8(c.host));
        EXPECT_EQ(options.rotatorPort, c.port);
        EXPECT_EQ(options.error.isEmpty(), *c.host != '\0') << options.error.toStdString();
    }
    EXPECT_TRUE(ParseOptions({QStringLiteral("orbida")}).rotatorHost.isEmpty());
}

TEST(Program, EndsAtOnceWithAFrenchLineWithoutADisplayOrAReadableFile) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(fifo, dir.filePath("lien")));
    QFile bad(dir.filePath("zero.txt"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("Paris, 48.85, -2.35\nQuito, 0, 78.5\n");
    bad.close();

    const QStringList noDisplay = {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET",
                                   "QT_QPA_PLATFORM"};
    const struct {
        const char* name;
        QStringList arguments;
        QList<QPair<QString, QString>> set;  // on top of an environment without any display
        int exitCode;
        const char* output;  // in stdout or stderr, UTF-8
    } cases[] = {
        {"no display at all", {}, {}, 1, "aucun écran n'est accessible"},
        {"an X display nobody serves", {}, {{"DISPLAY", ":9876"}}, 1, "DISPLAY=:9876 ne répond"},
        {"xcb asked for, no X", {}, {{"QT_QPA_PLATFORM", "xcb"}}, 1, "DISPLAY n'est pas défini"},
        {"Wayland socket absent",
         {},
         {{"QT_QPA_PLATFORM", "wayland"},
          {"WAYLAND_DISPLAY", "absent-0"},
          {"XDG_RUNTIME_DIR", dir.path()}},
         1,
         "WAYLAND_DISPLAY=absent-0 ne répond"},
        {"version", {"--version"}, {}, 0, "Orbida 2.00"},
        {"help", {"--help"}, {}, 0, "--check [FICHIER]"},
        {"unknown option", {"--chek"}, {}, 1, "Option inconnue"},
        {"check the bundled list", {"--check"}, {}, 0, "Aucun problème"},
        {"check a faulty file", {"--check", bad.fileName()}, {}, 1, "Ligne 2"},
        {"check a link to a pipe", {"--check", dir.filePath("lien")}, {}, 1, "tube nommé"},
        {"check /dev/zero", {"--check", "/dev/zero"}, {}, 1, "périphérique"},
        {"a time that does not parse", {"--time", "2026-13-01T00:00Z"}, {}, 2, "--time"},
        {"a time without its zone", {"--time", "2026-06-21T12:00"}, {}, 2, "UTC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& name : noDisplay) {
            environment.remove(name);
        }
        for (const auto& [name, value] : c.set) {
            environment.insert(name, value);
        }
        QProcess program;
        program.setProcessEnvironment(environment);
        QElapsedTimer clock;
        clock.start();
        program.start(QStringLiteral(ORBIDA_PROGRAM), c.arguments);
        const bool ended = program.waitForFinished(5000);
        const qint64 elapsed = clock.elapsed();
        if (!ended) {
            program.kill();
            program.waitForFinished();
        }
        ASSERT_TRUE(ended);
        EXPECT_LT(elapsed, kPromptMs);
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), c.exitCode);
        const QString output =
            QString::fromUtf8(program.readAllStandardOutput() + program.readAllStandardError())
                .replace(QChar(0xA0), u' ');
        EXPECT_TRUE(output.contains(QString::fromUtf8(c.output))) << output.toStdString();
    }
}

}  // namespace
}  // namespace orbida::app

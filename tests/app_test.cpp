// The command line, and the program itself started where it cannot show a window or read its
// city file: it must end at once with a French line and the right exit status, never hang or abort.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "app/options.h"
#include "file_kinds.h"

namespace orbida::app {
namespace {

// The program must end within a second; sanitizers slow its start-up several times over.
#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 kPromptMs = 3000;
#else
constexpr qint64 kPromptMs = 1000;
#endif

// What the command line asks for, in one line: the options set, and the error if any.
QString Describe(const QStringList& arguments) {
    const Options o = ParseOptions(QStringList{"orbida"} + arguments);
    QStringList set;
    const std::pair<bool, QString> parts[] = {
        {o.help, "help"},
        {o.version, "version"},
        {o.check, "check " + o.checkFile},
        {!o.platform.isEmpty(), "platform " + o.platform},
        {!o.countryFile.isEmpty(), "cty " + o.countryFile},
        {!o.rotatorHost.isEmpty(),
         QStringLiteral("rotator %1 %2").arg(o.rotatorHost).arg(o.rotatorPort)},
        {!o.error.isEmpty(), o.error}};
    for (const auto& [on, text] : parts) {
        if (on) {
            set << text.trimmed();
        }
    }
    return set.join(" | ");
}

TEST(ParseOptions, ReadsOurOptionsAndLeavesQtItsOwn) {
    const std::pair<QStringList, QString> cases[] = {
        {{}, ""},
        {{"--version"}, "version"},
        {{"--check", "a b.txt"}, "check a b.txt"},
        {{"-platform", "offscreen", "-style", "Fusion"}, "platform offscreen"},
        {{"--cty", "/tmp/cty.dat"}, "cty /tmp/cty.dat"},
        {{"--cty=mon cty.dat"}, "cty mon cty.dat"},
        {{"--cty"}, "Il manque la valeur de l'option --cty."},
        {{"--check", "--time"}, "Il manque la valeur de l'option --time."},
        {{"--time", ""},
         "--time attend une date et une heure UTC (exemple\u00A0: 2026-06-21T12:00Z)."},
        {{"--chek"}, "Option inconnue\u00A0: --chek"},
        {{"fichier"}, "Argument inattendu\u00A0: fichier"},
        {{"--check", "a", "b"}, "check | Argument inattendu\u00A0: b"},
    };
    for (const auto& [arguments, described] : cases) {
        EXPECT_EQ(Describe(arguments), described) << arguments.join(' ').toStdString();
    }
}

// --rotator, the "Rotor…" dialog and the settings read an address with the same reader.
TEST(ParseOptions, RotatorAddress) {
    const std::pair<std::string, const char*> accepted[] = {
        {"localhost:4533", "localhost 4533"},
        {"shack.example.org", "shack.example.org 4533"},
        {"shack.example.org.", "shack.example.org. 4533"},
        {" rot_1 ", "rot_1 4533"},
        {"[::1]:4540", "::1 4540"},
        {"[fe80::1%eth0]", "fe80::1%eth0 4533"},
        {"::1", "::1 4533"},
        {"[::1:4533]", "::1:4533 4533"},
        {std::string(253, 'a').insert(63, ".").insert(127, ".").insert(191, ".").substr(0, 253),
         nullptr},
    };
    for (const auto& [value, address] : accepted) {
        const QString text = QString::fromStdString(value);
        EXPECT_EQ(Describe({"--rotator", text}),
                  QStringLiteral("rotator ") +
                      (address != nullptr ? QString::fromUtf8(address) : text + " 4533"))
            << value;
    }
    // The text and a part of the reason.
    const std::pair<std::string, const char*> refused[] = {
        {"localhost:", "port manquant"},
        {":4533", "aucun hôte"},
        {"localhost:0", "port invalide"},
        {"localhost:+45", "port invalide"},
        {"local host:4533", "espace"},
        {"shack!", "«\u00A0!\u00A0»"},
        {"badhost", "contrôle"},
        {"hÃ´te", "non ASCII"},
        {std::string(254, 'a'), "trop long"},
        {std::string(64, 'a') + ".org", "invalide"},
        {"-shack", "invalide"},
        {"999.1.1.1", "IPv4 invalide"},
        {"[::1", "crochet"},
        {"[::1]4533", "après les crochets"},
        {"[shack]:4533", "IPv6"},
        {"[::g]", "IPv6 invalide"},
        {"::1:4533", "[::1]:4533 pour le port 4533, ou [::1:4533]"},
        {"", "aucun hôte"},
    };
    for (const auto& [value, reason] : refused) {
        const QString described = Describe({"--rotator", QString::fromStdString(value)});
        EXPECT_TRUE(described.startsWith("Adresse de rotor invalide") &&
                    described.contains(QString::fromUtf8(reason)))
            << value << ": " << described.toStdString();
    }
}

// --cluster HOST[:PORT] with --call; the port 7300 by default.
TEST(ParseOptions, ClusterAddress) {
    const std::pair<QStringList, const char*> cases[] = {
        {{"--cluster", "dxc.example.org:7373", "--call", "F4ABC-2"},
         "dxc.example.org 7373 F4ABC-2"},
        {{"--cluster", "dxc.example.org", "--call", "F4ABC"}, "dxc.example.org 7300 F4ABC"},
        {{"--cluster", "dxc.example.org:0", "--call", "F4ABC"}, nullptr},
        {{"--cluster", ":7300", "--call", "F4ABC"}, nullptr},
        {{"--cluster", "dxc.example.org"}, nullptr},
    };
    for (const auto& [arguments, read] : cases) {
        const Options options = ParseOptions(QStringList{"orbida"} + arguments);
        EXPECT_EQ(options.error.isEmpty(), read != nullptr) << options.error.toStdString();
        if (read != nullptr) {
            EXPECT_EQ(options.clusterHost + ' ' + QString::number(options.clusterPort) + ' ' +
                          options.clusterCall,
                      QString::fromUtf8(read));
        }
    }
}

// --wsjtx: a port on 127.0.0.1, or a group and a port; anything else refused with the reason.
TEST(ParseOptions, WsjtxAddress) {
    const std::pair<const char*, const char*> cases[] = {
        {"2237", "127.0.0.1 2237"},
        {"224.0.0.1:2237", "224.0.0.1 2237"},
        {" 239.255.0.1:2238 ", "239.255.0.1 2238"},
        {"[ff02::1]:2237", "ff02::1 2237"},
        {"0", nullptr},
        {"224.0.0.1:", nullptr},
        {"a b:2237", nullptr},
        {"", nullptr},
    };
    for (const auto& [text, read] : cases) {
        QString address, problem;
        quint16 port = 0;
        const bool ok = ParseWsjtxAddress(QString::fromUtf8(text), &address, &port, &problem);
        EXPECT_EQ(ok, read != nullptr) << text;
        if (ok) {
            EXPECT_EQ(address + ' ' + QString::number(port), QString::fromUtf8(read)) << text;
        } else {
            EXPECT_FALSE(problem.isEmpty()) << text;
        }
    }
}

TEST(Program, EndsAtOnceWithAFrenchLineWithoutADisplayOrAReadableFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(testing::MakePipe(dir.filePath("pipe")));
    ASSERT_TRUE(QFile::link(dir.filePath("pipe"), dir.filePath("lien")));
    const QString bad = dir.filePath("zero.txt");
    ASSERT_TRUE(testing::WriteBytes(bad, "Paris, 48.85, -2.35\nQuito, 0, 78.5\n"));
    // The arguments, the variables set on top of an environment without any display, the exit
    // status, and a part of what the program writes (UTF-8).
    const std::tuple<QStringList, QList<QPair<QString, QString>>, int, const char*> cases[] = {
        {{}, {}, 1, "aucun écran n'est accessible"},
        {{}, {{"DISPLAY", ":9876"}}, 1, "DISPLAY=:9876 ne répond"},
        {{}, {{"QT_QPA_PLATFORM", "xcb"}}, 1, "DISPLAY n'est pas défini"},
        {{},
         {{"QT_QPA_PLATFORM", "wayland"},
          {"WAYLAND_DISPLAY", "absent-0"},
          {"XDG_RUNTIME_DIR", dir.path()}},
         1,
         "WAYLAND_DISPLAY=absent-0 ne répond"},
        {{"--version"}, {}, 0, "Orbida 2.00"},
        {{"--help"}, {}, 0, "--check [FICHIER]"},
        {{"--check"}, {}, 0, "Aucun problème"},  // the bundled list
        // The report's plurals, French and English, as the program's translations give them.
        {{"--check", bad}, {}, 1, "1 ligne à corriger ; 3 noms et 3 coordonnées lus"},
        {{"--check", bad},
         {{"LANG", "en_US.UTF-8"}},
         1,
         "1 line to correct; 3 names and 3 coordinates read"},
        {{"--check", "--lang", "fr"}, {{"LANG", "en_GB.UTF-8"}}, 0, "Aucun problème : "},
        {{}, {{"LANG", "en_US.UTF-8"}}, 1, "no display is reachable"},
        {{"--check", dir.filePath("lien")}, {}, 1, "tube nommé"},
        {{"--time", "2026-13-01T00:00Z"}, {}, 2, "--time"},
    };
    for (const auto& [arguments, set, exitCode, said] : cases) {
        SCOPED_TRACE(said);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM",
                                 "LANGUAGE", "LC_ALL", "LC_MESSAGES"}) {
            environment.remove(name);
        }
        environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        for (const auto& [name, value] : set) {
            environment.insert(name, value);
        }
        QProcess program;
        program.setProcessEnvironment(environment);
        QElapsedTimer clock;
        clock.start();
        program.start(QStringLiteral(ORBIDA_PROGRAM), arguments);
        ASSERT_TRUE(program.waitForFinished(5000));  // else killed as it goes
        EXPECT_LT(clock.elapsed(), kPromptMs);
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), exitCode);
        const QString output =
            QString::fromUtf8(program.readAllStandardOutput() + program.readAllStandardError())
                .replace(QChar(0xA0), u' ');
        EXPECT_TRUE(output.contains(QString::fromUtf8(said))) << output.toStdString();
    }
}

// The program started on files that are not what they should be: the settings file a pipe (even
// with --reset) or a link to a device node, a --cty file that is a folder or a pipe. It says so on
// the terminal at once, with what each is, and the window comes up; nothing is replaced.
TEST(Program, SaysWhatItsFilesAreAndStartsAtOnce) {
    // What the settings file is, the arguments, a part of what is said.
    const std::tuple<const char*, QStringList, const char*> cases[] = {
        {"pipe", {"--reset"}, "tube nommé"},
        {"device", {}, "périphérique"},
        {"none", {"--cty", "FOLDER"}, "C'est un dossier"},
        {"none", {"--cty", "PIPE"}, "C'est un tube nommé"},
    };
    for (const auto& [settings, arguments, said] : cases) {
        SCOPED_TRACE(said);
        QTemporaryDir dir;
        const QString conf = dir.filePath("config/Orbida/Orbida.conf");
        ASSERT_TRUE(QDir().mkpath(dir.filePath("config/Orbida")));
        ASSERT_TRUE(QDir().mkpath(dir.filePath("folder")));
        ASSERT_TRUE(testing::MakePipe(dir.filePath("pipe")));
        if (std::string_view(settings) == "pipe") {
            ASSERT_TRUE(QFile::link(dir.filePath("pipe"), conf));
        } else if (std::string_view(settings) == "device" &&
                   !(testing::MakeDevice(dir.filePath("zero")) &&
                     QFile::link(dir.filePath("zero"), conf))) {
            continue;  // a device node needs root
        }
        QStringList given = arguments;
        given.replaceInStrings("FOLDER", dir.filePath("folder"));
        given.replaceInStrings("PIPE", dir.filePath("pipe"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        environment.insert("XDG_DATA_HOME", dir.filePath("data"));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setReadChannel(QProcess::StandardError);
        program.start(QStringLiteral(ORBIDA_PROGRAM), given);
        QByteArray output;
        QElapsedTimer clock;
        clock.start();
        while (!output.contains(QByteArray(said)) && clock.elapsed() < 3 * kPromptMs &&
               program.state() != QProcess::NotRunning) {
            program.waitForReadyRead(100);
            output += program.readAllStandardError();
        }
        EXPECT_EQ(program.state(), QProcess::Running);  // still up: the window is there
        program.kill();
        program.waitForFinished();
        EXPECT_TRUE(output.contains(QByteArray(said))) << output.toStdString();
        EXPECT_TRUE(testing::IsPipe(dir.filePath("pipe")));
        if (std::string_view(settings) == "device") {
            EXPECT_TRUE(testing::IsDevice(dir.filePath("zero")));
        }
    }
}

}  // namespace
}  // namespace orbida::app

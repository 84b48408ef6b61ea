#include "app/options.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <array>

#include "rotator/address.h"
#include "rotator/reason_text.h"

namespace orbida::app {
namespace {

// Options that Qt's application objects read themselves, with and without a value. They are known
// here only so that they are not refused; the application object acts on them.
constexpr std::array kQtValueOptions = {"platformpluginpath",
                                        "platformtheme",
                                        "plugin",
                                        "qwindowgeometry",
                                        "geometry",
                                        "qwindowtitle",
                                        "title",
                                        "qwindowicon",
                                        "icon",
                                        "style",
                                        "stylesheet",
                                        "session"};
constexpr std::array kQtFlagOptions = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

QCommandLineOption Hidden(QCommandLineOption option) {
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

}  // namespace

Options ParseOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    // "-platform" is one option, as Qt reads it, not six single-letter ones.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption check(QStringLiteral("check"));
    const QCommandLineOption reset(QStringLiteral("reset"));
    const QCommandLineOption time(QStringLiteral("time"), QString(), QStringLiteral("date"));
    const QCommandLineOption cty(QStringLiteral("cty"), QString(), QStringLiteral("fichier"));
    const QCommandLineOption rotator(QStringLiteral("rotator"), QString(),
                                     QStringLiteral("hôte:port"));
    const QCommandLineOption wsjtx(QStringLiteral("wsjtx"), QString(),
                                   QStringLiteral("[groupe:]port"));
    const QCommandLineOption cluster(QStringLiteral("cluster"), QString(),
                                     QStringLiteral("hôte:port"));
    const QCommandLineOption call(QStringLiteral("call"), QString(), QStringLiteral("indicatif"));
    const QCommandLineOption platform(QStringLiteral("platform"), QString(), QStringLiteral("nom"));
    const QCommandLineOption display(QStringLiteral("display"), QString(), QStringLiteral("x"));
    const QCommandLineOption lang(QStringLiteral("lang"), QString(), QStringLiteral("en|fr"));
    parser.addOptions({help, version, check, reset, time, cty, rotator, wsjtx, cluster, call, lang,
                       Hidden(platform), Hidden(display)});
    for (const char* name : kQtValueOptions) {
        parser.addOption(Hidden(
            QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("valeur"))));
    }
    for (const char* name : kQtFlagOptions) {
        parser.addOption(Hidden(QCommandLineOption(QString::fromLatin1(name))));
    }

    Options options;
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        // A value can only be missing after the last argument, which names its option.
        options.error =
            unknown.isEmpty()
                ? QCoreApplication::translate("Options", "Il manque la valeur de l'option %1.")
                      .arg(arguments.last())
                : QCoreApplication::translate("Options", "Option inconnue\u00A0: %1%2")
                      .arg(unknown.front().size() == 1 ? QStringLiteral("-") : QStringLiteral("--"),
                           unknown.front());
        return options;
    }
    options.help = parser.isSet(help);
    options.version = parser.isSet(version);
    options.check = parser.isSet(check);
    options.reset = parser.isSet(reset);
    options.time = parser.value(time);
    if (parser.isSet(time) && options.time.trimmed().isEmpty()) {
        options.error = QCoreApplication::translate(
            "Options", "--time attend une date et une heure UTC (exemple : 2026-06-21T12:00Z).");
        return options;
    }
    options.countryFile = parser.value(cty);
    QString problem;
    if (parser.isSet(rotator) && !ParseRotatorAddress(parser.value(rotator), &options.rotatorHost,
                                                      &options.rotatorPort, &problem)) {
        options.error = QCoreApplication::translate(
                            "Options",
                            "Adresse de rotor invalide\u00A0: «\u00A0%1\u00A0», %2 (attendu "
                            "HÔTE:PORT, par exemple localhost:4533, ou [::1]:4533 en IPv6)")
                            .arg(parser.value(rotator), problem);
        return options;
    }
    if (parser.isSet(wsjtx) && !ParseWsjtxAddress(parser.value(wsjtx), &options.wsjtxAddress,
                                                  &options.wsjtxPort, &problem)) {
        options.error =
            QCoreApplication::translate("Options",
                                        "Adresse WSJT-X invalide\u00A0: «\u00A0%1\u00A0», %2 "
                                        "(attendu PORT ou GROUPE:PORT, par exemple 2237 ou "
                                        "224.0.0.1:2237)")
                .arg(parser.value(wsjtx), problem);
        return options;
    }
    if (parser.isSet(cluster)) {
        if (!ParseClusterAddress(parser.value(cluster), &options.clusterHost, &options.clusterPort,
                                 &problem)) {
            options.error = QCoreApplication::translate(
                                "Options",
                                "Adresse de cluster invalide\u00A0: «\u00A0%1\u00A0», %2 "
                                "(attendu HÔTE:PORT, par exemple dxc.example.org:7300)")
                                .arg(parser.value(cluster), problem);
            return options;
        }
        options.clusterCall = parser.value(call).trimmed();
        if (options.clusterCall.isEmpty()) {
            options.error =
                QCoreApplication::translate("Options", "--cluster demande aussi --call INDICATIF.");
            return options;
        }
    }
    options.language = parser.value(lang);
    if (parser.isSet(lang) && options.language != QLatin1String("en") &&
        options.language != QLatin1String("fr")) {
        options.error = QCoreApplication::translate("Options", "--lang attend en ou fr.");
        return options;
    }
    options.platform = parser.value(platform);
    options.display = parser.value(display);
    const QStringList positional = parser.positionalArguments();
    if (options.check && positional.size() == 1) {
        options.checkFile = positional.front();
    } else if (!positional.isEmpty()) {
        options.error = QCoreApplication::translate("Options", "Argument inattendu\u00A0: %1")
                            .arg(positional.value(options.check ? 1 : 0));
    }
    return options;
}

bool ParseWsjtxAddress(const QString& text, QString* address, quint16* port, QString* problem) {
    const QString t = text.trimmed();
    const qsizetype colon = t.lastIndexOf(QLatin1Char(':'));
    QString host = colon < 0 ? QStringLiteral("127.0.0.1") : t.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']'))) {
        host = host.mid(1, host.size() - 2);
    }
    bool ok = false;
    const uint value = t.mid(colon + 1).toUInt(&ok);
    if (!ok || value == 0 || value > 65535) {
        if (problem != nullptr) {
            *problem =
                QCoreApplication::translate("Options", "le port doit être un nombre de 1 à 65535");
        }
        return false;
    }
    if (host.isEmpty() || host.size() > 64 || host.contains(QLatin1Char(' '))) {
        if (problem != nullptr) {
            *problem = QCoreApplication::translate("Options", "l'adresse est vide ou invalide");
        }
        return false;
    }
    *address = host;
    *port = static_cast<quint16>(value);
    return true;
}

bool ParseClusterAddress(const QString& text, QString* host, quint16* port, QString* problem) {
    const QString t = text.trimmed();
    const qsizetype colon = t.lastIndexOf(QLatin1Char(':'));
    const QString name = colon < 0 ? t : t.left(colon);
    uint value = 7300;
    bool ok = true;
    if (colon >= 0) {
        value = t.mid(colon + 1).toUInt(&ok);
    }
    if (!ok || value == 0 || value > 65535) {
        if (problem != nullptr) {
            *problem =
                QCoreApplication::translate("Options", "le port doit être un nombre de 1 à 65535");
        }
        return false;
    }
    if (name.isEmpty() || name.size() > 253 || name.contains(QLatin1Char(' '))) {
        if (problem != nullptr) {
            *problem = QCoreApplication::translate("Options", "l'hôte est vide ou invalide");
        }
        return false;
    }
    *host = name;
    *port = static_cast<quint16>(value);
    return true;
}

bool ParseRotatorAddress(const QString& text, QString* host, quint16* port, QString* problem) {
    const rotator::AddressReading reading = rotator::ReadAddress(text.toStdString());
    if (!reading.address) {
        if (problem != nullptr) {
            *problem = rotator::ReasonText(reading.reason);
        }
        return false;
    }
    *host = QString::fromStdString(reading.address->host);
    *port = reading.address->port;
    return true;
}

QString HelpText() {
    return QCoreApplication::translate(
        "Options",
        "Usage\u00A0: orbida [options]\n"
        "Route orthodromique\u00A0: distance, azimut et route depuis une ville vers tout point "
        "du globe.\n"
        "\n"
        "Options\u00A0:\n"
        "  -h, --help        affiche cette aide\n"
        "  -v, --version     affiche la version\n"
        "  --check [FICHIER] vérifie le fichier des villes (par défaut celui que lit le "
        "programme)\n"
        "                    et dit, ligne par ligne, ce qui serait mal lu\u00A0; code de "
        "sortie 0\n"
        "                    quand il est correct, 1 sinon. N'ouvre aucune fenêtre.\n"
        "  --cty FICHIER     lit les pays des indicatifs dans ce fichier cty.dat plutôt que dans\n"
        "                    celui du dossier de données ou celui du système\n"
        "  --reset           oublie les réglages retenus (ville, position, unités…)\n"
        "  --rotator HÔTE:PORT\n"
        "                    le démon de rotor de Hamlib (rotctld) qui oriente l'antenne, pour\n"
        "                    cette fois (sinon celui réglé par «\u00A0Rotor…\u00A0»)\n"
        "                    une adresse IPv6 s'écrit entre crochets\u00A0: [::1]:4533\n"
        "  --wsjtx [GROUPE:]PORT\n"
        "                    écoute les messages UDP de WSJT-X, pour cette fois\u00A0: PORT sur\n"
        "                    127.0.0.1, ou un groupe multicast (224.0.0.1:2237)\n"
        "  --cluster HÔTE:PORT --call INDICATIF\n"
        "                    se connecte à ce nœud de cluster DX avec cet indicatif, pour cette\n"
        "                    fois (port 7300 par défaut)\n"
        "  --lang en|fr      parle anglais ou français, pour cette fois (sinon la langue choisie\n"
        "                    dans le menu de la carte, ou celle du bureau)\n"
        "  --time DATE       fixe l'horloge à un instant UTC (2026-06-21T12:00Z), pour voir la\n"
        "                    ligne grise d'une date prévue\u00A0; pour les essais et la "
        "préparation\n");
}

}  // namespace orbida::app

#pragma once

#include <QString>
#include <QStringList>

namespace orbida::app {

// What the command line asks for. Read before any window system is touched, so that the
// commands that need none work without a display.
struct Options {
    bool help = false;
    bool version = false;
    bool check = false;   // check the city file and stop
    QString checkFile;    // the file to check; empty for the one the program would read
    bool reset = false;   // forget the remembered settings
    QString time;         // --time: the fixed UTC instant, as typed
    QString countryFile;  // --cty: the country file of callsigns, instead of the usual places
    QString rotatorHost;  // --rotator: the rotator daemon for this run; empty: as remembered
    quint16 rotatorPort = 0;
    QString wsjtxAddress;  // --wsjtx: listen to WSJT-X for this run; empty: as remembered
    quint16 wsjtxPort = 0;
    QString clusterHost;  // --cluster: the DX cluster node for this run; empty: as remembered
    quint16 clusterPort = 0;
    QString clusterCall;  // --call: the callsign to log in with
    QString platform;     // Qt's own -platform, which chooses the window system
    QString display;      // Qt's own -display, the X server to use
    QString language;     // --lang: "en" or "fr" for this run; empty: as chosen or the desktop's
    QString error;        // when the command line is not understood, in the language installed
};

// Parses the arguments (the program's name first). Qt's own options (-platform, -style…) are
// accepted and left for the application object, which reads them from argv again.
Options ParseOptions(const QStringList& arguments);

// The host and port of a rotator daemon, read by rotator::ReadAddress: "HOST:PORT", "HOST" (the
// daemon's usual port 4533), "[IPv6]:PORT", "[IPv6]" or an IPv6 address without brackets; false
// (and the reason in problem) when it is none of these.
bool ParseRotatorAddress(const QString& text, QString* host, quint16* port,
                         QString* problem = nullptr);

// WSJT-X's UDP messages to listen to: "PORT" (on 127.0.0.1) or "GROUP:PORT" (a multicast group,
// "[ff02::1]:PORT" in IPv6); false (and the reason) otherwise.
bool ParseWsjtxAddress(const QString& text, QString* address, quint16* port,
                       QString* problem = nullptr);

// A DX cluster node: "HOST:PORT" or "HOST" (port 7300); false (and the reason) otherwise.
bool ParseClusterAddress(const QString& text, QString* host, quint16* port,
                         QString* problem = nullptr);

// The text of --help, in the language installed (French without a translation).
QString HelpText();

}  // namespace orbida::app

#pragma once

#include <QString>
#include <QStringList>

namespace orbida::app {

// What the command line asks for. Read before any window system is touched, so that the
// commands that need none work without a display.
struct Options {
    bool help = false;
    bool version = false;
    bool check = false;  // check the city file and stop
    QString checkFile;   // the file to check; empty for the one the program would read
    bool reset = false;  // forget the remembered settings
    QString time;        // --time: the fixed UTC instant, as typed
    QString platform;    // Qt's own -platform, which chooses the window system
    QString display;     // Qt's own -display, the X server to use
    QString error;       // French, when the command line is not understood
};

// Parses the arguments (the program's name first). Qt's own options (-platform, -style…) are
// accepted and left for the application object, which reads them from argv again.
Options ParseOptions(const QStringList& arguments);

// The text of --help, in French.
QString HelpText();

}  // namespace orbida::app

#include "rotator/network.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <cstdio>

// Defined when the module's code is linked in; null otherwise, and the module is loaded instead.
extern "C" [[gnu::weak]] const orbida::rotator::network::Functions* orbida_network_functions();

namespace orbida::rotator::network {

const Functions* LoadFrom(const QString& programFolder, QString* why) {
    QLibrary module(QDir(programFolder)
                        .filePath(QStringLiteral(ORBIDA_NETWORK_MODULE_FOLDER) +
                                  QStringLiteral("/orbida-network")));
    const auto entry =
        reinterpret_cast<const Functions* (*)()>(module.resolve("orbida_network_functions"));
    const Functions* functions = entry != nullptr ? entry() : nullptr;
    if (functions != nullptr && functions->version == kVersion) {
        return functions;
    }
    if (why != nullptr) {
        *why = entry == nullptr
                   ? QCoreApplication::translate("Rotator", "module réseau absent")
                   : QCoreApplication::translate("Rotator", "module réseau d'une autre version");
    }
    if (entry == nullptr) {
        // The details, in the loader's words, for whoever started the program from a terminal.
        std::fprintf(stderr, "orbida: %s\n", qPrintable(module.errorString()));
    }
    return nullptr;
}

const Functions* Load(QString* why) {
    static QString failure;
    // Only the program's own folder: a module found on a search path could be anyone's.
    static const Functions* const functions =
        orbida_network_functions != nullptr
            ? orbida_network_functions()
            : LoadFrom(QCoreApplication::applicationDirPath(), &failure);
    if (functions == nullptr && why != nullptr) {
        *why = failure;
    }
    return functions;
}

}  // namespace orbida::rotator::network

#include "rotator/network.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

// Defined when the module's code is linked in; null otherwise, and the module is loaded instead.
extern "C" [[gnu::weak]] const orbida::rotator::network::Functions* orbida_network_functions();

namespace orbida::rotator::network {

const Functions* Load(QString* why) {
    static const Functions* functions = nullptr;
    static QString failure;
    static bool tried = false;
    if (!tried) {
        tried = true;
        using Entry = const Functions* (*)();
        Entry entry = orbida_network_functions;
        // Only the program's own folder: a module found on a search path could be anyone's.
        const QString path =
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("orbida-network"));
        if (entry == nullptr) {
            QLibrary module(path);
            entry = reinterpret_cast<Entry>(module.resolve("orbida_network_functions"));
            if (entry == nullptr) {
                failure =
                    QStringLiteral("module réseau introuvable (%1)").arg(module.errorString());
            }
        }
        if (entry != nullptr) {
            functions = entry();
            if (functions == nullptr || functions->version != kVersion) {
                functions = nullptr;
                failure = QStringLiteral("module réseau d'une autre version");
            }
        }
    }
    if (functions == nullptr && why != nullptr) {
        *why = failure;
    }
    return functions;
}

}  // namespace orbida::rotator::network

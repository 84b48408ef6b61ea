#include "dxcc/locate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace orbida::dxcc {
namespace {

const QString kFileName = QStringLiteral("cty.dat");

// "cty.dat" in folder, an exact spelling first, else any letter case ("CTY.DAT" from an archive).
QString UserCopy(const QString& folder) {
    if (folder.isEmpty()) {
        return {};
    }
    const QDir dir(folder);
    QString found;
    for (const QString& entry : dir.entryList(QDir::Files, QDir::Name)) {
        if (entry.compare(kFileName, Qt::CaseInsensitive) == 0 &&
            (found.isEmpty() || entry == kFileName)) {
            found = entry;
        }
    }
    return found.isEmpty() ? QString() : dir.absoluteFilePath(found);
}

std::int32_t VersionDateOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QByteArray bytes = file.read(static_cast<qint64>(CountryFile::kMaxBytes));
    return CountryFile::ScanVersionDate(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

// True when the user's copy is to be preferred to the system's: the later release when both
// carry a dated version entry, else the later modification time; the user's copy on a tie.
bool UserCopyIsNewer(const QString& user, const QFileInfo& system) {
    const std::int32_t userDate = VersionDateOf(user);
    const std::int32_t systemDate = VersionDateOf(system.absoluteFilePath());
    if (userDate > 0 && systemDate > 0 && userDate != systemDate) {
        return userDate > systemDate;
    }
    return QFileInfo(user).lastModified() >= system.lastModified();
}

}  // namespace

CountryFileChoice FindCountryFile(const QString& userDataDir, const QString& systemPath,
                                  const QString& overridePath) {
    CountryFileChoice choice;
    if (!overridePath.isEmpty()) {
        const QFileInfo info(overridePath);
        if (info.isFile()) {
            choice.origin = CountryFileOrigin::CommandLine;
            choice.path = info.absoluteFilePath();
        } else {
            choice.message = QStringLiteral(
                                 "Le fichier des pays «\u00A0%1\u00A0» donné par --cty est "
                                 "introuvable\u00A0: la lecture des indicatifs est désactivée.")
                                 .arg(QDir::toNativeSeparators(overridePath));
        }
        return choice;
    }

    const QString user = UserCopy(userDataDir);
    const QFileInfo system(systemPath);
    const bool hasSystem = !systemPath.isEmpty() && system.isFile();
    if (!user.isEmpty() && (!hasSystem || UserCopyIsNewer(user, system))) {
        choice.origin = CountryFileOrigin::UserData;
        choice.path = user;
    } else if (hasSystem) {
        choice.origin = CountryFileOrigin::System;
        choice.path = system.absoluteFilePath();
    } else {
        const QString folder =
            userDataDir.isEmpty() ? QString() : QDir::toNativeSeparators(userDataDir);
        choice.message =
            QStringLiteral(
                "Aucun fichier des pays\u00A0: placez un fichier «\u00A0cty.dat\u00A0» "
                "dans le dossier %1 (ou installez le paquet hamradio-files) pour "
                "retrouver le pays d'un indicatif.")
                .arg(folder.isEmpty() ? QStringLiteral("de données d'Orbida")
                                      : QStringLiteral("«\u00A0%1\u00A0»").arg(folder));
    }
    return choice;
}

CountryFileLoad LoadCountryFile(const QString& path) {
    CountryFileLoad load;
    load.path = path;
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    // Only a plain file is opened: a named pipe of that name would block the reading forever.
    QByteArray bytes;
    bool read = QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly);
    if (read) {
        // One byte more than is used, so that the reader knows the file was longer; no more than
        // the file holds, so that the buffer is the file's size rather than the limit's.
        bytes = file.read(std::min(file.size(), static_cast<qint64>(CountryFile::kMaxBytes)) + 1);
        read = file.error() == QFileDevice::NoError;
    }
    if (!read) {
        load.message =
            QStringLiteral("Le fichier des pays «\u00A0%1\u00A0» n'a pas pu être lu.").arg(shown);
        return load;
    }
    load.file = CountryFile::Parse(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    load.ok = true;
    if (load.file.isEmpty()) {
        load.message = QStringLiteral(
                           "Le fichier des pays «\u00A0%1\u00A0» ne contient aucun "
                           "préfixe lisible.")
                           .arg(shown);
        if (const QString skipped = load.file.skippedSummary(); !skipped.isEmpty()) {
            load.message += QLatin1Char(' ') + skipped;
        }
        load.ok = false;
    } else if (const QString skipped = load.file.skippedSummary(); !skipped.isEmpty()) {
        load.message =
            QStringLiteral("Fichier des pays «\u00A0%1\u00A0»\u00A0: %2").arg(shown, skipped);
    }
    return load;
}

}  // namespace orbida::dxcc

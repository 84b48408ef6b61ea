#include "dxcc/locate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <optional>

#include "files/safe_file.h"

namespace orbida::dxcc {
namespace {

const QString kFileName = QStringLiteral("cty.dat");

// "cty.dat" in folder in any letter case: any kind of entry counts, so that one that cannot be
// read is named as passed over rather than silently missing.
QString UserCopy(const QString& folder) {
    return folder.isEmpty() ? QString() : files::FindInFolder(folder, kFileName);
}

// A copy looked at to choose between them: read through the one safe way to read a file, so that
// a named pipe, a device or a folder of that name is passed over at once.
struct Candidate {
    QString path;
    files::FileBytes read;
    std::int32_t versionDate = 0;
};

Candidate Probe(const QString& path) {
    Candidate candidate{path,
                        files::ReadRegularFile(path, static_cast<qint64>(CountryFile::kMaxBytes),
                                               files::Oversize::ReadTheStart),
                        0};
    if (candidate.read.ok()) {
        candidate.versionDate = CountryFile::ScanVersionDate(
            std::string_view(candidate.read.bytes.constData(),
                             static_cast<std::size_t>(candidate.read.bytes.size())));
        candidate.read.bytes.clear();  // read again, whole, once chosen
    }
    return candidate;
}

// True when the user's copy is to be preferred to the system's: the later release when both
// carry a dated version entry, else the later modification time; the user's copy on a tie.
bool UserCopyIsNewer(const Candidate& user, const Candidate& system) {
    if (user.versionDate > 0 && system.versionDate > 0 && user.versionDate != system.versionDate) {
        return user.versionDate > system.versionDate;
    }
    return QFileInfo(user.path).lastModified() >= QFileInfo(system.path).lastModified();
}

QString Unreadable(const QString& path, const QString& problem) {
    return QCoreApplication::translate(
               "CountryFile", "Le fichier des pays «\u00A0%1\u00A0» n'a pas pu être lu\u00A0: %2")
        .arg(QDir::toNativeSeparators(path), problem);
}

}  // namespace

CountryFileChoice FindCountryFile(const QString& userDataDir, const QString& systemPath,
                                  const QString& overridePath) {
    CountryFileChoice choice;
    if (!overridePath.isEmpty()) {
        const Candidate given = Probe(QFileInfo(overridePath).absoluteFilePath());
        if (given.read.ok()) {
            choice.origin = CountryFileOrigin::CommandLine;
            choice.path = given.path;
        } else if (given.read.fault == files::ReadFault::Missing) {
            choice.message = QCoreApplication::translate(
                                 "CountryFile",
                                 "Le fichier des pays «\u00A0%1\u00A0» donné par --cty est "
                                 "introuvable\u00A0: la lecture des indicatifs est désactivée.")
                                 .arg(QDir::toNativeSeparators(overridePath));
        } else {
            // It exists: say what it is rather than calling it missing.
            choice.message = QCoreApplication::translate(
                                 "CountryFile",
                                 "Le fichier des pays «\u00A0%1\u00A0» donné par --cty n'a pas "
                                 "pu être lu\u00A0: %2 La lecture des indicatifs est désactivée.")
                                 .arg(QDir::toNativeSeparators(overridePath), given.read.problem);
        }
        return choice;
    }

    // Each copy that is there but cannot be read is passed over for the next, and named.
    std::optional<Candidate> user;
    std::optional<Candidate> system;
    QStringList skipped;
    const auto consider = [&skipped](const QString& path, std::optional<Candidate>& slot) {
        if (path.isEmpty()) {
            return;
        }
        Candidate candidate = Probe(path);
        if (candidate.read.ok()) {
            slot = std::move(candidate);
        } else if (candidate.read.fault != files::ReadFault::Missing) {
            skipped << Unreadable(path, candidate.read.problem);
        }
    };
    consider(UserCopy(userDataDir), user);
    consider(systemPath.isEmpty() ? QString() : QFileInfo(systemPath).absoluteFilePath(), system);
    choice.skipped = skipped.join(u' ');
    if (user && (!system || UserCopyIsNewer(*user, *system))) {
        choice.origin = CountryFileOrigin::UserData;
        choice.path = user->path;
    } else if (system) {
        choice.origin = CountryFileOrigin::System;
        choice.path = system->path;
    } else {
        const QString folder =
            userDataDir.isEmpty() ? QString() : QDir::toNativeSeparators(userDataDir);
        choice.message = folder.isEmpty()
                             ? QCoreApplication::translate(
                                   "CountryFile",
                                   "Aucun fichier des pays\u00A0: placez un fichier «\u00A0"
                                   "cty.dat\u00A0» "
                                   "dans le dossier de données d'Orbida (ou installez le paquet "
                                   "hamradio-files) pour retrouver le pays d'un indicatif.")
                             : QCoreApplication::translate(
                                   "CountryFile",
                                   "Aucun fichier des pays\u00A0: placez un fichier «\u00A0"
                                   "cty.dat\u00A0» "
                                   "dans le dossier «\u00A0%1\u00A0» (ou installez le paquet "
                                   "hamradio-files) pour retrouver le pays d'un indicatif.")
                                   .arg(folder);
        if (!choice.skipped.isEmpty()) {
            choice.message = choice.skipped + u' ' + choice.message;
        }
    }
    return choice;
}

CountryFileLoad LoadCountryFile(const QString& path) {
    CountryFileLoad load;
    load.path = path;
    const QString shown = QDir::toNativeSeparators(path);
    // One byte more than is used, so that the reader knows the file was longer; no more than the
    // file holds, so that the buffer is the file's size rather than the limit's.
    files::FileBytes read = files::ReadRegularFile(
        path, static_cast<qint64>(CountryFile::kMaxBytes) + 1, files::Oversize::ReadTheStart);
    if (!read.ok()) {
        load.message = Unreadable(path, read.problem);
        return load;
    }
    const QByteArray bytes = std::move(read.bytes);
    load.file = CountryFile::Parse(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    load.ok = true;
    if (load.file.isEmpty()) {
        load.message =
            QCoreApplication::translate("CountryFile",
                                        "Le fichier des pays «\u00A0%1\u00A0» ne contient aucun "
                                        "préfixe lisible.")
                .arg(shown);
        if (const QString skipped = load.file.skippedSummary(); !skipped.isEmpty()) {
            load.message += QLatin1Char(' ') + skipped;
        }
        load.ok = false;
    } else if (const QString skipped = load.file.skippedSummary(); !skipped.isEmpty()) {
        load.message = QCoreApplication::translate("CountryFile",
                                                   "Fichier des pays «\u00A0%1\u00A0»\u00A0: %2")
                           .arg(shown, skipped);
    }
    return load;
}

}  // namespace orbida::dxcc

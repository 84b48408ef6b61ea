#include "files/safe_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <atomic>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace orbida::files {

std::optional<QByteArray> ReadAtMost(qint64 size,
                                     const std::function<qint64(char*, qint64)>& read) {
    QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
    qint64 done = 0;
    while (done < size) {
        const qint64 n = read(bytes.data() + done, size - done);
        if (n < 0) {
            return std::nullopt;
        }
        if (n == 0) {
            break;  // truncated since it was opened: what is there is what there is
        }
        done += std::min(n, size - done);
    }
    bytes.truncate(static_cast<qsizetype>(done));
    return bytes;
}

namespace {
std::atomic<BetweenLookAndOpen> betweenLookAndOpen = nullptr;
}  // namespace

void SetBetweenLookAndOpen(BetweenLookAndOpen hook) {
    betweenLookAndOpen = hook;
}

QString SizeInMegabytes(qint64 bytes) {
    return QString::number((bytes + (1 << 20) - 1) >> 20);
}

namespace {

QString TooLargeText(qint64 size, qint64 maxBytes) {
    return QCoreApplication::translate("SafeFile",
                                       "Il pèse %1\u00A0Mo, au-delà de la limite de %2\u00A0Mo.")
        .arg(SizeInMegabytes(size), SizeInMegabytes(maxBytes));
}

#ifdef Q_OS_UNIX
QString SystemFailure(int error, bool writing = false) {
    switch (error) {
        case ENOENT:
            return QCoreApplication::translate(
                "SafeFile", "Il n'existe pas, ou c'est un lien symbolique vers un fichier absent.");
        case ELOOP:
            return QCoreApplication::translate("SafeFile",
                                               "Les liens symboliques forment une boucle.");
        case EACCES:
        case EPERM:
            return writing
                       ? QCoreApplication::translate("SafeFile", "L'écriture y est refusée.")
                       : QCoreApplication::translate("SafeFile", "L'accès en lecture est refusé.");
        case ENXIO:  // to write, also a named pipe that no one reads
            return writing ? QCoreApplication::translate(
                                 "SafeFile",
                                 "C'est un tube nommé ou une prise réseau locale, pas "
                                 "un fichier ordinaire.")
                           : QCoreApplication::translate(
                                 "SafeFile",
                                 "C'est une prise réseau locale, pas un fichier "
                                 "ordinaire.");
        case EROFS:
            return QCoreApplication::translate(
                "SafeFile", "Il est sur un système de fichiers en lecture seule.");
        case ENOTDIR:
            return QCoreApplication::translate("SafeFile",
                                               "Un élément de son chemin n'est pas un dossier.");
        case ENOSPC:
        case EDQUOT:
            return QCoreApplication::translate("SafeFile", "Le disque est plein.");
        default:
            return QCoreApplication::translate("SafeFile", "Erreur système %1.").arg(error);
    }
}

QString KindOf(mode_t mode) {
    if (S_ISDIR(mode)) {
        return QCoreApplication::translate("SafeFile",
                                           "C'est un dossier, pas un fichier ordinaire.");
    }
    if (S_ISFIFO(mode)) {
        return QCoreApplication::translate("SafeFile",
                                           "C'est un tube nommé, pas un fichier ordinaire.");
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return QCoreApplication::translate("SafeFile",
                                           "C'est un périphérique, pas un fichier ordinaire.");
    }
    if (S_ISSOCK(mode)) {
        return QCoreApplication::translate(
            "SafeFile", "C'est une prise réseau locale, pas un fichier ordinaire.");
    }
    return QCoreApplication::translate("SafeFile", "Ce n'est pas un fichier ordinaire.");
}

int OpenWithoutWaiting(const QByteArray& name, int flags) {
    int fd = -1;
    do {
        fd = ::open(name.constData(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0600);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
};

FileBytes Refusal(ReadFault fault, QString problem) {
    FileBytes result;
    result.fault = fault;
    result.problem = std::move(problem);
    return result;
}
#endif

}  // namespace

#ifdef Q_OS_UNIX
FileBytes ReadRegularFile(const QString& path, qint64 maxBytes, Oversize oversize) {
    const int fd = OpenWithoutWaiting(QFile::encodeName(path), O_RDONLY);
    if (fd < 0) {
        const int error = errno;
        if (error == ENXIO) {  // a local socket: it exists, but is no file
            return Refusal(ReadFault::NotRegular, SystemFailure(error));
        }
        return Refusal(error == ENOENT ? ReadFault::Missing : ReadFault::Unreadable,
                       SystemFailure(error));
    }
    const FdCloser closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return Refusal(ReadFault::Unreadable, SystemFailure(errno));
    }
    if (!S_ISREG(info.st_mode)) {
        return Refusal(ReadFault::NotRegular, KindOf(info.st_mode));
    }
    FileBytes result;
    result.size = info.st_size;
    if (result.size > maxBytes && oversize == Oversize::Refuse) {
        result.fault = ReadFault::TooLarge;
        result.problem = TooLargeText(result.size, maxBytes);
        return result;
    }
    // A regular file never makes a read wait; the descriptor blocks again so that a read is never
    // cut short for nothing.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) {
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    std::optional<QByteArray> bytes =
        ReadAtMost(std::min(result.size, maxBytes), [fd](char* buffer, qint64 length) -> qint64 {
            ssize_t n = 0;
            do {
                n = ::read(fd, buffer, static_cast<std::size_t>(length));
            } while (n < 0 && errno == EINTR);
            return n;
        });
    if (!bytes) {
        return Refusal(ReadFault::Unreadable, SystemFailure(errno));
    }
    result.bytes = std::move(*bytes);
    return result;
}

WriteOutcome WriteRegularFile(const QString& path, const QByteArray& bytes) {
    const QByteArray name = QFile::encodeName(path);
    // Looked at first, so that a device is never even opened; then checked again on what opened.
    struct stat info {};
    if (::stat(name.constData(), &info) == 0) {
        if (!S_ISREG(info.st_mode)) {
            return {false, KindOf(info.st_mode)};
        }
    } else if (errno != ENOENT) {
        return {false, SystemFailure(errno, true)};
    }
    if (const BetweenLookAndOpen hook = betweenLookAndOpen) {
        hook(path);
    }
    const int fd = OpenWithoutWaiting(name, O_WRONLY | O_CREAT);
    if (fd < 0) {
        return {false, SystemFailure(errno, true)};
    }
    const FdCloser closer{fd};
    if (::fstat(fd, &info) != 0) {
        return {false, SystemFailure(errno, true)};
    }
    if (!S_ISREG(info.st_mode)) {
        return {false, KindOf(info.st_mode)};
    }
    // The new text over the old, then the rest cut: the file is never left empty by a full disk.
    qint64 done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done,
                                   static_cast<std::size_t>(bytes.size() - done), done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return {false, SystemFailure(n < 0 ? errno : ENOSPC, true)};
        }
        done += n;
    }
    if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) {
        return {false, SystemFailure(errno, true)};
    }
    return {true, {}};
}
#else
FileBytes ReadRegularFile(const QString& path, qint64 maxBytes, Oversize oversize) {
    FileBytes result;
    const QFileInfo info(path);
    if (!info.exists()) {
        result.fault = ReadFault::Missing;
        result.problem = QCoreApplication::translate("SafeFile", "Il n'existe pas.");
        return result;
    }
    if (!info.isFile()) {
        result.fault = ReadFault::NotRegular;
        result.problem =
            QCoreApplication::translate("SafeFile", "Ce n'est pas un fichier ordinaire.");
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.fault = ReadFault::Unreadable;
        result.problem = QCoreApplication::translate("SafeFile", "Il ne s'ouvre pas.");
        return result;
    }
    result.size = file.size();
    if (result.size > maxBytes && oversize == Oversize::Refuse) {
        result.fault = ReadFault::TooLarge;
        result.problem = TooLargeText(result.size, maxBytes);
        return result;
    }
    std::optional<QByteArray> bytes =
        ReadAtMost(std::min(result.size, maxBytes),
                   [&file](char* buffer, qint64 length) { return file.read(buffer, length); });
    if (!bytes) {
        result.fault = ReadFault::Unreadable;
        result.problem = QCoreApplication::translate("SafeFile", "La lecture a échoué.");
        return result;
    }
    result.bytes = std::move(*bytes);
    return result;
}

WriteOutcome WriteRegularFile(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        return {false,
                QCoreApplication::translate("SafeFile", "Ce n'est pas un fichier ordinaire.")};
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        return {false, QCoreApplication::translate("SafeFile", "L'écriture a échoué.")};
    }
    return {true, {}};
}
#endif

QString FindInFolder(const QString& folder, const QString& fileName) {
    const QDir dir(folder);
    QString found;
    int foundRank = -1;
    const QStringList entries = dir.entryList(
        QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(fileName, Qt::CaseInsensitive) != 0) {
            continue;
        }
        const int rank =
            (QFileInfo(dir.filePath(entry)).isFile() ? 2 : 0) + (entry == fileName ? 1 : 0);
        if (rank > foundRank) {
            found = entry;
            foundRank = rank;
        }
    }
    return found.isEmpty() ? QString() : dir.absoluteFilePath(found);
}

}  // namespace orbida::files

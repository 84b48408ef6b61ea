#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace orbida::files {

// Reads at most size bytes into one buffer of that size through read (bytes read, 0 at the end,
// negative on error): a file that grows while it is read never costs more than its size at open.
std::optional<QByteArray> ReadAtMost(qint64 size, const std::function<qint64(char*, qint64)>& read);

// Why a file was not read.
enum class ReadFault {
    None,
    Missing,     // no such file, or a link to none
    NotRegular,  // a folder, a named pipe, a device, a socket
    TooLarge,    // a regular file over the limit, refused
    Unreadable,  // a loop of links, no permission, an error while reading
};

struct FileBytes {
    ReadFault fault = ReadFault::None;
    QByteArray bytes;
    QString problem;  // French, one or two sentences saying why, without the file's name
    qint64 size = 0;  // the file's size when it was opened, when it was a regular file

    bool ok() const { return fault == ReadFault::None; }
};

// What to do with a regular file larger than the limit.
enum class Oversize {
    Refuse,        // not read at all (TooLarge)
    ReadTheStart,  // its first maxBytes bytes are read, as if the file ended there
};

// The one way the program opens a file for reading. It never blocks: the file is opened without
// waiting (a named pipe would otherwise wait for a writer for ever) and judged on what was opened,
// not on its name, so that nothing swapped in between a look and the opening can pass. Only a
// regular file is read (a link to one will do), and no more of it than its size when opened.
FileBytes ReadRegularFile(const QString& path, qint64 maxBytes,
                          Oversize oversize = Oversize::Refuse);

struct WriteOutcome {
    bool ok = false;
    QString problem;  // French, without the file's name
};

// Writes bytes over the file at path, but only when that is absent or a regular file once links
// are followed: a link to a device, a named pipe or a folder is left as it is. The file is checked
// again once opened, so that nothing swapped in meanwhile is written through. Written in place (a
// link stays a link, and a file kept elsewhere behind it is the one that changes).
WriteOutcome WriteRegularFile(const QString& path, const QByteArray& bytes);

// The entry of folder named fileName in any letter case ("CTY.DAT" from an archive), as an
// absolute path, or an empty string. When several spellings lie side by side, a plain file (or a
// link to one) wins over anything else, then the exact spelling, then the first name in sorted
// order. Every kind of entry counts, broken links and named pipes included, so that reading it
// can say what is wrong with it rather than calling it missing.
QString FindInFolder(const QString& folder, const QString& fileName);

// Called by WriteRegularFile between its look at the name and the opening, when set: the tests
// swap the name for a pipe or a device there, as another program might. Null in the program.
using BetweenLookAndOpen = void (*)(const QString& path);
void SetBetweenLookAndOpen(BetweenLookAndOpen hook);

// "3", the whole megabytes a size takes, rounded up.
QString SizeInMegabytes(qint64 bytes);

}  // namespace orbida::files

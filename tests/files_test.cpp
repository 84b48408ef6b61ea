// The one way the program reads and writes its files: whatever a name turns out to be, or
// becomes while it is being opened, nothing waits, nothing unbounded is read and nothing that is
// not a regular file is written through.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstring>

#include "file_kinds.h"
#include "files/safe_file.h"

namespace orbida::files {
namespace {

using testing::IsDevice;
using testing::IsPipe;
using testing::OddKinds;
using testing::OddKindsAndLimits;
using testing::WriteBytes;

// A file that changes while it is read: never more than the size seen at open, never a loop.
TEST(ReadAtMost, StopsAtTheSizeSeenAtOpen) {
    // The size seen at open, what each read returns (then 0), the length read if any.
    const std::tuple<qint64, std::vector<qint64>, std::optional<qsizetype>> cases[] = {
        {10, {4, 4, 4, 4, 4, 4, 4, 4}, 10},  // grows for ever
        {10, {1000}, 10},                    // answers more than asked
        {10, {3, 0}, 3},                     // truncated
        {0, {}, 0},
        {10, {4, -1}, std::nullopt},  // read error
    };
    for (const auto& [size, answers, expected] : cases) {
        SCOPED_TRACE(answers.size());
        std::size_t call = 0;
        const auto bytes = ReadAtMost(size, [&](char* buffer, qint64 length) -> qint64 {
            const qint64 n = call < answers.size() ? answers[call++] : 0;
            std::memset(buffer, 'x', static_cast<std::size_t>(std::clamp<qint64>(n, 0, length)));
            return n;
        });
        ASSERT_EQ(bytes.has_value(), expected.has_value());
        if (bytes) {
            EXPECT_EQ(bytes->count('x'), *expected);
            EXPECT_EQ(bytes->size(), *expected);
        }
    }
}

// Each kind of name is answered at once, with what it is: never a wait on a pipe, never a read
// of a device, never a file read past its limit.
TEST(ReadRegularFile, SaysWhatANameIsInsteadOfWaitingOnIt) {
    const std::vector<testing::OddKind> kinds = OddKindsAndLimits(
        "n'existe", qint64{3} << 20, "4\u00A0Mo, au-delà de la limite de 3\u00A0Mo");
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        QTemporaryDir dir;
        const QString file = dir.filePath("f");
        if (!kind.make(dir.path(), file)) {
            continue;  // a device node needs root
        }
        const testing::PipeWatchdog watchdog(dir.path());
        const FileBytes read = ReadRegularFile(file, qint64{3} << 20);
        EXPECT_FALSE(watchdog.Fired());
        EXPECT_FALSE(read.ok());
        EXPECT_TRUE(read.bytes.isEmpty());
        EXPECT_TRUE(read.problem.contains(QString::fromUtf8(kind.said)))
            << read.problem.toStdString();
    }
}

TEST(ReadRegularFile, ReadsARegularFileOrItsStart) {
    QTemporaryDir dir;
    ASSERT_TRUE(WriteBytes(dir.filePath("f"), "0123456789"));
    ASSERT_TRUE(QFile::link(dir.filePath("f"), dir.filePath("link")));
    // The name, the limit, what is done over it, what is read (nothing: refused).
    const std::tuple<const char*, qint64, Oversize, std::optional<QByteArray>> cases[] = {
        {"f", 10, Oversize::Refuse, "0123456789"},
        {"link", 100, Oversize::Refuse, "0123456789"},
        {"f", 9, Oversize::Refuse, std::nullopt},
        {"f", 4, Oversize::ReadTheStart, "0123"},
    };
    for (const auto& [name, limit, oversize, expected] : cases) {
        SCOPED_TRACE(limit);
        const FileBytes read = ReadRegularFile(dir.filePath(name), limit, oversize);
        ASSERT_EQ(read.ok(), expected.has_value());
        EXPECT_EQ(read.size, 10);
        if (expected) {
            EXPECT_EQ(read.bytes, *expected);
        } else {
            EXPECT_EQ(read.fault, ReadFault::TooLarge);
        }
    }
}

// Writes through a name only to a regular file, or where there is nothing yet; whatever else it
// is (a link to a device, a pipe, a folder) is left exactly as it was.
TEST(WriteRegularFile, WritesOnlyARegularFileOrNothing) {
    for (const auto& kind : OddKinds()) {
        SCOPED_TRACE(kind.name);
        QTemporaryDir dir;
        const QString file = dir.filePath("f");
        if (!kind.make(dir.path(), file)) {
            continue;
        }
        const bool pipe = IsPipe(file) || IsPipe(dir.filePath("pipe"));
        const bool device = IsDevice(file) || IsDevice(dir.filePath("zero"));
        const testing::PipeWatchdog watchdog(dir.path());
        const WriteOutcome outcome = WriteRegularFile(file, "[display]\nunit=km\n");
        EXPECT_FALSE(watchdog.Fired());
        EXPECT_FALSE(outcome.ok);
        EXPECT_TRUE(outcome.problem.contains(QString::fromUtf8(kind.said)))
            << outcome.problem.toStdString();
        EXPECT_EQ(IsPipe(file) || IsPipe(dir.filePath("pipe")), pipe);
        EXPECT_EQ(IsDevice(file) || IsDevice(dir.filePath("zero")), device);
    }
    // Absent, a regular file (longer before), a link to one (a dotfiles folder): written, the link
    // kept a link.
    QTemporaryDir dir;
    ASSERT_TRUE(WriteBytes(dir.filePath("long"), QByteArray(100, 'x')));
    ASSERT_TRUE(WriteBytes(dir.filePath("target"), "old"));
    ASSERT_TRUE(QFile::link(dir.filePath("target"), dir.filePath("link")));
    for (const char* name : {"new", "long", "link"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(WriteRegularFile(dir.filePath(name), "unit=km\n").ok);
        EXPECT_EQ(ReadRegularFile(dir.filePath(name), 100).bytes, "unit=km\n");
    }
    EXPECT_TRUE(QFileInfo(dir.filePath("link")).isSymLink());
    EXPECT_EQ(ReadRegularFile(dir.filePath("target"), 100).bytes, "unit=km\n");
    // A path through a file, as under a settings folder that is a file.
    const WriteOutcome through = WriteRegularFile(dir.filePath("long/f"), "x");
    EXPECT_FALSE(through.ok);
    EXPECT_TRUE(through.problem.contains("pas un dossier")) << through.problem.toStdString();
}

// What the name is swapped for between the look and the opening, as the hook sets it.
QString swappedIn;

// A pipe (with a reader, so that it opens for writing) or a device node put in the place of a
// regular file just after WriteRegularFile looked at it: refused for what opened, left as it was.
TEST(WriteRegularFile, RefusesWhatIsSwappedInAfterTheLook) {
    const std::pair<testing::MakeKind, const char*> cases[] = {
        {[](const QString&, const QString& file) { return testing::MakePipe(file); }, "tube nommé"},
        {[](const QString&, const QString& file) { return testing::MakeDevice(file); },
         "périphérique"},
    };
    for (const auto& [make, said] : cases) {
        SCOPED_TRACE(said);
        QTemporaryDir dir;
        const QString file = dir.filePath("f");
        swappedIn = dir.filePath("odd");
        ASSERT_TRUE(WriteBytes(file, "old"));
        if (!make(dir.path(), swappedIn)) {
            continue;  // a device node needs root
        }
        const int reader = ::open(QFile::encodeName(swappedIn).constData(), O_RDONLY | O_NONBLOCK);
        SetBetweenLookAndOpen([](const QString& path) {
            ::rename(QFile::encodeName(swappedIn).constData(), QFile::encodeName(path).constData());
        });
        const WriteOutcome outcome = WriteRegularFile(file, "new");
        SetBetweenLookAndOpen(nullptr);
        EXPECT_FALSE(outcome.ok);
        EXPECT_TRUE(outcome.problem.contains(QString::fromUtf8(said)))
            << outcome.problem.toStdString();
        EXPECT_TRUE(IsPipe(file) || IsDevice(file));
        if (IsPipe(file)) {
            char byte = 0;
            EXPECT_LE(::read(reader, &byte, 1), 0);  // nothing went into it
        }
        ::close(reader);
    }
}

}  // namespace
}  // namespace orbida::files

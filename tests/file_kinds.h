#pragma once

// Whatever a file name can turn out to be, made in a temporary folder of the test's own: the
// device node is made there too (as root), never taken from the system's.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

namespace orbida::testing {

inline bool MakePipe(const QString& path) {
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

// A character device with /dev/zero's numbers; false when not root (then the case is skipped).
inline bool MakeDevice(const QString& path) {
    return ::geteuid() == 0 &&
           ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0600, ::makedev(1, 5)) == 0;
}

inline bool IsPipe(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
}

inline bool IsDevice(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISCHR(info.st_mode);
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Makes `file` (in `dir`) into one kind of thing that is no regular file. Returns false when it
// could not be made here (a device node without root).
using MakeKind = std::function<bool(const QString& dir, const QString& file)>;

struct OddKind {
    const char* name;
    MakeKind make;
    const char* said;  // a part of the French reason
};

inline std::vector<OddKind> OddKinds() {
    return {
        {"pipe", [](const QString&, const QString& file) { return MakePipe(file); }, "tube nommé"},
        {"link to a pipe",
         [](const QString& dir, const QString& file) {
             return MakePipe(dir + "/pipe") && QFile::link(dir + "/pipe", file);
         },
         "tube nommé"},
        {"device", [](const QString&, const QString& file) { return MakeDevice(file); },
         "périphérique"},
        {"link to a device",
         [](const QString& dir, const QString& file) {
             return MakeDevice(dir + "/zero") && QFile::link(dir + "/zero", file);
         },
         "périphérique"},
        {"folder", [](const QString& dir, const QString& file) { return QDir(dir).mkpath(file); },
         "dossier"},
        {"loop of links",
         [](const QString& dir, const QString& file) {
             return QFile::link(file, dir + "/other") && QFile::link(dir + "/other", file);
         },
         "boucle"},
    };
}

// The odd kinds, and also no entry at all, a link to nothing and a regular file one byte over a
// reader's limit, with what is said of the missing one and of the large one.
inline std::vector<OddKind> OddKindsAndLimits(const char* absentSaid, qint64 limit,
                                              const char* largeSaid) {
    std::vector<OddKind> kinds = OddKinds();
    kinds.push_back({"absent", [](const QString&, const QString&) { return true; }, absentSaid});
    kinds.push_back(
        {"link to nothing",
         [](const QString& dir, const QString& file) { return QFile::link(dir + "/absent", file); },
         "absent"});
    kinds.push_back({"too large",
                     [limit](const QString&, const QString& file) {
                         QFile f(file);
                         return f.open(QIODevice::WriteOnly) && f.resize(limit + 1);
                     },
                     largeSaid});
    return kinds;
}

// Should anything wait on a pipe of a folder for more than a few seconds, opens each of them for
// writing, which ends the wait, and remembers it: the test then fails instead of hanging.
class PipeWatchdog {
  public:
    explicit PipeWatchdog(QString folder)
        : thread_([this, folder = std::move(folder)] {
              QElapsedTimer clock;
              clock.start();
              while (!done_) {
                  if (clock.elapsed() > kPatienceMs) {
                      fired_ = true;
                      QDirIterator it(folder, QDir::AllEntries | QDir::System | QDir::Hidden,
                                      QDirIterator::Subdirectories);
                      while (it.hasNext()) {
                          const int fd = ::open(QFile::encodeName(it.next()).constData(),
                                                O_WRONLY | O_NONBLOCK);
                          if (fd >= 0) {
                              ::close(fd);
                          }
                      }
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(10));
              }
          }) {}
    ~PipeWatchdog() {
        done_ = true;
        thread_.join();
    }
    bool Fired() const { return fired_; }

  private:
    static constexpr qint64 kPatienceMs = 3000;
    std::atomic<bool> done_ = false;
    std::atomic<bool> fired_ = false;
    std::thread thread_;
};

}  // namespace orbida::testing

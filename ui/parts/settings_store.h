#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVariant>
#include <functional>
#include <map>

namespace orbida::ui {

// The settings file (INI, as QSettings writes it), kept by the program rather than by a QSettings
// on the file itself, which opens it blocking and writes through whatever it links to:
// - read once, through files::ReadRegularFile: a named pipe, a device, a folder or a loop of links
//   is never waited on, and a file over kMaxFileBytes is ignored (only the known keys are written
//   back over it);
// - only the known keys are kept, in memory;
// - changes are written in a batch, once none has come for kQuietMs (the end of a drag of the
//   window) and never sooner than kMinIntervalMs after the save before, from a timer rather than
//   from the event that made them, and at the latest when the store goes;
// - written through files::WriteRegularFile only where nothing is or a regular file is, once links
//   are followed. When the file cannot be written (or read), the settings stay in memory for the
//   run and the reason is said once, in French, through the reporter.
class SettingsStore : public QObject {
  public:
    static constexpr qint64 kMaxFileBytes = qint64{1} << 20;
    static constexpr int kQuietMs = 500;
    static constexpr int kMinIntervalMs = 1000;

    // Forget: what the file holds is not read (orbida --reset); it is written afresh.
    enum class Start { Read, Forget };

    SettingsStore(QString path, QStringList keys, Start start = Start::Read,
                  QObject* parent = nullptr);
    ~SettingsStore() override;  // writes what waits

    QString Path() const { return path_; }
    QVariant Value(const QString& key) const;
    void SetValue(const QString& key, const QVariant& value);
    // Writes what waits now.
    void Save();

    // Whether the settings still go to the file; false once it could not be read or written.
    bool Kept() const { return kept_; }
    // Times the file was written.
    int Saves() const { return saves_; }
    // Whether a change waits to be written.
    bool Waiting() const { return dirty_; }

    // Who says what could not be kept. What was to be said before one was set is said to it at
    // once.
    void SetReporter(std::function<void(const QString&)> report);

  private:
    void Read(Start start);
    void Report(const QString& text);
    void GiveUp(const QString& why);

    QString path_;
    QStringList keys_;
    std::map<QString, QVariant> values_;
    QTimer timer_;
    QElapsedTimer lastSave_;
    bool dirty_ = false;
    bool kept_ = true;
    int saves_ = 0;
    std::function<void(const QString&)> report_;
    QStringList unsaid_;
};

// Where the settings live: the desktop's place for them, on Linux ~/.config/Orbida/Orbida.conf.
QString DefaultSettingsPath();

}  // namespace orbida::ui

#include "ui/parts/settings_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <optional>

#include "files/safe_file.h"

namespace orbida::ui {
namespace {

// QSettings reads and writes the INI text, each time on a private copy in a temporary folder:
// the real file is only ever touched through the safe reader and writer.
struct Parsed {
    bool ok = false;  // false: no temporary folder to read it in
    std::map<QString, QVariant> values;
};

Parsed ParseIni(const QByteArray& bytes, const QStringList& keys) {
    QTemporaryDir scratch;
    const QString copy = scratch.filePath(QStringLiteral("copy.conf"));
    if (!scratch.isValid() || !files::WriteRegularFile(copy, bytes).ok) {
        return {};
    }
    Parsed parsed{true, {}};
    const QSettings settings(copy, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) {
        return parsed;  // damaged: read as nothing set
    }
    for (const QString& key : keys) {
        if (settings.contains(key)) {
            parsed.values[key] = settings.value(key);
        }
    }
    return parsed;
}

std::optional<QByteArray> FormatIni(const std::map<QString, QVariant>& values) {
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        return std::nullopt;
    }
    const QString copy = scratch.filePath(QStringLiteral("copy.conf"));
    {
        QSettings settings(copy, QSettings::IniFormat);
        for (const auto& [key, value] : values) {
            settings.setValue(key, value);
        }
        settings.sync();
        if (settings.status() != QSettings::NoError) {
            return std::nullopt;
        }
    }
    files::FileBytes read = files::ReadRegularFile(copy, SettingsStore::kMaxFileBytes);
    if (read.fault == files::ReadFault::Missing) {
        return QByteArray();  // nothing set: QSettings writes no file
    }
    return read.ok() ? std::optional<QByteArray>(std::move(read.bytes)) : std::nullopt;
}

}  // namespace

SettingsStore::SettingsStore(QString path, QStringList keys, Start start, QObject* parent)
    : QObject(parent), path_(std::move(path)), keys_(std::move(keys)) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &SettingsStore::Save);
    Read(start);
}

SettingsStore::~SettingsStore() {
    Save();
}

void SettingsStore::Read(Start start) {
    const QString shown = QDir::toNativeSeparators(path_);
    const files::FileBytes read = files::ReadRegularFile(path_, kMaxFileBytes);
    switch (read.fault) {
        case files::ReadFault::None:
            if (start == Start::Read) {
                Parsed parsed = ParseIni(read.bytes, keys_);
                if (!parsed.ok) {
                    // Not written over either: what it holds was never seen.
                    GiveUp(QCoreApplication::translate(
                               "SettingsStore",
                               "le fichier des réglages «\u00A0%1\u00A0» n'a pas pu "
                               "être lu, faute de dossier temporaire où le lire.")
                               .arg(shown));
                    return;
                }
                values_ = std::move(parsed.values);
            }
            break;
        case files::ReadFault::Missing:
            break;  // the first run
        case files::ReadFault::TooLarge:
            if (start == Start::Read) {
                Report(QCoreApplication::translate(
                           "SettingsStore",
                           "Le fichier des réglages «\u00A0%1\u00A0» est ignoré\u00A0: "
                           "%2 Orbida n'y écrira plus que ses propres réglages.")
                           .arg(shown, read.problem));
            }
            break;
        case files::ReadFault::NotRegular:
        case files::ReadFault::Unreadable:
            GiveUp(QCoreApplication::translate(
                       "SettingsStore",
                       "le fichier des réglages «\u00A0%1\u00A0» ne peut pas être lu. %2")
                       .arg(shown, read.problem));
            return;
    }
    // Forgotten (--reset): written afresh when the store goes, even with nothing set meanwhile. A
    // file too large to read is replaced at the first change.
    dirty_ = start == Start::Forget && read.fault != files::ReadFault::Missing;
}

QVariant SettingsStore::Value(const QString& key) const {
    const auto found = values_.find(key);
    return found == values_.end() ? QVariant() : found->second;
}

void SettingsStore::SetValue(const QString& key, const QVariant& value) {
    const auto found = values_.find(key);
    if (found != values_.end() && found->second == value) {
        return;
    }
    values_[key] = value;
    dirty_ = true;
    if (!kept_) {
        return;
    }
    // Every change puts the save off until changes stop; the saves before set the earliest time.
    qint64 wait = kQuietMs;
    if (lastSave_.isValid()) {
        wait = std::max(wait, kMinIntervalMs - lastSave_.elapsed());
    }
    timer_.start(static_cast<int>(wait));
}

void SettingsStore::Save() {
    timer_.stop();
    if (!dirty_ || !kept_) {
        return;
    }
    dirty_ = false;
    const QString shown = QDir::toNativeSeparators(path_);
    const std::optional<QByteArray> bytes = FormatIni(values_);
    if (!bytes) {
        GiveUp(QCoreApplication::translate(
                   "SettingsStore",
                   "aucun dossier temporaire où préparer le fichier «\u00A0%1\u00A0».")
                   .arg(shown));
        return;
    }
    const QString folder = QFileInfo(path_).absolutePath();
    if (!QDir().mkpath(folder)) {
        GiveUp(QCoreApplication::translate(
                   "SettingsStore",
                   "le dossier «\u00A0%1\u00A0» ne peut pas être créé (il est en "
                   "lecture seule, ou son accès est refusé).")
                   .arg(QDir::toNativeSeparators(folder)));
        return;
    }
    const files::WriteOutcome outcome = files::WriteRegularFile(path_, *bytes);
    if (!outcome.ok) {
        GiveUp(QCoreApplication::translate(
                   "SettingsStore",
                   "le fichier des réglages «\u00A0%1\u00A0» ne peut pas être écrit. %2")
                   .arg(shown, outcome.problem));
        return;
    }
    ++saves_;
    lastSave_.start();
}

void SettingsStore::GiveUp(const QString& why) {
    kept_ = false;
    timer_.stop();
    Report(QCoreApplication::translate(
               "SettingsStore", "Les réglages ne seront pas gardés après cette session\u00A0: %1")
               .arg(why));
}

void SettingsStore::SetReporter(std::function<void(const QString&)> report) {
    report_ = std::move(report);
    const QStringList unsaid = std::exchange(unsaid_, {});
    for (const QString& text : unsaid) {
        Report(text);
    }
}

void SettingsStore::Report(const QString& text) {
    if (report_) {
        report_(text);
    } else {
        unsaid_ << text;
    }
}

QString DefaultSettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/%1/%2.conf")
               .arg(QCoreApplication::organizationName(), QCoreApplication::applicationName());
}

}  // namespace orbida::ui

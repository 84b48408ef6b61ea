// The settings file as the program keeps it: never waited on, never written through to what is
// not a regular file, ignored when absurdly large, written in batches, and what cannot be kept
// said once.
#include <QDir>
#include <QTemporaryDir>

#include "file_kinds.h"
#include "files/safe_file.h"
#include "form_fixture.h"
#include "ui/parts/remembered.h"
#include "ui/parts/settings_store.h"

namespace orbida::ui {
namespace {

using testing::kCities;
using tracking::DistanceUnit;

// What the file turns out to be, the window changed a few times, the run ended: the settings
// worked for the run, the file's entry is as it was, and one message (in French, naming what it
// is) said so, whether the file was read or forgotten (--reset).
TEST(SettingsStore, KeepsSettingsInMemoryWhereTheFileCannotBeWritten) {
    std::vector<testing::OddKind> kinds = testing::OddKinds();
    // A settings folder that cannot be made, as in a read-only ~/.config: /proc takes none, even
    // from root.
    kinds.push_back({"folder not made", [](const QString&, const QString&) { return true; },
                     "en lecture seule"});
    for (const auto start : {SettingsStore::Start::Read, SettingsStore::Start::Forget}) {
        for (const auto& kind : kinds) {
            SCOPED_TRACE(kind.name);
            QTemporaryDir dir;
            const QString file = std::string_view(kind.name) == "folder not made"
                                     ? QStringLiteral("/proc/orbida-test/Orbida/Orbida.conf")
                                     : dir.filePath("Orbida.conf");
            if (!kind.make(dir.path(), file)) {
                continue;  // a device node needs root
            }
            const testing::PipeWatchdog watchdog(dir.path());
            const bool pipe = testing::IsPipe(file) || testing::IsPipe(dir.filePath("pipe"));
            const bool device = testing::IsDevice(file) || testing::IsDevice(dir.filePath("zero"));
            testing::FakePlatform fake;
            {
                SettingsStore settings(file, RememberedKeys(), start);
                Form1 form(cities::ParseCityFile(kCities), fake.Services());
                form.UseSettings(&settings);
                // Said at start when the file is what cannot be written, at the first save when
                // its folder cannot be made.
                QApplication::processEvents();
                const bool atStart = std::string_view(kind.name) != "folder not made";
                EXPECT_EQ(fake.messages.size(), atStart ? 1u : 0u);
                for (int i = 0; i < 3; ++i) {
                    form.Find<ui::ReadingsPart>()->CycleUnit();
                    settings.Save();
                }
                EXPECT_EQ(ReadRemembered(settings).unit, DistanceUnit::Kilometres);  // 3 cycles
                form.Find<ui::ReadingsPart>()->SetLongRoute(true);
                EXPECT_TRUE(ReadRemembered(settings).longRoute);
                EXPECT_FALSE(settings.Kept());
                EXPECT_EQ(settings.Saves(), 0);
                QApplication::processEvents();
            }
            EXPECT_FALSE(watchdog.Fired());
            ASSERT_EQ(fake.messages.size(), 1u);
            EXPECT_TRUE(fake.messages[0].contains("ne seront pas gardés") &&
                        fake.messages[0].contains(QString::fromUtf8(kind.said)))
                << fake.messages[0].toStdString();
            EXPECT_EQ(testing::IsPipe(file) || testing::IsPipe(dir.filePath("pipe")), pipe);
            EXPECT_EQ(testing::IsDevice(file) || testing::IsDevice(dir.filePath("zero")), device);
        }
    }
}

// Only the keys the program knows are kept: an oversized file is not read at all (and said so
// once), a small one is read; either way what is written back holds the known keys alone.
TEST(SettingsStore, KeepsOnlyTheKnownKeys) {
    QByteArray junk;
    for (int i = 0; junk.size() < (qint64{2} << 20); ++i) {
        junk += "key" + QByteArray::number(i) + "=value\n";
    }
    // The file's other keys, whether the home is read, what is said.
    const std::tuple<QByteArray, bool, const char*> cases[] = {
        {"other=1\n", true, nullptr},
        {junk, false, "3\u00A0Mo, au-delà de la limite de 1\u00A0Mo"},
    };
    for (const auto& [other, read, said] : cases) {
        SCOPED_TRACE(other.size());
        QTemporaryDir dir;
        const QString file = dir.filePath("Orbida.conf");
        ASSERT_TRUE(testing::WriteBytes(file, "[General]\n" + other + "[reference]\nhome=Paris\n"));
        QStringList reports;
        {
            SettingsStore settings(file, RememberedKeys());
            settings.SetReporter([&reports](const QString& text) { reports << text; });
            EXPECT_EQ(ReadRemembered(settings).home, read ? "Paris" : "");
            RememberUnit(settings, DistanceUnit::NauticalMiles);
        }
        EXPECT_EQ(reports.size(), said != nullptr ? 1 : 0);
        if (said != nullptr) {
            EXPECT_TRUE(reports.value(0).contains(QString::fromUtf8(said)))
                << reports.value(0).toStdString();
        }
        const QByteArray written = files::ReadRegularFile(file, qint64{4} << 20).bytes;
        EXPECT_FALSE(written.contains("other") || written.contains("key1="));
        EXPECT_TRUE(written.contains("unit=nmi"));
        EXPECT_EQ(written.contains("home=Paris"), read);
    }
}

// A drag of the window, or changes in a row, are written once they stop, never from the change
// itself; another change right after is written no sooner than a second after that; what waits
// is written when the store goes.
TEST(SettingsStore, WritesInBatches) {
    QTemporaryDir dir;
    const QString file = dir.filePath("Orbida.conf");
    testing::FakePlatform fake;
    std::optional<SettingsStore> settings(std::in_place, file, RememberedKeys());
    {
        Form1 form(cities::ParseCityFile(kCities), fake.Services());
        form.UseSettings(&*settings);
        form.show();
        for (int step = 0; step < 40; ++step) {  // a drag
            form.move(100 + step, 100 + step / 2);
            QApplication::processEvents();
        }
        EXPECT_EQ(settings->Saves(), 0);
        EXPECT_TRUE(settings->Waiting());
        ASSERT_TRUE(QTest::qWaitFor([&] { return settings->Saves() == 1; }, 2000));
        EXPECT_EQ(ReadRemembered(SettingsStore(file, RememberedKeys())).position, QPoint(139, 119));
        form.Find<ui::ReadingsPart>()->CycleUnit();
        QTest::qWait(SettingsStore::kQuietMs + 100);
        EXPECT_EQ(settings->Saves(), 1);  // within a second of the drag's save
        ASSERT_TRUE(QTest::qWaitFor([&] { return settings->Saves() == 2; }, 2000));
        form.Find<ui::ReadingsPart>()->CycleUnit();
    }
    EXPECT_TRUE(settings->Waiting());
    settings.reset();
    EXPECT_EQ(ReadRemembered(SettingsStore(file, RememberedKeys())).unit,
              DistanceUnit::NauticalMiles);
    EXPECT_TRUE(fake.messages.empty());
}

}  // namespace
}  // namespace orbida::ui

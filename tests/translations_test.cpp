// The English translation against the sources: lupdate is run on a copy of the .ts, which must
// then hold every text of the sources, none of them unfinished, none left over from texts gone,
// and each translation must keep its source's placeholders (a lost "%1" would show a text without
// the value it names; a stray one would show "%1" itself).
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <map>
#include <set>

namespace {

struct Message {
    QString source;
    QStringList translations;  // one, or one per plural form
    QString type;              // "unfinished", "vanished", "obsolete", or empty
};

// Every message of a .ts, keyed by context and source.
std::map<std::pair<QString, QString>, Message> ReadTs(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    std::map<std::pair<QString, QString>, Message> messages;
    QXmlStreamReader xml(&file);
    QString context;
    Message message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (xml.name() == QLatin1String("message")) {
                message = {};
            } else if (xml.name() == QLatin1String("source")) {
                message.source = xml.readElementText();
            } else if (xml.name() == QLatin1String("translation")) {
                message.type = xml.attributes().value(QLatin1String("type")).toString();
                // Its text, or one <numerusform> per plural form.
                QString text;
                while (!xml.atEnd() && !(xml.readNext() == QXmlStreamReader::EndElement &&
                                         xml.name() == QLatin1String("translation"))) {
                    if (xml.isStartElement() && xml.name() == QLatin1String("numerusform")) {
                        message.translations << xml.readElementText();
                    } else if (xml.isCharacters()) {
                        text += xml.text();
                    }
                }
                if (message.translations.isEmpty()) {
                    message.translations << text;
                }
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            messages[{context, message.source}] = message;
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return messages;
}

QStringList Placeholders(const QString& text) {
    static const QRegularExpression placeholder(QStringLiteral("%(\\d+|n)"));
    QStringList found;
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(text)) {
        found << match.captured();
    }
    found.sort();
    return found;
}

using Messages = std::map<std::pair<QString, QString>, Message>;

void ExpectComplete(const Messages& kept, const Messages& wanted) {
    ASSERT_FALSE(wanted.empty());
    for (const auto& [key, message] : wanted) {
        const std::string where = (key.first + u'|' + key.second).toStdString();
        EXPECT_TRUE(kept.count(key) != 0) << "not in the .ts: " << where;
        EXPECT_TRUE(message.type.isEmpty()) << message.type.toStdString() << ": " << where;
        ASSERT_FALSE(message.translations.isEmpty()) << where;
        for (const QString& translation : message.translations) {
            EXPECT_FALSE(translation.isEmpty()) << "empty: " << where;
            QStringList expected = Placeholders(message.source);
            if (message.translations.size() > 1) {
                expected.removeAll(QStringLiteral("%n"));  // a singular form may spell it out
            }
            QStringList placeholders = Placeholders(translation);
            placeholders.removeAll(message.translations.size() > 1 ? QStringLiteral("%n")
                                                                   : QString());
            EXPECT_EQ(placeholders, expected) << where;
        }
    }
    for (const auto& [key, message] : kept) {
        EXPECT_TRUE(wanted.count(key) != 0)
            << "left over: " << (key.first + u'|' + key.second).toStdString();
    }
}

// Each .ts against the sources as lupdate reads them now: English has every text; French, whose
// texts are the sources' own, has the plural forms of every text that counts something.
TEST(TranslationsTest, EveryTextOfTheSourcesHasItsTranslation) {
    const struct {
        const char* language;
        QStringList options;
    } files[] = {{"en", {}}, {"fr", {QStringLiteral("-pluralonly")}}};
    for (const auto& [language, options] : files) {
        SCOPED_TRACE(language);
        const QString name = QStringLiteral("orbida_%1.ts").arg(QLatin1String(language));
        const QString original = QStringLiteral(ORBIDA_TS_FOLDER "/") + name;
        const QTemporaryDir folder;
        const QString updated = folder.filePath(name);
        ASSERT_TRUE(QFile::copy(original, updated));
        QProcess lupdate;
        lupdate.start(
            QStringLiteral(ORBIDA_LUPDATE),
            options + QStringList{QStringLiteral("-source-language"), QStringLiteral("fr"),
                                  QStringLiteral("-target-language"), QLatin1String(language),
                                  QStringLiteral("-no-obsolete"), QStringLiteral("-locations"),
                                  QStringLiteral("none"), QStringLiteral("@" ORBIDA_SOURCES_LIST),
                                  QStringLiteral("-ts"), updated});
        ASSERT_TRUE(lupdate.waitForFinished(60000));
        ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
        ExpectComplete(ReadTs(original), ReadTs(updated));
    }
}

}  // namespace

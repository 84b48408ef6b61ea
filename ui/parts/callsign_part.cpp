#include "ui/parts/callsign_part.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <cmath>
#include <cstdio>

#include "geodesy/numbers.h"
#include "ui/window/style.h"
#include "ui/window/twips.h"

namespace orbida::ui {
namespace {

// Finding the file reads the candidates' version entries; both steps stay off the window's thread.
CountryFileReading ReadCountryFile(const QString& userDataDir, const QString& systemPath,
                                   const QString& overridePath) {
    CountryFileReading reading;
    reading.choice = dxcc::FindCountryFile(userDataDir, systemPath, overridePath);
    if (reading.choice.origin != dxcc::CountryFileOrigin::None) {
        reading.load = dxcc::LoadCountryFile(reading.choice.path);
    }
    return reading;
}

void PrintLine(const QString& text) {
    std::fputs((QCoreApplication::translate("CallsignPart", "orbida\u00A0: %1").arg(text) + u'\n')
                   .toLocal8Bit()
                   .constData(),
               stderr);
    std::fflush(stderr);
}

// "UTC+9", "UTC+5:30", "UTC-3:30".
QString OffsetText(double hours) {
    const long minutes = std::lround(hours * 60.0);
    const long whole = std::labs(minutes);
    QString text =
        QStringLiteral("UTC") + (minutes < 0 ? u'-' : u'+') + QString::number(whole / 60);
    if (whole % 60 != 0) {
        text += QStringLiteral(":%1").arg(whole % 60, 2, 10, QLatin1Char('0'));
    }
    return text;
}

// "33° 9713 Kms", from the frame's whole-degree azimuth and its distance in the unit shown.
QString PathText(double azimuth, double km, tracking::DistanceUnit unit) {
    return QString::fromStdString(geodesy::FormatWhole(azimuth)) + QStringLiteral("° ") +
           QString::fromStdString(tracking::FormatDistance(km, unit)).simplified();
}

}  // namespace

void CallsignPart::Build(PartHost& host) {
    host_ = &host;
}

void CallsignPart::SetCountryFilePlaces(const QString& userDataDir, const QString& systemPath,
                                        const QString& overridePath) {
    countryPlaces_ = CountryFilePlaces{userDataDir, systemPath, overridePath};
    // A file named on the command line is read at once, in the background once the window has
    // been shown, so that a fault in it is told at start. Otherwise the file (a third of a
    // megabyte, read in a few milliseconds) waits for the first callsign: most sessions type none
    // and never hold it in memory.
    if (!overridePath.isEmpty()) {
        QTimer::singleShot(0, host_->Window(), [this] { StartCountryFile(); });
    }
}

void CallsignPart::StartCountryFile() {
    if (!countryPlaces_ || countryFileSettled_ || countryReading_.isValid()) {
        return;
    }
    const CountryFilePlaces places = *countryPlaces_;
    countryReading_ = QtConcurrent::run([places] {
        return ReadCountryFile(places.userDataDir, places.systemPath, places.overridePath);
    });
    countryReading_.then(host_->Window(), [this](CountryFileReading reading) {
        if (!countryFileSettled_) {
            CountryFileRead(std::move(reading));
        }
    });
}

// The country file as read, waiting for the worker when it is still at it, or reading it here
// when it has not started yet. Null without a usable file.
const dxcc::CountryFile* CallsignPart::CountryFileNow() {
    if (!countryFileSettled_ && countryPlaces_) {
        if (countryReading_.isValid()) {
            countryReading_.waitForFinished();
            CountryFileRead(countryReading_.result());
        } else {
            CountryFileRead(ReadCountryFile(countryPlaces_->userDataDir, countryPlaces_->systemPath,
                                            countryPlaces_->overridePath));
        }
    }
    return countryFile_.load.ok ? &countryFile_.load.file : nullptr;
}

void CallsignPart::CountryFileRead(CountryFileReading reading) {
    countryFileSettled_ = true;
    countryFile_ = std::move(reading);
    // Said once, for whoever started the program from a terminal: a --cty file that is missing,
    // a copy passed over because it could not be read, a file that could not be read, or what was
    // skipped in it. No file at all is no fault.
    const bool commandLine = countryPlaces_ && !countryPlaces_->overridePath.isEmpty();
    if (countryFile_.choice.origin == dxcc::CountryFileOrigin::None) {
        if (commandLine || !countryFile_.choice.skipped.isEmpty()) {
            PrintLine(countryFile_.choice.message);
        }
        return;
    }
    if (!countryFile_.choice.skipped.isEmpty()) {
        PrintLine(countryFile_.choice.skipped);
    }
    if (!countryFile_.load.message.isEmpty()) {
        PrintLine(countryFile_.load.message);
    }
}

QString CallsignPart::CountryFileDescription() const {
    if (!countryFileSettled_ || !countryFile_.load.ok) {
        return {};
    }
    QString text = QCoreApplication::translate("CallsignPart", "Fichier des pays\u00A0: %1")
                       .arg(QDir::toNativeSeparators(countryFile_.load.path));
    // A release is named by the date of its "=VERyyyymmdd" entry, or else by the country that
    // lists "=VERSION", which its release notes give.
    const dxcc::CountryFile& file = countryFile_.load.file;
    if (file.versionDate() > 0) {
        text =
            QCoreApplication::translate("CallsignPart", "%1, version %2").arg(text, file.version());
    } else if (!file.version().isEmpty()) {
        text = QCoreApplication::translate("CallsignPart",
                                           "%1, version «\u00A0%2\u00A0» (entrée =VERSION)")
                   .arg(text, file.version());
    }
    const QDateTime modified = QFileInfo(countryFile_.load.path).lastModified();
    if (modified.isValid()) {
        text = QCoreApplication::translate("CallsignPart", "%1, du %2")
                   .arg(text, modified.date().toString(Qt::ISODate));
    }
    for (const QString& note : {countryFile_.choice.skipped, countryFile_.load.message}) {
        if (!note.isEmpty()) {
            text += u'\n' + note;
        }
    }
    return text;
}

bool CallsignPart::TakeTyped(const cities::HomeEntry& entry) {
    if (entry.kind != cities::HomeKind::Callsign) {
        return false;
    }
    // A text that was nearly coordinates ("48N") and is no callsign either is refused as
    // coordinates.
    PinCallsign(entry.name, entry.reason);
    return true;
}

bool CallsignPart::PinCallsign(const QString& callsign, const QString& refusal) {
    const auto refuse = [this, &refusal](const QString& reason) {
        host_->Refuse(refusal.isEmpty() ? reason : refusal);
        return false;
    };
    const dxcc::CountryFile* file = CountryFileNow();
    if (file == nullptr) {
        if (!countryFile_.load.message.isEmpty() && !countryFile_.load.ok) {
            return refuse(countryFile_.load.message);
        }
        if (!countryFile_.choice.message.isEmpty()) {
            return refuse(countryFile_.choice.message);
        }
        return refuse(
            QCoreApplication::translate("CallsignPart",
                                        "Aucun fichier des pays\u00A0: la lecture des indicatifs "
                                        "est désactivée."));
    }
    const dxcc::LookupResult result = file->Lookup(callsign);
    if (!result.country) {
        switch (result.failure) {
            case dxcc::LookupFailure::NoCountry:
                return refuse(
                    QCoreApplication::translate("CallsignPart",
                                                "«\u00A0%1\u00A0»\u00A0: un mobile maritime ou "
                                                "aéronautique n'a pas de pays.")
                        .arg(callsign));
            case dxcc::LookupFailure::Invalid:
                return refuse(QCoreApplication::translate(
                                  "CallsignPart", "«\u00A0%1\u00A0» n'est pas un indicatif.")
                                  .arg(callsign));
            case dxcc::LookupFailure::NoMatch:
                break;
        }
        return refuse(
            QCoreApplication::translate("CallsignPart",
                                        "Aucun pays ne correspond à l'indicatif «\u00A0%1\u00A0».")
                .arg(callsign));
    }

    host_->Accept();
    callsignCountry_ = result.country;
    if (LblIndicatif == nullptr) {
        // Made when first needed and left to pass the mouse on: a press on it still drags the
        // window, as on the bare strip around it.
        LblIndicatif = MakeLabel(host_->Window(), "LblIndicatif", QString(),
                                 TwipRect(5850, 90, 3075, 600), {kLightCyan, 8.25, false});
        LblIndicatif->setWordWrap(false);  // shortened to fit instead
        LblIndicatif->setTextFormat(Qt::PlainText);
        LblIndicatif->setMouseTracking(true);
    }
    // The whole name, which the line may have to shorten, and the file it comes from.
    LblIndicatif->setToolTip(result.country->name + u'\n' + CountryFileDescription());
    host_->Pin(
        {std::nullopt, geodesy::GeoPoint{result.country->latitude, result.country->longitude}});
    return true;
}

// A click on the map or another pin releases the country.
void CallsignPart::PinChanged(const PinnedTarget& target) {
    if (!target.place) {
        callsignCountry_.reset();
        if (LblIndicatif != nullptr) {
            LblIndicatif->hide();
        }
    }
}

void CallsignPart::Apply(const tracking::TickInput& input, const tracking::TickFrame& f) {
    if (LblIndicatif == nullptr) {
        return;
    }
    if (!callsignCountry_ || !f.tracking) {
        LblIndicatif->hide();
        return;
    }
    const dxcc::Country& c = *callsignCountry_;
    // Three short lines: who, where, and the two paths from home. The country's name is
    // shortened when it would run past the strip; the paths give the unit once when both would
    // not fit with theirs.
    const QFontMetrics metrics(LblIndicatif->font());
    const int width = LblIndicatif->width();
    const QString who = c.callsign + QStringLiteral("  ");
    const QString name = metrics.elidedText(c.name, Qt::ElideRight,
                                            std::max(width - metrics.horizontalAdvance(who), 0));
    const QString where = QCoreApplication::translate("CallsignPart", "%1  CQ %2  UIT %3  %4")
                              .arg(c.continent)
                              .arg(c.cqZone)
                              .arg(c.ituZone)
                              .arg(OffsetText(c.localOffset));
    QString paths = QStringLiteral("SP ") + PathText(f.dial.azimuth, f.distanceKm, input.unit) +
                    QStringLiteral("  LP ") + PathText(f.longAzimuth, f.longDistanceKm, input.unit);
    if (metrics.horizontalAdvance(paths) > width) {
        const QString word = QString::fromLatin1(tracking::UnitWord(input.unit));
        paths.replace(paths.indexOf(word), word.size() + 1, QString());
    }
    const QString text = who + name + u'\n' + where + u'\n' + paths;
    if (LblIndicatif->text() != text) {
        LblIndicatif->setText(text);
    }
    LblIndicatif->show();
}

std::optional<dxcc::Country> CallsignPart::CountryOf(const QString& call) {
    const dxcc::CountryFile* file = CountryFileNow();
    return file != nullptr ? file->Lookup(call).country : std::nullopt;
}

}  // namespace orbida::ui

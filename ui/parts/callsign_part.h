#pragma once

#include <QFuture>
#include <QString>
#include <optional>

#include "dxcc/locate.h"
#include "ui/parts/station_part.h"

class QLabel;

namespace orbida::ui {

// Where the country file of callsigns was looked for, and what reading it gave.
struct CountryFileReading {
    dxcc::CountryFileChoice choice;
    dxcc::CountryFileLoad load;
};

// Callsigns typed in the city box: the amateur radio country file read when first needed, a
// callsign's country pinned as the target, and the line naming it in the strip right of the
// title.
class CallsignPart final : public StationPart {
  public:
    void Build(PartHost& host) override;
    void Apply(const tracking::TickInput& input, const tracking::TickFrame& frame) override;
    void PinChanged(const PinnedTarget& target) override;
    bool TakeTyped(const cities::HomeEntry& entry) override;

    // Where the country file is looked for: overridePath (--cty) when given, else the newer of
    // cty.dat in userDataDir and systemPath. It is read in the background shortly after this
    // call, or at the first callsign typed if that comes sooner.
    void SetCountryFilePlaces(const QString& userDataDir, const QString& systemPath,
                              const QString& overridePath);
    // Pins the target at the country of the callsign (home does not change) and names it in the
    // top strip. Says why under the city box and changes nothing when no country fits or there
    // is no country file; a refusal of its own replaces the reason.
    bool PinCallsign(const QString& callsign, const QString& refusal = QString());
    const std::optional<dxcc::Country>& CallsignCountry() const { return callsignCountry_; }
    // The country file in use and its release, in French; empty before it is read or without one.
    QString CountryFileDescription() const;

  private:
    void StartCountryFile();
    const dxcc::CountryFile* CountryFileNow();
    std::optional<dxcc::Country> CountryOf(const QString& call) override;
    void CountryFileRead(CountryFileReading reading);

    PartHost* host_ = nullptr;
    QLabel* LblIndicatif = nullptr;  // the pinned callsign's country and paths, in the top strip
    struct CountryFilePlaces {
        QString userDataDir;
        QString systemPath;
        QString overridePath;
    };
    std::optional<CountryFilePlaces> countryPlaces_;
    QFuture<CountryFileReading> countryReading_;
    bool countryFileSettled_ = false;
    CountryFileReading countryFile_;
    std::optional<dxcc::Country> callsignCountry_;
};

}  // namespace orbida::ui

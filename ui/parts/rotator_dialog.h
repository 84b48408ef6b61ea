#pragma once

#include <QDialog>
#include <QString>
#include <optional>

#include "rotator/address.h"
#include "rotator/client.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace orbida::ui {

// Where rotctld listens unless the user says otherwise (Hamlib's own default port).
inline const QString kDefaultRotatorHost = QStringLiteral("localhost");
inline constexpr quint16 kDefaultRotatorPort = 4533;

// "Rotor…": the address of the rotator daemon, a "Tester" button that reports the rotator's model
// and azimuth or why it could not be reached, and OK/Annuler. An empty host means no rotator. The
// host field takes what the command line takes ("shack", "192.168.1.20:4534", "[::1]"), a port
// typed there replacing the port field's.
class RotatorDialog : public QDialog {
  public:
    // tester: the client the test goes through; without one the dialog uses a client of its own,
    // dropped after each test so that nothing runs on behind the dialog.
    RotatorDialog(const QString& host, quint16 port, rotator::Client* tester = nullptr,
                  QWidget* parent = nullptr);

    // The address as accepted: after OK, the host alone (brackets and a port typed with it taken
    // off, the port then in Port()).
    QString Host() const;
    quint16 Port() const;

    // OK keeps the address only when rotator::ReadAddress takes it (or the host is empty: no
    // rotator); otherwise the reason shows and the dialog stays open.
    void accept() override;
    // The last test's outcome as shown ("Dummy rotator, azimut 0 °", "Échec : connexion refusée").
    QString ResultText() const;

  private:
    void StartTest();
    void ShowResult(bool ok, const QString& text);
    // The host field read with the port field: the address, or the reason shown and nothing.
    std::optional<rotator::Address> ReadFields();

    rotator::Client* tester_;
    bool ownTester_;
    QLineEdit* host_;
    QSpinBox* port_;
    QPushButton* test_;
    QLabel* result_;
};

}  // namespace orbida::ui

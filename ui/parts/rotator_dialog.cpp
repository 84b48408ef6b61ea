#include "ui/parts/rotator_dialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "rotator/reason_text.h"
#include "ui/window/style.h"

namespace orbida::ui {

RotatorDialog::RotatorDialog(const QString& host, quint16 port, rotator::Client* tester,
                             QWidget* parent)
    : QDialog(parent),
      tester_(tester != nullptr ? tester : new rotator::Client(this)),
      ownTester_(tester == nullptr),
      host_(new QLineEdit(host, this)),
      port_(new QSpinBox(this)),
      test_(new QPushButton(QCoreApplication::translate("RotatorDialog", "Tester"), this)),
      result_(new QLabel(this)) {
    setWindowTitle(QCoreApplication::translate("RotatorDialog", "Rotor"));
    setFont(UiFont(8.25));
    host_->setObjectName(QStringLiteral("host"));
    host_->setPlaceholderText(QCoreApplication::translate("RotatorDialog", "aucun rotor"));
    // Room for the longest host, its brackets and a port; a longer paste is cut, then refused.
    host_->setMaxLength(static_cast<int>(rotator::kMaxHost) + 16);
    port_->setObjectName(QStringLiteral("port"));
    port_->setRange(1, 65535);
    port_->setValue(port == 0 ? kDefaultRotatorPort : port);
    test_->setObjectName(QStringLiteral("test"));
    result_->setObjectName(QStringLiteral("result"));
    result_->setWordWrap(true);
    result_->setMinimumWidth(240);
    result_->setMinimumHeight(2 * result_->fontMetrics().lineSpacing());

    auto* intro =
        new QLabel(QCoreApplication::translate(
                       "RotatorDialog",
                       "Adresse du démon de rotor de Hamlib (rotctld). Hôte vide : pas de rotor."),
                   this);
    intro->setWordWrap(true);
    auto* form = new QFormLayout;
    form->addRow(QCoreApplication::translate("RotatorDialog", "Hôte :"), host_);
    form->addRow(QCoreApplication::translate("RotatorDialog", "Port :"), port_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)
        ->setText(QCoreApplication::translate("RotatorDialog", "Annuler"));
    // Enter in a field means OK, not another test.
    test_->setAutoDefault(false);
    auto* testRow = new QHBoxLayout;
    testRow->addWidget(test_, 0, Qt::AlignTop);
    testRow->addWidget(result_, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addLayout(testRow);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(test_, &QPushButton::clicked, this, &RotatorDialog::StartTest);
    connect(tester_, &rotator::Client::TestFinished, this, &RotatorDialog::ShowResult);
}

QString RotatorDialog::Host() const {
    return host_->text().trimmed();
}

quint16 RotatorDialog::Port() const {
    return static_cast<quint16>(port_->value());
}

QString RotatorDialog::ResultText() const {
    return result_->text();
}

std::optional<rotator::Address> RotatorDialog::ReadFields() {
    const rotator::AddressReading reading = rotator::ReadAddress(Host().toStdString(), Port());
    if (!reading.address) {
        result_->setText(QCoreApplication::translate("RotatorDialog", "Adresse refusée : %1")
                             .arg(rotator::ReasonText(reading.reason)));
    }
    return reading.address;
}

void RotatorDialog::accept() {
    if (!Host().isEmpty()) {
        const std::optional<rotator::Address> address = ReadFields();
        if (!address) {
            host_->setFocus();
            return;
        }
        host_->setText(QString::fromStdString(address->host));
        port_->setValue(address->port);
    }
    QDialog::accept();
}

void RotatorDialog::StartTest() {
    if (Host().isEmpty()) {
        ShowResult(false, QCoreApplication::translate("RotatorDialog", "aucun hôte"));
        return;
    }
    const std::optional<rotator::Address> address = ReadFields();
    if (!address) {
        return;
    }
    const QString host = QString::fromStdString(address->host);
    result_->setText(QCoreApplication::translate("RotatorDialog", "Connexion à %1…")
                         .arg(QString::fromStdString(rotator::FormatAddress(*address))));
    test_->setEnabled(false);
    tester_->SetAddress(host, address->port);
    tester_->Test();
}

void RotatorDialog::ShowResult(bool ok, const QString& text) {
    test_->setEnabled(true);
    result_->setText(ok ? text
                        : QCoreApplication::translate("RotatorDialog", "Échec : %1").arg(text));
    if (ownTester_) {
        tester_->Disconnect();
    }
}

}  // namespace orbida::ui

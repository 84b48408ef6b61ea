#include "ui/rotator_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/style.h"

namespace orbida::ui {

RotatorDialog::RotatorDialog(const QString& host, quint16 port, rotator::Client* tester,
                             QWidget* parent)
    : QDialog(parent),
      tester_(tester != nullptr ? tester : new rotator::Client(this)),
      ownTester_(tester == nullptr),
      host_(new QLineEdit(host, this)),
      port_(new QSpinBox(this)),
      test_(new QPushButton(QStringLiteral("Tester"), this)),
      result_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Rotor"));
    setFont(UiFont(8.25));
    host_->setObjectName(QStringLiteral("host"));
    host_->setPlaceholderText(QStringLiteral("aucun rotor"));
    port_->setObjectName(QStringLiteral("port"));
    port_->setRange(1, 65535);
    port_->setValue(port == 0 ? kDefaultRotatorPort : port);
    test_->setObjectName(QStringLiteral("test"));
    result_->setObjectName(QStringLiteral("result"));
    result_->setWordWrap(true);
    result_->setMinimumWidth(240);
    result_->setMinimumHeight(2 * result_->fontMetrics().lineSpacing());

    auto* intro = new QLabel(
        QStringLiteral("Adresse du démon de rotor de Hamlib (rotctld). Hôte vide : pas de rotor."),
        this);
    intro->setWordWrap(true);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Hôte :"), host_);
    form->addRow(QStringLiteral("Port :"), port_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
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

void RotatorDialog::StartTest() {
    if (Host().isEmpty()) {
        ShowResult(false, QStringLiteral("aucun hôte"));
        return;
    }
    result_->setText(QStringLiteral("Connexion à %1:%2…").arg(Host()).arg(Port()));
    test_->setEnabled(false);
    tester_->SetAddress(Host(), Port());
    tester_->Test();
}

void RotatorDialog::ShowResult(bool ok, const QString& text) {
    test_->setEnabled(true);
    result_->setText(ok ? text : QStringLiteral("Échec : ") + text);
    if (ownTester_) {
        tester_->Disconnect();
    }
}

}  // namespace orbida::ui

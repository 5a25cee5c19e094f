#include "fleetlimitdialog.h"

#include "fleet/fleetsettings.h"
#include "ui_fleetlimitdialog.h"

FleetLimitDialog::FleetLimitDialog(int limit, QWidget* parent)
    : QDialog(parent), ui(new Ui::FleetLimitDialog) {
    ui->setupUi(this);
    ui->spin_limit->setRange(fleet::kMinLimit, fleet::kMaxLimit);
    ui->spin_limit->setValue(limit);
    ui->btn_ok->setDefault(true);
}

FleetLimitDialog::~FleetLimitDialog() {
    delete ui;
}

int FleetLimitDialog::limit() const {
    return ui->spin_limit->value();
}

void FleetLimitDialog::on_btn_ok_clicked() {
    accept();
}

void FleetLimitDialog::on_btn_cancel_clicked() {
    reject();
}

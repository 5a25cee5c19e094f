#include "healthintervaldialog.h"

#include "fleet/fleetsettings.h"
#include "ui_healthintervaldialog.h"

HealthIntervalDialog::HealthIntervalDialog(int minutes, QWidget* parent)
    : QDialog(parent), ui(new Ui::HealthIntervalDialog) {
    ui->setupUi(this);
    ui->spin_minutes->setRange(0, fleet::kMaxHealthMinutes);
    ui->spin_minutes->setSpecialValueText(tr("Never"));
    ui->spin_minutes->setValue(minutes);
    ui->btn_ok->setDefault(true);
}

HealthIntervalDialog::~HealthIntervalDialog() {
    delete ui;
}

int HealthIntervalDialog::minutes() const {
    return ui->spin_minutes->value();
}

void HealthIntervalDialog::on_btn_ok_clicked() {
    accept();
}

void HealthIntervalDialog::on_btn_cancel_clicked() {
    reject();
}

#include "devicelistexportdialog.h"

#include "ui_devicelistexportdialog.h"

DeviceListExportDialog::DeviceListExportDialog(QWidget* parent)
    : QDialog(parent), ui(new Ui::DeviceListExportDialog) {
    ui->setupUi(this);
    ui->lbl_warning->hide();
}

DeviceListExportDialog::~DeviceListExportDialog() {
    delete ui;
}

bool DeviceListExportDialog::withPasswords() const {
    return ui->chk_passwords->isChecked();
}

void DeviceListExportDialog::on_chk_passwords_toggled(bool checked) {
    ui->lbl_warning->setVisible(checked);
}

void DeviceListExportDialog::on_btn_ok_clicked() {
    accept();
}

void DeviceListExportDialog::on_btn_cancel_clicked() {
    reject();
}

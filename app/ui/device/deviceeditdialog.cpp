#include "deviceeditdialog.h"

#include <QMessageBox>

#include "deviceinputrules.h"
#include "ui_deviceeditdialog.h"

DeviceEditDialog::DeviceEditDialog(QWidget* parent)
    : QDialog(parent), ui(new Ui::DeviceEditDialog) {
    ui->setupUi(this);
    setFixedSize(size());
    ui->btn_ok->setProperty("qstyle", tr("btn1"));
    ui->btn_cancel->setProperty("qstyle", tr("btn2"));
    deviceinput::setUserNameRule(ui->edit_username);
    deviceinput::setPasswordRule(ui->edit_password);
    deviceinput::setLabelRule(ui->edit_name);
    deviceinput::setLabelRule(ui->edit_group);
}

DeviceEditDialog::~DeviceEditDialog() {
    delete ui;
}

void DeviceEditDialog::setDevice(const SDeviceInfo& device, const DeviceLabel& label) {
    ui->edit_ip->setText(device.ip);
    ui->edit_username->setText(device.username);
    ui->edit_password->clear();
    ui->edit_name->setText(label.name);
    ui->edit_group->setText(label.group);
}

void DeviceEditDialog::on_btn_ok_clicked() {
    const QString user = ui->edit_username->text();
    const QString password = ui->edit_password->text();
    if (!deviceinput::credentialsFit(user, password)) {
        QMessageBox::warning(this, tr("Warning"), tr("Invalid input"), QMessageBox::Ok);
        return;
    }
    DeviceLabel label;
    QString message;
    if (!deviceinput::readLabel(ui->edit_name, ui->edit_group, &label, &message)) {
        QMessageBox::warning(this, tr("Warning"), message, QMessageBox::Ok);
        return;
    }
    hide();
    emit signalLabelEdited(ui->edit_ip->text(), label);
    emit signalEditDeviceOK(ui->edit_ip->text(), user, password);
}

void DeviceEditDialog::on_btn_cancel_clicked() {
    close();
}

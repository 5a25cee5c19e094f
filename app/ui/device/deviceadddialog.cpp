#include "deviceadddialog.h"

#include <QMessageBox>

#include "dbutil/inputcheck.h"
#include "deviceinputrules.h"
#include "ui_deviceadddialog.h"

DeviceAddDialog::DeviceAddDialog(QWidget* parent) : QDialog(parent), ui(new Ui::DeviceAddDialog) {
    ui->setupUi(this);
    setFixedSize(size());
    ui->btn_ok->setProperty("qstyle", tr("btn1"));
    ui->btn_cancel->setProperty("qstyle", tr("btn2"));
    deviceinput::setIpRule(ui->edit_ip);
    deviceinput::setUserNameRule(ui->edit_username);
    deviceinput::setPasswordRule(ui->edit_password);
    deviceinput::setLabelRule(ui->edit_name);
    deviceinput::setLabelRule(ui->edit_group);
}

DeviceAddDialog::~DeviceAddDialog() {
    delete ui;
}

void DeviceAddDialog::clear() {
    ui->edit_ip->clear();
    ui->edit_username->clear();
    ui->edit_password->clear();
    ui->edit_name->clear();
    ui->edit_group->clear();
}

void DeviceAddDialog::on_btn_ok_clicked() {
    const QString ip = ui->edit_ip->text();
    const QString user = ui->edit_username->text();
    const QString password = ui->edit_password->text();
    QString message;
    if (!checkDeviceInput(ip, user, password, &message) ||
        !deviceinput::readLabel(ui->edit_name, ui->edit_group, &label_, &message)) {
        QMessageBox::warning(this, tr("Warning"), message, QMessageBox::Ok);
        return;
    }
    emit signalAddDeviceOK(ip, user, password);
}

void DeviceAddDialog::on_btn_cancel_clicked() {
    clear();
    close();
}

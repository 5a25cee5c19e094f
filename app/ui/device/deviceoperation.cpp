#include "deviceoperation.h"

#include "ui_deviceoperation.h"

DeviceOperation::DeviceOperation(const QString& ip, QWidget* parent)
    : QWidget(parent), ui(new Ui::DeviceOperation), ip_(ip) {
    ui->setupUi(this);
    const QString style = tr("btn_word");
    ui->btn_edit->setProperty("qstyle", style);
    ui->btn_config->setProperty("qstyle", style);
    ui->btn_config->setEnabled(false);
}

DeviceOperation::~DeviceOperation() {
    delete ui;
}

void DeviceOperation::setConfigEnabled(bool enabled) {
    ui->btn_config->setEnabled(enabled);
}

void DeviceOperation::on_btn_edit_clicked() {
    emit signalEdit(ip_);
}

void DeviceOperation::on_btn_config_clicked() {
    emit signalConfigDb(ip_);
}

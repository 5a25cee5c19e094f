#include "devicesearchdialog.h"

#include <QMessageBox>
#include <QStringListModel>

#include "deviceinputrules.h"
#include "ui_devicesearchdialog.h"

DeviceSearchDialog::DeviceSearchDialog(QWidget* parent)
    : QDialog(parent), ui(new Ui::DeviceSearchDialog), model_(new QStringListModel(this)) {
    ui->setupUi(this);
    setFixedSize(size());
    ui->listView->setModel(model_);
    ui->btn_ok->setProperty("qstyle", tr("btn1"));
    ui->btn_cancel->setProperty("qstyle", tr("btn2"));
    deviceinput::setUserNameRule(ui->edit_username);
    deviceinput::setPasswordRule(ui->edit_password);
}

DeviceSearchDialog::~DeviceSearchDialog() {
    delete ui;
}

void DeviceSearchDialog::setList(const QStringList& ips) {
    model_->setStringList(ips);
}

void DeviceSearchDialog::remove(const QStringList& ips) {
    QStringList rest = model_->stringList();
    for (const QString& ip : ips)
        rest.removeAll(ip);
    model_->setStringList(rest);
}

QStringList DeviceSearchDialog::list() const {
    return model_->stringList();
}

void DeviceSearchDialog::on_btn_ok_clicked() {
    QStringList ips;
    for (const QModelIndex& index : ui->listView->selectionModel()->selectedIndexes())
        ips << index.data(Qt::DisplayRole).toString();
    if (ips.isEmpty()) {
        QMessageBox::warning(this, tr("Warning"), tr("No item selected"), QMessageBox::Ok);
        return;
    }
    const QString user = ui->edit_username->text();
    const QString password = ui->edit_password->text();
    if (!deviceinput::credentialsFit(user, password)) {
        QMessageBox::warning(this, tr("Warning"), tr("Invalid username or password"),
                             QMessageBox::Ok);
        return;
    }
    emit signalAddDeviceBySearch(ips, user, password);
    clearCredentials();
    close();
}

void DeviceSearchDialog::on_btn_cancel_clicked() {
    clearCredentials();
    close();
}

void DeviceSearchDialog::clearCredentials() {
    ui->edit_username->clear();
    ui->edit_password->clear();
}

#include "credentialsdialog.h"

#include <QMessageBox>

#include "deviceinputrules.h"
#include "ui_credentialsdialog.h"

CredentialsDialog::CredentialsDialog(QWidget* parent)
    : QDialog(parent), ui(new Ui::CredentialsDialog) {
    ui->setupUi(this);
    ui->btn_ok->setProperty("qstyle", tr("btn1"));
    ui->btn_cancel->setProperty("qstyle", tr("btn2"));
    ui->btn_ok->setDefault(true);
    deviceinput::setUserNameRule(ui->edit_username);
    deviceinput::setPasswordRule(ui->edit_password);
}

CredentialsDialog::~CredentialsDialog() {
    delete ui;
}

void CredentialsDialog::setCameras(const QStringList& ips) {
    ips_ = ips;
    ui->lbl_count->setText(tr("One user name and password for %1 cameras:").arg(ips.size()));
    ui->list_cameras->clear();
    ui->list_cameras->addItems(ips);
    ui->edit_username->clear();
    ui->edit_password->clear();
    ui->edit_username->setFocus();
}

void CredentialsDialog::on_btn_ok_clicked() {
    const QString user = ui->edit_username->text();
    const QString password = ui->edit_password->text();
    if (!deviceinput::credentialsFit(user, password)) {
        QMessageBox::warning(this, tr("Warning"), tr("Invalid input"), QMessageBox::Ok);
        return;
    }
    hide();
    emit signalCredentialsOK(ips_, user, password);
}

void CredentialsDialog::on_btn_cancel_clicked() {
    close();
}

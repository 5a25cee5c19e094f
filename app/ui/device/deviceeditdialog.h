// New credentials for a listed camera; the address is shown but cannot be changed.
#pragma once

#include <QDialog>

#include "dbutil/records.h"

namespace Ui {
class DeviceEditDialog;
}

class DeviceEditDialog : public QDialog {
    Q_OBJECT
public:
    explicit DeviceEditDialog(QWidget* parent = nullptr);
    ~DeviceEditDialog() override;

    // Shows the address and user name; the password is always typed again.
    void setDevice(const SDeviceInfo& device);

signals:
    // The owning page changes the credentials and checks the camera.
    void signalEditDeviceOK(QString ip, QString user, QString password);

private slots:
    void on_btn_ok_clicked();
    void on_btn_cancel_clicked();

private:
    Ui::DeviceEditDialog* ui;
};

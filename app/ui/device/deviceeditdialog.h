// New credentials for a listed camera; the address is shown but cannot be changed.
#pragma once

#include <QDialog>

#include "dbutil/devicelabels.h"
#include "dbutil/records.h"

namespace Ui {
class DeviceEditDialog;
}

class DeviceEditDialog : public QDialog {
    Q_OBJECT
public:
    explicit DeviceEditDialog(QWidget* parent = nullptr);
    ~DeviceEditDialog() override;

    // Shows the address, user name and label; the password is always typed again.
    void setDevice(const SDeviceInfo& device, const DeviceLabel& label = {});

signals:
    // The owning page changes the credentials and checks the camera.
    void signalEditDeviceOK(QString ip, QString user, QString password);
    // Sent just before signalEditDeviceOK: the name and group as they are now.
    void signalLabelEdited(QString ip, DeviceLabel label);

private slots:
    void on_btn_ok_clicked();
    void on_btn_cancel_clicked();

private:
    Ui::DeviceEditDialog* ui;
};

// Collects the address and credentials of one camera to add to the list.
#pragma once

#include <QDialog>

#include "dbutil/devicelabels.h"

namespace Ui {
class DeviceAddDialog;
}

class DeviceAddDialog : public QDialog {
    Q_OBJECT
public:
    explicit DeviceAddDialog(QWidget* parent = nullptr);
    ~DeviceAddDialog() override;

    // Empties the fields.
    void clear();
    // The name and group typed, checked when "Ok" was pressed.
    DeviceLabel label() const { return label_; }

signals:
    void signalAddDeviceOK(QString ip, QString user, QString password);

private slots:
    void on_btn_ok_clicked();
    void on_btn_cancel_clicked();

private:
    Ui::DeviceAddDialog* ui;
    DeviceLabel label_;
};

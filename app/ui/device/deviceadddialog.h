// Collects the address and credentials of one camera to add to the list.
#pragma once

#include <QDialog>

namespace Ui {
class DeviceAddDialog;
}

class DeviceAddDialog : public QDialog {
    Q_OBJECT
public:
    explicit DeviceAddDialog(QWidget* parent = nullptr);
    ~DeviceAddDialog() override;

    // Empties the three fields.
    void clear();

signals:
    void signalAddDeviceOK(QString ip, QString user, QString password);

private slots:
    void on_btn_ok_clicked();
    void on_btn_cancel_clicked();

private:
    Ui::DeviceAddDialog* ui;
};

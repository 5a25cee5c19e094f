// Asks whether a device list export should carry the passwords, warning when it does.
#pragma once

#include <QDialog>

namespace Ui {
class DeviceListExportDialog;
}

class DeviceListExportDialog : public QDialog {
    Q_OBJECT
public:
    explicit DeviceListExportDialog(QWidget* parent = nullptr);
    ~DeviceListExportDialog() override;

    bool withPasswords() const;

private slots:
    void on_chk_passwords_toggled(bool checked);
    void on_btn_ok_clicked();
    void on_btn_cancel_clicked();

private:
    Ui::DeviceListExportDialog* ui;
};

// The buttons of a device row's last cell: edit the credentials, open the library page.
#pragma once

#include <QString>
#include <QWidget>

namespace Ui {
class DeviceOperation;
}

class DeviceOperation : public QWidget {
    Q_OBJECT
public:
    explicit DeviceOperation(const QString& ip, QWidget* parent = nullptr);
    ~DeviceOperation() override;

    QString ip() const { return ip_; }
    // The library page needs a reachable camera.
    void setConfigEnabled(bool enabled);

signals:
    void signalEdit(QString ip);
    void signalConfigDb(QString ip);

private slots:
    void on_btn_edit_clicked();
    void on_btn_config_clicked();

private:
    Ui::DeviceOperation* ui;
    const QString ip_;
};

// Lets the operator pick addresses found by the LAN search and give them common credentials.
#pragma once

#include <QDialog>
#include <QStringList>

class QStringListModel;

namespace Ui {
class DeviceSearchDialog;
}

class DeviceSearchDialog : public QDialog {
    Q_OBJECT
public:
    explicit DeviceSearchDialog(QWidget* parent = nullptr);
    ~DeviceSearchDialog() override;

    void setList(const QStringList& ips);
    void remove(const QStringList& ips);
    QStringList list() const;

signals:
    void signalAddDeviceBySearch(QStringList ips, QString user, QString password);

private slots:
    void on_btn_ok_clicked();
    void on_btn_cancel_clicked();

private:
    void clearCredentials();

    Ui::DeviceSearchDialog* ui;
    QStringListModel* model_;
};

// One user name and password for several listed cameras at once: the addresses are listed,
// the credentials typed once.
#pragma once

#include <QDialog>
#include <QStringList>

namespace Ui {
class CredentialsDialog;
}

class CredentialsDialog : public QDialog {
    Q_OBJECT
public:
    explicit CredentialsDialog(QWidget* parent = nullptr);
    ~CredentialsDialog() override;

    // The cameras the credentials are for; the fields start empty.
    void setCameras(const QStringList& ips);

signals:
    // The owning page tries them on every camera.
    void signalCredentialsOK(QStringList ips, QString user, QString password);

private slots:
    void on_btn_ok_clicked();
    void on_btn_cancel_clicked();

private:
    Ui::CredentialsDialog* ui;
    QStringList ips_;
};

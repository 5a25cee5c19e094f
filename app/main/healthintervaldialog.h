// Asks how many minutes lie between two rounds of the background check of the cameras.
#pragma once

#include <QDialog>

namespace Ui {
class HealthIntervalDialog;
}

class HealthIntervalDialog : public QDialog {
    Q_OBJECT
public:
    explicit HealthIntervalDialog(int minutes, QWidget* parent = nullptr);
    ~HealthIntervalDialog() override;

    int minutes() const;

private slots:
    void on_btn_ok_clicked();
    void on_btn_cancel_clicked();

private:
    Ui::HealthIntervalDialog* ui;
};

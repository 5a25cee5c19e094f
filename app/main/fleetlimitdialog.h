// Asks how many cameras refreshes and batch jobs may work at once.
#pragma once

#include <QDialog>

namespace Ui {
class FleetLimitDialog;
}

class FleetLimitDialog : public QDialog {
    Q_OBJECT
public:
    explicit FleetLimitDialog(int limit, QWidget* parent = nullptr);
    ~FleetLimitDialog() override;

    int limit() const;

private slots:
    void on_btn_ok_clicked();
    void on_btn_cancel_clicked();

private:
    Ui::FleetLimitDialog* ui;
};

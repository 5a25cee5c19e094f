// Starts the feature extraction of one chosen library on each camera.
#pragma once

#include "batchdialog.h"

namespace Ui {
class BatchExtractDlg;
}
class QRadioButton;

class BatchExtractDlg : public BatchDialog {
    Q_OBJECT
public:
    explicit BatchExtractDlg(QWidget* parent = nullptr);
    ~BatchExtractDlg() override;

    // The radio button of a cell, or nullptr.
    QRadioButton* radio(int row, int column) const;

private slots:
    void on_btn_ok_clicked();

protected:
    bool eligible(const SDeviceInfo& device) const override;
    void fillRow(int row, const SDeviceInfo& device) override;
    void toggleColumn(int column) override;
    bool retry(const reports::JobReport& failed) override;

private:
    // At most one library per camera: a checked button unchecks the others of its row.
    void on_btn_radio_clicked(bool checked);

    Ui::BatchExtractDlg* ui;
};

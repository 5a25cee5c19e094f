// Uploads the valid pictures of one folder into the checked libraries of many cameras.
#pragma once

#include <QPair>

#include "batchdialog.h"

namespace Ui {
class BatchUploadDlg;
}
class CheckImageThread;

class BatchUploadDlg : public BatchDialog {
    Q_OBJECT
public:
    explicit BatchUploadDlg(QWidget* parent = nullptr);
    ~BatchUploadDlg() override;

    // The folder chosen last in this run of the program ("." at first).
    static QString lastDirectory();

private slots:
    void on_btn_ok_clicked();

protected:
    bool eligible(const SDeviceInfo& device) const override;
    void fillRow(int row, const SDeviceInfo& device) override;
    void toggleColumn(int column) override;
    bool retry(const reports::JobReport& failed) override;

private:
    using Target = QPair<SDeviceInfo, SDBInfo>;
    void checked(CheckImageThread* check, const QVector<Target>& targets);
    bool confirmPartial(int validCount);

    Ui::BatchUploadDlg* ui;
};

// Loads one package file into a new library on each checked camera.
#pragma once

#include "batchdialog.h"

namespace Ui {
class BatchImportDlg;
}

class BatchImportDlg : public BatchDialog {
    Q_OBJECT
public:
    explicit BatchImportDlg(QWidget* parent = nullptr);
    ~BatchImportDlg() override;

signals:
    // The job has ended: the device list refreshes every camera (and then hides the overlay).
    void signalRefreshAll();

private slots:
    void on_btn_ok_clicked();

protected:
    bool eligible(const SDeviceInfo& device) const override;
    void fillRow(int row, const SDeviceInfo& device) override;
    void toggleColumn(int column) override;
    bool retry(const reports::JobReport& failed) override;
    void afterSummary() override;

private:
    // Unpacks the package on the pool, then starts one thread per camera.
    void unpackAndStart(const QString& file, const QVector<SDeviceInfo>& targets);
    void unpacked(int result, const QString& file, const QVector<SDeviceInfo>& targets);

    Ui::BatchImportDlg* ui;
};

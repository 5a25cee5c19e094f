// The preview of a device list read from a CSV file: the cameras it would add, the lines in
// error and the duplicates left out. Nothing is added until the operator presses "Add Cameras";
// a file with errors cannot be added at all.
#pragma once

#include <QDialog>

#include "dbutil/devicecsv.h"

namespace Ui {
class DeviceListImportDialog;
}

class DeviceListImportDialog : public QDialog {
    Q_OBJECT
public:
    explicit DeviceListImportDialog(QWidget* parent = nullptr);
    ~DeviceListImportDialog() override;

    void setReading(const QString& fileName, const devicecsv::Reading& reading);
    const devicecsv::Reading& reading() const { return reading_; }

signals:
    // The operator accepted the cameras of the reading.
    void signalAddCameras();

private slots:
    void on_btn_add_clicked();
    void on_btn_cancel_clicked();

private:
    QString summary(const QString& fileName) const;

    Ui::DeviceListImportDialog* ui;
    devicecsv::Reading reading_;
};

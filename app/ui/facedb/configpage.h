// The library page of one camera: its face libraries, the image records page by page as a
// table or a picture grid, and the library and record operations.
#pragma once

#include <QWidget>

#include "dbutil/devicecontrol.h"
#include "dbutil/records.h"

namespace Ui {
class ConfigPage;
}

class ConfigPage : public QWidget {
    Q_OBJECT
public:
    explicit ConfigPage(QWidget* parent = nullptr);
    ~ConfigPage() override;

    // Reuses the page for that camera: search, grid and stack reset, page 1 of 20, selector
    // rebuilt, first page loaded.
    void setDevice(const SDeviceInfo& device);
    const SDeviceInfo& device() const { return device_; }

signals:
    void signalReturn(QString ip, bool changed);

private slots:
    void on_btn_return_clicked();
    void on_comb_db_currentIndexChanged(int index);
    void slotDbChanged(int index);

private:
    void rebuildSelector();

    Ui::ConfigPage* ui;
    SDeviceInfo device_;
    bool changed_ = true;
    DeviceControl control_;
};

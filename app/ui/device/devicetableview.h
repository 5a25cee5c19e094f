// The device table: an ordinary table view that shows a picture while it has no rows.
#pragma once

#include <QPixmap>
#include <QTableView>

class DeviceTableView : public QTableView {
    Q_OBJECT
public:
    // Offset of the picture's top-left corner from the view's centre.
    static constexpr int kEmptyOffsetX = 190;
    static constexpr int kEmptyOffsetY = 131;

    explicit DeviceTableView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap empty_;
};

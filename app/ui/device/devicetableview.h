// The device table: a table view that shows a picture while it has no rows, and keeps the
// row widgets of rows out of sight hidden.
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
    void scrollContentsBy(int dx, int dy) override;
    void updateEditorGeometries() override;

private:
    QPixmap empty_;
};

// The picture grid: cells in page order, wrapped into rows.
#pragma once

#include <QList>
#include <QWidget>

class ImageItemWrap;
class QFlowLayout;

class ImagesWidget : public QWidget {
    Q_OBJECT
public:
    static constexpr int kItemSpacing = 30;
    static constexpr int kRowSpacing = 4;

    explicit ImagesWidget(QWidget* parent = nullptr);

    // Takes every cell out and deletes it.
    void clear();
    void addItem(ImageItemWrap* cell);
    // Names and check marks of all cells from their records.
    void refresh();
    const QList<ImageItemWrap*>& cells() const { return cells_; }

private:
    QFlowLayout* layout_;
    QList<ImageItemWrap*> cells_;
};

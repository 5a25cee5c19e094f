// A layout that places its items left to right and wraps them into rows.
#pragma once

#include <QLayout>
#include <QList>
#include <QStyle>

class QFlowLayout : public QLayout {
public:
    explicit QFlowLayout(QWidget* parent, int margin = -1, int hSpacing = -1, int vSpacing = -1);
    explicit QFlowLayout(int margin = -1, int hSpacing = -1, int vSpacing = -1);
    ~QFlowLayout() override;

    // Spacing between items of a row and between rows; the style decides when negative.
    int horizontalSpacing() const;
    int verticalSpacing() const;

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    void setGeometry(const QRect& rect) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;

private:
    // Lays the items out in rect (placing them only when place is true); returns the height used.
    int doLayout(const QRect& rect, bool place) const;
    int smartSpacing(QStyle::PixelMetric metric) const;
    static int itemSpacing(QLayoutItem* item, int spacing, Qt::Orientation orientation);

    QList<QLayoutItem*> items_;
    int hSpacing_;
    int vSpacing_;
};

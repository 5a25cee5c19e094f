// Paints the record table's cells without the focus frame, with a line along each cell's
// bottom edge, and a "Photo" button in the image column whose release opens the picture.
#pragma once

#include <QPushButton>
#include <QStyledItemDelegate>

class ConfigItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int kButtonWidth = 40;
    static constexpr int kButtonHeight = 18;

    explicit ConfigItemDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

    // The button's rectangle, centred in the cell.
    static QRect buttonRect(const QRect& cell);

signals:
    void signalShowImage(const QModelIndex& index);

private:
    void paintButton(QPainter* painter, const QStyleOptionViewItem& option) const;

    // Never shown: gives the drawn buttons the style sheet's look for "btn_photo".
    QPushButton styleButton_;
};

// Paints the progress bar and the Cancel button of a progress row; a click on the button cancels.
#pragma once

#include <QStyledItemDelegate>
#include <memory>

class QProgressBar;
class QPushButton;

class ProgressDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit ProgressDelegate(QObject* parent = nullptr);
    ~ProgressDelegate() override;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // The painted 300 x 20 bar and 76 x 32 button, centred in their cells.
    static QRect barRect(const QRect& cell);
    static QRect buttonRect(const QRect& cell);

signals:
    void cancled(QModelIndex index);

protected:
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    void paintBar(QPainter* painter, const QRect& cell, int progress) const;
    void paintButton(QPainter* painter, const QRect& cell, int state) const;

    // Hidden style sources, so that the style sheet's look applies to the painted controls.
    std::unique_ptr<QProgressBar> bar_;
    std::unique_ptr<QPushButton> button_;
};

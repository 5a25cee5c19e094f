#include "progressdelegate.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStyleOptionProgressBar>

#include "progressmodel.h"

ProgressDelegate::ProgressDelegate(QObject* parent)
    : QStyledItemDelegate(parent),
      bar_(std::make_unique<QProgressBar>()),
      button_(std::make_unique<QPushButton>()) {
    bar_->hide();
    button_->setProperty("qstyle", "btn1");
    button_->setObjectName("progress_button");
    button_->hide();
}

ProgressDelegate::~ProgressDelegate() = default;

QRect ProgressDelegate::barRect(const QRect& cell) {
    const QPoint c = cell.center();
    return QRect(c.x() - 150, c.y() - 10, 300, 20);
}

QRect ProgressDelegate::buttonRect(const QRect& cell) {
    return QRect(cell.x() + cell.width() / 2 - 38, cell.y() + cell.height() / 2 - 16, 76, 32);
}

void ProgressDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyleOptionViewItem plain(option);
    plain.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, plain, index);
    if (index.column() == ProgressModel::ProgressColumn)
        paintBar(painter, option.rect, index.data(Qt::UserRole).toInt());
    else if (index.column() == ProgressModel::OperationColumn)
        paintButton(painter, option.rect, index.data(Qt::UserRole).toInt());
}

void ProgressDelegate::paintBar(QPainter* painter, const QRect& cell, int progress) const {
    QStyleOptionProgressBar bar;
    bar.initFrom(bar_.get());
    bar.rect = barRect(cell);
    bar.minimum = 0;
    bar.maximum = 100;
    bar.progress = progress;
    bar.text = tr("%1%").arg(progress);
    bar.textVisible = true;
    bar.textAlignment = Qt::AlignRight | Qt::AlignVCenter;  // right, and centred in height
    bar_->style()->drawControl(QStyle::CE_ProgressBar, &bar, painter, bar_.get());
}

void ProgressDelegate::paintButton(QPainter* painter, const QRect& cell, int state) const {
    QStyleOptionButton button;
    button.initFrom(button_.get());
    button.rect = buttonRect(cell);
    const bool running = state == ProgressItem::Running;
    if (running)
        button.state |= QStyle::State_Enabled;
    else
        button.state &= ~QStyle::State_Enabled;
    button.text = running ? tr("Cancel")
                          : (state == ProgressItem::Canceled ? tr("Canceled") : tr("finished"));
    button_->style()->drawControl(QStyle::CE_PushButton, &button, painter, button_.get());
}

bool ProgressDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                   const QStyleOptionViewItem& option, const QModelIndex& index) {
    const bool release = event->type() == QEvent::MouseButtonRelease;
    if (release && index.column() == ProgressModel::OperationColumn &&
        index.data(Qt::UserRole).toInt() == ProgressItem::Running) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (buttonRect(option.rect).contains(mouse->pos())) {
            model->setData(index, int(ProgressItem::Canceled), Qt::UserRole);
            emit cancled(index);
            return true;
        }
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}

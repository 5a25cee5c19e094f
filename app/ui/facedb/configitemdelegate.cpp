#include "configitemdelegate.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

#include "dbconfigviewmodel.h"

ConfigItemDelegate::ConfigItemDelegate(QObject* parent) : QStyledItemDelegate(parent) {
    styleButton_.setObjectName("btn_photo");
    styleButton_.setProperty("qstyle", "btn_photo");
    styleButton_.hide();
    styleButton_.ensurePolished();
}

QRect ConfigItemDelegate::buttonRect(const QRect& cell) {
    return QRect(cell.x() + cell.width() / 2 - kButtonWidth / 2,
                 cell.y() + cell.height() / 2 - kButtonHeight / 2, kButtonWidth, kButtonHeight);
}

void ConfigItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem plain(option);
    plain.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, plain, index);

    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const QColor gridColour(style->styleHint(QStyle::SH_Table_GridLineColor, &option, widget));
    painter->save();
    QPen pen(gridColour);
    pen.setCosmetic(true);
    painter->setPen(pen);
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    painter->restore();

    if (index.column() == DBConfigViewModel::ImageColumn) paintButton(painter, option);
}

void ConfigItemDelegate::paintButton(QPainter* painter, const QStyleOptionViewItem& option) const {
    QStyleOptionButton button;
    button.rect = buttonRect(option.rect);
    button.text = tr("Photo");
    button.state = QStyle::State_Enabled | QStyle::State_Raised;
    button.palette = styleButton_.palette();
    button.fontMetrics = styleButton_.fontMetrics();
    styleButton_.style()->drawControl(QStyle::CE_PushButton, &button, painter, &styleButton_);
}

bool ConfigItemDelegate::editorEvent(QEvent* event, QAbstractItemModel* model,
                                     const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (index.column() == DBConfigViewModel::ImageColumn &&
        event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (buttonRect(option.rect).contains(mouse->pos())) {
            emit signalShowImage(index);
            return true;
        }
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}

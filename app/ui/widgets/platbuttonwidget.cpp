#include "platbuttonwidget.h"

#include "ui_platbuttonwidget.h"

PlatButtonWidget::PlatButtonWidget(const QString& iconPath, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::PlatButtonWidget>()) {
    ui_->setupUi(this);
    ui_->plat_btn->setIcon(QIcon(iconPath));
}

PlatButtonWidget::~PlatButtonWidget() = default;

void PlatButtonWidget::on_plat_btn_clicked() {
    emit signalClick(ip_);
}

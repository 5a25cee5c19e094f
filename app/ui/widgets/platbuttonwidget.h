// A small framed icon button that carries a camera address and reports it when clicked.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>

namespace Ui {
class PlatButtonWidget;
}

class PlatButtonWidget : public QWidget {
    Q_OBJECT
public:
    explicit PlatButtonWidget(const QString& iconPath, QWidget* parent = nullptr);
    ~PlatButtonWidget() override;

    void setIp(const QString& ip) { ip_ = ip; }
    QString ip() const { return ip_; }

signals:
    void signalClick(QString ip);

private slots:
    void on_plat_btn_clicked();

private:
    std::unique_ptr<Ui::PlatButtonWidget> ui_;
    QString ip_;
};

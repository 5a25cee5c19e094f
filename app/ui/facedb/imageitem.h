// One picture of the grid: the picture, its name and a check box; a click on the picture
// toggles the box.
#pragma once

#include <QWidget>

namespace Ui {
class ImageItem;
}

class ImageItem : public QWidget {
    Q_OBJECT
public:
    explicit ImageItem(QWidget* parent = nullptr);
    ~ImageItem() override;

    void setPixmap(const QPixmap& pixmap);
    void setName(const QString& name);
    QString name() const;
    // Sets the box without announcing it.
    void setChecked(bool checked);
    bool isChecked() const;

signals:
    void signalChecked(bool checked);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void on_check_box_stateChanged(int state);

private:
    Ui::ImageItem* ui;
};

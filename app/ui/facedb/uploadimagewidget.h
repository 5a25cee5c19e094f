// The picture chooser of the record dialog: an "Upload Image" button until a picture is
// chosen, then the picture. It holds a picture exactly when the picture page is shown.
#pragma once

#include <QWidget>

namespace Ui {
class UploadImageWidget;
}

class UploadImageWidget : public QWidget {
    Q_OBJECT
public:
    explicit UploadImageWidget(QWidget* parent = nullptr);
    ~UploadImageWidget() override;

    bool hasPicture() const;
    // Shows the picture scaled to the chooser's size (aspect ratio ignored).
    void setPicture(const QPixmap& picture);
    // Back to the button.
    void reset();
    // The shown picture; null while the button is shown.
    QPixmap picture() const;

signals:
    void signalUploadClicked();

private slots:
    void on_btn_upload_clicked();

private:
    Ui::UploadImageWidget* ui;
};

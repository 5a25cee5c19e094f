// The record dialog, in add mode or edit mode: a name, five user texts and a picture.
#pragma once

#include <QDialog>
#include <QLineEdit>

#include "dbutil/records.h"

namespace Ui {
class ItemAddDialog;
}

class ItemAddDialog : public QDialog {
    Q_OBJECT
public:
    enum Mode { AddMode, EditMode };

    explicit ItemAddDialog(Mode mode, QWidget* parent = nullptr);
    ~ItemAddDialog() override;

    Mode mode() const { return mode_; }
    // All fields empty, chooser back on its button.
    void reset();
    // Fields from the record's name and user texts; the record is kept.
    void setRecord(const SFeatrueInfo& record);
    const SFeatrueInfo& record() const { return record_; }
    // The downloaded picture of the edited record: result and bytes of getImage.
    void setPreview(int result, const QByteArray& bytes);
    // Takes the file as the record's picture when it passes the image check; else tells why.
    void choosePicture(const QString& path);

signals:
    void signalAddItemFinished();

private slots:
    void on_btn_ok_clicked();
    void on_btn_cancel_clicked();
    void slotUploadClicked();

private:
    QList<QLineEdit*> extFields() const;

    Ui::ItemAddDialog* ui;
    const Mode mode_;
    SFeatrueInfo record_;
};

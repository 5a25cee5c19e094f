// The record dialog, in add mode or edit mode: a name, five user texts and a picture.
#pragma once

#include <QDialog>
#include <QLineEdit>

#include "dbutil/records.h"

class TextFieldRule;

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
    // Fields from the record's name and user texts, shown whole; the record is kept.
    void setRecord(const SFeatrueInfo& record);
    const SFeatrueInfo& record() const { return record_; }
    // A picture was chosen since the last reset (in edit mode: one to replace the camera's).
    bool hasNewPicture() const { return newPicture_; }
    // The downloaded picture of the edited record: result and bytes of getImage.
    void setPreview(int result, const QByteArray& bytes);
    // Takes the file as the record's picture when it passes the image check; else tells why
    // and keeps the picture chosen before.
    void choosePicture(const QString& path);

    // The camera and library the dialog was opened for; its Ok changes nothing elsewhere.
    void setTarget(const QString& ip, const QString& libid);
    bool isTarget(const QString& ip, const QString& libid) const;

signals:
    void signalAddItemFinished();

private slots:
    void on_btn_ok_clicked();
    void on_btn_cancel_clicked();
    void slotUploadClicked();

private:
    QList<QLineEdit*> extFields() const;
    // Why the typed texts cannot be sent, or nothing.
    QString textProblem() const;

    Ui::ItemAddDialog* ui;
    const Mode mode_;
    SFeatrueInfo record_;
    bool newPicture_ = false;
    QList<TextFieldRule*> rules_;  // name first, then the five user texts
    QString targetIp_;
    QString targetLibid_;
};

// A grid cell: one image record with its row check mark, shown by an ImageItem.
#pragma once

#include <QWidget>

#include "dbconfigviewmodel.h"

class ImageItem;

class ImageItemWrap : public QWidget {
    Q_OBJECT
public:
    explicit ImageItemWrap(QWidget* parent = nullptr);

    // Keeps the record; the box follows its check mark and the label its name.
    void setRecord(const CheckedRecordPtr& record);
    const CheckedRecordPtr& record() const { return record_; }
    void setPicture(const QPixmap& picture);
    // Writes the record's check mark and announces it.
    void setChecked(bool checked);
    // Shows the record's current name and check mark again.
    void refresh();
    ImageItem* item() const { return item_; }

signals:
    void signalChecked(bool checked);

private:
    CheckedRecordPtr record_;
    ImageItem* item_;
};

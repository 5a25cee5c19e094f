// The record operations of the library page: add, edit and delete records, and the picture
// of one record.
#include <QDebug>
#include <QMessageBox>

#include "configpage.h"
#include "dbutil/busy.h"
#include "itemadddialog.h"
#include "jobsummary.h"
#include "simpleimagedialog.h"
#include "ui_configpage.h"

void ConfigPage::on_btn_item_add_clicked() {
    itemAdd_->reset();
    itemAdd_->setTarget(device_.ip, currentLibid());
    itemAdd_->show();
    itemAdd_->raise();
}

void ConfigPage::slotAddItemFinished() {
    if (!itemAdd_->isTarget(device_.ip, currentLibid())) {
        qWarning() << "record dialog of another camera or library: nothing sent";
        return;
    }
    auto record = SFeatrueInfoPtr::create(itemAdd_->record());
    record->libid = currentLibid();
    calls_.run(
        QStringLiteral("record"), busy::Animation,
        [this, record](DeviceControl::Callback done) { control_.addImage(device_, record, done); },
        [this](const QVariant& ok) {
            if (!ok.toBool()) {
                QMessageBox::critical(this, tr("Error"), tr("Add failed"));
                return;
            }
            QMessageBox::information(this, tr("Info"), tr("Add success"));
            loadPage();
        });
}

void ConfigPage::on_btn_item_edit_clicked() {
    const CheckedRecordList checked = model_->checkedRecords();
    if (checked.size() != 1) {
        QMessageBox::warning(this, tr("Warning"), tr("One item must be selected"));
        return;
    }
    const SFeatrueInfo record = checked.first()->info;
    const QString libid = currentLibid();
    auto data = QSharedPointer<Protocol::MsgImageData>::create();
    data->url = record.url;
    calls_.run(
        QStringLiteral("record"), busy::Animation,
        [this, data](DeviceControl::Callback done) { control_.getImage(device_, data, done); },
        [this, data, record, libid](const QVariant& result) {
            if (libid != currentLibid()) return;  // another library is shown meanwhile
            itemEdit_->reset();
            itemEdit_->setRecord(record);
            itemEdit_->setTarget(device_.ip, libid);
            itemEdit_->setPreview(result.toInt(), data->bytes());
            itemEdit_->show();
            itemEdit_->raise();
        });
}

void ConfigPage::slotEditItemFinished() {
    if (!itemEdit_->isTarget(device_.ip, currentLibid())) {
        qWarning() << "record dialog of another camera or library: nothing sent";
        return;
    }
    SFeatrueInfo record = itemEdit_->record();
    record.libid = currentLibid();
    if (itemEdit_->hasNewPicture()) return replacePicture(record);
    calls_.run(
        QStringLiteral("record"), busy::Animation,
        [this, record](DeviceControl::Callback done) {
            control_.updateImage(device_, record, done);
        },
        [this](const QVariant& ok) {
            if (!ok.toBool()) {
                QMessageBox::critical(this, tr("Error"), tr("Edit failed"));
                return;
            }
            QMessageBox::information(this, tr("Success"), tr("Edit success"));
            loadPage();
        });
}

void ConfigPage::replacePicture(const SFeatrueInfo& edited) {
    auto fresh = SFeatrueInfoPtr::create(edited);
    // A new record of the camera's own making: identifiers and feature come from it.
    fresh->imgid = -1;
    fresh->uid.clear();
    fresh->url.clear();
    fresh->status = 0;
    fresh->feature.clear();
    fresh->feature_attr = 0;
    fresh->model_version.clear();
    calls_.run(
        QStringLiteral("record"), busy::Animation,
        [this, fresh](DeviceControl::Callback done) { control_.addImage(device_, fresh, done); },
        [this, edited, fresh](const QVariant& added) {
            if (!added.toBool()) {
                QMessageBox::critical(this, tr("Error"), tr("Edit failed"));
                return;
            }
            calls_.run(
                QStringLiteral("record"), busy::Animation,
                [this, edited](DeviceControl::Callback done) {
                    control_.deleteImage(device_, edited, done);
                },
                [this, fresh](const QVariant& deleted) {
                    if (deleted.toInt() == 0)
                        QMessageBox::information(this, tr("Success"), tr("Edit success"));
                    else
                        QMessageBox::warning(
                            this, tr("Warning"),
                            tr("The new picture is stored, but the old record could not be "
                               "deleted"));
                    checkAfterLoad_ = fresh->imgid;
                    loadPage();
                });
        });
}

void ConfigPage::on_btn_item_delete_clicked() {
    const CheckedRecordList checked = model_->checkedRecords();
    if (checked.isEmpty()) {
        QMessageBox::warning(this, tr("Warning"), tr("No item has been selected"));
        return;
    }
    if (QMessageBox::information(this, tr("Info"), tr("Checked item will be deleted"),
                                 QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    auto records = QSharedPointer<SFeatrueList>::create();
    for (const CheckedRecordPtr& row : checked)
        records->append(SFeatrueInfoPtr::create(row->info));
    calls_.run(
        QStringLiteral("record"), busy::Animation,
        [this, records](DeviceControl::Callback done) {
            control_.deleteImages(device_, records, done);
        },
        [this, records](const QVariant& deleted) {
            QMessageBox::warning(
                this, tr("Info"),
                jobsummary::counts(tr("Delete image finished"), records->size(), deleted.toInt()));
            loadPage();
        });
}

void ConfigPage::slotShowImageOnline(const QModelIndex& index) {
    if (!imageDialog_) imageDialog_ = new SimpleImageDialog(this);
    imageDialog_->showImage(device_, index.data(Qt::UserRole).toString());
}

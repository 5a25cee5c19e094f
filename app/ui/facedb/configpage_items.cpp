// The record operations of the library page: add, edit and delete records, and the picture
// of one record.
#include <QMessageBox>

#include "configpage.h"
#include "dbutil/busy.h"
#include "itemadddialog.h"
#include "jobsummary.h"
#include "simpleimagedialog.h"
#include "ui_configpage.h"

void ConfigPage::on_btn_item_add_clicked() {
    itemAdd_->reset();
    itemAdd_->show();
    itemAdd_->raise();
}

void ConfigPage::slotAddItemFinished() {
    auto record = SFeatrueInfoPtr::create(itemAdd_->record());
    record->libid = currentLibid();
    busy::begin(busy::Animation);
    control_.addImage(device_, record, [this](const QVariant& ok) {
        busy::end();
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
    itemEdit_->reset();
    itemEdit_->setRecord(checked.first()->info);
    auto data = QSharedPointer<Protocol::MsgImageData>::create();
    data->url = checked.first()->info.url;
    busy::begin(busy::Animation);
    control_.getImage(device_, data, [this, data](const QVariant& result) {
        busy::end();
        itemEdit_->setPreview(result.toInt(), data->bytes());
        itemEdit_->show();
        itemEdit_->raise();
    });
}

void ConfigPage::slotEditItemFinished() {
    SFeatrueInfo record = itemEdit_->record();
    record.libid = currentLibid();
    busy::begin(busy::Animation);
    control_.updateImage(device_, record, [this](const QVariant& ok) {
        busy::end();
        if (!ok.toBool()) {
            QMessageBox::critical(this, tr("Error"), tr("Edit failed"));
            return;
        }
        QMessageBox::information(this, tr("Success"), tr("Edit success"));
        loadPage();
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
    busy::begin(busy::Animation);
    control_.deleteImages(device_, records, [this, records](const QVariant& deleted) {
        busy::end();
        const int total = records->size();
        QMessageBox::warning(
            this, tr("Info"),
            jobsummary::counts(tr("Delete image finished"), total, deleted.toInt()));
        loadPage();
    });
}

void ConfigPage::slotShowImageOnline(const QModelIndex& index) {
    if (!imageDialog_) imageDialog_ = new SimpleImageDialog(this);
    imageDialog_->showImage(device_, index.data(Qt::UserRole).toString());
}

// The library operations of the library page: add, edit, delete and clear a library.
#include <QMessageBox>

#include "configpage.h"
#include "dbdialog.h"
#include "dbutil/busy.h"
#include "ui_configpage.h"

namespace {
bool confirmed(QWidget* parent, const QString& title, const QString& text) {
    return QMessageBox::information(parent, title, text, QMessageBox::Ok | QMessageBox::Cancel) ==
           QMessageBox::Ok;
}
}  // namespace

void ConfigPage::on_btn_add_clicked() {
    if (device_.dbs.size() >= SDeviceInfo::kMaxLibraries) {
        QMessageBox::information(this, tr("Information"), tr("There can be only 2 db"));
        return;
    }
    dbAdd_->show();
    dbAdd_->raise();
}

void ConfigPage::on_btn_edit_clicked() {
    if (!hasLibrary()) {
        QMessageBox::information(this, tr("Information"), tr("You must select one db"));
        return;
    }
    for (const SDBInfo& db : device_.dbs) {
        if (db.libid != currentLibid()) continue;
        dbEdit_->setLibrary(db);
        dbEdit_->show();
        dbEdit_->raise();
        return;
    }
    QMessageBox::critical(this, tr("Error"), tr("Unknown error"));
}

void ConfigPage::on_btn_delete_clicked() {
    if (!hasLibrary()) {
        QMessageBox::information(this, tr("Information"), tr("There is no db"));
        return;
    }
    if (!confirmed(this, tr("Information"), tr("All data in db will be removed"))) return;
    busy::begin(busy::Animation);
    control_.deleteFaceDB(device_, currentLibid(), [this](const QVariant& ok) {
        busy::end();
        if (!ok.toBool()) {
            QMessageBox::information(this, tr("Info"), tr("Delete failed"));
            return;
        }
        QMessageBox::information(this, tr("Info"), tr("Delete success"));
        changed_ = true;
        refreshLibraries();
    });
}

void ConfigPage::on_btn_images_clear_clicked() {
    if (!hasLibrary()) {
        QMessageBox::information(this, tr("Information"), tr("There is no db"));
        return;
    }
    if (!confirmed(this, tr("Information"),
                   tr("All images that have extracted features in the db will be removed")))
        return;
    busy::begin(busy::Animation);
    control_.clearImages(device_, currentLibid(), [this](const QVariant& ok) {
        busy::end();
        QMessageBox::information(this, tr("Info"),
                                 ok.toBool() ? tr("Delete success") : tr("Delete failed"));
        loadPage();
    });
}

void ConfigPage::slotAddFinished(SDBInfo library) {
    auto created = QSharedPointer<SDBInfo>::create(library);
    busy::begin(busy::Animation);
    control_.addFaceDB(device_, created, [this, created](const QVariant& ok) {
        busy::end();
        if (!ok.toBool()) {
            QMessageBox::critical(this, tr("Error"), tr("Add failed"));
            return;
        }
        QMessageBox::information(this, tr("Success"), tr("Add Success"));
        changed_ = true;
        refreshLibraries(created->libid);
    });
}

void ConfigPage::slotEditFinshed(SDBInfo library) {
    busy::begin(busy::Animation);
    control_.updateFaceDB(device_, library, [this, library](const QVariant& ok) {
        busy::end();
        if (!ok.toBool()) {
            QMessageBox::information(this, tr("Failed"), tr("Edit failed"));
            return;
        }
        QMessageBox::information(this, tr("Info"), tr("Success"));
        changed_ = true;
        refreshLibraries(library.libid);
    });
}

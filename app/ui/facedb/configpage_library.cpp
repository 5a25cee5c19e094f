// The library operations of the library page: add, edit, delete and clear a library.
#include <QDebug>
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
    dbAdd_->setTargetIp(device_.ip);
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
        dbEdit_->setTargetIp(device_.ip);
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
    const QString libid = currentLibid();
    calls_.run(
        QStringLiteral("library"), busy::Animation,
        [this, libid](DeviceControl::Callback done) {
            control_.deleteFaceDB(device_, libid, done);
        },
        [this](const QVariant& ok) {
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
    const QString libid = currentLibid();
    calls_.run(
        QStringLiteral("library"), busy::Animation,
        [this, libid](DeviceControl::Callback done) { control_.clearImages(device_, libid, done); },
        [this](const QVariant& ok) {
            QMessageBox::information(this, tr("Info"),
                                     ok.toBool() ? tr("Delete success") : tr("Delete failed"));
            loadPage();
        });
}

void ConfigPage::slotAddFinished(SDBInfo library) {
    if (dbAdd_->targetIp() != device_.ip) {
        qWarning() << "library dialog of another camera: nothing sent";
        return;
    }
    auto created = QSharedPointer<SDBInfo>::create(library);
    calls_.run(
        QStringLiteral("library"), busy::Animation,
        [this, created](DeviceControl::Callback done) {
            control_.addFaceDB(device_, created, done);
        },
        [this, created](const QVariant& ok) {
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
    if (dbEdit_->targetIp() != device_.ip) {
        qWarning() << "library dialog of another camera: nothing sent";
        return;
    }
    calls_.run(
        QStringLiteral("library"), busy::Animation,
        [this, library](DeviceControl::Callback done) {
            control_.updateFaceDB(device_, library, done);
        },
        [this, library](const QVariant& ok) {
            if (!ok.toBool()) {
                QMessageBox::information(this, tr("Failed"), tr("Edit failed"));
                return;
            }
            QMessageBox::information(this, tr("Info"), tr("Success"));
            changed_ = true;
            refreshLibraries(library.libid);
        });
}

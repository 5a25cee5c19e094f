// The device page as the main window holds it, on its own store in a temporary directory, with
// the job control, and the cameras it should list.
#pragma once

#include <QDir>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include <QVBoxLayout>
#include "app_cameras.h"
#include "dbutil/deviceinfofactory.h"
#include "dbutil/jobcontrol.h"
#include "ui/device/deviceinfotablemodel.h"
#include "ui/device/indexpage.h"
#include "ui/widgets/interactionwaitingwidget.h"
#include "ui/widgets/kitresources.h"
#include "ui/widgets/tableheaderview.h"

namespace guitest {

constexpr int kCameraWaitMs = 20000;

class PageHarness {
public:
    PageHarness() : oldCwd_(QDir::currentPath()) {
        initKitResources();
        if (!QDir::setCurrent(cwd_.path())) qFatal("no working directory");
    }
    ~PageHarness() {
        contents_.reset();
        QDir::setCurrent(oldCwd_);
    }

    // Writes the store file the page loads, then builds and shows the page.
    IndexPage& open(const QVector<SDeviceInfo>& devices = {}) {
        {
            DeviceInfoFactory store(DeviceInfoFactory::kDefaultFileName);
            for (const SDeviceInfo& device : devices)
                store.add(device);
            store.save();
        }
        // As in the main window: the page and the busy overlay share the content area.
        contents_ = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(contents_.get());
        layout->setContentsMargins(0, 0, 0, 0);
        page_ = new IndexPage(contents_.get());
        layout->addWidget(page_);
        overlay_ = new InteractionWaitingWidget(contents_.get());
        contents_->resize(1100, 500);
        contents_->show();
        return *page_;
    }

    // Ends the page as the program's exit does: what it holds is written to its files.
    void close() {
        contents_.reset();
        page_ = nullptr;
    }

    IndexPage& page() { return *page_; }
    JobControl& jobs() { return jobs_; }
    QWidget* contents() { return contents_.get(); }
    InteractionWaitingWidget* overlay() { return overlay_; }
    QTableView* table() { return page_->findChild<QTableView*>("deviceTable"); }
    QAbstractItemModel* model() { return table()->model(); }
    TableHeaderView* header() {
        return qobject_cast<TableHeaderView*>(table()->horizontalHeader());
    }
    QPushButton* button(const char* name) { return page_->findChild<QPushButton*>(name); }

    int rowOf(const QString& ip) {
        for (int row = 0; row < model()->rowCount(); ++row)
            if (cell(row, DeviceInfoTableModel::ColumnIp) == ip) return row;
        return -1;
    }
    QString cell(int row, int column) { return model()->index(row, column).data().toString(); }
    QString statusOf(const QString& ip) {
        const int row = rowOf(ip);
        return row < 0 ? QString() : cell(row, DeviceInfoTableModel::ColumnStatus);
    }
    // Every listed camera answered its refresh.
    bool allReachable() {
        for (int row = 0; row < model()->rowCount(); ++row)
            if (model()->index(row, DeviceInfoTableModel::ColumnStatus).data(Qt::UserRole) != 0)
                return false;
        return model()->rowCount() > 0;
    }

private:
    QTemporaryDir cwd_;
    QString oldCwd_;
    JobControl jobs_;
    std::unique_ptr<QWidget> contents_;
    IndexPage* page_ = nullptr;
    InteractionWaitingWidget* overlay_ = nullptr;
};

}  // namespace guitest

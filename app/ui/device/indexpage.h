// The device list page: the table of managed cameras, the buttons above it, the device and
// batch dialogs. It owns the device store; every camera call runs through its DeviceControl
// under the busy overlay.
#pragma once

#include <QSharedPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "dbutil/devicecontrol.h"
#include "dbutil/deviceinfofactory.h"
#include "dbutil/devicelabels.h"
#include "dbutil/records.h"
#include "fleet/credentialsjob.h"
#include "fleet/fleetrefresh.h"
#include "fleet/healthcheck.h"
#include "ui/widgets/pagecall.h"

class BatchExtractDlg;
class BatchImportDlg;
class BatchSyncDlg;
class BatchUploadDlg;
class BatchDialog;
class CredentialsDialog;
class CredentialsResultDialog;
class DeviceAddDialog;
class DeviceEditDialog;
class DeviceFilterProxy;
class DeviceListImportDialog;
class DeviceInfoTableModel;
class DeviceSearchDialog;
class TableHeaderView;

namespace Ui {
class IndexPage;
}

class IndexPage : public QWidget {
    Q_OBJECT
public:
    explicit IndexPage(QWidget* parent = nullptr);
    ~IndexPage() override;

    // A copy of the stored record for that ip (the default record when none).
    SDeviceInfo deviceInfo(const QString& ip) const;
    // Milliseconds between two rounds of the background check; 0 turns it off.
    void setHealthInterval(int ms);
    const HealthCheck& health() const { return health_; }

signals:
    void signalConfig(QString ip);

public slots:
    // Refreshes one camera and shows the login outcome.
    void slotUpdate(QString ip);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private slots:
    void on_btn_add_clicked();
    void on_btn_find_clicked();
    void on_btn_delete_clicked();
    void on_btn_update_all_clicked();
    void on_btn_batch_import_clicked();
    void on_btn_batch_extract_clicked();
    void on_btn_batch_upload_clicked();
    void on_deviceTable_doubleClicked(const QModelIndex& index);

    void slotAddDeviceOK(QString ip, QString user, QString password);
    void slotAddDeviceFromSearch(QStringList ips, QString user, QString password);
    void slotEditDeviceOK(QString ip, QString user, QString password);
    void slotCredentialsOK(QStringList ips, QString user, QString password);
    void slotEdit(QString ip);
    void slotConfigDb(QString ip);
    void slotChecked(bool checked);
    void slotAllChecked(bool checked);
    void slotStoreSaveFailed(const QString& fileName);
    void slotLabelEdited(QString ip, DeviceLabel label);
    void slotGroupChosen(int index);
    void slotImportList();
    void slotAddImportedCameras();
    void slotExportList();
    void slotSyncBatch();

private:
    void setUpTable();
    void refreshAll();
    void rebuildRowWidgets();
    void queueRowWidgets();
    // The first and last rows that carry their buttons: those in sight and a few around.
    QPair<int, int> rowsNearSight() const;
    void setRowWidgets(int row, const SDeviceInfo& device);
    void dropRowWidgets(int row);
    // Stores a record refreshed on the pool, keeping the row's current check mark.
    void storeRefreshed(SDeviceInfo device);
    // One camera of a refresh of the list answered: its row shows it at once.
    void showRefreshed(const SDeviceInfo& device);
    void resetModelToBottom();
    void setHeaderChecked(bool checked);
    // Rows the filter hides lose their check mark: Delete and the batch jobs act on rows shown.
    void uncheckHidden();
    // The group selector lists the groups the labels name now, keeping the choice.
    void fillGroups();
    void saveLabelsAndShow();
    // The device list rows the table shows, in its order.
    QVector<SDeviceInfo> shownDevices() const;
    // The checked cameras, or all shown when none is checked.
    QVector<SDeviceInfo> batchDevices() const;
    void showBatchDialog(BatchDialog* dialog);
    void showLoginOutcome(const LoginResult& login);
    // A single camera's login answered: its outcome said, its row refreshed.
    void showCameraAnswer(const SDeviceInfo& device, const LoginResult& login);
    static QString cameraChannel(const QString& ip);
    void showLockCountdown(int seconds);
    void showNotice(const QString& text);
    // Edit on a row that is one of several checked: one set of credentials for them all.
    void editCheckedCameras();
    void showCredentialResults(const QVector<CredentialsJob::Result>& results);
    // The background check found a camera's status changed.
    void applyHealth(const SDeviceInfo& device);
    void queueOnlineCount();
    void showOnlineCount();

    Ui::IndexPage* ui;
    DeviceInfoFactory store_;
    DeviceLabels labels_;
    DeviceControl control_;
    PageCall calls_;  // after control_: ends the overlay of calls still out when the page goes
    FleetRefresh refresh_;
    HealthCheck health_;  // after store_ and refresh_, which it reads
    CredentialsJob credentials_;
    DeviceInfoTableModel* model_;
    DeviceFilterProxy* proxy_;
    DeviceListImportDialog* listImportDialog_ = nullptr;
    TableHeaderView* header_ = nullptr;
    DeviceAddDialog* addDialog_;
    DeviceSearchDialog* searchDialog_;
    DeviceEditDialog* editDialog_ = nullptr;
    CredentialsDialog* credentialsDialog_ = nullptr;
    CredentialsResultDialog* credentialsResult_ = nullptr;
    BatchImportDlg* importDialog_;
    BatchExtractDlg* extractDialog_;
    BatchUploadDlg* uploadDialog_;
    BatchSyncDlg* syncDialog_;
    bool allChecked_ = false;
    bool firstShowDone_ = false;
    static constexpr int kMinRowsInSight = 20;  // while the table has no size yet
    static constexpr int kRowsAround = 4;       // a wheel step away
    bool rowWidgetsQueued_ = false;
    bool onlineQueued_ = false;
};

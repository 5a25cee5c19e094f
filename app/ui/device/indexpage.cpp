#include "indexpage.h"

#include <QComboBox>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollBar>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>

#include "batch/dialogs/batchextractdlg.h"
#include "batch/dialogs/batchimportdlg.h"
#include "batch/dialogs/batchsyncdlg.h"
#include "batch/dialogs/batchuploaddlg.h"
#include "credentialsdialog.h"
#include "credentialsresultdialog.h"
#include "dbutil/busy.h"
#include "dbutil/devicecsv.h"
#include "dbutil/errortext.h"
#include "dbutil/inputcheck.h"
#include "dbutil/jobcontrol.h"
#include "dbutil/scanipcthread.h"
#include "deviceadddialog.h"
#include "deviceeditdialog.h"
#include "devicefilterproxy.h"
#include "deviceinfotablemodel.h"
#include "deviceitemdelegate.h"
#include "devicelistexportdialog.h"
#include "devicelistimportdialog.h"
#include "deviceoperation.h"
#include "devicesearchdialog.h"
#include "fleet/fleetsettings.h"
#include "ui/widgets/platbuttonwidget.h"
#include "ui/widgets/tableheaderview.h"
#include "ui/widgets/timermessagebox.h"
#include "ui_indexpage.h"

IndexPage::IndexPage(QWidget* parent)
    : QWidget(parent),
      ui(new Ui::IndexPage),
      labels_(DeviceLabels::fileBeside(store_.fileName())),
      health_([this] { return store_.list(); },
              [this](const QString& ip) { return store_.find(ip); },
              [this](const QString& ip) { return refresh_.refreshing(ip); }),
      model_(new DeviceInfoTableModel(&store_, this)),
      proxy_(new DeviceFilterProxy(this)),
      addDialog_(new DeviceAddDialog(this)),
      searchDialog_(new DeviceSearchDialog(this)),
      importDialog_(new BatchImportDlg(this)),
      extractDialog_(new BatchExtractDlg(this)),
      uploadDialog_(new BatchUploadDlg(this)),
      syncDialog_(new BatchSyncDlg(this)) {
    ui->setupUi(this);
    labels_.load();
    model_->setLabels(&labels_);
    proxy_->setSourceModel(model_);
    setUpTable();
    fillGroups();
    connect(ui->edit_filter, &QLineEdit::textChanged, proxy_, &DeviceFilterProxy::setText);
    connect(ui->combo_group, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &IndexPage::slotGroupChosen);
    connect(proxy_, &DeviceFilterProxy::signalFilterChanged, this, &IndexPage::uncheckHidden);
    // A refreshed camera may leave the filter (its status changed): after the proxy is done.
    connect(proxy_, &QAbstractItemModel::rowsRemoved, this, &IndexPage::uncheckHidden,
            Qt::QueuedConnection);
    connect(proxy_, &QAbstractItemModel::modelReset, this, &IndexPage::uncheckHidden,
            Qt::QueuedConnection);
    connect(proxy_, &QAbstractItemModel::layoutChanged, this, &IndexPage::queueRowWidgets);
    connect(ui->btn_import_list, &QPushButton::clicked, this, &IndexPage::slotImportList);
    connect(ui->btn_export_list, &QPushButton::clicked, this, &IndexPage::slotExportList);
    connect(model_, &DeviceInfoTableModel::signalChecked, this, &IndexPage::slotChecked);
    connect(addDialog_, &DeviceAddDialog::signalAddDeviceOK, this, &IndexPage::slotAddDeviceOK);
    connect(searchDialog_, &DeviceSearchDialog::signalAddDeviceBySearch, this,
            &IndexPage::slotAddDeviceFromSearch);
    connect(importDialog_, &BatchImportDlg::signalRefreshAll, this, &IndexPage::refreshAll);
    // A retry from a job report reads its cameras here, whether or not the dialog was shown.
    for (BatchDialog* dialog : {static_cast<BatchDialog*>(importDialog_),
                                static_cast<BatchDialog*>(extractDialog_),
                                static_cast<BatchDialog*>(uploadDialog_)})
        dialog->setDeviceSource([this](const QString& ip) { return store_.find(ip); });
    syncDialog_->setDeviceSource([this](const QString& ip) { return store_.find(ip); });
    syncDialog_->setLabelSource([this](const QString& ip) { return labels_.label(ip); });
    connect(ui->btn_sync_batch, &QPushButton::clicked, this, &IndexPage::slotSyncBatch);
    connect(&refresh_, &FleetRefresh::signalRefreshed, this, &IndexPage::showRefreshed);
    connect(&refresh_, &FleetRefresh::signalFinished, this, &IndexPage::rebuildRowWidgets);
    connect(&store_, &DeviceInfoFactory::signalSaveFailed, this, &IndexPage::slotStoreSaveFailed);
    model_->setHealth(&health_);
    connect(&health_, &HealthCheck::signalChanged, this, &IndexPage::applyHealth);
    connect(&credentials_, &CredentialsJob::signalFinished, this,
            &IndexPage::showCredentialResults);
    connect(model_, &QAbstractItemModel::modelReset, this, &IndexPage::queueOnlineCount);
    connect(model_, &QAbstractItemModel::dataChanged, this, &IndexPage::queueOnlineCount);
    setHealthInterval(fleet::kDefaultHealthMinutes * 60 * 1000);
    rebuildRowWidgets();
    showOnlineCount();
}

IndexPage::~IndexPage() {
    // The last try at exit is logged by the store; no box for a page that is going.
    disconnect(&store_, nullptr, this, nullptr);
    store_.saveIfChanged();
    // The table and its models read the store, which dies before the page's children.
    delete ui->deviceTable;
    delete proxy_;
    delete model_;
    delete ui;
}

SDeviceInfo IndexPage::deviceInfo(const QString& ip) const {
    return store_.find(ip);
}

void IndexPage::setHealthInterval(int ms) {
    health_.setInterval(ms);
}

void IndexPage::setUpTable() {
    QTableView* table = ui->deviceTable;
    header_ = new TableHeaderView(Qt::Horizontal, table);
    table->setHorizontalHeader(header_);
    connect(header_, &TableHeaderView::checkStateChanged, this, &IndexPage::slotAllChecked);
    table->setModel(proxy_);
    // Store order until the operator clicks a column.
    header_->setSortIndicator(-1, Qt::AscendingOrder);
    table->setSortingEnabled(true);
    table->setItemDelegate(new DeviceItemDelegate(table));
    // Every column is fixed or stretched: a content-sized one would measure every row again on
    // each camera's answer, most of a refresh's GUI time with hundreds of cameras.
    header_->setSectionResizeMode(QHeaderView::Fixed);
    for (int column : {DeviceInfoTableModel::ColumnName, DeviceInfoTableModel::ColumnGroup,
                       DeviceInfoTableModel::ColumnOta, DeviceInfoTableModel::ColumnDb1,
                       DeviceInfoTableModel::ColumnDb2})
        header_->setSectionResizeMode(column, QHeaderView::Stretch);
    header_->ensurePolished();  // the style sheet's padding is part of the header's hints
    const QFontMetrics metrics = table->fontMetrics();
    // The check box, and row numbers of up to four digits under the header's own text.
    table->setColumnWidth(DeviceInfoTableModel::ColumnCheck,
                          header_->sectionSizeHint(DeviceInfoTableModel::ColumnCheck));
    table->setColumnWidth(DeviceInfoTableModel::ColumnNumber,
                          qMax(header_->sectionSizeHint(DeviceInfoTableModel::ColumnNumber),
                               metrics.horizontalAdvance(QStringLiteral("0000")) + 16));
    table->setColumnWidth(DeviceInfoTableModel::ColumnIp, 120);
    // The status texts are wider than 80 pixels in most fonts: they must not be cut.
    const int statusWidth = qMax(metrics.horizontalAdvance(tr("Network Status")),
                                 metrics.horizontalAdvance(tr("Network Normal"))) +
                            24;
    table->setColumnWidth(DeviceInfoTableModel::ColumnStatus, qMax(80, statusWidth));
    table->setColumnWidth(DeviceInfoTableModel::ColumnUpdate, 80);
    table->setColumnWidth(DeviceInfoTableModel::ColumnOperation, 120);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    // Column 1 numbers the rows already; the update button needs room to breathe.
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(38);
    const QScrollBar* scroll = table->verticalScrollBar();
    connect(scroll, &QScrollBar::valueChanged, this, &IndexPage::queueRowWidgets);
    connect(scroll, &QScrollBar::rangeChanged, this, &IndexPage::queueRowWidgets);
}

void IndexPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    queueRowWidgets();  // a taller table shows more rows
}

void IndexPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (firstShowDone_) return;
    firstShowDone_ = true;
    if (!store_.setAsideFile().isEmpty())
        showNotice(tr("The device list could not be read. It was kept as %1; the list starts "
                      "empty.")
                       .arg(QDir::toNativeSeparators(store_.setAsideFile())));
    refreshAll();
}

void IndexPage::slotStoreSaveFailed(const QString& fileName) {
    showNotice(tr("The device list could not be saved to %1. Your changes are kept; the "
                  "program tries again every 10 seconds and when it closes.")
                   .arg(QDir::toNativeSeparators(fileName)));
}

// A window-modal box that does not hold the caller: the store saves from its timer.
void IndexPage::showNotice(const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Warning, tr("Warning"), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

// ---- the list ----

void IndexPage::on_btn_add_clicked() {
    addDialog_->show();
}

void IndexPage::slotAddDeviceOK(QString ip, QString user, QString password) {
    SDeviceInfo device(ip, user, password);
    device.checked = allChecked_;
    if (!store_.add(device)) {
        QMessageBox::warning(this, tr("Warning"), tr("The device has been added"));
        addDialog_->show();
        return;
    }
    if (labels_.set(ip, addDialog_->label())) saveLabelsAndShow();
    addDialog_->clear();
    addDialog_->hide();
    model_->reset();
    rebuildRowWidgets();
    auto copy = QSharedPointer<SDeviceInfo>::create(device);
    calls_.run(
        cameraChannel(ip), busy::Animation,
        [this, copy](DeviceControl::LoginCallback done) { control_.updateIPC(copy, done); },
        [this, copy](const QVariant&, const LoginResult&) {
            storeRefreshed(*copy);
            resetModelToBottom();
        });
}

void IndexPage::on_btn_delete_clicked() {
    const QSet<QString> checked = model_->checkedIps();
    if (checked.isEmpty()) {
        QMessageBox::information(this, tr("Information"), tr("No item selected"));
        return;
    }
    if (QMessageBox::warning(this, tr("Warning"), tr("Delete these devices?"),
                             QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    bool labelled = false;
    for (const QString& ip : checked) {
        store_.remove(ip);
        labelled = labels_.remove(ip) || labelled;
    }
    if (labelled) saveLabelsAndShow();
    setHeaderChecked(false);
    model_->reset();
    rebuildRowWidgets();
}

void IndexPage::storeRefreshed(SDeviceInfo device) {
    health_.noteAnswer(device);
    // The operator may have ticked or cleared the row while the camera was being asked.
    device.checked = store_.find(device.ip).checked;
    store_.update(device);
}

void IndexPage::resetModelToBottom() {
    model_->reset();
    ui->deviceTable->scrollToBottom();
    rebuildRowWidgets();
}

// ---- refreshing ----

void IndexPage::on_btn_update_all_clicked() {
    refreshAll();
}

void IndexPage::refreshAll() {
    refresh_.refresh(store_.list());
}

void IndexPage::showRefreshed(const SDeviceInfo& device) {
    storeRefreshed(device);
    const QVector<SDeviceInfo>& devices = store_.list();
    const auto found = std::find_if(devices.begin(), devices.end(),
                                    [&](const SDeviceInfo& d) { return d.ip == device.ip; });
    if (found == devices.end()) return;  // removed meanwhile
    const int row = int(found - devices.begin());
    model_->refreshRow(row);
    const int shown = proxy_->viewRow(row);
    const QPair<int, int> near = rowsNearSight();
    if (shown >= 0 && shown >= near.first && shown <= near.second) setRowWidgets(shown, *found);
}

void IndexPage::slotUpdate(QString ip) {
    if (store_.find(ip).ip != ip || ip.isEmpty()) return;  // removed meanwhile
    auto copy = QSharedPointer<SDeviceInfo>::create(store_.find(ip));
    calls_.run(
        cameraChannel(ip), busy::Animation,
        [this, copy](DeviceControl::LoginCallback done) { control_.updateIPC(copy, done); },
        [this, copy](const QVariant&, const LoginResult& login) {
            showCameraAnswer(*copy, login);
        });
}

void IndexPage::slotEdit(QString ip) {
    qDebug() << ip << "edit";
    const QSet<QString> checked = model_->checkedIps();
    if (checked.size() > 1 && checked.contains(ip)) {
        editCheckedCameras();
        return;
    }
    if (!editDialog_) {
        editDialog_ = new DeviceEditDialog(this);
        connect(editDialog_, &DeviceEditDialog::signalEditDeviceOK, this,
                &IndexPage::slotEditDeviceOK);
        connect(editDialog_, &DeviceEditDialog::signalLabelEdited, this,
                &IndexPage::slotLabelEdited);
    }
    editDialog_->setDevice(store_.find(ip), labels_.label(ip));
    editDialog_->show();
}

void IndexPage::slotEditDeviceOK(QString ip, QString user, QString password) {
    store_.setCredentials(ip, user, password);
    auto copy = QSharedPointer<SDeviceInfo>::create(store_.find(ip));
    calls_.run(
        cameraChannel(ip), busy::Animation,
        [this, copy](DeviceControl::LoginCallback done) { control_.checkIPC(copy, done); },
        [this, copy](const QVariant&, const LoginResult& login) {
            showCameraAnswer(*copy, login);
        });
}

// ---- credentials for many ----

void IndexPage::editCheckedCameras() {
    if (!credentialsDialog_) {
        credentialsDialog_ = new CredentialsDialog(this);
        connect(credentialsDialog_, &CredentialsDialog::signalCredentialsOK, this,
                &IndexPage::slotCredentialsOK);
    }
    QStringList ips;
    for (const SDeviceInfo& device : store_.list())
        if (device.checked) ips << device.ip;
    credentialsDialog_->setCameras(ips);
    credentialsDialog_->show();
}

void IndexPage::slotCredentialsOK(QStringList ips, QString user, QString password) {
    QVector<SDeviceInfo> devices;
    for (const QString& ip : ips)
        if (store_.find(ip).ip == ip) devices << store_.find(ip);  // not removed meanwhile
    credentials_.start(devices, user, password);
}

void IndexPage::showCredentialResults(const QVector<CredentialsJob::Result>& results) {
    bool anyTaken = false;
    for (const CredentialsJob::Result& result : results) {
        const SDeviceInfo& stored = store_.find(result.device.ip);
        if (result.outcome != CredentialsJob::Taken || stored.ip != result.device.ip) continue;
        anyTaken = true;
        SDeviceInfo taken = stored;
        taken.username = result.device.username;
        taken.password = result.device.password;
        taken.status = result.device.status;
        taken.ota = result.device.ota;
        storeRefreshed(taken);
    }
    // Once for the whole job: the credentials reach the file now, not one camera at a time.
    if (anyTaken) store_.save();
    model_->refreshAll();
    rebuildRowWidgets();
    if (busy::closing()) return;
    if (!credentialsResult_) credentialsResult_ = new CredentialsResultDialog(this);
    credentialsResult_->setResults(results);
    credentialsResult_->open();
}

// ---- the background check ----

void IndexPage::applyHealth(const SDeviceInfo& device) {
    showRefreshed(device);
}

void IndexPage::queueOnlineCount() {
    if (onlineQueued_) return;
    onlineQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        onlineQueued_ = false;
        showOnlineCount();
    });
}

void IndexPage::showOnlineCount() {
    const QVector<SDeviceInfo>& devices = store_.list();
    const int online = int(std::count_if(devices.begin(), devices.end(),
                                         [](const SDeviceInfo& d) { return d.status == 0; }));
    ui->lbl_online->setText(tr("%1 / %2 online").arg(online).arg(devices.size()));
}

QString IndexPage::cameraChannel(const QString& ip) {
    return QStringLiteral("camera ") + ip;
}

void IndexPage::showCameraAnswer(const SDeviceInfo& device, const LoginResult& login) {
    showLoginOutcome(login);
    storeRefreshed(device);
    model_->refreshAll();
    rebuildRowWidgets();
}

void IndexPage::slotConfigDb(QString ip) {
    qDebug() << ip << "config";
    emit signalConfig(ip);
}

void IndexPage::showLoginOutcome(const LoginResult& login) {
    switch (login.code) {
        case 0:
            return;
        case resultcode::LoginRefused:
            QMessageBox::warning(this, tr("Warning"),
                                 tr("Login failed") + tr("\n") + tr("retry left times") + ":" +
                                     QString::number(login.left));
            return;
        case resultcode::AccountLocked:
            showLockCountdown(login.left);
            return;
        default:
            // The code for whoever reports it, and what it means for the operator.
            QMessageBox::warning(this, tr("Warning"),
                                 tr("Login failed") + " " + QString::number(login.code) + tr("\n") +
                                     ErrorText(login.code));
    }
}

void IndexPage::showLockCountdown(int seconds) {
    auto textFor = [](int left) {
        if (left <= 0) return tr("Account lock") + tr("\n") + tr("lock time end");
        return tr("Account lock") + tr("\n") + tr("lock left time") + ":" + QString::number(left) +
               tr("s");
    };
    auto* box = new TimerMessageBox(this, tr("Warning"), textFor(seconds));
    box->startCountdown(seconds, textFor);
    box->open();
}

// ---- the LAN search ----

void IndexPage::on_btn_find_clicked() {
    // The search waits its whole time before it reports anything: the animation, not a bar.
    busy::begin(busy::Animation);
    auto* thread = new ScanIpcThread(this);
    if (JobControl* jobs = JobControl::instance())
        connect(thread, &ScanIpcThread::signalProgress, jobs, &JobControl::overallProgress);
    connect(thread, &QThread::finished, this, [this, thread] {
        const bool closing = busy::closing();
        QStringList found = thread->result();
        thread->deleteLater();
        busy::end();
        if (closing) return;
        for (const SDeviceInfo& device : store_.list())
            found.removeAll(device.ip);
        searchDialog_->setList(found);
        // Shown in the next pass: lifting the overlay and opening a window are each a whole
        // repaint of the page, and the operator's input may come between them.
        QTimer::singleShot(0, searchDialog_, &QWidget::show);
    });
    thread->start(QThread::InheritPriority);
}

void IndexPage::slotAddDeviceFromSearch(QStringList ips, QString user, QString password) {
    QStringList added;
    for (const QString& ip : ips) {
        SDeviceInfo device(ip, user, password);
        device.checked = allChecked_;
        if (store_.add(device)) added << ip;
    }
    searchDialog_->remove(added);
    resetModelToBottom();
    refreshAll();
}

// ---- check marks ----

void IndexPage::on_deviceTable_doubleClicked(const QModelIndex& index) {
    if (!index.isValid() || index.column() == DeviceInfoTableModel::ColumnCheck) return;
    const int row = proxy_->sourceRow(index.row());
    const QModelIndex check = model_->index(row, DeviceInfoTableModel::ColumnCheck);
    const bool checked = store_.checked(row);
    model_->setData(check, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

void IndexPage::slotChecked(bool) {
    const int shown = proxy_->rowCount();
    setHeaderChecked(shown > 0 && model_->checkedIps().size() == shown);
}

void IndexPage::slotAllChecked(bool checked) {
    allChecked_ = checked;
    for (int row = 0; row < proxy_->rowCount(); ++row)
        store_.setChecked(proxy_->sourceRow(row), checked);
    model_->refreshAll();
}

void IndexPage::uncheckHidden() {
    bool changed = false;
    for (int row = 0; row < store_.count(); ++row) {
        if (!store_.checked(row) || proxy_->shows(row)) continue;
        store_.setChecked(row, false);
        changed = true;
    }
    if (changed) model_->refreshAll();
    slotChecked(false);
    queueRowWidgets();
}

void IndexPage::setHeaderChecked(bool checked) {
    allChecked_ = checked;
    header_->setChecked(checked);
}

// ---- row widgets ----

// Only the rows in sight, and a few around them, carry their buttons: with hundreds of cameras
// a widget pair for every row made each paint, modal dialog and refresh walk thousands of
// widgets. Scrolling and resizing bring the buttons along.
void IndexPage::rebuildRowWidgets() {
    const QPair<int, int> near = rowsNearSight();
    const QVector<SDeviceInfo>& devices = store_.list();
    for (int row = 0; row < proxy_->rowCount(); ++row) {
        if (row >= near.first && row <= near.second)
            setRowWidgets(row, devices.at(proxy_->sourceRow(row)));
        else
            dropRowWidgets(row);
    }
}

// The view scrolls and resizes in steps (a model reset, then its layout): one rebuild after them.
void IndexPage::queueRowWidgets() {
    if (rowWidgetsQueued_) return;
    rowWidgetsQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        rowWidgetsQueued_ = false;
        rebuildRowWidgets();
    });
}

QPair<int, int> IndexPage::rowsNearSight() const {
    const QTableView* table = ui->deviceTable;
    const int rowHeight = qMax(1, table->verticalHeader()->defaultSectionSize());
    // Rows beyond sight cost a keystroke of the filter their widgets each.
    const int height = table->viewport()->height();
    const int inSight = height > rowHeight ? height / rowHeight + 1 : kMinRowsInSight;
    const int top = qMax(0, table->rowAt(0));
    return {top - kRowsAround, top + inSight + kRowsAround};
}

void IndexPage::dropRowWidgets(int row) {
    for (int column : {DeviceInfoTableModel::ColumnOperation, DeviceInfoTableModel::ColumnUpdate}) {
        const QModelIndex cell = proxy_->index(row, column);
        if (ui->deviceTable->indexWidget(cell)) ui->deviceTable->setIndexWidget(cell, nullptr);
    }
}

void IndexPage::setRowWidgets(int row, const SDeviceInfo& device) {
    QTableView* table = ui->deviceTable;
    const QModelIndex cell = proxy_->index(row, DeviceInfoTableModel::ColumnOperation);
    auto* operation = qobject_cast<DeviceOperation*>(table->indexWidget(cell));
    if (!operation || operation->ip() != device.ip) {
        operation = new DeviceOperation(device.ip);
        connect(operation, &DeviceOperation::signalEdit, this, &IndexPage::slotEdit);
        connect(operation, &DeviceOperation::signalConfigDb, this, &IndexPage::slotConfigDb);
        table->setIndexWidget(cell, operation);
    }
    operation->setConfigEnabled(device.status == 0);

    const QModelIndex updateCell = proxy_->index(row, DeviceInfoTableModel::ColumnUpdate);
    auto* update = qobject_cast<PlatButtonWidget*>(table->indexWidget(updateCell));
    if (!update || update->ip() != device.ip) {
        update = new PlatButtonWidget(":/index/images/assets/images/index/update.png");
        update->setIp(device.ip);
        connect(update, &PlatButtonWidget::signalClick, this, &IndexPage::slotUpdate);
        table->setIndexWidget(updateCell, update);
    }
}

// ---- batch jobs ----

QVector<SDeviceInfo> IndexPage::batchDevices() const {
    QVector<SDeviceInfo> devices;
    for (const SDeviceInfo& device : store_.list())
        if (device.checked) devices << device;
    return devices.isEmpty() ? shownDevices() : devices;
}

QVector<SDeviceInfo> IndexPage::shownDevices() const {
    QVector<SDeviceInfo> devices;
    devices.reserve(proxy_->rowCount());
    for (int row = 0; row < proxy_->rowCount(); ++row)
        devices << store_.list().at(proxy_->sourceRow(row));
    return devices;
}

void IndexPage::showBatchDialog(BatchDialog* dialog) {
    dialog->setCameraText([this](const QString& ip) { return labels_.describe(ip); });
    dialog->setDevices(batchDevices());
    // A job reads its cameras again when it starts: the list may change while the dialog is open.
    dialog->setDeviceSource([this](const QString& ip) { return store_.find(ip); });
    dialog->show();
    dialog->raise();
}

void IndexPage::on_btn_batch_import_clicked() {
    showBatchDialog(importDialog_);
}

void IndexPage::on_btn_batch_extract_clicked() {
    showBatchDialog(extractDialog_);
}

void IndexPage::on_btn_batch_upload_clicked() {
    showBatchDialog(uploadDialog_);
}

void IndexPage::slotSyncBatch() {
    syncDialog_->setCameras(batchDevices(), store_.list());
    syncDialog_->show();
    syncDialog_->raise();
}

// ---- names and groups ----

void IndexPage::slotLabelEdited(QString ip, DeviceLabel label) {
    if (labels_.set(ip, label)) saveLabelsAndShow();
}

void IndexPage::saveLabelsAndShow() {
    if (!labels_.save())
        showNotice(tr("The camera names could not be saved to %1.")
                       .arg(QDir::toNativeSeparators(labels_.fileName())));
    fillGroups();
    model_->refreshAll();
}

void IndexPage::fillGroups() {
    QComboBox* combo = ui->combo_group;
    const QString chosen = combo->currentIndex() > 1 ? combo->currentText() : QString();
    const int kind = qMax(0, combo->currentIndex());
    const QSignalBlocker quiet(combo);
    combo->clear();
    combo->addItem(tr("All groups"));
    combo->addItem(tr("No group"));
    combo->addItems(labels_.groups());
    const int again = chosen.isEmpty() ? kind : combo->findText(chosen);
    combo->setCurrentIndex(qMax(0, again));
    slotGroupChosen(combo->currentIndex());
}

void IndexPage::slotGroupChosen(int index) {
    if (index <= 0)
        proxy_->setGroups(DeviceFilterProxy::Groups::All);
    else if (index == 1)
        proxy_->setGroups(DeviceFilterProxy::Groups::None);
    else
        proxy_->setGroups(DeviceFilterProxy::Groups::Named, ui->combo_group->itemText(index));
}

// ---- the list in and out ----

void IndexPage::slotImportList() {
    const QString fileName = QFileDialog::getOpenFileName(this, tr("Import Device List"), QString(),
                                                          tr("CSV files (*.csv);;All files (*)"));
    if (fileName.isEmpty()) return;
    QFile file(fileName);
    if (file.size() > devicecsv::kMaxFileBytes || !file.open(QIODevice::ReadOnly)) {
        QMessageBox::warning(this, tr("Warning"),
                             tr("%1 cannot be read or is larger than 1 MB.")
                                 .arg(QDir::toNativeSeparators(fileName)));
        return;
    }
    QSet<QString> listed;
    for (const SDeviceInfo& device : store_.list()) {
        const QString canonical = canonicalIp(device.ip);
        listed.insert(canonical.isEmpty() ? device.ip : canonical);
    }
    const devicecsv::Reading reading =
        devicecsv::read(file.read(devicecsv::kMaxFileBytes),
                        [&listed](const QString& ip) { return listed.contains(ip); });
    if (!listImportDialog_) {
        listImportDialog_ = new DeviceListImportDialog(this);
        connect(listImportDialog_, &DeviceListImportDialog::signalAddCameras, this,
                &IndexPage::slotAddImportedCameras);
    }
    listImportDialog_->setReading(fileName, reading);
    listImportDialog_->open();
}

void IndexPage::slotAddImportedCameras() {
    bool labelled = false;
    for (const devicecsv::Camera& camera : listImportDialog_->reading().cameras) {
        // The list may have changed while the preview was open: add() keeps it free of twins.
        if (!store_.add(SDeviceInfo(camera.ip, camera.user, camera.password))) continue;
        labelled = labels_.set(camera.ip, camera.label) || labelled;
    }
    if (labelled) saveLabelsAndShow();
    resetModelToBottom();
    refreshAll();
}

void IndexPage::slotExportList() {
    DeviceListExportDialog options(this);
    if (options.exec() != QDialog::Accepted) return;
    const QString fileName = QFileDialog::getSaveFileName(
        this, tr("Export Device List"), QStringLiteral("devices.csv"), tr("CSV files (*.csv)"));
    if (fileName.isEmpty()) return;
    const bool withPasswords = options.withPasswords();
    QSaveFile file(fileName);
    const bool written =
        file.open(QIODevice::WriteOnly) &&
        (!withPasswords || file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) &&
        file.write(devicecsv::write(shownDevices(), labels_, withPasswords)) >= 0 && file.commit();
    if (!written)
        QMessageBox::warning(this, tr("Warning"),
                             tr("The device list could not be written to %1.")
                                 .arg(QDir::toNativeSeparators(fileName)));
}

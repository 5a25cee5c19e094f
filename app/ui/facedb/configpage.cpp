#include "configpage.h"

#include <QDebug>
#include <QHeaderView>
#include <QMessageBox>
#include <QPointer>
#include <QScrollArea>
#include <QTableView>

#include "configitemdelegate.h"
#include "dbdialog.h"
#include "dbutil/busy.h"
#include "dbutil/errortext.h"
#include "imageitemwrap.h"
#include "imageswidget.h"
#include "itemadddialog.h"
#include "picturesource.h"
#include "simpleimagedialog.h"
#include "ui/widgets/pagination.h"
#include "ui/widgets/tableheaderview.h"
#include "ui_configpage.h"

namespace {
constexpr int kCheckColumnWidth = 20;
constexpr int kNumberColumnWidth = 40;
// Page loads supersede each other; a load and a library refresh do not.
const QLatin1String kPageChannel("page");
}  // namespace

ConfigPage::ConfigPage(QWidget* parent) : QWidget(parent), ui(new Ui::ConfigPage) {
    ui->setupUi(this);
    ui->label_ip->setTextFormat(Qt::PlainText);
    setUpViews();
    setUpDialogs();
    connectParts();
    resetRequest();
    slotDbChanged(-1);
    registerRetries();
}

ConfigPage::~ConfigPage() {
    delete ui;
}

void ConfigPage::setUpViews() {
    model_ = new DBConfigViewModel(this);
    delegate_ = new ConfigItemDelegate(this);
    table_ = new QTableView(this);
    table_->setObjectName("table_records");
    header_ = new TableHeaderView(Qt::Horizontal, table_);
    table_->setHorizontalHeader(header_);
    table_->setModel(model_);
    table_->setItemDelegate(delegate_);
    table_->setShowGrid(false);
    table_->verticalHeader()->hide();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    header_->setSectionResizeMode(QHeaderView::Stretch);
    header_->setSectionResizeMode(DBConfigViewModel::CheckColumn, QHeaderView::Fixed);
    header_->setSectionResizeMode(DBConfigViewModel::NumberColumn, QHeaderView::Fixed);
    header_->resizeSection(DBConfigViewModel::CheckColumn, kCheckColumnWidth);
    header_->resizeSection(DBConfigViewModel::NumberColumn, kNumberColumnWidth);

    images_ = new ImagesWidget;
    images_->setObjectName("images_widget");
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName("scroll_images");
    scroll_->setWidgetResizable(true);
    scroll_->setWidget(images_);
    ui->stackedWidget->addWidget(table_);
    ui->stackedWidget->addWidget(scroll_);
    showStackPage(true);
}

void ConfigPage::setUpDialogs() {
    dbAdd_ = new DbAddDialog(this);
    dbEdit_ = new DbEditDialog(this);
    itemAdd_ = new ItemAddDialog(ItemAddDialog::AddMode, this);
    itemEdit_ = new ItemAddDialog(ItemAddDialog::EditMode, this);
}

void ConfigPage::connectParts() {
    connect(ui->comb_db, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &ConfigPage::slotDbChanged);
    connect(dbAdd_, &DbDialog::signalFinshed, this, &ConfigPage::slotAddFinished);
    connect(dbEdit_, &DbDialog::signalFinshed, this, &ConfigPage::slotEditFinshed);
    connect(itemAdd_, &ItemAddDialog::signalAddItemFinished, this,
            &ConfigPage::slotAddItemFinished);
    connect(itemEdit_, &ItemAddDialog::signalAddItemFinished, this,
            &ConfigPage::slotEditItemFinished);
    connect(ui->pagination, &Pagination::signalCurrPageChanged, this,
            &ConfigPage::slotCurrentPageChanged);
    connect(ui->pagination, &Pagination::signalPageSizeChanged, this,
            &ConfigPage::slotPageSizeChanged);
    connect(model_, &DBConfigViewModel::signalChecked, this, &ConfigPage::slotChecked);
    connect(delegate_, &ConfigItemDelegate::signalShowImage, this,
            &ConfigPage::slotShowImageOnline);
    connect(header_, &TableHeaderView::checkStateChanged, this, &ConfigPage::slotAllChecked);
    connect(table_, &QTableView::doubleClicked, this, &ConfigPage::slotDoubleClicked);
}

void ConfigPage::setDevice(const SDeviceInfo& device) {
    closeDialogs(true);
    device_ = device;
    ui->input_name->clear();
    calls_.supersedeAll();  // answers for the previous camera are dropped
    model_->clear();
    clearGrid();
    showStackPage(true);
    resetRequest();
    shownRequest_ = page_;
    ui->pagination->setPageSize(kFirstPageSize);
    ui->pagination->setCurrentPage(1);
    rebuildSelector();
}

void ConfigPage::resetRequest() {
    page_ = SPageInfo();
    page_.page_num = 1;
    page_.page_size = kFirstPageSize;
}

void ConfigPage::on_btn_return_clicked() {
    closeDialogs(true);
    emit signalReturn(device_.ip, changed_);
}

void ConfigPage::closeDialogs(bool cameraChanged) {
    for (ItemAddDialog* dialog : {itemAdd_, itemEdit_}) {
        dialog->close();
        dialog->reset();
        dialog->setTarget(QString(), QString());
    }
    dbEdit_->close();
    dbEdit_->setTargetIp(QString());
    if (!cameraChanged) return;
    dbAdd_->close();
    dbAdd_->setTargetIp(QString());
    if (!imageDialog_) return;
    imageDialog_->dropPending();
    imageDialog_->close();
}

// ---- Selector ----

bool ConfigPage::hasLibrary() const {
    return !ui->comb_db->currentData().isNull();
}

QString ConfigPage::currentLibid() const {
    return ui->comb_db->currentData().toString();
}

SDBInfo ConfigPage::currentLibrary() const {
    SDBInfo library = findDb(device_, currentLibid());
    library.libid = currentLibid();
    library.name = ui->comb_db->currentText();
    return library;
}

void ConfigPage::rebuildSelector(const QString& keepLibid) {
    setHeaderChecked(false);
    ui->label_ip->setText(device_.ip);
    {
        const QSignalBlocker blocker(ui->comb_db);
        ui->comb_db->clear();
        for (const SDBInfo& db : device_.dbs)
            ui->comb_db->addItem(db.name, db.libid);
        ui->comb_db->setCurrentIndex(-1);
    }
    if (ui->comb_db->count() == 0) {
        slotDbChanged(-1);
        showEmptyPage();
        return;
    }
    // Announced once, so that the page of the chosen library is loaded.
    ui->comb_db->setCurrentIndex(qMax(0, ui->comb_db->findData(keepLibid)));
}

void ConfigPage::refreshLibraries(const QString& keepLibid) {
    auto device = QSharedPointer<SDeviceInfo>::create(device_);
    calls_.run(
        QStringLiteral("libraries"), busy::Animation,
        [this, device](DeviceControl::Callback done) { control_.refreshDbList(device, done); },
        [this, device, keepLibid](const QVariant& ok) {
            if (ok.toBool()) device_.dbs = device->dbs;
            rebuildSelector(keepLibid);
        });
}

void ConfigPage::on_comb_db_currentIndexChanged(int index) {
    qDebug() << "comb changed " << index;
    closeDialogs(false);
    if (index < 0) return;
    ui->input_name->clear();
    on_btn_search_clicked();
}

void ConfigPage::slotDbChanged(int index) {
    const QList<QWidget*> needLibrary = {
        ui->btn_images_clear, ui->btn_gen_feature, ui->btn_item_add, ui->btn_item_edit,
        ui->btn_item_delete,  ui->btn_item_muladd, ui->input_name,   ui->btn_search};
    for (QWidget* widget : needLibrary)
        widget->setEnabled(index >= 0);
}

// ---- Search and paging ----

void ConfigPage::on_btn_search_clicked() {
    if (!hasLibrary()) {
        QMessageBox::information(this, tr("Information"), tr("You must select one db"));
        return;
    }
    setHeaderChecked(false);
    resetRequest();
    page_.libid = currentLibid();
    const QString text = ui->input_name->text();
    if (!text.isEmpty()) page_.conditions.append(qMakePair(QString("name"), text));
    page_.page_num = 1;
    page_.page_size = ui->pagination->pageSize();
    loadPage();
}

void ConfigPage::slotCurrentPageChanged(int page) {
    page_.page_num = page;
    page_.page_size = ui->pagination->pageSize();
    setHeaderChecked(false);
    if (hasLibrary()) loadPage();
}

void ConfigPage::slotPageSizeChanged(int size) {
    page_.page_size = size;
    page_.page_num = 1;
    if (hasLibrary()) loadPage();
}

// The page on show stays until the new one has arrived: a failed load must not look like an
// empty library.
void ConfigPage::loadPage() {
    auto request = QSharedPointer<SPageInfo>::create(page_);
    auto records = QSharedPointer<SFeatrueList>::create();
    calls_.run(
        kPageChannel, busy::Animation,
        [this, request, records](DeviceControl::Callback done) {
            control_.listImage(device_, request, records, done);
        },
        [this, request, records](const QVariant& result) {
            if (result.toInt() != 0) return pageLoadFailed(result.toInt());
            showPage(*request, *records);
        });
}

void ConfigPage::pageLoadFailed(int code) {
    const QString text =
        tr("The page could not be loaded") + ": " + ErrorText(code) + "\n" + tr("Load it again?");
    if (QMessageBox::warning(this, tr("Error"), text, QMessageBox::Retry | QMessageBox::Cancel) ==
        QMessageBox::Retry)
        return loadPage();
    // Another library's records never stay under this one's name.
    if (shownRequest_.libid != page_.libid) return showEmptyPage();
    // Back to the page on show, the bar with it (quietly: the bar would ask for a load).
    page_ = shownRequest_;
    const QSignalBlocker blocker(ui->pagination);
    ui->pagination->setCurrentPage(page_.page_num);
}

void ConfigPage::showPage(const SPageInfo& reply, const SFeatrueList& records) {
    page_.total = reply.total;
    const int pages =
        page_.page_size > 0 ? (reply.total + page_.page_size - 1) / page_.page_size : 1;
    if (records.isEmpty() && reply.total > 0 && page_.page_num > pages) {
        // Deletions left this page behind the last one.
        page_.page_num = pages;
        loadPage();
        return;
    }
    shownRequest_ = page_;
    CheckedRecordList rows;
    rows.reserve(records.size());
    for (const SFeatrueInfoPtr& record : records)
        rows.append(CheckedRecordPtr(new CheckedRecord{*record, false}));
    model_->setRecords(rows);
    if (!picturesShown()) clearGrid();
    // The page first, so that the bar does not see its page vanish and ask for another load.
    ui->pagination->setCurrentPage(page_.page_num);
    ui->pagination->setTotal(page_.total);
    ui->pagination->setCurrentPage(page_.page_num);
    setHeaderChecked(false);
    for (int row = 0; row < rows.size(); ++row)
        if (checkAfterLoad_ >= 0 && rows[row]->info.imgid == checkAfterLoad_) model_->toggle(row);
    checkAfterLoad_ = -1;
    if (picturesShown()) loadPictures();
    emit signalPageLoaded();
}

void ConfigPage::showEmptyPage() {
    calls_.supersede(kPageChannel);
    model_->clear();
    clearGrid();
    page_.total = 0;
    shownRequest_ = page_;
    ui->pagination->setTotal(0);
    ui->pagination->setCurrentPage(1);
}

// ---- Pictures ----

void ConfigPage::clearGrid() {
    ++pictureRun_;  // downloads for the old cells are dropped
    pictureQueue_.clear();
    images_->clear();
}

void ConfigPage::loadPictures() {
    clearGrid();
    for (const CheckedRecordPtr& record : model_->records()) {
        auto* cell = new ImageItemWrap;
        cell->setRecord(record);
        connect(cell, &ImageItemWrap::signalChecked, this, &ConfigPage::slotGridChecked);
        images_->addItem(cell);
        pictureQueue_.append(cell);
    }
    fetchNextPicture(pictureRun_);
}

// One download at a time: the camera answers one call at a time anyway, and a picture's bytes
// must be copied out of the camera session before the next call on it.
void ConfigPage::fetchNextPicture(int run) {
    QPointer<ImageItemWrap> cell;
    while (!cell && !pictureQueue_.isEmpty())
        cell = pictureQueue_.takeFirst();
    if (!cell) {
        emit signalPicturesLoaded();
        return;
    }
    auto data = QSharedPointer<Protocol::MsgImageData>::create();
    data->url = cell->record()->info.url;
    if (data->url.isEmpty()) {
        cell->setPicture(picturesource::picture(-2, QByteArray(), picturesource::Grid));
        return fetchNextPicture(run);
    }
    control_.getImage(device_, data, [this, cell, data, run](const QVariant& result) {
        if (run != pictureRun_) return;  // the grid has moved on
        if (cell)
            cell->setPicture(
                picturesource::picture(result.toInt(), data->bytes(), picturesource::Grid));
        fetchNextPicture(run);
    });
}

bool ConfigPage::picturesShown() const {
    return ui->stackedWidget->currentWidget() == scroll_;
}

void ConfigPage::showStackPage(bool pictures) {
    ui->stackedWidget->setCurrentWidget(pictures ? static_cast<QWidget*>(scroll_) : table_);
    ui->btn_image_switch->setEnabled(!pictures);
    ui->btn_table_switch->setEnabled(pictures);
}

void ConfigPage::on_btn_table_switch_clicked() {
    showStackPage(false);
    model_->refreshChecks();
}

void ConfigPage::on_btn_image_switch_clicked() {
    showStackPage(true);
    loadPictures();
}

// ---- Check marks ----

void ConfigPage::setHeaderChecked(bool checked) {
    header_->setChecked(checked);
}

void ConfigPage::slotChecked(bool) {
    setHeaderChecked(model_->rowCount() > 0 && model_->checkedCount() == model_->rowCount());
}

void ConfigPage::slotAllChecked(bool checked) {
    model_->setAllChecked(checked);
    images_->refresh();
}

void ConfigPage::slotGridChecked(bool checked) {
    model_->refreshChecks();
    slotChecked(checked);
}

void ConfigPage::slotDoubleClicked(const QModelIndex& index) {
    if (index.isValid() && index.column() != DBConfigViewModel::CheckColumn)
        model_->toggle(index.row());
}

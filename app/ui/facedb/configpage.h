// The library page of one camera: its face libraries, the image records page by page as a
// table or a picture grid, the library and record operations, and the package, extraction and
// folder-upload jobs. Every camera call runs on the pool (DeviceControl) or a job thread.
#pragma once

#include <QList>
#include <QModelIndex>
#include <QPointer>
#include <QWidget>

#include "dbconfigviewmodel.h"
#include "dbutil/devicecontrol.h"
#include "dbutil/records.h"
#include "reports/jobreport.h"
#include "ui/widgets/pagecall.h"

namespace Ui {
class ConfigPage;
}
class ConfigItemDelegate;
class DbAddDialog;
class DbEditDialog;
class ImageItemWrap;
class ImagesWidget;
class ItemAddDialog;
class QScrollArea;
class QTableView;
class SimpleImageDialog;
class TableHeaderView;
class BatchExtractThread;
class BatchUploadThread;
class CheckImageThread;
class DbExportModule;
class DbImportModule;

class ConfigPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFirstPageSize = 20;

    explicit ConfigPage(QWidget* parent = nullptr);
    ~ConfigPage() override;

    // Reuses the page for that camera: search, grid and stack reset, page 1 of 20, selector
    // rebuilt, first page loaded.
    void setDevice(const SDeviceInfo& device);
    const SDeviceInfo& device() const { return device_; }
    const SPageInfo& pageRequest() const { return page_; }

    // The page's parts, for the main window's tests and screenshots.
    DBConfigViewModel* model() const { return model_; }
    QTableView* table() const { return table_; }
    ImagesWidget* images() const { return images_; }
    TableHeaderView* header() const { return header_; }
    DbAddDialog* dbAddDialog() const { return dbAdd_; }
    DbEditDialog* dbEditDialog() const { return dbEdit_; }
    ItemAddDialog* itemAddDialog() const { return itemAdd_; }
    ItemAddDialog* itemEditDialog() const { return itemEdit_; }
    SimpleImageDialog* imageDialog() const { return imageDialog_; }

signals:
    void signalReturn(QString ip, bool changed);
    // A page of records has been shown (the pictures may still be arriving).
    void signalPageLoaded();
    // Every picture of the grid has arrived.
    void signalPicturesLoaded();

private slots:
    void on_btn_return_clicked();
    void on_btn_add_clicked();
    void on_btn_edit_clicked();
    void on_btn_delete_clicked();
    void on_btn_images_clear_clicked();
    void on_btn_gen_feature_clicked();
    void on_btn_export_clicked();
    void on_btn_import_clicked();
    void on_btn_search_clicked();
    void on_comb_db_currentIndexChanged(int index);
    void on_btn_item_add_clicked();
    void on_btn_item_edit_clicked();
    void on_btn_item_delete_clicked();
    void on_btn_item_muladd_clicked();
    void on_btn_table_switch_clicked();
    void on_btn_image_switch_clicked();
    void slotDbChanged(int index);
    void slotCurrentPageChanged(int page);
    void slotPageSizeChanged(int size);
    void slotChecked(bool checked);
    void slotAllChecked(bool checked);
    void slotGridChecked(bool checked);
    void slotAddItemFinished();
    void slotEditItemFinished();
    void slotAddFinished(SDBInfo library);
    void slotEditFinshed(SDBInfo library);
    void slotShowImageOnline(const QModelIndex& index);
    void slotDoubleClicked(const QModelIndex& index);

private:
    void setUpViews();
    void setUpDialogs();
    void connectParts();

    // The dialogs belong to the camera (and library) they were opened for: a switch closes them.
    void closeDialogs(bool cameraChanged);

    // Selector and library list.
    bool hasLibrary() const;
    QString currentLibid() const;
    SDBInfo currentLibrary() const;
    // Clears the combo and adds the libraries in order, selecting keepLibid when listed.
    void rebuildSelector(const QString& keepLibid = QString());
    // Reads the camera's library list again, then rebuilds the selector.
    void refreshLibraries(const QString& keepLibid = QString());

    // Pages and pictures.
    void resetRequest();
    void loadPage();
    void showPage(const SPageInfo& reply, const SFeatrueList& records);
    // Says why, keeps the last page shown and offers the load again.
    void pageLoadFailed(int code);
    void loadPictures();
    void clearGrid();
    void fetchNextPicture(int run);
    void showEmptyPage();
    void setHeaderChecked(bool checked);
    bool picturesShown() const;
    void showStackPage(bool pictures);

    // A new picture for a record: the camera gets a new record, and only once it holds it the
    // old one is deleted, so that a failure leaves the old record as it was.
    void replacePicture(const SFeatrueInfo& edited);

    // Jobs.
    void finishExtraction(BatchExtractThread* thread);
    void startExport(const SDBInfo& library, const QString& path);
    void finishExport(DbExportModule* module, const reports::JobReport& report);
    void startImport(const QString& path);
    void finishImport(DbImportModule* module, const reports::JobReport& report);
    void finishImageCheck(CheckImageThread* check);
    void startUpload(const QVector<SFeatrueInfo>& images, const SDBInfo& library,
                     const QString& folder);
    void finishUpload(BatchUploadThread* thread, const reports::JobReport& report);

    // "Retry failed" of this page's job reports.
    void registerRetries();
    bool retryTargetShown(const reports::JobReport& failed, bool needLibrary);
    bool retryUpload(const reports::JobReport& failed);

    Ui::ConfigPage* ui;
    SDeviceInfo device_;
    bool changed_ = true;
    SPageInfo page_;
    TableHeaderView* header_ = nullptr;
    ConfigItemDelegate* delegate_ = nullptr;
    DBConfigViewModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    ImagesWidget* images_ = nullptr;
    DbAddDialog* dbAdd_ = nullptr;
    DbEditDialog* dbEdit_ = nullptr;
    ItemAddDialog* itemAdd_ = nullptr;
    ItemAddDialog* itemEdit_ = nullptr;
    SimpleImageDialog* imageDialog_ = nullptr;
    DeviceControl control_;
    PageCall calls_;  // after control_: ends the overlay of calls still out when the page goes
    SPageInfo shownRequest_;      // the request of the page on show
    qint64 checkAfterLoad_ = -1;  // a record to check once its page is shown
    int pictureRun_ = 0;          // number of the latest grid fill; older downloads are dropped
    QList<QPointer<ImageItemWrap>> pictureQueue_;  // cells still waiting for their picture
    QString lastImageDir_ = ".";
};

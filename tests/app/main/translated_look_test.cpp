// The program's windows in one language on a real X display (run under xvfb-run): every button,
// one-line label and table header has room for its text. Pictures of each window are saved under
// LOOK_SCREENSHOT_DIR/<language> for a person to look at. The language is LOOK_LANGUAGE ("zh"
// when unset).
#include <QAbstractButton>
#include <QCheckBox>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app_cameras.h"
#include "batch/dialogs/batchextractdlg.h"
#include "batch/dialogs/batchimportdlg.h"
#include "batch/dialogs/batchsyncdlg.h"
#include "batch/dialogs/batchuploaddlg.h"
#include "dbutil/devicecsv.h"
#include "dbutil/deviceinfofactory.h"
#include "dbutil/devicelabels.h"
#include "dbutil/jobcontrol.h"
#include "exitguard.h"
#include "mainwindow.h"
#include "pictures.h"
#include "reports/reportstore.h"
#include "startup.h"
#include "ui/device/deviceadddialog.h"
#include "ui/device/deviceeditdialog.h"
#include "ui/device/devicelistexportdialog.h"
#include "ui/device/devicelistimportdialog.h"
#include "ui/device/devicesearchdialog.h"
#include "ui/device/indexpage.h"
#include "ui/facedb/configpage.h"
#include "ui/reports/reportdialog.h"
#include "ui/reports/reportlistdialog.h"
#include "ui/widgets/interactionwaitingwidget.h"
#include "ui/widgets/kitresources.h"

namespace {

constexpr int kWaitMs = 20000;

QString language() {
    const QString chosen = qEnvironmentVariable("LOOK_LANGUAGE");
    return chosen.isEmpty() ? QStringLiteral("zh") : chosen;
}

QString overflow(const QWidget* widget, const QString& text, int need, int room) {
    return QString("%1 \"%2\" needs %3 px, has %4")
        .arg(widget->objectName(), text)
        .arg(need)
        .arg(room);
}

// Buttons, one-line labels and table headers whose text is wider than the room they have.
QStringList clippedTexts(QWidget* root) {
    QStringList clipped;
    for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
        if (!button->isVisible() || button->text().isEmpty()) continue;
        const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
        const int need = button->fontMetrics().horizontalAdvance(button->text()) + icon;
        if (need > button->contentsRect().width())
            clipped << overflow(button, button->text(), need, button->contentsRect().width());
    }
    for (QLabel* label : root->findChildren<QLabel*>()) {
        if (!label->isVisible() || label->wordWrap() || label->text().isEmpty()) continue;
        int need = 0;
        for (const QString& line : label->text().split('\n'))
            need = qMax(need, label->fontMetrics().horizontalAdvance(line));
        if (need > label->contentsRect().width())
            clipped << overflow(label, label->text(), need, label->contentsRect().width());
    }
    for (QTableView* table : root->findChildren<QTableView*>()) {
        QHeaderView* header = table->horizontalHeader();
        if (!table->isVisible() || !header->isVisible() || !table->model()) continue;
        for (int section = 0; section < header->count(); ++section) {
            const QString text = table->model()->headerData(section, Qt::Horizontal).toString();
            const int need = header->fontMetrics().horizontalAdvance(text);
            if (need > header->sectionSize(section))
                clipped << overflow(table, text, need, header->sectionSize(section));
        }
    }
    return clipped;
}

// A camera with libraries of people's pictures, named as an operator would name them.
camsim::Camera* camera(testsupport::CameraSet& cameras, const QString& files,
                       const QStringList& libraries, int pictures) {
    static const QStringList people{"张伟", "王芳", "李娜", "刘洋", "陈静", "杨帆", "赵磊"};
    camsim::CameraConfig config;
    for (int l = 0; l < libraries.size(); ++l) {
        camsim::PreloadedLibrary library;
        library.name = libraries[l].toStdString();
        for (int i = 0; i < pictures; ++i) {
            const QString name = people[i % people.size()] + QString::number(i + 1);
            const QString file = QString("l%1_%2.jpg").arg(l).arg(i);
            library.images.push_back(
                {testpictures::writeJpeg(files, file, 140, 160, l * 100 + i).toStdString(),
                 name.toStdString(), QString("u%1_%2").arg(l).arg(i).toStdString()});
        }
        config.libraries.push_back(library);
    }
    camsim::Camera* started = testsupport::mustStart(cameras, config);
    if (!started->preload().empty()) qFatal("pictures not preloaded");
    return started;
}

}  // namespace

class TranslatedLookTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { clipped_.clear(); }
    void devicePage();
    void deviceDialogs();
    void libraryPage();
    void libraryDialogs();
    void faceCropWindow();
    void jobReports();
    void syncPlanAndReport();
    void cleanupTestCase();

private:
    // Shows the widget, saves its picture and notes the texts that do not fit.
    void shoot(QWidget* widget, const QString& name);
    IndexPage* indexPage() const { return window_->findChild<IndexPage*>("index_page"); }

    QTemporaryDir work_;
    QString out_;
    testsupport::CameraSet cameras_;
    QVector<SDeviceInfo> devices_;
    std::unique_ptr<MainWindow> window_;
    QStringList clipped_;
};

void TranslatedLookTest::shoot(QWidget* widget, const QString& name) {
    widget->show();
    widget->raise();
    QTest::qWait(300);
    QVERIFY(widget->grab().save(out_ + "/" + name + ".png"));
    for (const QString& text : clippedTexts(widget))
        clipped_ << name + ": " + text;
}

// Three rows: a camera with two libraries, one with one, and an address nobody answers on.
void TranslatedLookTest::initTestCase() {
    QVERIFY(work_.isValid());
    QVERIFY(QDir::setCurrent(work_.path()));  // the device page keeps its store there
    out_ = QString(LOOK_SCREENSHOT_DIR "/%1").arg(language());
    QVERIFY(QDir().mkpath(out_));
    devices_ << testsupport::deviceOf(*camera(cameras_, work_.path(), {"员工", "访客"}, 26));
    devices_ << testsupport::deviceOf(*camera(cameras_, work_.path(), {"gate"}, 3));
    devices_ << SDeviceInfo("127.250.0.9", "admin", "secret12");
    {
        DeviceInfoFactory store;
        for (const SDeviceInfo& device : devices_)
            QVERIFY(store.add(device));
        QVERIFY(store.save());
        DeviceLabels labels(DeviceLabels::fileBeside(store.fileName()));
        labels.set(devices_[0].ip, {"3号门 Gate 3", "A区 Site A"});
        labels.set(devices_[1].ip, {"Lobby", "A区 Site A"});
        QVERIFY(labels.save());
    }
    window_ = std::make_unique<MainWindow>();
    window_->resize(1280, 760);
    window_->show();
    QVERIFY(QTest::qWaitFor([&] { return indexPage()->deviceInfo(devices_[1].ip).status == 0; },
                            kWaitMs));
    auto* overlay = window_->findChild<InteractionWaitingWidget*>();
    QVERIFY(QTest::qWaitFor([&] { return !overlay->isVisible(); }, kWaitMs));
}

// The largest and the smallest window, and a batch job's rows over it.
void TranslatedLookTest::devicePage() {
    shoot(window_.get(), "main");
    const QSize size = window_->size();
    window_->resize(window_->minimumSize());  // where long texts run out of room first
    shoot(window_.get(), "main_smallest");
    auto* filter = indexPage()->findChild<QLineEdit*>("edit_filter");
    filter->setText("site a");
    shoot(window_.get(), "main_filtered_smallest");
    window_->resize(size);
    shoot(window_.get(), "main_filtered");
    filter->clear();
    JobControl* jobs = JobControl::instance();
    jobs->beginBusy(3);
    jobs->itemProgress(devices_[0].ip + "/员工", 40, "2/5");
    jobs->itemProgress(devices_[1].ip + "/gate", 100, "5/5");
    jobs->itemProgress(devices_[1].ip + "/gate", 100, "5/5");
    shoot(window_.get(), "main_rows");
    jobs->endBusy();
    QVERIFY2(clipped_.isEmpty(), qPrintable(clipped_.join('\n')));
}

void TranslatedLookTest::deviceDialogs() {
    IndexPage* page = indexPage();
    auto* add = page->findChild<DeviceAddDialog*>();
    shoot(add, "device_add");
    add->hide();
    auto* search = page->findChild<DeviceSearchDialog*>();
    search->setList({"192.168.1.20", "192.168.1.21"});
    shoot(search, "device_search");
    search->hide();
    DeviceEditDialog edit(page);
    edit.setDevice(devices_[0]);
    shoot(&edit, "device_edit");
    edit.hide();
    for (auto [dialog, name] :
         {std::pair<BatchDialog*, const char*>{page->findChild<BatchImportDlg*>(), "batch_import"},
          {page->findChild<BatchExtractDlg*>(), "batch_extract"},
          {page->findChild<BatchUploadDlg*>(), "batch_upload"}}) {
        QVector<SDeviceInfo> refreshed;
        for (const SDeviceInfo& device : devices_)
            refreshed << page->deviceInfo(device.ip);
        dialog->setDevices(refreshed);
        shoot(dialog, name);
        dialog->hide();
    }
    DeviceListImportDialog preview(page);
    const QByteArray csv = "address,user,password,name,group\n"
                           "192.168.1.20,admin,secret12,3号门 Gate 3,A区 Site A\n"
                           "192.168.1.21,admin,secret12,Lobby,\n"
                           "192.168.1.300,admin,secret12,,\n"
                           "192.168.1.22,adm,secret12,,\n" +
                           devices_[0].ip.toUtf8() + ",admin,secret12,,\n";
    preview.setReading("cameras.csv", devicecsv::read(csv, [&](const QString& ip) {
                           return ip == devices_[0].ip;
                       }));
    shoot(&preview, "device_list_import_refused");
    preview.setReading("cameras.csv", devicecsv::read(csv.left(csv.indexOf("192.168.1.300")),
                                                      [](const QString&) { return false; }));
    shoot(&preview, "device_list_import");
    preview.hide();
    DeviceListExportDialog exportOptions(page);
    exportOptions.findChild<QCheckBox*>("chk_passwords")->setChecked(true);
    shoot(&exportOptions, "device_list_export");
    exportOptions.hide();
    QMessageBox question(QMessageBox::Information,
                         QCoreApplication::translate("MainWindow", "Information"),
                         exitguard::question(JobControl::ScanDevice | JobControl::UploadBatch),
                         QMessageBox::Ok | QMessageBox::Cancel, window_.get());
    shoot(&question, "exit_question");
    QVERIFY2(clipped_.isEmpty(), qPrintable(clipped_.join('\n')));
}

// The picture grid and the table of the first library, at both window sizes.
void TranslatedLookTest::libraryPage() {
    auto* page = window_->findChild<ConfigPage*>("config_page");
    QSignalSpy loaded(page, &ConfigPage::signalPageLoaded);
    QSignalSpy pictures(page, &ConfigPage::signalPicturesLoaded);
    window_->slotConfig(devices_[0].ip);
    QVERIFY(loaded.wait(kWaitMs));
    QVERIFY(pictures.count() > 0 || pictures.wait(kWaitMs));
    shoot(window_.get(), "library_grid");
    QTest::mouseClick(page->findChild<QAbstractButton*>("btn_table_switch"), Qt::LeftButton);
    shoot(window_.get(), "library_table");
    const QSize size = window_->size();
    window_->resize(window_->minimumSize());
    shoot(window_.get(), "library_table_smallest");
    window_->resize(size);
    QVERIFY2(clipped_.isEmpty(), qPrintable(clipped_.join('\n')));
}

// The library and record dialogs, each in its add and its edit form.
void TranslatedLookTest::libraryDialogs() {
    auto* page = window_->findChild<ConfigPage*>("config_page");
    QStringList seen;
    for (QDialog* dialog : page->findChildren<QDialog*>()) {
        const QString name = QString("library_%1").arg(dialog->metaObject()->className());
        shoot(dialog, seen.contains(name) ? name + "_2" : name);
        seen << name;
        dialog->hide();
    }
    QVERIFY(seen.contains("library_ItemAddDialog") && seen.contains("library_DbAddDialog"));
    QVERIFY2(clipped_.isEmpty(), qPrintable(clipped_.join('\n')));
}

// Opened from the settings menu, as the operator does.
void TranslatedLookTest::faceCropWindow() {
    auto* menu = window_->findChild<QMenu*>();
    QVERIFY(menu && !menu->actions().isEmpty());
    menu->actions().first()->trigger();
    QDialog* dialog = nullptr;
    for (QDialog* candidate : window_->findChildren<QDialog*>())
        if (QLatin1String(candidate->metaObject()->className()) == "ExtractFaceDialog")
            dialog = candidate;
    QVERIFY(dialog);
    shoot(dialog, "extract_face");
    dialog->hide();
    QVERIFY2(clipped_.isEmpty(), qPrintable(clipped_.join('\n')));
}

// An upload where one camera stopped answering, kept beside an older extraction; the list
// and the report opened from the settings menu, sized for both screens.
void TranslatedLookTest::jobReports() {
    reports::JobReport report;
    report.kind = reports::JobKind::BatchUpload;
    report.started = QDateTime(QDate(2026, 12, 8), QTime(9, 30));
    report.ended = report.started.addSecs(75);
    report.source = work_.filePath("员工照片");
    for (const SDeviceInfo& device : devices_) {
        reports::ReportRow row;
        row.camera = device.ip;
        row.library = "员工";
        for (int i = 0; i < 6; ++i) {
            row.file = report.source + QString("/张伟%1.jpg").arg(i + 1);
            report.rows << (device.ip == devices_[2].ip ? reports::failedRow(row, 10028)
                                                        : reports::storedRow(row));
        }
    }
    reports::JobReport older = report;
    older.kind = reports::JobKind::BatchExtract;
    older.ended = report.ended.addSecs(-3600);
    older.rows.resize(2);
    QVERIFY(!reports::save(older).isEmpty() && !reports::save(report).isEmpty());

    QAction* action = window_->findChild<QAction*>("action_job_reports");
    QVERIFY(action);
    action->trigger();
    auto* list = window_->findChild<ReportListDialog*>();
    QVERIFY(list);
    QVERIFY(QTest::qWaitFor([&] { return list->reportCount() == 2; }, kWaitMs));
    shoot(list, "job_reports");
    list->findChild<QAbstractButton*>("btn_open")->click();
    auto* dialog = list->findChild<ReportDialog*>();
    QVERIFY(dialog);
    for (const QSize& screen : {QSize(1280, 760), QSize(1024, 600)}) {
        dialog->resize(screen * 0.8);
        shoot(dialog, QString("job_report_%1x%2").arg(screen.width()).arg(screen.height()));
    }
    dialog->close();
    list->hide();
    QVERIFY2(clipped_.isEmpty(), qPrintable(clipped_.join('\n')));
}

// A sync of the first camera's library planned over the three rows (itself, a camera with room
// for it, the one nobody answers on), then applied: the plan and the sync's report.
void TranslatedLookTest::syncPlanAndReport() {
    IndexPage* page = indexPage();
    auto* dialog = page->findChild<BatchSyncDlg*>();
    QVector<SDeviceInfo> refreshed;
    for (const SDeviceInfo& device : devices_)
        refreshed << page->deviceInfo(device.ip);
    dialog->setCameras(refreshed, refreshed);
    dialog->findChild<QAbstractButton*>("radio_camera")->click();
    QSignalSpy planned(dialog, &BatchSyncDlg::signalPlanDone);
    dialog->findChild<QAbstractButton*>("btn_plan")->click();
    QVERIFY(planned.wait(60000));
    shoot(dialog, "sync_plan");

    // The box that ends the sync opens its report.
    QTimer details;
    connect(&details, &QTimer::timeout, [] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* button = modal ? modal->findChild<QAbstractButton*>("btn_details") : nullptr)
            button->click();
    });
    details.start(50);
    dialog->findChild<QAbstractButton*>("btn_apply")->click();
    ReportDialog* report = nullptr;
    QVERIFY(QTest::qWaitFor([&] { return (report = page->findChild<ReportDialog*>()); }, 60000));
    details.stop();
    dialog->hide();
    report->resize(QSize(1024, 600) * 0.8);
    shoot(report, "sync_report");
    report->close();
    QVERIFY2(clipped_.isEmpty(), qPrintable(clipped_.join('\n')));
}

void TranslatedLookTest::cleanupTestCase() {
    window_.reset();
}

int main(int argc, char** argv) {
    startup::registerMetaTypes();
    QApplication app(argc, argv);
    initKitResources();
    startup::applyStyleSheet(app);
    const QLocale locale(language() == "zh" ? QLocale::Chinese : QLocale::English);
    if (startup::installTranslations(QM_DIR, locale, &app).isEmpty() && language() == "zh")
        qFatal("no Chinese translations in %s", QM_DIR);
    TranslatedLookTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "translated_look_test.moc"

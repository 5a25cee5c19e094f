// Pictures of the main window, the library page and the dialogs in one language, for a person to
// look at for clipped or overflowing texts: translated_screens <en|zh> <output directory>
// (run under a display, e.g. xvfb-run). Texts that do not fit their widget are also listed.
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include "app_cameras.h"
#include "batch/dialogs/batchextractdlg.h"
#include "batch/dialogs/batchimportdlg.h"
#include "batch/dialogs/batchuploaddlg.h"
#include "dbutil/deviceinfofactory.h"
#include "dbutil/jobcontrol.h"
#include "exitguard.h"
#include "mainwindow.h"
#include "pictures.h"
#include "startup.h"
#include "ui/device/deviceadddialog.h"
#include "ui/device/deviceeditdialog.h"
#include "ui/device/devicesearchdialog.h"
#include "ui/device/indexpage.h"
#include "ui/facedb/configpage.h"
#include "ui/widgets/interactionwaitingwidget.h"
#include "ui/widgets/kitresources.h"

namespace {

constexpr int kWaitMs = 20000;

// Buttons and one-line labels whose text is wider than the room they have.
QStringList clippedTexts(QWidget* root) {
    QStringList clipped;
    for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
        if (!button->isVisible() || button->text().isEmpty()) continue;
        const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
        const int need = button->fontMetrics().horizontalAdvance(button->text()) + icon;
        if (need > button->contentsRect().width())
            clipped << QString("%1 \"%2\" %3>%4")
                           .arg(button->objectName(), button->text())
                           .arg(need)
                           .arg(button->contentsRect().width());
    }
    for (QLabel* label : root->findChildren<QLabel*>()) {
        if (!label->isVisible() || label->wordWrap() || label->text().isEmpty()) continue;
        int need = 0;
        for (const QString& line : label->text().split('\n'))
            need = qMax(need, label->fontMetrics().horizontalAdvance(line));
        if (need > label->contentsRect().width())
            clipped << QString("%1 \"%2\" %3>%4")
                           .arg(label->objectName(), label->text())
                           .arg(need)
                           .arg(label->contentsRect().width());
    }
    for (QTableView* table : root->findChildren<QTableView*>()) {
        QHeaderView* header = table->horizontalHeader();
        if (!table->isVisible() || !header->isVisible() || !table->model()) continue;
        for (int section = 0; section < header->count(); ++section) {
            const QString text = table->model()->headerData(section, Qt::Horizontal).toString();
            const int need = header->fontMetrics().horizontalAdvance(text);
            if (need > header->sectionSize(section))
                clipped << QString("%1 header \"%2\" %3>%4")
                               .arg(table->objectName(), text)
                               .arg(need)
                               .arg(header->sectionSize(section));
        }
    }
    return clipped;
}

void shoot(QWidget* widget, const QString& dir, const QString& name) {
    widget->show();
    widget->raise();
    QTest::qWait(400);
    if (!widget->grab().save(dir + "/" + name + ".png"))
        qWarning("not saved: %s", qPrintable(name));
    for (const QString& text : clippedTexts(widget))
        qWarning("%s: clipped %s", qPrintable(name), qPrintable(text));
}

bool waitFor(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, kWaitMs);
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
                 name.toStdString(), ""});
        }
        config.libraries.push_back(library);
    }
    camsim::Camera* started = testsupport::mustStart(cameras, config);
    if (!started->preload().empty()) qFatal("pictures not preloaded");
    return started;
}

void shootDevicePage(MainWindow& window, const QVector<SDeviceInfo>& devices, const QString& out) {
    auto* page = window.findChild<IndexPage*>("index_page");
    shoot(&window, out, "main");
    const QSize size = window.size();
    window.resize(window.minimumSize());
    shoot(&window, out, "main_smallest");
    window.resize(size);
    auto* add = page->findChild<DeviceAddDialog*>();
    shoot(add, out, "device_add");
    add->hide();
    auto* search = page->findChild<DeviceSearchDialog*>();
    search->setList({"192.168.1.20", "192.168.1.21"});
    shoot(search, out, "device_search");
    search->hide();
    DeviceEditDialog edit(page);
    edit.setDevice(devices[0]);
    shoot(&edit, out, "device_edit");
    edit.hide();
    for (auto [dialog, name] :
         {std::pair<BatchDialog*, const char*>{page->findChild<BatchImportDlg*>(), "batch_import"},
          {page->findChild<BatchExtractDlg*>(), "batch_extract"},
          {page->findChild<BatchUploadDlg*>(), "batch_upload"}}) {
        QVector<SDeviceInfo> refreshed;
        for (const SDeviceInfo& device : devices)
            refreshed << page->deviceInfo(device.ip);
        dialog->setDevices(refreshed);
        shoot(dialog, out, name);
        dialog->hide();
    }
    JobControl* jobs = JobControl::instance();
    jobs->beginBusy(3);
    jobs->itemProgress(devices[0].ip + "/staff", 40, "2/5");
    jobs->itemProgress(devices[1].ip + "/gate", 100, "5/5");
    shoot(&window, out, "main_rows");
    jobs->endBusy();
    QMessageBox question(QMessageBox::Information,
                         QCoreApplication::translate("MainWindow", "Information"),
                         exitguard::question(JobControl::ScanDevice | JobControl::UploadBatch),
                         QMessageBox::Ok | QMessageBox::Cancel, &window);
    shoot(&question, out, "exit_question");
    question.hide();
    window.findChild<QMenu*>()->actions().first()->trigger();  // the face-crop window
    for (QDialog* dialog : window.findChildren<QDialog*>())
        if (QString(dialog->metaObject()->className()) == "ExtractFaceDialog") {
            shoot(dialog, out, "extract_face");
            dialog->hide();
        }
}

void shootLibraryPage(MainWindow& window, const QString& ip, const QString& out) {
    auto* page = window.findChild<ConfigPage*>("config_page");
    QSignalSpy loaded(page, &ConfigPage::signalPageLoaded);
    window.slotConfig(ip);
    if (!loaded.wait(kWaitMs)) qFatal("library page not loaded");
    waitFor([&] { return !window.findChild<InteractionWaitingWidget*>()->isVisible(); });
    QTest::qWait(1500);  // the grid's pictures come one by one
    shoot(&window, out, "library_grid");
    QTest::mouseClick(page->findChild<QAbstractButton*>("btn_table_switch"), Qt::LeftButton);
    shoot(&window, out, "library_table");
    const QSize size = window.size();
    window.resize(window.minimumSize());  // where long texts run out of room first
    shoot(&window, out, "library_table_smallest");
    window.resize(size);
    for (QDialog* dialog : page->findChildren<QDialog*>()) {
        const QString name = QString("library_%1").arg(dialog->metaObject()->className());
        shoot(dialog, out, name + (QFile::exists(out + "/" + name + ".png") ? "_2" : ""));
        dialog->hide();
    }
}

}  // namespace

int main(int argc, char** argv) {
    startup::registerMetaTypes();
    QApplication app(argc, argv);
    if (argc < 3) qFatal("usage: translated_screens <en|zh> <output directory>");
    const QString out = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
    QDir().mkpath(out);
    initKitResources();
    startup::applyStyleSheet(app);
    const bool chinese = QString::fromLocal8Bit(argv[1]) == "zh";
    startup::installTranslations(QM_DIR, QLocale(chinese ? QLocale::Chinese : QLocale::English),
                                 &app);

    QTemporaryDir work;  // the device page keeps its store in the working directory
    QDir::setCurrent(work.path());
    testsupport::CameraSet cameras;
    QVector<SDeviceInfo> devices;
    devices << testsupport::deviceOf(*camera(cameras, work.path(), {"员工", "访客"}, 26));
    devices << testsupport::deviceOf(*camera(cameras, work.path(), {"gate"}, 3));
    devices << SDeviceInfo("127.250.0.9", "admin", "secret12");  // nobody answers there
    {
        DeviceInfoFactory store;
        for (const SDeviceInfo& device : devices)
            store.add(device);
        store.save();
    }

    MainWindow window;
    window.resize(1280, 760);
    window.show();
    auto* page = window.findChild<IndexPage*>("index_page");
    if (!waitFor([&] { return page->deviceInfo(devices[1].ip).status == 0; }))
        qFatal("cameras did not answer");
    waitFor([&] { return !window.findChild<InteractionWaitingWidget*>()->isVisible(); });
    shootDevicePage(window, devices, out);
    shootLibraryPage(window, devices[0].ip, out);
    return 0;
}

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QSpinBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "app_cameras.h"
#include "batch/batchjob.h"
#include "batch/batchpackage.h"
#include "batch/batchuploadthread.h"
#include "dbutil/checkimagethread.h"
#include "dbutil/deviceinfofactory.h"
#include "dbutil/interaction.h"
#include "dbutil/jobcontrol.h"
#include "dbutil/zipwriter.h"
#include "exitguard.h"
#include "fleet/fleetsettings.h"
#include "instanceguard.h"
#include "mainwindow.h"
#include "pictures.h"
#include "startup.h"
#include "ui/device/indexpage.h"
#include "ui/facedb/configpage.h"
#include "ui/widgets/interactionwaitingwidget.h"
#include "ui/widgets/kitresources.h"

namespace {

// Opens the title-bar test to the table below.
class ProbedWindow : public MainWindow {
public:
    using MainWindow::hitTopMenu;
};

template <typename T>
T* child(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QLatin1String(name));
    if (!found) qFatal("no child %s", name);
    return found;
}

// Answers the next message box with button and keeps its text.
void answerNextBox(QMessageBox::StandardButton button, QString* text, QString* title = nullptr) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        timer->stop();
        timer->deleteLater();
        *text = box->text();
        if (title) *title = box->windowTitle();
        box->button(button)->click();
    });
    timer->start(20);
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void titleBarAndLimits();
    void maximiseSwapsButtonsAndMargins();
    void titleAreaTable();
    void overlayFollowsContents();
    void settingsMenuBelowItsButton();
    void pagesSwitchForOneCamera();
    void guardQuestionText();
    void closesAtOnceWithoutJobs();
    void cancelKeepsWindow();
    void batchJobEndsInsideTheWait();
    void jobsOutsideTheOverlayStopWhenClosing();
    void secondStartToldAndRefused();
    void fleetSettingsInTheMenu();

private:
    QTemporaryDir workDir_;
    QTemporaryDir files_;
    testsupport::CameraSet cameras_;
};

// The device list page keeps its store in the working directory: a fresh one per test run.
void MainWindowTest::initTestCase() {
    QVERIFY(workDir_.isValid());
    QVERIFY(QDir::setCurrent(workDir_.path()));
}

void MainWindowTest::cleanup() {
    QFile::remove(QStringLiteral("kestrel.data"));
    QFile::remove(QString(fleet::kSettingsFile));
    fleet::setLimit(fleet::kDefaultLimit);
}

void MainWindowTest::titleBarAndLimits() {
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(MainWindow::instance(), &window);
    QCOMPARE(child<QLabel>(window, "label_2")->text(), window.windowTitle());
    QCOMPARE(child<QStackedWidget>(window, "stackedWidget")->currentWidget(),
             child<QWidget>(window, "index_page"));
    window.resize(400, 300);
    QCOMPARE(window.size(), window.minimumSize());
    // The header is painted in its own colour.
    const QImage shot = window.grab().toImage();
    auto* header = child<QFrame>(window, "frame_header");
    const QPoint inHeader = header->mapTo(&window, QPoint(header->width() / 2, 4));
    QCOMPARE(shot.pixelColor(inHeader).name(), QStringLiteral("#0d234c"));
}

void MainWindowTest::maximiseSwapsButtonsAndMargins() {
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* max = child<QPushButton>(window, "system__btn_max");
    auto* restore = child<QPushButton>(window, "system__btn_max_normal");
    QVERIFY(max->isVisible() && !restore->isVisible());
    QCOMPARE(window.contentsMargins(), QMargins(2, 2, 2, 2));
    QTest::mouseClick(max, Qt::LeftButton);
    QTRY_VERIFY(window.isMaximized());
    QTRY_VERIFY(!max->isVisible() && restore->isVisible());
    QCOMPARE(window.contentsMargins(), QMargins(0, 0, 0, 0));
    QTest::mouseClick(restore, Qt::LeftButton);
    QTRY_VERIFY(!window.isMaximized());
    QTRY_VERIFY(max->isVisible() && !restore->isVisible());
    QCOMPARE(window.contentsMargins(), QMargins(2, 2, 2, 2));
}

void MainWindowTest::titleAreaTable() {
    ProbedWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* commands = child<QFrame>(window, "frame_cmds");
    const QPoint cmds = commands->mapTo(&window, QPoint(0, 0));
    const struct {
        QPoint local;
        bool title;
    } rows[] = {
        {{300, 10}, true},
        {{300, 59}, true},
        {{300, 60}, false},
        {{300, 300}, false},
        {cmds + QPoint(2, 2), false},
        {cmds + QPoint(commands->width() - 1, commands->height() - 1), false},
        {cmds + QPoint(-1, 2), true},
    };
    for (const auto& row : rows) {
        const QPoint global = window.mapToGlobal(row.local);
        QVERIFY2(window.hitTopMenu(global.x(), global.y()) == row.title,
                 qPrintable(QStringLiteral("%1,%2").arg(row.local.x()).arg(row.local.y())));
    }
}

void MainWindowTest::overlayFollowsContents() {
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* contents = child<QWidget>(window, "contents");
    auto* overlay = contents->findChild<InteractionWaitingWidget*>();
    QVERIFY(overlay);
    for (const QSize size : {QSize(1300, 800), QSize(1024, 600)}) {
        window.resize(size);
        QTRY_COMPARE(overlay->size(), contents->size());
    }
}

void MainWindowTest::settingsMenuBelowItsButton() {
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.move(-500, 0);  // so that the menu fits on the small offscreen screen unmoved
    QTest::mouseClick(child<QPushButton>(window, "system__setting"), Qt::LeftButton);
    QMenu* menu = window.findChild<QMenu*>();
    QVERIFY(menu);
    QTRY_VERIFY(menu->isVisible());
    const QPoint expected =
        window.pos() + child<QFrame>(window, "frame_cmds")->pos() + QPoint(4, 32);
    QCOMPARE(menu->pos(), expected);
    QCOMPARE(menu->actions().first()->text(), QStringLiteral("Preprocess image"));
    menu->actions().first()->trigger();  // its dialog is not there yet: nothing happens
    menu->close();
    QVERIFY(window.isVisible());
}

void MainWindowTest::pagesSwitchForOneCamera() {
    const SDeviceInfo camera = testsupport::deviceOf(*testsupport::mustStart(cameras_));
    {
        DeviceInfoFactory store;
        QVERIFY(store.add(camera));
        QVERIFY(store.save());
    }
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* stack = child<QStackedWidget>(window, "stackedWidget");
    auto* index = child<IndexPage>(window, "index_page");
    auto* config = child<ConfigPage>(window, "config_page");
    emit index->signalConfig(camera.ip);
    QCOMPARE(stack->currentIndex(), 1);
    QCOMPARE(config->device().ip, camera.ip);
    QCOMPARE(config->device().username, camera.username);
    emit config->signalReturn(camera.ip, false);
    QCOMPARE(stack->currentIndex(), 0);
}

void MainWindowTest::guardQuestionText() {
    QCOMPARE(exitguard::question(JobControl::ScanDevice),
             QStringLiteral("The following tasks are being executed:\nScan Device \nExit anyhow?"));
    QCOMPARE(exitguard::question(JobControl::FaceDbExport | JobControl::UploadImage),
             QStringLiteral("The following tasks are being executed:\nUpload Image \n"
                            "Face DB Export \nExit anyhow?"));
}

void MainWindowTest::closesAtOnceWithoutJobs() {
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.close());
    QVERIFY(!window.isVisible());
    QVERIFY(!JobControl::instance()->closing());
}

void MainWindowTest::cancelKeepsWindow() {
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    JobControl* jobs = JobControl::instance();
    jobs->setTask(JobControl::ScanDevice, true);
    QString text, title;
    answerNextBox(QMessageBox::Cancel, &text, &title);
    QVERIFY(!window.close());
    QCOMPARE(title, QStringLiteral("Information"));
    QCOMPARE(text, exitguard::question(JobControl::ScanDevice));
    QVERIFY(window.isVisible());
    QVERIFY(!jobs->closing());
    QVERIFY(!jobs->stopRequested());
    jobs->setTask(JobControl::ScanDevice, false);
}

// The batch job counts its threads' ends on this thread: the guard's wait must let it.
void MainWindowTest::batchJobEndsInsideTheWait() {
    camsim::Camera* camera = testsupport::mustStart(cameras_);
    const SDeviceInfo device = testsupport::deviceOf(*camera);
    SDBInfo library;
    library.name = "guarded";
    library.threshold = 70;
    QVERIFY(Interaction::instance().addFaceDB(device, &library));
    QVector<SFeatrueInfo> images;
    for (int i = 0; i < 40; ++i) {
        SFeatrueInfo image;
        image.name = QStringLiteral("g%1").arg(i);
        image.path = testpictures::writeJpeg(files_.path(), image.name + ".jpg", 140, 150, i);
        images.append(image);
    }
    camera->addFault({"*", camsim::FaultKind::Latency, 100, -1});  // 40 pictures take seconds

    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    JobControl* jobs = JobControl::instance();
    BatchJob upload(BatchJob::Upload);
    QVERIFY(upload.start({new BatchUploadThread(device, library, images, true)}, images.size()));
    QVERIFY(jobs->tasks() & JobControl::UploadBatch);

    QString text;
    answerNextBox(QMessageBox::Ok, &text);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(window.close());
    QVERIFY(clock.elapsed() < exitguard::kWaitMs / 2);
    QCOMPARE(text, exitguard::question(JobControl::UploadBatch));
    QVERIFY(jobs->closing());
    QCOMPARE(jobs->tasks(), quint16(0));
    QVERIFY(!upload.isRunning());
    QVERIFY(upload.counted() < images.size());
    QVERIFY(!window.isVisible());
    camera->clearFaults();
}

// The image check and the batch package unpack end early once the exit is confirmed.
void MainWindowTest::jobsOutsideTheOverlayStopWhenClosing() {
    QTemporaryDir folder;
    for (int i = 0; i < 3; ++i)
        QVERIFY(
            !testpictures::writeJpeg(folder.path(), QStringLiteral("c%1.jpg").arg(i), 140, 150, i)
                 .isEmpty());
    const QString zip = files_.filePath("unpack.zip");
    {
        ZipWriter writer;
        QVERIFY(writer.open(zip));
        QVERIFY(writer.addBytes("package.dat", "data"));
        QVERIFY(writer.addBytes("images/1.jpg", "x"));
        QVERIFY(writer.close());
    }
    JobControl jobs;
    CheckImageThread open(folder.path());
    open.start();
    QVERIFY(open.wait(10000));
    QCOMPARE(open.images().size(), 3);
    QCOMPARE(unpackBatchPackage(zip), 0);
    QVERIFY(QFile::exists(batchWorkDir() + "/images/1.jpg"));

    jobs.setClosing(true);
    CheckImageThread closing(folder.path());
    closing.start();
    QVERIFY(closing.wait(10000));
    QCOMPARE(closing.fileNames().size(), 3);
    QVERIFY(closing.images().isEmpty());
    QCOMPARE(unpackBatchPackage(zip), int(resultcode::PackageInvalid));
    QVERIFY(!QFile::exists(batchWorkDir() + "/package.dat"));
    QCOMPARE(jobs.tasks(), quint16(0));
}

// The refusal the program shows on a second start, and the guard it gives back.
void MainWindowTest::secondStartToldAndRefused() {
    const QString key =
        QStringLiteral("kestrel_window_test_%1").arg(QCoreApplication::applicationPid());
    InstanceGuard first(key);
    QVERIFY(first.tryToRun());
    QString text, title;
    {
        InstanceGuard second(key);
        QVERIFY(!second.tryToRun());
        answerNextBox(QMessageBox::Ok, &text, &title);
        QCOMPARE(startup::refuseSecondInstance(second), -1);
    }
    QCOMPARE(title, QStringLiteral("Error"));
    QCOMPARE(text, QStringLiteral("Another process is running"));
    first.release();
    InstanceGuard next(key);
    QVERIFY(next.tryToRun());
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    initKitResources();
    app.setStyleSheet(kitStyleSheet());
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "mainwindow_test.moc"

// The fleet settings: side by side (for the next start), the bound and the background check,
// kept in their own file; a file edited by hand is read within bounds.
void MainWindowTest::fleetSettingsInTheMenu() {
    {
        MainWindow window;
        auto* sideBySide = child<QAction>(window, "action_side_by_side");
        auto* limit = child<QAction>(window, "action_fleet_limit");
        QVERIFY(sideBySide->isChecked());
        QCOMPARE(limit->text(), QStringLiteral("At most 16 cameras at once..."));

        QString told;
        answerNextBox(QMessageBox::Ok, &told);
        sideBySide->trigger();
        QCOMPARE(told, QStringLiteral("Takes effect the next time the program starts."));
        QVERIFY(!fleet::load().sideBySide);

        QTimer::singleShot(50, [] {
            auto* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            dialog->findChild<QSpinBox*>("spin_limit")->setValue(3);
            dialog->findChild<QPushButton*>("btn_ok")->click();
        });
        limit->trigger();
        QCOMPARE(fleet::limit(), 3);
        QCOMPARE(fleet::load().limit, 3);
        QCOMPARE(limit->text(), QStringLiteral("At most 3 cameras at once..."));

        // The background check: 0 turns it off, for this run and the next.
        auto* health = child<QAction>(window, "action_health_interval");
        QCOMPARE(health->text(), QStringLiteral("Check the cameras every 5 minutes..."));
        QCOMPARE(window.findChild<IndexPage*>()->health().interval(), 5 * 60 * 1000);
        QTimer::singleShot(50, [] {
            auto* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            dialog->findChild<QSpinBox*>("spin_minutes")->setValue(0);
            dialog->findChild<QPushButton*>("btn_ok")->click();
        });
        health->trigger();
        QCOMPARE(window.findChild<IndexPage*>()->health().interval(), 0);
    }
    MainWindow again;
    QVERIFY(!child<QAction>(again, "action_side_by_side")->isChecked());
    QCOMPARE(child<QAction>(again, "action_health_interval")->text(),
             QStringLiteral("Background check: off..."));
    QCOMPARE(again.findChild<IndexPage*>()->health().interval(), 0);

    const QList<QPair<QString, int>> written = {{"0", 1}, {"999", 256}, {"seven", 16}, {"40", 40}};
    for (const auto& [text, read] : written) {
        QSettings(fleet::kSettingsFile, QSettings::IniFormat).setValue("cameras/atOnce", text);
        QCOMPARE(fleet::load().limit, read);
    }
}

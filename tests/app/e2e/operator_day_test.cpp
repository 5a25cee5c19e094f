// An operator's day through the real main window, by object name, against simulated cameras
// that answer the LAN search of this private network namespace; then the same window against
// cameras that fail. The working directory is a temporary one: the store, temp/ and log/ go
// there, and a second window started in it must find what the first one left.
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <set>

#include "app_cameras.h"
#include "batch/dialogs/batchextractdlg.h"
#include "batch/dialogs/batchimportdlg.h"
#include "batch/dialogs/batchuploaddlg.h"
#include "dbutil/deviceinfofactory.h"
#include "dbutil/jobcontrol.h"
#include "exitguard.h"
#include "mainwindow.h"
#include "modalanswerer.h"
#include "pictures.h"
#include "startup.h"
#include "support/private_namespace.h"
#include "ui/device/deviceeditdialog.h"
#include "ui/device/deviceinfotablemodel.h"
#include "ui/device/devicesearchdialog.h"
#include "ui/device/indexpage.h"
#include "ui/facedb/configpage.h"
#include "ui/facedb/dbdialog.h"
#include "ui/widgets/interactionwaitingwidget.h"
#include "ui/widgets/kitresources.h"
#include "ui/widgets/progresswidget.h"

namespace {

constexpr int kWaitMs = 60000;
const char kPassword[] = "secret12";

template <class T>
T* part(const QObject* parent, const char* name) {
    T* found = parent->findChild<T*>(QLatin1String(name));
    if (!found) qFatal("no %s", name);
    return found;
}

void click(const QObject* parent, const char* name) {
    QTest::mouseClick(part<QAbstractButton>(parent, name), Qt::LeftButton);
}

// A folder of `count` pictures a camera takes.
QString pictureFolder(const QString& parent, const QString& name, int count, int seed) {
    const QString dir = parent + '/' + name;
    QDir().mkpath(dir);
    for (int i = 0; i < count; ++i)
        testpictures::writeJpeg(dir, QString("%1%2.jpg").arg(name).arg(i), 140, 150, seed + i);
    return dir;
}

std::multiset<std::string> digests(camsim::Camera& camera, int library) {
    std::multiset<std::string> found;
    const auto libraries = camera.faces().snapshot();
    if (library < int(libraries.size()))
        for (const auto& image : libraries[library].images)
            found.insert(image.second.md5);
    return found;
}

QStringList libraryNames(camsim::Camera& camera) {
    QStringList names;
    for (const camsim::LibraryRecord& library : camera.faces().snapshot())
        names << QString::fromStdString(library.name);
    return names;
}

int pictureCount(camsim::Camera& camera) {
    int count = 0;
    for (const camsim::LibraryRecord& library : camera.faces().snapshot())
        count += int(library.images.size());
    return count;
}

// Counts the GUI thread's timer ticks and the longest gap between two of them.
class Heartbeat : public QObject {
public:
    Heartbeat() {
        connect(&timer_, &QTimer::timeout, this, [this] {
            maxGapMs = std::max(maxGapMs, sinceLast_.restart());
            ++ticks;
        });
        sinceLast_.start();
        timer_.start(20);
    }
    int ticks = 0;
    qint64 maxGapMs = 0;

private:
    QTimer timer_;
    QElapsedTimer sinceLast_;
};

// Stops the camera as soon as it holds `pictures` pictures.
std::unique_ptr<QTimer> stopWhenHolding(camsim::Camera& camera, int pictures) {
    auto timer = std::make_unique<QTimer>();
    QTimer* watch = timer.get();
    QObject::connect(watch, &QTimer::timeout, [watch, &camera, pictures] {
        if (pictureCount(camera) < pictures) return;
        watch->stop();
        camera.stop();
    });
    watch->start(10);
    return timer;
}

// The main window as the operator sees it.
struct Desk {
    MainWindow window;
    Desk() {
        window.resize(1400, 900);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) qFatal("window not shown");
    }
    IndexPage* index() { return part<IndexPage>(&window, "index_page"); }
    ConfigPage* config() { return part<ConfigPage>(&window, "config_page"); }
    QAbstractItemModel* devices() { return part<QTableView>(&window, "deviceTable")->model(); }
    int page() { return part<QStackedWidget>(&window, "stackedWidget")->currentIndex(); }
    bool idle() { return !window.findChild<InteractionWaitingWidget*>()->isVisible(); }

    QString cell(int row, int column) { return devices()->index(row, column).data().toString(); }
    QStringList column(int column) {
        QStringList cells;
        for (int row = 0; row < devices()->rowCount(); ++row)
            cells << cell(row, column);
        return cells;
    }
    bool allReachable(int rows) {
        if (devices()->rowCount() != rows) return false;
        for (int row = 0; row < rows; ++row)
            if (devices()->index(row, DeviceInfoTableModel::ColumnStatus).data(Qt::UserRole) != 0)
                return false;
        return idle();
    }
    // A button of the camera's row ("btn_config", "btn_edit").
    void clickRow(const QString& ip, const char* name) {
        QTRY_VERIFY_WITH_TIMEOUT(idle(), kWaitMs);
        const int row = column(DeviceInfoTableModel::ColumnIp).indexOf(ip);
        auto* table = part<QTableView>(&window, "deviceTable");
        QWidget* operation =
            table->indexWidget(devices()->index(row, DeviceInfoTableModel::ColumnOperation));
        if (!operation) qFatal("no row for %s", qPrintable(ip));
        click(operation, name);
    }
    bool libraryShown() { return page() == 1 && idle(); }
    // A page button, pressed once the busy overlay that covers it is gone.
    void press(const QObject* page, const char* name) {
        QTRY_VERIFY_WITH_TIMEOUT(idle(), kWaitMs);
        click(page, name);
    }
    // The operator cannot reach the return button under the busy overlay.
    void backToDevices() {
        QTRY_VERIFY_WITH_TIMEOUT(idle(), kWaitMs);
        click(config(), "btn_return");
        QTRY_VERIFY2_WITH_TIMEOUT(page() == 0 && idle(),
                                  qPrintable(QString("page %1 idle %2").arg(page()).arg(idle())),
                                  kWaitMs);
    }
};

// The batch dialog's table with the first library of every camera chosen.
QTableWidget* chooseFirstLibraries(QDialog* dialog) {
    auto* table = part<QTableWidget>(dialog, "tableWidget");
    emit table->horizontalHeader()->sectionDoubleClicked(1);
    return table;
}

}  // namespace

class OperatorDayTest : public QObject {
    Q_OBJECT

    QTemporaryDir workDir_;
    QTemporaryDir files_;

private slots:
    void initTestCase() {
        std::string why;
        if (!testsupport::inPrivateNamespace(&why)) QSKIP(qPrintable(QString::fromStdString(why)));
        QVERIFY(QDir::setCurrent(workDir_.path()));
        startup::openProgramLog();
    }
    void cleanup() { QFile::remove(DeviceInfoFactory::kDefaultFileName); }

    void wholeDay();
    void faultyCameras();
};

// Find, add, fill, move a library between cameras, the batch jobs, a cancelled camera, the
// exit during a job, and the restart.
void OperatorDayTest::wholeDay() {
    camsim::Simulator simulator;
    for (const char* address : {"127.0.0.21", "127.0.0.22", "127.0.0.23"}) {
        camsim::CameraConfig config;
        config.address = address;
        config.password = kPassword;
        config.search = true;
        simulator.add(config);
    }
    std::string error;
    QVERIFY2(simulator.startAll(&error), error.c_str());
    camsim::Camera& first = simulator.camera(0);
    camsim::Camera& second = simulator.camera(1);
    camsim::Camera& slow = simulator.camera(2);
    const QStringList ips = {"127.0.0.21", "127.0.0.22", "127.0.0.23"};
    const QString zip = files_.filePath("staff.zip");
    const QString folder = pictureFolder(files_.path(), "staff", 5, 10);
    const QString batchFolder = pictureFolder(files_.path(), "visitors", 7, 50);
    ModalAnswerer answers;

    auto desk = std::make_unique<Desk>();
    desk->press(desk->index(), "btn_find");
    auto* search = desk->index()->findChild<DeviceSearchDialog*>();
    QTRY_VERIFY_WITH_TIMEOUT(search->isVisible(), kWaitMs);
    QCOMPARE(search->list().size(), 3);
    part<QListView>(search, "listView")->selectAll();
    QTest::keyClicks(part<QLineEdit>(search, "edit_username"), "admin");
    QTest::keyClicks(part<QLineEdit>(search, "edit_password"), kPassword);
    click(search, "btn_ok");
    QTRY_VERIFY_WITH_TIMEOUT(desk->allReachable(3), kWaitMs);
    QCOMPARE(desk->column(DeviceInfoTableModel::ColumnIp), ips);

    // A library on the first camera, filled from a folder, extracted and saved to a package.
    desk->clickRow(ips[0], "btn_config");
    QTRY_VERIFY_WITH_TIMEOUT(desk->libraryShown(), kWaitMs);
    desk->press(desk->config(), "btn_add");
    part<QLineEdit>(desk->config()->dbAddDialog(), "input_name")->setText("staff");
    click(desk->config()->dbAddDialog(), "btn_ok");
    QTRY_COMPARE_WITH_TIMEOUT(answers.lastText(), QString("Add Success"), kWaitMs);
    answers.queuePath(folder);
    desk->press(desk->config(), "btn_item_muladd");
    QTRY_COMPARE_WITH_TIMEOUT(answers.lastText(),
                              QString("uploading number[5], Success[5], Failed[0]"), kWaitMs);
    desk->press(desk->config(), "btn_gen_feature");
    QTRY_COMPARE_WITH_TIMEOUT(
        answers.lastText(), QString("Extract finished:\nTotal: 5\nSuccess: 5\nFailed: 0"), kWaitMs);
    answers.queuePath(zip);
    desk->press(desk->config(), "btn_export");
    QTRY_COMPARE_WITH_TIMEOUT(answers.lastText(),
                              QString("Export Success\nRecords: 5\nPictures: 5"), kWaitMs);
    desk->backToDevices();
    QCOMPARE(desk->cell(0, DeviceInfoTableModel::ColumnDb1), QString("staff"));

    // ... loaded into the second camera: the same pictures, byte for byte.
    desk->clickRow(ips[1], "btn_config");
    QTRY_VERIFY_WITH_TIMEOUT(desk->libraryShown(), kWaitMs);
    answers.queuePath(zip);
    desk->press(desk->config(), "btn_import");
    QTRY_COMPARE_WITH_TIMEOUT(answers.lastText(), QString("Import Success"), kWaitMs);
    QCOMPARE(digests(second, 0), digests(first, 0));
    QCOMPARE(digests(second, 0).size(), size_t(5));
    desk->backToDevices();

    // Batch import of the package into every camera with room for it: the two that hold a
    // library of that name already refuse it, and the summary says so.
    desk->press(desk->index(), "btn_batch_import");
    answers.queuePath(zip);
    click(desk->index()->findChild<BatchImportDlg*>(), "btn_ok");
    QTRY_VERIFY_WITH_TIMEOUT(
        answers.texts.contains("Batch Import Finished.\nDevices Number: 3\nSuccess Number: 1"),
        kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(desk->allReachable(3), kWaitMs);
    QCOMPARE(desk->column(DeviceInfoTableModel::ColumnDb1),
             QStringList({"staff", "staff", "staff"}));
    QCOMPARE(desk->column(DeviceInfoTableModel::ColumnDb2), QStringList({"", "", ""}));
    QCOMPARE(digests(slow, 0), digests(first, 0));

    // Batch extraction of every first library.
    desk->press(desk->index(), "btn_batch_extract");
    auto* extract = desk->index()->findChild<BatchExtractDlg*>();
    chooseFirstLibraries(extract);
    click(extract, "btn_ok");
    QTRY_VERIFY_WITH_TIMEOUT(
        answers.texts.contains("Batch Extract Finished.\nfaceDB number: 3\nSuccess Number: 3"),
        kWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(desk->idle(), kWaitMs);

    // Batch upload into every first library; the slow camera's row is cancelled on its way.
    slow.addFault({"/api/v1/recognize/fdlib/add_img", camsim::FaultKind::Latency, 300, -1});
    const int before = pictureCount(first) + pictureCount(second) + pictureCount(slow);
    const QString slowKey = ips[2] + "/staff";
    auto* rows = desk->window.findChild<InteractionWaitingWidget*>()->progressWidget();
    QMetaObject::Connection cancelSlow =
        connect(JobControl::instance(), &JobControl::signalItemProgress, this,
                [&](const QString& key, int percent) {
                    if (key == slowKey && percent > 0) emit rows->cancled(key);
                });
    desk->press(desk->index(), "btn_batch_upload");
    auto* upload = desk->index()->findChild<BatchUploadDlg*>();
    chooseFirstLibraries(upload);
    answers.queuePath(batchFolder);
    click(upload, "btn_ok");
    QTRY_VERIFY_WITH_TIMEOUT(answers.lastText().startsWith("Batch Upload Finished."), kWaitMs);
    disconnect(cancelSlow);
    const int uploaded = pictureCount(first) + pictureCount(second) + pictureCount(slow) - before;
    QCOMPARE(answers.lastText(), QString("Batch Upload Finished.\nimage number: 7\n"
                                         "faceDB number: 3\nuploading number: %1")
                                     .arg(uploaded));
    const int slowGot = int(slow.faces().snapshot()[0].images.size()) - 5;
    QVERIFY2(slowGot >= 1 && slowGot < 7, qPrintable(QString::number(slowGot)));
    QTRY_VERIFY_WITH_TIMEOUT(desk->idle(), kWaitMs);

    // The window closed while the slow camera's library page uploads a folder: the guard asks,
    // the upload stops inside the wait and its end says nothing.
    desk->clickRow(ips[2], "btn_config");
    QTRY_VERIFY_WITH_TIMEOUT(desk->libraryShown(), kWaitMs);
    const int slowHeld = pictureCount(slow);
    answers.queuePath(batchFolder);
    desk->press(desk->config(), "btn_item_muladd");
    QTRY_VERIFY_WITH_TIMEOUT(JobControl::instance()->tasks() & JobControl::UploadBatch, kWaitMs);
    const int boxesBeforeClose = answers.texts.size();
    QVERIFY(desk->window.close());
    QCOMPARE(answers.texts.mid(boxesBeforeClose),
             QStringList({exitguard::question(JobControl::UploadBatch)}));
    QCOMPARE(JobControl::instance()->tasks(), quint16(0));
    QVERIFY(pictureCount(slow) < slowHeld + 7);
    desk.reset();
    slow.clearFaults();

    // The restart in the same working directory finds the list and the cameras' libraries.
    QVERIFY(QFile::exists(DeviceInfoFactory::kDefaultFileName));
    desk = std::make_unique<Desk>();
    QTRY_VERIFY_WITH_TIMEOUT(desk->allReachable(3), kWaitMs);
    QCOMPARE(desk->column(DeviceInfoTableModel::ColumnIp), ips);
    QCOMPARE(desk->column(DeviceInfoTableModel::ColumnDb1),
             QStringList({"staff", "staff", "staff"}));
    for (camsim::Camera* camera : {&first, &second, &slow})
        QCOMPARE(libraryNames(*camera), QStringList({"staff"}));
    // Neither the stopped upload's end nor the restart showed a box.
    QCOMPARE(answers.texts.size(), boxesBeforeClose + 1);

    // The refusals went to the program log in the working directory.
    const QFileInfoList logs = QDir("log").entryInfoList(QDir::Files);
    QCOMPARE(logs.size(), 1);
    QFile log(logs.first().filePath());
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll().count("[import failed]. create FDB (staff) failed."), 2);
}

// A slow camera, one stopped in the middle of an upload and one locked out by wrong passwords:
// the window keeps ticking, names each failure, and every picture it reported stored is there.
void OperatorDayTest::faultyCameras() {
    testsupport::CameraSet cameras;
    camsim::CameraConfig withLibrary;
    withLibrary.libraries.push_back(camsim::PreloadedLibrary{"gate", 80, {}});
    camsim::Camera* healthy = testsupport::mustStart(cameras, withLibrary);
    camsim::Camera* slow = testsupport::mustStart(cameras, withLibrary);
    camsim::Camera* stopping = testsupport::mustStart(cameras, withLibrary);
    camsim::Camera* locking = testsupport::mustStart(cameras);
    for (camsim::Camera* camera : {healthy, slow, stopping})
        QCOMPARE(camera->preload(), std::string());
    {
        DeviceInfoFactory store(DeviceInfoFactory::kDefaultFileName);
        for (camsim::Camera* camera : {healthy, slow, stopping, locking})
            QVERIFY(store.add(testsupport::deviceOf(*camera)));
        QVERIFY(store.save());
    }
    const QString ipOfStopping = testsupport::deviceOf(*stopping).ip;
    const QString ipOfLocking = testsupport::deviceOf(*locking).ip;
    Desk desk;
    QTRY_VERIFY_WITH_TIMEOUT(desk.allReachable(4), kWaitMs);
    ModalAnswerer answers;
    Heartbeat heartbeat;
    QElapsedTimer clock;
    clock.start();

    // A batch upload over a healthy and a slow camera (and the rest): all of it arrives.
    slow->addFault({"*", camsim::FaultKind::Latency, 250, -1});
    desk.press(desk.index(), "btn_batch_upload");
    auto* upload = desk.index()->findChild<BatchUploadDlg*>();
    chooseFirstLibraries(upload);
    answers.queuePath(pictureFolder(files_.path(), "batch", 6, 100));
    click(upload, "btn_ok");
    QTRY_VERIFY_WITH_TIMEOUT(answers.lastText().startsWith("Batch Upload Finished."), kWaitMs);
    QCOMPARE(answers.lastText(),
             QString("Batch Upload Finished.\nimage number: 6\nfaceDB number: 3\n"
                     "uploading number: 18"));
    for (camsim::Camera* camera : {healthy, slow, stopping})
        QCOMPARE(pictureCount(*camera), 6);
    QTRY_VERIFY_WITH_TIMEOUT(desk.idle(), kWaitMs);
    slow->clearFaults();

    // A camera that stops answering in the middle of a folder upload.
    desk.clickRow(ipOfStopping, "btn_config");
    QTRY_VERIFY_WITH_TIMEOUT(desk.libraryShown(), kWaitMs);
    stopping->addFault({"/api/v1/recognize/fdlib/add_img", camsim::FaultKind::Latency, 150, -1});
    auto stopper = stopWhenHolding(*stopping, 6 + 3);
    answers.queuePath(pictureFolder(files_.path(), "cut", 12, 200));
    desk.press(desk.config(), "btn_item_muladd");
    QTRY_VERIFY_WITH_TIMEOUT(answers.texts.filter("uploading number[12]").size() == 1, kWaitMs);
    const QString summary = answers.texts.filter("uploading number[12]").first();
    const QRegularExpression counts("Success\\[(\\d+)\\], Failed\\[(\\d+)\\]");
    const QRegularExpressionMatch reported = counts.match(summary);
    QVERIFY2(reported.hasMatch(), qPrintable(summary));
    const int stored = pictureCount(*stopping) - 6;
    QVERIFY2(reported.captured(1).toInt() <= stored && stored < 12,
             qPrintable(summary + " / held " + QString::number(stored)));
    QCOMPARE(reported.captured(1).toInt() + reported.captured(2).toInt(), 12);
    QTRY_VERIFY_WITH_TIMEOUT(desk.idle(), kWaitMs);
    desk.backToDevices();

    // Back, and stopped again in the middle of a batch upload over every library.
    std::string error;
    QVERIFY2(stopping->start(&error), error.c_str());
    desk.press(desk.index(), "btn_update_all");
    QTRY_VERIFY_WITH_TIMEOUT(
        desk.idle() &&
            desk.devices()->index(2, DeviceInfoTableModel::ColumnStatus).data(Qt::UserRole) == 0,
        kWaitMs);
    const int heldBefore = pictureCount(*healthy) + pictureCount(*slow) + pictureCount(*stopping);
    stopper = stopWhenHolding(*stopping, pictureCount(*stopping) + 2);
    desk.press(desk.index(), "btn_batch_upload");
    chooseFirstLibraries(upload);
    answers.queuePath(pictureFolder(files_.path(), "cutbatch", 6, 300));
    click(upload, "btn_ok");
    QTRY_VERIFY_WITH_TIMEOUT(answers.lastText().startsWith("Batch Upload Finished."), kWaitMs);
    const int held =
        pictureCount(*healthy) + pictureCount(*slow) + pictureCount(*stopping) - heldBefore;
    const QStringList lines = answers.lastText().split('\n');
    QCOMPARE(lines.mid(0, 3),
             QStringList({"Batch Upload Finished.", "image number: 6", "faceDB number: 3"}));
    const int reportedStored = lines.value(3).section(": ", 1).toInt();
    QVERIFY2(reportedStored >= 12 && reportedStored <= held && held < 18,
             qPrintable(answers.lastText() + " / held " + QString::number(held)));
    QTRY_VERIFY_WITH_TIMEOUT(desk.idle(), kWaitMs);

    // Five wrong passwords, then the camera locks the account: the page says so each time.
    for (int attempt = 1; attempt <= 6; ++attempt) {
        desk.clickRow(ipOfLocking, "btn_edit");
        auto* edit = desk.index()->findChild<DeviceEditDialog*>();
        QTRY_VERIFY(edit->isVisible());
        part<QLineEdit>(edit, "edit_password")->setText("wrong123");
        const int boxes = answers.texts.size();
        click(edit, "btn_ok");
        QTRY_VERIFY_WITH_TIMEOUT(answers.texts.size() > boxes && desk.idle(), kWaitMs);
        const QString said = answers.texts.at(boxes);
        if (attempt <= 5)
            QCOMPARE(said, QString("Login failed\nretry left times:%1").arg(5 - attempt));
        else
            QVERIFY2(said.startsWith("Account lock\nlock left time:"), qPrintable(said));
    }

    // A refresh tells which cameras are gone.
    desk.press(desk.index(), "btn_update_all");
    QTRY_VERIFY_WITH_TIMEOUT(desk.idle(), kWaitMs);
    QCOMPARE(desk.column(DeviceInfoTableModel::ColumnStatus),
             QStringList({"Network Normal", "Network Normal", "Network Lost", "Network Lost"}));
    // The window kept processing events through all of it.
    const qint64 elapsed = clock.elapsed();
    qInfo("%d ticks in %lld ms, longest gap %lld ms", heartbeat.ticks, elapsed, heartbeat.maxGapMs);
    QVERIFY2(heartbeat.ticks >= elapsed / 200, qPrintable(QString::number(heartbeat.ticks)));
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    initKitResources();
    app.setStyleSheet(kitStyleSheet());
    OperatorDayTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "operator_day_test.moc"

// Pictures of the device page with three cameras and of each of its dialogs, for a person to
// look at: device_screens <output directory> (run under a display, e.g. Xvfb).
#include <QApplication>
#include <QDir>
#include <QLineEdit>

#include "batch/dialogs/batchextractdlg.h"
#include "batch/dialogs/batchimportdlg.h"
#include "batch/dialogs/batchuploaddlg.h"
#include "page_harness.h"
#include "ui/device/deviceadddialog.h"
#include "ui/device/deviceeditdialog.h"
#include "ui/device/devicesearchdialog.h"

namespace {

bool waitFor(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, guitest::kCameraWaitMs);
}

void shoot(QWidget* widget, const QString& dir, const QString& name) {
    widget->show();
    widget->raise();
    QTest::qWait(300);
    if (!widget->grab().save(dir + "/" + name + ".png"))
        qWarning("not saved: %s", qPrintable(name));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) qFatal("usage: device_screens <output directory>");
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(out);
    initKitResources();
    app.setStyleSheet(kitStyleSheet());

    testsupport::CameraSet cameras;
    QVector<SDeviceInfo> devices;
    const std::vector<std::vector<const char*>> libraries{{"staff", "visitors"}, {"gate"}, {}};
    for (const auto& names : libraries) {
        camsim::CameraConfig config;
        for (const char* name : names)
            config.libraries.push_back(camsim::PreloadedLibrary{name, 80, {}});
        camsim::Camera* camera = testsupport::mustStart(cameras, config);
        camera->preload();
        devices << testsupport::deviceOf(*camera);
    }
    devices << SDeviceInfo("127.250.0.9", "admin", "secret12");  // nobody answers there

    guitest::PageHarness harness;
    IndexPage& page = harness.open(devices);
    if (!waitFor([&] { return harness.statusOf(devices[2].ip) == "Network Normal"; }))
        qFatal("cameras did not answer");
    waitFor([&] { return !harness.overlay()->isVisible(); });
    harness.model()->setData(harness.model()->index(1, 0), Qt::Checked, Qt::CheckStateRole);
    shoot(harness.contents(), out, "page");

    auto* search = page.findChild<DeviceSearchDialog*>();
    search->setList({"192.168.1.20", "192.168.1.21", "192.168.1.35"});
    auto* edit = new DeviceEditDialog(&page);
    edit->setDevice(devices[0]);
    edit->findChild<QLineEdit*>("edit_password")->setText("secret");
    auto* add = page.findChild<DeviceAddDialog*>();
    add->findChild<QLineEdit*>("edit_ip")->setText("192.168.1.64");
    add->findChild<QLineEdit*>("edit_password")->setText("secret");
    shoot(add, out, "add");
    add->hide();
    shoot(search, out, "search");
    search->hide();
    shoot(edit, out, "edit");
    edit->hide();
    for (auto [dialog, name] :
         {std::pair<BatchDialog*, const char*>{page.findChild<BatchImportDlg*>(), "import"},
          {page.findChild<BatchExtractDlg*>(), "extract"},
          {page.findChild<BatchUploadDlg*>(), "upload"}}) {
        QVector<SDeviceInfo> refreshed;
        for (const SDeviceInfo& device : devices)
            refreshed << page.deviceInfo(device.ip);
        dialog->setDevices(refreshed);
        shoot(dialog, out, name);
        dialog->hide();
    }
    // A batch job's rows over the page.
    harness.jobs().beginBusy(3);
    harness.jobs().itemProgress(devices[0].ip + "/staff", 40, "2/5");
    harness.jobs().itemProgress(devices[1].ip + "/gate", 100, "5/5");
    shoot(harness.contents(), out, "page_rows");
    harness.jobs().endBusy();

    guitest::PageHarness empty;
    empty.open();
    shoot(empty.contents(), out, "page_empty");
    return 0;
}

// Pictures of the background check and of credentials for many cameras, for a person to look
// at: health_screens <output directory> <en|zh> (run under a display, e.g. Xvfb). At 1280 x 760
// and 1024 x 600: the device page with its count and a lost camera highlighted, the credentials
// form and its result.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTranslator>

#include "page_harness.h"
#include "ui/device/credentialsdialog.h"
#include "ui/device/credentialsresultdialog.h"
#include "ui/device/deviceoperation.h"

namespace {

void shoot(QWidget* widget, const QString& path) {
    widget->show();
    widget->raise();
    QTest::qWait(300);
    if (!widget->grab().save(path)) qWarning("not saved: %s", qPrintable(path));
}

void clickEdit(guitest::PageHarness& harness, int row) {
    const QModelIndex cell = harness.model()->index(row, DeviceInfoTableModel::ColumnOperation);
    harness.table()->indexWidget(cell)->findChild<QPushButton*>("btn_edit")->click();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) qFatal("usage: health_screens <output directory> <en|zh>");
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString language = argv[2];
    QDir().mkpath(out);
    QTranslator qt, own;
    if (qt.load("qtbase_" + language, QM_DIR)) app.installTranslator(&qt);
    if (!own.load("kestrel_" + language, QM_DIR)) qFatal("no translation for %s", argv[2]);
    app.installTranslator(&own);
    initKitResources();
    app.setStyleSheet(kitStyleSheet());

    testsupport::CameraSet cameras;
    QVector<camsim::Camera*> started;
    QVector<SDeviceInfo> devices;
    // The fourth camera's password was changed on the camera: it takes the new credentials.
    camsim::CameraConfig changed;
    changed.user = "fleetop";
    changed.password = "newpass1";
    for (int i = 0; i < 5; ++i) {
        started << testsupport::mustStart(cameras, i == 3 ? changed : camsim::CameraConfig{});
        devices << testsupport::deviceOf(*started.back());
    }
    devices[3].username = "admin";
    devices[3].password = "admin";
    guitest::PageHarness harness;
    IndexPage& page = harness.open(devices);
    const QModelIndex last = harness.model()->index(4, DeviceInfoTableModel::ColumnStatus);
    if (!QTest::qWaitFor([&] { return last.data(DeviceInfoTableModel::StatusRole) == 0; },
                         guitest::kCameraWaitMs))
        qFatal("cameras did not answer");
    if (!QTest::qWaitFor([&] { return !harness.overlay()->isVisible(); }))
        qFatal("the start-up refresh did not end");
    page.setHealthInterval(300);
    started[2]->stop();
    const QModelIndex lost = harness.model()->index(2, DeviceInfoTableModel::ColumnStatus);
    if (!QTest::qWaitFor([&] { return lost.data(DeviceInfoTableModel::LostRole).toBool(); },
                         guitest::kCameraWaitMs))
        qFatal("the stopped camera was not found lost");
    page.setHealthInterval(0);
    for (int row : {0, 1, 3})
        harness.model()->setData(harness.model()->index(row, 0), Qt::Checked, Qt::CheckStateRole);

    for (const QSize& size : {QSize(1280, 760), QSize(1024, 600)}) {
        const QString suffix =
            QString("_%1_%2x%3.png").arg(language).arg(size.width()).arg(size.height());
        harness.contents()->resize(size);
        shoot(harness.contents(), out + "/health_page" + suffix);

        clickEdit(harness, 0);
        auto* form = page.findChild<CredentialsDialog*>();
        form->findChild<QLineEdit*>("edit_username")->setText("fleetop");
        form->findChild<QLineEdit*>("edit_password")->setText("newpass1");
        shoot(form, out + "/credentials_form" + suffix);
        form->findChild<QPushButton*>("btn_ok")->click();
        CredentialsResultDialog* result = nullptr;
        if (!QTest::qWaitFor(
                [&] {
                    return (result = page.findChild<CredentialsResultDialog*>()) &&
                           result->isVisible();
                },
                guitest::kCameraWaitMs))
            qFatal("no result");
        shoot(result, out + "/credentials_result" + suffix);
        result->accept();
    }
    return 0;
}

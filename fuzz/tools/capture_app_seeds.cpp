// Writes the seeds of the application's targets from a simulated camera on a loopback address:
// the camera's replies as camlink hands them back, a package the export wrote (its zip and its
// "package.dat") and a device store file.
//   capture_app_seeds fuzz/corpus
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

#include "camlink.h"
#include "camsim.h"
#include "dbutil/dbexportmodule.h"
#include "dbutil/deviceinfofactory.h"
#include "dbutil/interaction.h"

namespace {

QString g_corpus;

void save(const QString& target, const QString& name, const QByteArray& bytes) {
    QDir().mkpath(g_corpus + "/" + target);
    QFile file(g_corpus + "/" + target + "/" + name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A library of three small pictures with features.
SDBInfo fillLibrary(const SDeviceInfo& device, const QString& dir) {
    SDBInfo db;
    db.name = "seed";
    Interaction::instance().addFaceDB(device, &db);
    SFeatrueList images;
    for (int i = 0; i < 3; ++i) {
        QImage picture(100 + i, 100, QImage::Format_RGB32);
        picture.fill(qRgb(40 * i, 90, 200));
        auto image = SFeatrueInfoPtr::create();
        image->path = dir + QString("/p%1.jpg").arg(i);
        image->name = QString("person %1").arg(i);
        image->ext = QStringList{"a", "", QString::fromUtf8("ü"), "", "e"};
        picture.save(image->path, "JPG", 60);
        images.append(image);
    }
    Interaction::instance().addImages(device, db.libid, images, nullptr);
    int total, extracted, errors;
    Interaction::instance().extractFeature(device, db.libid, &total, &extracted, &errors, nullptr);
    return db;
}

template <class Record>
void saveReply(const char* name, int (*call)(int, Record*), int session, Record& record) {
    record.reply = nullptr;
    call(session, &record);
    if (record.reply) save("interaction_reply_fuzzer", name, QByteArray(record.reply));
}

void captureReplies(const SDeviceInfo& device, const SDBInfo& db) {
    const int session =
        Interaction::instance().login(device.ip, device.username, device.password, nullptr);
    vcam_library_record library{};
    std::snprintf(library.libid, sizeof library.libid, "%s", db.libid.toUtf8().constData());
    saveReply("list-libraries", vcam_control_list_library, session, library);
    std::snprintf(library.libid, sizeof library.libid, "%s", db.libid.toUtf8().constData());
    saveReply("find-library", vcam_control_find_library, session, library);
    vcam_library_record created{};
    std::snprintf(created.name, sizeof created.name, "second");
    saveReply("create-library", vcam_control_create_library, session, created);
    vcam_image_query query{};
    std::snprintf(query.libid, sizeof query.libid, "%s", db.libid.toUtf8().constData());
    query.page_num = 1;
    query.page_size = 10;
    saveReply("list-images", vcam_control_list_image, session, query);
    saveReply("export-records", vcam_control_export_record_v2, session, query);
    vcam_image_record image{};
    image.imgid = 1001;
    std::snprintf(image.libid, sizeof image.libid, "%s", db.libid.toUtf8().constData());
    saveReply("find-image", vcam_control_find_image, session, image);
    char refused[VCAM_LOGIN_REPLY_SIZE] = {};
    int wrong = 0;
    vcam_control_login_v2(&wrong, device.ip.toUtf8().constData(), "admin", "wrong!", refused);
    vcam_control_logout(wrong);
    save("interaction_reply_fuzzer", "login-refused", QByteArray(refused));
    for (int attempt = 0; attempt < 5; ++attempt) {  // wrong until the account locks
        std::memset(refused, 0, sizeof refused);
        vcam_control_login_v2(&wrong, device.ip.toUtf8().constData(), "admin", "wrong!", refused);
        vcam_control_logout(wrong);
    }
    save("interaction_reply_fuzzer", "login-locked", QByteArray(refused));
}

void capturePackage(const SDeviceInfo& device, const SDBInfo& db, const QString& dir) {
    DbExportModule job(device, db.libid);
    job.setSavePath(dir + "/package.zip");
    job.start();
    job.wait();
    save("zip_fuzzer", "export-3-pictures.zip", readAll(dir + "/package.zip"));
    QTemporaryDir out;
    QFile::remove(dir + "/package.dat");
    if (std::system(qPrintable("unzip -q -o " + dir + "/package.zip package.dat -d " + out.path())))
        qFatal("unzip failed");
    save("package_file_fuzzer", "export-3-records.dat", readAll(out.path() + "/package.dat"));
}

void captureDeviceStore(const SDeviceInfo& device, const SDBInfo& db, const QString& dir) {
    DeviceInfoFactory store(dir + "/kestrel.data");
    SDeviceInfo withLibrary = device;
    withLibrary.dbs = {db};
    withLibrary.ota = "IPC2019-01B-V1.2.1-RECOG-beta.pb3";
    store.add(withLibrary);
    store.add(SDeviceInfo("10.0.0.12", QString::fromUtf8("用户"), ""));
    store.add(SDeviceInfo("10.0.0.3", "", "secret"));
    store.save();
    save("device_store_fuzzer", "three-devices.data", readAll(dir + "/kestrel.data"));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: capture_app_seeds CORPUS_DIR\n");
        return 2;
    }
    g_corpus = QString::fromLocal8Bit(argv[1]);
    camsim::CameraConfig config;
    config.address = "127.0.0.91";
    camsim::Camera camera(config);
    std::string error;
    if (!camera.start(&error)) qFatal("camera: %s", error.c_str());
    QTemporaryDir dir;
    const SDeviceInfo device("127.0.0.91", "admin", "admin");
    const SDBInfo db = fillLibrary(device, dir.path());
    captureReplies(device, db);
    capturePackage(device, db, dir.path());
    captureDeviceStore(device, db, dir.path());
    Interaction::instance().logoutAll();
    camera.stop();
    return 0;
}

#include "fleet.h"

#include <QDir>
#include <QFile>

#include "dbutil/dbexportmodule.h"
#include "dbutil/deviceinfofactory.h"
#include "dbutil/interaction.h"
#include "pictures.h"

namespace monkey {
namespace {

const char kUploadPath[] = "/api/v1/recognize/fdlib/add_img";

}  // namespace

camsim::Camera* Fleet::start(const char* library) {
    camsim::CameraConfig config;
    if (library) config.libraries.push_back(camsim::PreloadedLibrary{library, 80, {}});
    camsim::Camera* camera = testsupport::mustStart(cameras_, config);
    if (!camera->preload().empty()) qFatal("camera not filled");
    all_ << camera;
    return camera;
}

Fleet::Fleet(const QString& workDir)
    : pictureDir_(workDir + "/pictures"),
      packageFile_(workDir + "/gate.zip"),
      junkFile_(workDir + "/junk.zip") {
    camsim::Camera* plain = start("front");
    camsim::Camera* empty = start(nullptr);
    camsim::Camera* slow = start("slow");
    slow->addFault({"*", camsim::FaultKind::Latency, 400, -1});
    camsim::Camera* silent = start("quiet");
    midway_ = start("midway");
    camsim::Camera* locked = start("locked");

    QDir().mkpath(pictureDir_);
    for (int i = 0; i < 6; ++i)
        testpictures::writeJpeg(pictureDir_, QString("face%1.jpg").arg(i), 140, 150, i);
    testpictures::writeJpeg(pictureDir_, "tiny.jpg", 60, 60, 9);  // refused by the check
    QFile junk(junkFile_);
    junk.open(QIODevice::WriteOnly);
    junk.write("not a package");
    writePackage(testsupport::deviceOf(*plain));
    silent->addFault({"*", camsim::FaultKind::NoAnswer, 0, -1});

    DeviceInfoFactory store(workDir + "/" + DeviceInfoFactory::kDefaultFileName);
    for (camsim::Camera* camera : all_) {
        SDeviceInfo device = testsupport::deviceOf(*camera);
        if (camera == locked) device.password = "wrong_pw";  // every login counts to a lock-out
        store.add(device);
        words_ << device.ip << device.username << device.password;
    }
    store.save();
    words_ << "010.0.0.1"
           << "10..0.1"
           << "gate_2"
           << "x"
           << ""
           << "admin"
           << "wrong_pw";
    Q_UNUSED(empty);
}

void Fleet::writePackage(const SDeviceInfo& device) {
    SDeviceInfo listed = device;
    if (!Interaction::instance().refreshDbList(&listed) || listed.dbs.isEmpty())
        qFatal("package camera not read");
    for (int i = 0; i < 3; ++i) {
        auto image = SFeatrueInfoPtr::create();
        image->name = QString("gate%1").arg(i);
        image->path = pictureDir_ + QString("/face%1.jpg").arg(i);
        if (Interaction::instance().addImages(listed, listed.dbs.at(0).libid, {image},
                                              [](int) { return false; }) != 1)
            qFatal("package picture not uploaded");
    }
    DbExportModule job(listed, listed.dbs.at(0).libid);
    job.setSavePath(packageFile_);
    job.start();
    if (!job.wait(60000) || job.errorCode() != 0) qFatal("package not exported");
}

void Fleet::breakUploads() {
    midway_->addFault({kUploadPath, camsim::FaultKind::Drop, 0, -1});
}

void Fleet::mendUploads() {
    midway_->clearFaults();
}

QHash<QString, int> Fleet::pictureCounts() {
    QHash<QString, int> counts;
    for (camsim::Camera* camera : all_) {
        const QString ip = testsupport::deviceOf(*camera).ip;
        for (const camsim::LibraryRecord& library : camera->faces().snapshot())
            counts.insert(ip + "/" + QString::fromStdString(library.name),
                          int(library.images.size()));
    }
    return counts;
}

}  // namespace monkey

// Feature extraction of a whole library: start it, then follow the library's counters.
#include <camlink.h>

#include <QDebug>
#include <QThread>

#include "applog.h"
#include "interaction.h"
#include "interaction_args.h"
#include "interaction_call.h"
#include "resultcode.h"

namespace {

const char* const kSource = "dbutil\\interaction";
constexpr int kStartTries = 10;
constexpr int kPollMs = 500;
constexpr int kPollFailuresTolerated = 6;

}  // namespace

// The camera refuses a second extraction while one runs: wait for it, within bounds.
int Interaction::startExtraction(int handle, const QString& libid) {
    int result = resultcode::CameraExtractRunning;
    for (int attempt = 0; attempt < kStartTries && result == resultcode::CameraExtractRunning;
         ++attempt) {
        if (attempt > 0) QThread::msleep(kPollMs);
        auto record = args::cleared<vcam_image_record>();
        args::putText(record.libid, libid);
        record.imgid = 0;
        CallOutcome outcome = callCamera(vcam_control_extract_feature, handle, record);
        result = outcome.result;
        if (result != 0 && result != resultcode::CameraExtractRunning) {
            FK_LOG(kSource, 3, "%s, error code %d, message %s, imgid: %lld.\n",
                   "Interaction::extract", result, outcome.message(), 0LL);
            debugFailure("Interaction::extract", result);
        }
    }
    return result;
}

void Interaction::pollExtraction(int handle, const QString& libid, int* total, int* extracted,
                                 int* errors, const ExtractCallback& progress) {
    SDBInfo record;
    SDBInfo lastGood;
    int failures = 0;
    for (bool first = true;; first = false) {
        record.libid = libid;
        if (findLibrary(handle, &record) == 0) {
            lastGood = record;
        } else if (++failures > kPollFailuresTolerated) {
            break;
        }
        if (first) *total = record.imgnum;
        if (progress && progress(record.extractnum, record.errornum, *total)) break;
        if (record.extractnum + record.errornum >= *total) break;
        QThread::msleep(kPollMs);
    }
    *total = lastGood.imgnum;
    *extracted = lastGood.extractnum;
    *errors = lastGood.errornum;
}

bool Interaction::extractFeature(const SDeviceInfo& device, const QString& libid, int* total,
                                 int* extracted, int* errors, const ExtractCallback& progress) {
    int ignored[3];
    if (!total) total = &ignored[0];
    if (!extracted) extracted = &ignored[1];
    if (!errors) errors = &ignored[2];
    *total = *extracted = *errors = 0;
    const int handle = loginFor(device, "Interaction::extractFeature", "login failed.");
    if (handle <= 0) return false;
    if (startExtraction(handle, libid) != 0) {
        qDebug() << "Interaction::extractFeature"
                 << "extract failed.";
        FK_LOG(kSource, 3, "%s, extract failed, ip: %s, dbname: %s.\n",
               "Interaction::extractFeature", device.ip.toUtf8().constData(),
               findDb(device, libid).name.toUtf8().constData());
        return false;
    }
    pollExtraction(handle, libid, total, extracted, errors, progress);
    return true;
}

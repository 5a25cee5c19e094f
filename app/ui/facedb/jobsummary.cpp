#include "jobsummary.h"

#include <QCoreApplication>

#include "dbutil/errortext.h"
#include "dbutil/packagejob.h"

namespace jobsummary {

namespace {
const char* const kTotal = QT_TRANSLATE_NOOP("ConfigPage", "Total");
const char* const kSuccess = QT_TRANSLATE_NOOP("ConfigPage", "Success");
const char* const kFailed = QT_TRANSLATE_NOOP("ConfigPage", "Failed");
const char* const kUploading = QT_TRANSLATE_NOOP("ConfigPage", "uploading number");
const char* const kExport = QT_TRANSLATE_NOOP("ConfigPage", "Export");
const char* const kImport = QT_TRANSLATE_NOOP("ConfigPage", "Import");
const char* const kIncomplete = QT_TRANSLATE_NOOP("ConfigPage", "Incomplete");
const char* const kRecords = QT_TRANSLATE_NOOP("ConfigPage", "Records");
const char* const kPictures = QT_TRANSLATE_NOOP("ConfigPage", "Pictures");
const char* const kLeftOut = QT_TRANSLATE_NOOP("ConfigPage", "Left out");
const char* const kSeeLog = QT_TRANSLATE_NOOP("ConfigPage", "listed in the program log");
const char* const kIncompatible = QT_TRANSLATE_NOOP("ConfigPage", "Package file isn't compatible");

QString text(const char* source) {
    return QCoreApplication::translate("ConfigPage", source);
}
QString line(const char* label, int number) {
    return "\n" + text(label) + ": " + QString::number(number);
}

QString leftOutLine(int leftOut) {
    if (leftOut == 0) return {};
    return line(kLeftOut, leftOut) + " (" + text(kSeeLog) + ")";
}

// The reasons an operator can do something about: a lost camera, a package too large, a full disk.
QString reasonLine(int code) {
    if (code == resultcode::Incompatible) return "\n" + text(kIncompatible);
    const bool own = code == resultcode::NetworkError || code == resultcode::PackageTooLarge ||
                     code == resultcode::NoDiskSpace;
    return own ? "\n" + ErrorText(code) : QString();
}

bool partial(int code) {
    return code == resultcode::NotAllTransferred;
}
}  // namespace

QString exportText(const PackageCounts& c) {
    if (c.code != resultcode::Ok && !partial(c.code))
        return text(kExport) + " " + text(kFailed) + reasonLine(c.code);
    QString result = text(kExport) + " ";
    if (partial(c.code))
        result += text(kFailed) + line(kTotal, c.total) + line(kSuccess, c.done);
    else
        result += text(c.leftOut > 0 ? kIncomplete : kSuccess) + line(kRecords, c.done);
    return result + line(kPictures, c.pictures) + leftOutLine(c.leftOut);
}

QString importText(const PackageCounts& c) {
    if (c.code == resultcode::Ok) return text(kImport) + " " + text(kSuccess);
    QString result = text(kImport) + " " + text(kFailed);
    if (partial(c.code))
        result += line(kTotal, c.total) + line(kSuccess, c.done) + leftOutLine(c.leftOut);
    return result + reasonLine(c.code);
}

QString counts(const QString& head, int total, int success) {
    return head + ":\n" + text(kTotal) + ": " + QString::number(total) + "\n" + text(kSuccess) +
           ": " + QString::number(success) + "\n" + text(kFailed) + ": " +
           QString::number(total - success);
}

QString upload(int images, int uploaded) {
    return text(kUploading) + "[" + QString::number(images) + "]" + ", " + text(kSuccess) + "[" +
           QString::number(uploaded) + "]" + ", " + text(kFailed) + "[" +
           QString::number(images - uploaded) + "]";
}

}  // namespace jobsummary

#include "jobsummary.h"

#include <QCoreApplication>

namespace jobsummary {

namespace {
const char* const kTotal = QT_TRANSLATE_NOOP("ConfigPage", "Total");
const char* const kSuccess = QT_TRANSLATE_NOOP("ConfigPage", "Success");
const char* const kFailed = QT_TRANSLATE_NOOP("ConfigPage", "Failed");
const char* const kUploading = QT_TRANSLATE_NOOP("ConfigPage", "uploading number");

QString text(const char* source) {
    return QCoreApplication::translate("ConfigPage", source);
}
}  // namespace

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

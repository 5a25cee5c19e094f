#include "errortext.h"

#include <QCoreApplication>

namespace {

const char* errorSource(int code) {
    switch (code) {
        case 0:
            return QT_TRANSLATE_NOOP("QObject", "Success");
        case 1:
            return QT_TRANSLATE_NOOP("QObject", "Bad parameter");
        case 2:
            return QT_TRANSLATE_NOOP("QObject", "Invalid message");
        case 3:
            return QT_TRANSLATE_NOOP("QObject", "Not login");
        case 4:
            return QT_TRANSLATE_NOOP("QObject", "Login error");
        case 5:
            return QT_TRANSLATE_NOOP("QObject", "FaceDB locked");
        case 6:
            return QT_TRANSLATE_NOOP("QObject", "SDK error");
        case 7:
            return QT_TRANSLATE_NOOP("QObject", "FaceDB error");
        case 8:
            return QT_TRANSLATE_NOOP("QObject", "File error");
        case 9:
            return QT_TRANSLATE_NOOP("QObject", "Device type error");
        case 10:
            return QT_TRANSLATE_NOOP("QObject", "Image sum error");
        case 11:
            return QT_TRANSLATE_NOOP("QObject", "Image type error");
        case 12:
            return QT_TRANSLATE_NOOP("QObject", "Image size error");
        case 13:
            return QT_TRANSLATE_NOOP("QObject", "Image pixel size error");
        case 14:
            return QT_TRANSLATE_NOOP("QObject", "Open file failed");
        // 15 has no entry of its own: it falls to "Unknown error".
        case 16:
            return QT_TRANSLATE_NOOP("QObject", "File md5 get failed");
        case 17:
            return QT_TRANSLATE_NOOP("QObject", "DMUpgrade failed");
        case 18:
            return QT_TRANSLATE_NOOP("QObject", "Connection timeout");
        case 19:
            return QT_TRANSLATE_NOOP("QObject", "Network error");
        case 20:
            return QT_TRANSLATE_NOOP("QObject", "Please input IP address");
        case 21:
            return QT_TRANSLATE_NOOP("QObject", "Please input user name");
        case 22:
            return QT_TRANSLATE_NOOP("QObject", "Please input password");
        case 24:
            return QT_TRANSLATE_NOOP("QObject", "Package too large");
        case 25:
            return QT_TRANSLATE_NOOP("QObject", "Not enough disk space");
        case 401:
        case 2012:
        case 10007:
        case 10028:
            return QT_TRANSLATE_NOOP("QObject", "SDK or IPC error code");
        case 403:
            return QT_TRANSLATE_NOOP("QObject", "Login failed");
        case 423:
            return QT_TRANSLATE_NOOP("QObject", "Account lock");
        default:
            return QT_TRANSLATE_NOOP("QObject", "Unknown error");
    }
}

}  // namespace

QString ErrorText(int code) {
    return QCoreApplication::translate("QObject", errorSource(code));
}

bool isTransferError(int code) {
    return code >= 10000 && code < 20000;
}

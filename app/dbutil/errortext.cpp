#include "errortext.h"

#include <QCoreApplication>

namespace {

const char* const kUnknown = QT_TRANSLATE_NOOP("QObject", "Unknown error");

// A case for every code, so that the compiler names one left out; nullptr for the codes that
// have no text of their own and read "Unknown error".
const char* errorSource(resultcode::Code code) {
    using namespace resultcode;
    switch (code) {
        case Ok:
            return QT_TRANSLATE_NOOP("QObject", "Success");
        case BadParameter:
            return QT_TRANSLATE_NOOP("QObject", "Bad parameter");
        case InvalidMessage:
            return QT_TRANSLATE_NOOP("QObject", "Invalid message");
        case NotLoggedIn:
            return QT_TRANSLATE_NOOP("QObject", "Not login");
        case LoginFailed:
            return QT_TRANSLATE_NOOP("QObject", "Login error");
        case LibraryLocked:
            return QT_TRANSLATE_NOOP("QObject", "FaceDB locked");
        case SdkError:
            return QT_TRANSLATE_NOOP("QObject", "SDK error");
        case LibraryError:
            return QT_TRANSLATE_NOOP("QObject", "FaceDB error");
        case FileError:
            return QT_TRANSLATE_NOOP("QObject", "File error");
        case WrongDeviceType:
            return QT_TRANSLATE_NOOP("QObject", "Device type error");
        case NotAllTransferred:
            return QT_TRANSLATE_NOOP("QObject", "Image sum error");
        case ImageTypeError:
            return QT_TRANSLATE_NOOP("QObject", "Image type error");
        case ImageSizeError:
            return QT_TRANSLATE_NOOP("QObject", "Image size error");
        case ImagePixelSizeError:
            return QT_TRANSLATE_NOOP("QObject", "Image pixel size error");
        case OpenFailed:
            return QT_TRANSLATE_NOOP("QObject", "Open file failed");
        case Md5Failed:
            return QT_TRANSLATE_NOOP("QObject", "File md5 get failed");
        case UpgradeError:
            return QT_TRANSLATE_NOOP("QObject", "DMUpgrade failed");
        case ConnectionTimeout:
            return QT_TRANSLATE_NOOP("QObject", "Connection timeout");
        case NetworkError:
            return QT_TRANSLATE_NOOP("QObject", "Network error");
        case NoIpAddress:
            return QT_TRANSLATE_NOOP("QObject", "Please input IP address");
        case NoUserName:
            return QT_TRANSLATE_NOOP("QObject", "Please input user name");
        case NoPassword:
            return QT_TRANSLATE_NOOP("QObject", "Please input password");
        case PackageTooLarge:
            return QT_TRANSLATE_NOOP("QObject", "Package too large");
        case NoDiskSpace:
            return QT_TRANSLATE_NOOP("QObject", "Not enough disk space");
        case NeverStarted:
            return QT_TRANSLATE_NOOP("QObject", "Cancelled before it started");
        case WorkDirForeign:
            return QT_TRANSLATE_NOOP(
                "QObject",
                "The folder \"temp\" was not made by this program; please move it away.");
        case HttpUnauthorized:
        case CameraLibraryNotFound:
        case TransferNoConnection:
        case TransferTimedOut:
            return QT_TRANSLATE_NOOP("QObject", "SDK or IPC error code");
        case LoginRefused:
            return QT_TRANSLATE_NOOP("QObject", "Login failed");
        case AccountLocked:
            return QT_TRANSLATE_NOOP("QObject", "Account lock");
        case Incompatible:  // the owners say it in words of their own
        case NotDone:
        case ImageGone:
        case ImageNotFetched:
        case PackageInvalid:
        case HttpNotFound:
        case CameraExtractRunning:
            return nullptr;
    }
    return nullptr;  // a number that names no code
}

}  // namespace

QString ErrorText(int code) {
    const char* source = errorSource(static_cast<resultcode::Code>(code));
    return QCoreApplication::translate("QObject", source ? source : kUnknown);
}

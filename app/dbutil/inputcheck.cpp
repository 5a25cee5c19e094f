#include "inputcheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QStringList>

#include "errortext.h"

namespace {

// Not named tr(): lupdate would take the marked texts for a call it cannot read and skip them.
QString translated(const char* text) {
    return QCoreApplication::translate("QObject", text);
}

// The four part values of a dotted address made of 1..3 ASCII digits each; false otherwise.
bool ipParts(const QString& text, int parts[4]) {
    static const QRegularExpression dotted(
        QStringLiteral("^([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})$"));
    const QRegularExpressionMatch match = dotted.match(text);
    if (!match.hasMatch()) return false;
    for (int i = 0; i < 4; ++i) {
        parts[i] = match.captured(i + 1).toInt();
        if (parts[i] > 255) return false;
    }
    return true;
}

// Text after the last "." of the name's last path component, lower case; null when none.
QString lowerSuffix(const QString& fileName) {
    const QString name = QFileInfo(fileName).fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) return QString();
    return name.mid(dot + 1).toLower();
}

}  // namespace

QString canonicalIp(const QString& text) {
    int parts[4];
    if (!ipParts(text, parts)) return QString();
    return QStringLiteral("%1.%2.%3.%4").arg(parts[0]).arg(parts[1]).arg(parts[2]).arg(parts[3]);
}

bool isValidIp(const QString& text) {
    int parts[4];
    if (!ipParts(text, parts) || canonicalIp(text) != text) return false;
    return parts[0] >= 1 && parts[0] <= 254 && parts[3] != 0;
}

bool isValidUserNameLength(const QString& userName) {
    return userName.size() >= kUserNameMinLength && userName.size() <= kUserNameMaxLength;
}

bool isValidPasswordLength(const QString& password) {
    return password.size() >= kPasswordMinLength && password.size() <= kPasswordMaxLength;
}

bool isValidDeviceInput(const QString& ip, const QString& userName, const QString& password) {
    return isValidIp(ip) && isValidUserNameLength(userName) && isValidPasswordLength(password);
}

QString inputRuleText(int rule) {
    switch (rule) {
        case UserNameRule:
            return translated(QT_TRANSLATE_NOOP("QObject", "Username is 4-16 in length")) + ",\n" +
                   translated(QT_TRANSLATE_NOOP(
                       "QObject",
                       "contains Chinese and English characters, numbers, and underscores."));
        case PasswordRule:
            return translated(QT_TRANSLATE_NOOP("QObject", "Password is 6-16 in length")) + ",\n" +
                   translated(QT_TRANSLATE_NOOP(
                       "QObject",
                       "contains upper case or lower case characters, numbers or underscores."));
        default:
            return translated(QT_TRANSLATE_NOOP("QObject", "Unknown error"));
    }
}

bool checkDeviceInput(const QString& ip, const QString& userName, const QString& password,
                      QString* message) {
    QString text;
    if (ip.isEmpty() && userName.isEmpty() && password.isEmpty()) {
        text = translated(QT_TRANSLATE_NOOP("QObject", "Invalid input"));
    } else if (ip.isEmpty()) {
        text = ErrorText(resultcode::NoIpAddress);
    } else if (!isValidIp(ip)) {
        text = translated(QT_TRANSLATE_NOOP("QObject", "Invalid IP"));
    } else if (userName.isEmpty()) {
        text = ErrorText(resultcode::NoUserName) + ",\n" + inputRuleText(UserNameRule);
    } else if (password.isEmpty()) {
        text = ErrorText(resultcode::NoPassword) + ",\n" + inputRuleText(PasswordRule);
    } else if (!isValidUserNameLength(userName)) {
        text = translated(QT_TRANSLATE_NOOP("QObject", "Invalid username")) + ",\n" +
               inputRuleText(UserNameRule);
    } else if (!isValidPasswordLength(password)) {
        text = translated(QT_TRANSLATE_NOOP("QObject", "Invalid password")) + ",\n" +
               inputRuleText(PasswordRule);
    } else {
        return true;
    }
    if (message) *message = text;
    return false;
}

bool fitsCameraText(const QString& text) {
    return text.toUtf8().size() <= kCameraTextMaxBytes;
}

bool isValidLibraryName(const QString& name) {
    return !name.isEmpty() && name.size() <= kLibraryNameMaxLength && !name.trimmed().isEmpty();
}

bool isValidImageName(const QString& name) {
    return !name.isEmpty() && name.size() <= kImageNameMaxLength;
}

QSize imagePixelSize(const QString& path) {
    {
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        const QSize size = reader.size();
        if (size.isValid()) return size;
    }
    // Some formats only know their size after decoding.
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return reader.read().size();
}

bool isImageFileSizeOk(const QString& path) {
    return QFileInfo(path).size() < kImageMaxBytes + 1;
}

bool isImagePixelSizeOk(const QString& path) {
    const QSize size = imagePixelSize(path);
    if (!size.isValid()) return false;
    return size.width() >= kImageMinSide && size.height() >= kImageMinSide &&
           size.width() <= kImageMaxWidth && size.height() <= kImageMaxHeight;
}

bool hasImageExtension(const QString& fileName) {
    const QString suffix = lowerSuffix(fileName);
    return suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg") ||
           suffix == QLatin1String("png") || suffix == QLatin1String("bmp");
}

int checkImageFile(const QString& fileName, const QString& directory) {
    const QString suffix = lowerSuffix(fileName);
    if (suffix != QLatin1String("jpg") && suffix != QLatin1String("jpeg"))
        return resultcode::ImageTypeError;
    const QString path = QDir(directory).filePath(fileName);
    if (!isImageFileSizeOk(path)) return resultcode::ImageSizeError;
    if (!isImagePixelSizeOk(path)) return resultcode::ImagePixelSizeError;
    return resultcode::Ok;
}

QString firstCharacters(const QString& text, int count) {
    int units = 0;
    for (int seen = 0; seen < count && units < text.size(); ++seen) {
        const bool pair = text.at(units).isHighSurrogate() && units + 1 < text.size() &&
                          text.at(units + 1).isLowSurrogate();
        units += pair ? 2 : 1;
    }
    return text.left(units);
}

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

// A part as isValidIp reads it: the base-10 value, 0 for a text that is not a number, and
// false in *inRange for a number beyond 64 bits.
qint64 ipPartValue(const QString& part, bool* inRange) {
    bool ok = false;
    const qint64 value = part.toLongLong(&ok, 10);
    if (ok) return value;
    static const QRegularExpression digits(QStringLiteral("^\\s*[+-]?[0-9]+\\s*$"));
    *inRange = !digits.match(part).hasMatch();
    return 0;
}

// Text after the last "." of the name's last path component, lower case; null when none.
QString lowerSuffix(const QString& fileName) {
    const QString name = QFileInfo(fileName).fileName();
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) return QString();
    return name.mid(dot + 1).toLower();
}

}  // namespace

bool isValidIp(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('.'), Qt::KeepEmptyParts);
    if (parts.size() != 4) return false;
    for (int i = 0; i < parts.size(); ++i) {
        bool inRange = true;
        const qint64 value = ipPartValue(parts.at(i), &inRange);
        if (!inRange || value < 0 || value > 255) return false;
        if (i == 0 && (value < 1 || value > 254)) return false;
        if (i == 3 && value == 0) return false;
    }
    return true;
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
        text = ErrorText(20);
    } else if (!isValidIp(ip)) {
        text = translated(QT_TRANSLATE_NOOP("QObject", "Invalid IP"));
    } else if (userName.isEmpty()) {
        text = ErrorText(21) + ",\n" + inputRuleText(UserNameRule);
    } else if (password.isEmpty()) {
        text = ErrorText(22) + ",\n" + inputRuleText(PasswordRule);
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
    if (suffix != QLatin1String("jpg") && suffix != QLatin1String("jpeg")) return ImageTypeError;
    const QString path = QDir(directory).filePath(fileName);
    if (!isImageFileSizeOk(path)) return ImageSizeError;
    if (!isImagePixelSizeOk(path)) return ImagePixelSizeError;
    return ImageOk;
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

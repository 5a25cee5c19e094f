// Result texts, input checks and the image-file check.
#include <QTemporaryDir>
#include <QtTest>

#include "dbutil/errortext.h"
#include "dbutil/inputcheck.h"
#include "dbutil/records.h"
#include "testimages.h"

class RecordsTest : public QObject {
    Q_OBJECT
private slots:
    void errorText_data();
    void errorText();
    void resultCodes();
    void validIp_data();
    void validIp();
    void lengths();
    void deviceForm_data();
    void deviceForm();
    void names();
    void imageFileCheck();
    void singlePurposeChecks();
    void defaultRecords();
};

void RecordsTest::errorText_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "Success";
    QTest::newRow("11") << 11 << "Image type error";
    QTest::newRow("13") << 13 << "Image pixel size error";
    QTest::newRow("15 has no entry") << 15 << "Unknown error";
    QTest::newRow("22") << 22 << "Please input password";
    QTest::newRow("23") << 23 << "Unknown error";
    QTest::newRow("-1") << -1 << "Unknown error";
    QTest::newRow("401") << 401 << "SDK or IPC error code";
    QTest::newRow("402") << 402 << "Unknown error";
    QTest::newRow("403") << 403 << "Login failed";
    QTest::newRow("423") << 423 << "Account lock";
    QTest::newRow("10007") << 10007 << "SDK or IPC error code";
    QTest::newRow("10028") << 10028 << "SDK or IPC error code";
}

void RecordsTest::errorText() {
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(ErrorText(code), text);
}

// Each code has one number and a text; the codes added later keep clear of camlink's results,
// and no two codes share a text by mistake.
void RecordsTest::resultCodes() {
    namespace rc = resultcode;
    const QString unknown = ErrorText(-999);
    const QString sdkOrCamera = ErrorText(rc::TransferTimedOut);  // the table's one shared text
    QSet<int> numbers;
    QHash<QString, int> textOwners;
    for (const int code : rc::kCodes) {
        const QByteArray what = QByteArray::number(code);
        QVERIFY2(!numbers.contains(code), what + " has two names");
        numbers.insert(code);
        const QString text = ErrorText(code);
        QVERIFY2(!text.isEmpty(), what);
        if (code >= rc::kAddedBase) {
            // Between camlink's transfer errors and its failed upgrade, with a text of its own.
            QVERIFY2(!isTransferError(code) && code < int(VCAM_ERR_UPGRADE_FAILED), what);
            QVERIFY2(text != unknown, what);
        }
        if (text == unknown || text == sdkOrCamera) continue;
        QVERIFY2(!textOwners.contains(text),
                 what + " reads like " + QByteArray::number(textOwners.value(text)));
        textOwners.insert(text, code);
    }
    // A transfer error is camlink's 10000 + curl's code, and nothing else.
    QVERIFY(isTransferError(VCAM_ERR_TRANSFER_BASE) && isTransferError(rc::TransferTimedOut));
    for (int code : {int(VCAM_ERR_CAMERA_FAILED), int(VCAM_ERR_CAMERA_BASE) + 999,
                     int(VCAM_ERR_UPGRADE_FAILED), int(rc::NeverStarted), int(rc::LoginRefused)})
        QVERIFY2(!isTransferError(code), QByteArray::number(code));
}

void RecordsTest::validIp_data() {
    QTest::addColumn<QString>("ip");
    QTest::addColumn<bool>("valid");
    QTest::newRow("first 0") << "0.1.2.3" << false;
    QTest::newRow("first 255") << "255.1.1.1" << false;
    QTest::newRow("last 0") << "10.0.0.0" << false;
    QTest::newRow("three parts") << "10.0.0" << false;
    QTest::newRow("five parts") << "10.0.0.1.1" << false;
    QTest::newRow("1.0.0.1") << "1.0.0.1" << true;
    QTest::newRow("254.255.255.255") << "254.255.255.255" << true;
    QTest::newRow("empty part") << "10..0.1" << false;
    QTest::newRow("letters") << "10.a.0.1" << false;
    QTest::newRow("leading zero") << "010.0.0.1" << false;
    QTest::newRow("leading zero in last") << "10.0.0.01" << false;
    QTest::newRow("zero part") << "10.0.0.1" << true;
    QTest::newRow("plus sign") << "10.+1.0.1" << false;
    QTest::newRow("spaces") << "10. 1.0.1" << false;
    QTest::newRow("trailing dot") << "10.0.0.1." << false;
    QTest::newRow("wide digits") << QString::fromUtf8("10.\xef\xbc\x91.0.1") << false;
    QTest::newRow("octet 256") << "10.256.0.1" << false;
    QTest::newRow("negative") << "10.-1.0.1" << false;
    QTest::newRow("huge number") << "10.99999999999999999999.0.1" << false;
    QTest::newRow("empty") << "" << false;
}

void RecordsTest::validIp() {
    QFETCH(QString, ip);
    QFETCH(bool, valid);
    QCOMPARE(isValidIp(ip), valid);
    // Whatever is accepted is its own canonical spelling.
    if (valid) QCOMPARE(canonicalIp(ip), ip);
}

void RecordsTest::lengths() {
    QVERIFY(isValidUserNameLength(QString(16, 'u')));
    QVERIFY(!isValidUserNameLength(QString(17, 'u')));
    QVERIFY(!isValidUserNameLength(QString(3, 'u')));
    QVERIFY(isValidPasswordLength(QString(6, 'p')));
    QVERIFY(!isValidPasswordLength(QString(5, 'p')));
    QVERIFY(!isValidPasswordLength(QString(17, 'p')));
    QVERIFY(isValidDeviceInput("10.0.0.2", "admin", "secret"));
    QVERIFY(!isValidDeviceInput("10.0.0.0", "admin", "secret"));
    QVERIFY(!isValidDeviceInput("10.0.0.2", "adm", "secret"));
    QVERIFY(!isValidDeviceInput("10.0.0.2", "admin", "short"));

    // The character rules as the dialogs' validators will use them.
    QVERIFY(QRegExp(kIpCharacterPattern).exactMatch("10.0.0.1"));
    QVERIFY(!QRegExp(kIpCharacterPattern).exactMatch("10.0.0.a"));
    QVERIFY(QRegExp(kUserNameCharacterPattern).exactMatch("admin_1"));
    QVERIFY(!QRegExp(kUserNameCharacterPattern).exactMatch("ad min"));
    QVERIFY(QRegExp(kPasswordCharacterPattern).exactMatch("Pass_123"));
    QVERIFY(!QRegExp(kPasswordCharacterPattern).exactMatch("pass!"));
}

void RecordsTest::deviceForm_data() {
    const QString userRule =
        "Username is 4-16 in length,\n"
        "contains Chinese and English characters, numbers, and underscores.";
    const QString passRule =
        "Password is 6-16 in length,\n"
        "contains upper case or lower case characters, numbers or underscores.";
    QTest::addColumn<QString>("ip");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("pass");
    QTest::addColumn<QString>("message");
    QTest::newRow("all empty") << ""
                               << ""
                               << ""
                               << "Invalid input";
    QTest::newRow("ip empty") << ""
                              << "admin"
                              << ""
                              << "Please input IP address";
    QTest::newRow("ip invalid") << "10.0.0.0"
                                << ""
                                << ""
                                << "Invalid IP";
    QTest::newRow("user empty") << "10.0.0.2"
                                << ""
                                << ""
                                << "Please input user name,\n" + userRule;
    QTest::newRow("pass empty") << "10.0.0.2"
                                << "ab"
                                << ""
                                << "Please input password,\n" + passRule;
    QTest::newRow("user short") << "10.0.0.2"
                                << "ab"
                                << "x"
                                << "Invalid username,\n" + userRule;
    QTest::newRow("pass short") << "10.0.0.2"
                                << "admin"
                                << "x"
                                << "Invalid password,\n" + passRule;
    QTest::newRow("ok") << "10.0.0.2"
                        << "admin"
                        << "secret"
                        << "untouched";
}

void RecordsTest::deviceForm() {
    QFETCH(QString, ip);
    QFETCH(QString, user);
    QFETCH(QString, pass);
    QFETCH(QString, message);
    QString text = "untouched";
    QCOMPARE(checkDeviceInput(ip, user, pass, &text), message == "untouched");
    QCOMPARE(text, message);
    QCOMPARE(inputRuleText(99), QString("Unknown error"));
}

void RecordsTest::names() {
    QVERIFY(isValidLibraryName(QString(16, 'n')));
    QVERIFY(!isValidLibraryName(QString(17, 'n')));
    QVERIFY(!isValidLibraryName(""));
    QVERIFY(!isValidLibraryName("   "));
    QVERIFY(isValidImageName("a"));
    QVERIFY(isValidImageName(QString(49, 'n')));
    QVERIFY(!isValidImageName(QString(50, 'n')));
    QVERIFY(!isValidImageName(""));
}

void RecordsTest::imageFileCheck() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString d = dir.path();
    using testimages::writeJpeg;

    // The largest picture at exactly the byte limit passes, whatever the case of the suffix.
    QVERIFY(writeJpeg(d + "/max.JPG", QSize(1920, 1080), 102400));
    QCOMPARE(QFileInfo(d + "/max.JPG").size(), qint64(102400));
    QCOMPARE(checkImageFile("max.JPG", d), 0);
    QVERIFY(QFile::copy(d + "/max.JPG", d + "/max.jpeg"));
    QCOMPARE(checkImageFile("max.jpeg", d), 0);
    // The same bytes under a .png name, or with no suffix at all: type error.
    QVERIFY(QFile::copy(d + "/max.JPG", d + "/max.png"));
    QCOMPARE(checkImageFile("max.png", d), 11);
    QVERIFY(QFile::copy(d + "/max.JPG", d + "/noext"));
    QCOMPARE(checkImageFile("noext", d), 11);
    // One byte more: size error.
    QVERIFY(writeJpeg(d + "/big.jpg", QSize(200, 200), 102401));
    QCOMPARE(checkImageFile("big.jpg", d), 12);
    // Not a picture, or pixel sizes out of range: pixel size error.
    QVERIFY(testimages::writeFile(d + "/text.jpg", "not a picture"));
    QCOMPARE(checkImageFile("text.jpg", d), 13);
    QVERIFY(writeJpeg(d + "/narrow.jpg", QSize(99, 500)));
    QCOMPARE(checkImageFile("narrow.jpg", d), 13);
    QVERIFY(writeJpeg(d + "/wide.jpg", QSize(1921, 1080)));
    QCOMPARE(checkImageFile("wide.jpg", d), 13);
    QVERIFY(writeJpeg(d + "/tall.jpg", QSize(1000, 1081)));
    QCOMPARE(checkImageFile("tall.jpg", d), 13);
    QVERIFY(writeJpeg(d + "/small.jpg", QSize(100, 100)));
    QCOMPARE(checkImageFile("small.jpg", d), 0);
    // The format comes from the content: a PNG named .jpg is read as a PNG.
    QVERIFY(QImage(QSize(150, 150), QImage::Format_RGB32).save(d + "/png.jpg", "PNG"));
    QCOMPARE(checkImageFile("png.jpg", d), 0);
    // The type is checked first, then the size, then the pixels.
    QVERIFY(testimages::writeFile(d + "/bigtext.jpg", QByteArray(200000, 'x')));
    QCOMPARE(checkImageFile("bigtext.jpg", d), 12);
    QVERIFY(QFile::copy(d + "/bigtext.jpg", d + "/bigtext.gif"));
    QCOMPARE(checkImageFile("bigtext.gif", d), 11);
}

void RecordsTest::singlePurposeChecks() {
    QTemporaryDir dir;
    const QString d = dir.path();
    QVERIFY(testimages::writeJpeg(d + "/a.jpg", QSize(120, 120), 102400));
    QVERIFY(testimages::writeJpeg(d + "/b.jpg", QSize(120, 120), 102401));
    QVERIFY(isImageFileSizeOk(d + "/a.jpg"));
    QVERIFY(!isImageFileSizeOk(d + "/b.jpg"));
    QVERIFY(isImagePixelSizeOk(d + "/b.jpg"));
    QVERIFY(!isImagePixelSizeOk(d + "/missing.jpg"));
    QCOMPARE(imagePixelSize(d + "/a.jpg"), QSize(120, 120));
    for (const char* name : {"x.jpg", "x.JPEG", "x.png", "x.Bmp"})
        QVERIFY(hasImageExtension(name));
    for (const char* name : {"x.gif", "x", "x.jpg.txt", "jpg"})
        QVERIFY(!hasImageExtension(name));
}

void RecordsTest::defaultRecords() {
    const SFeatrueInfo image;
    QCOMPARE(image.imgid, qint64(-1));
    QCOMPARE(image.ext.size(), 5);
    for (const QString& ext : image.ext)
        QVERIFY(ext.isEmpty());
    QCOMPARE(SDeviceInfo().status, 1);
}

QTEST_GUILESS_MAIN(RecordsTest)
#include "records_test.moc"

// The device store and the bytes of "kestrel.data".
#include <sys/resource.h>
#include <sys/stat.h>

#include <QBuffer>
#include <QDataStream>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

#include "dbutil/deviceinfofactory.h"

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& data) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(data), qint64(data.size()));
}

// Delivers one tick of the store's own 10 s timer.
void tick(DeviceInfoFactory& store) {
    QTimerEvent event(store.timerId());
    QCoreApplication::sendEvent(&store, &event);
}

SDeviceInfo device(const QString& ip, const QString& user = "admin",
                   const QString& pass = "secret1") {
    return SDeviceInfo(ip, user, pass);
}

QByteArray be32(quint32 value) {
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

// A Qt stream string: byte count, then UTF-16 big-endian.
QByteArray text(const QString& value) {
    if (value.isNull()) return be32(0xFFFFFFFFu);
    QByteArray bytes = be32(quint32(value.size() * 2));
    for (QChar c : value)
        bytes += be32(c.unicode()).mid(2);
    return bytes;
}

}  // namespace

class StoreTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void operations();
    void fileLayout();
    void roundTrip();
    void damagedFiles_data();
    void damagedFiles();
    void hugeCountsLoadEmpty();
    void timerAndCredentials();
    void defaultFileInWorkingDirectory();
    void ownerOnlyMode();
    void failedSaveKeepsOldFile();
    void failedSavesRetriedAndToldOnce();
    void unreadableFileKeptAside();
    void sameAddressSpeltTwice();

private:
    QString path() const { return dir_->filePath("kestrel.data"); }
    QScopedPointer<QTemporaryDir> dir_;
};

void StoreTest::init() {
    dir_.reset(new QTemporaryDir);
    QVERIFY(dir_->isValid());
}

void StoreTest::operations() {
    QTest::ignoreMessage(QtDebugMsg, "DeviceInfoFactory::unserialize: open file failed");
    DeviceInfoFactory store(path());
    QCOMPARE(store.count(), 0);
    QCOMPARE(store.list().capacity(), DeviceInfoFactory::kReserve);

    QVERIFY(store.add(device("10.0.0.2")));
    QVERIFY(store.add(device("10.0.0.3")));
    QVERIFY(!store.add(device("10.0.0.2", "other", "other12")));  // same ip: refused
    QCOMPARE(store.find("10.0.0.2").username, QString("admin"));
    QCOMPARE(store.changeCount(), 2);

    SDeviceInfo changed = device("10.0.0.3", "root", "rootpw");
    changed.ota = "V1.0";
    store.update(changed);
    QCOMPARE(store.find("10.0.0.3").ota, QString("V1.0"));
    store.update(device("10.9.9.9"));  // unknown: nothing
    QCOMPARE(store.changeCount(), 3);

    // An unknown ip finds the default record.
    QCOMPARE(store.find("10.9.9.9").ip, QString());
    QCOMPARE(store.find("10.9.9.9").status, 1);

    store.setChecked(1, true);
    store.setChecked(5, true);
    QVERIFY(store.checked(1));
    QVERIFY(!store.checked(0));
    QVERIFY(!store.checked(-1));
    QVERIFY(!store.checked(5));

    store.remove("10.0.0.2");
    store.remove("10.9.9.9");
    QCOMPARE(store.count(), 1);
    QCOMPARE(store.list().at(0).ip, QString("10.0.0.3"));
    QCOMPARE(store.changeCount(), 4);
}

// The file of one device checked byte by byte against the file layout.
void StoreTest::fileLayout() {
    QTest::ignoreMessage(QtDebugMsg, "DeviceInfoFactory::unserialize: open file failed");
    DeviceInfoFactory store(path());
    SDeviceInfo dev = device("AB", "admin", "");
    dev.status = 0;
    SDBInfo db;
    db.libid = "L";
    db.name = "N";
    db.imgnum = 7;
    db.threshold = 80;
    db.errornum = 5;
    db.extractnum = 3;
    dev.dbs.append(db);
    QVERIFY(store.add(dev));
    QTest::ignoreMessage(QtDebugMsg, "save data to file");
    QVERIFY(store.save());

    QByteArray expected;
    expected += QByteArray::fromHex("00000001");          // device count
    expected += QByteArray::fromHex("0000000400410042");  // ip "AB"
    expected += QByteArray::fromHex("ffffffff");          // ota: null text
    expected += QByteArray::fromHex("00000001");          // library count
    expected += QByteArray::fromHex("00000002004c");      // libid "L"
    expected += QByteArray::fromHex("00000002004e");      // name "N"
    expected += QByteArray::fromHex("00000007");          // imgnum before ...
    expected += QByteArray::fromHex("00000050");          // ... threshold
    expected += QByteArray::fromHex("00000000");          // status
    expected += text("YWRtaW4=");                         // Base64 of "admin"
    expected += QByteArray::fromHex("ffffffff");          // empty password: null text
    QCOMPARE(expected.mid(expected.size() - 24, 4), QByteArray::fromHex("00000010"));
    QCOMPARE(readAll(path()).toHex(), expected.toHex());

    // Loaded: status 1, libraries without errornum/extractnum, the password empty.
    QTest::ignoreMessage(QtInfoMsg, "DeviceInfoFactory::unserialize: data unserialize ok");
    DeviceInfoFactory loaded(path());
    QCOMPARE(loaded.count(), 1);
    const SDeviceInfo& back = loaded.find("AB");
    QCOMPARE(back.status, 1);
    QCOMPARE(back.username, QString("admin"));
    QVERIFY(back.password.isEmpty());
    QVERIFY(back.ota.isEmpty());
    QCOMPARE(back.dbs.size(), 1);
    QCOMPARE(back.dbs[0].libid, QString("L"));
    QCOMPARE(back.dbs[0].name, QString("N"));
    QCOMPARE(back.dbs[0].imgnum, 7);
    QCOMPARE(back.dbs[0].threshold, 80);
    QCOMPARE(back.dbs[0].errornum, 0);
    QCOMPARE(back.dbs[0].extractnum, 0);
    QCOMPARE(loaded.changeCount(), 0);
}

// Non-ASCII credentials, several libraries and several devices survive a save and a load.
void StoreTest::roundTrip() {
    QVector<SDeviceInfo> devices;
    for (int i = 2; i < 5; ++i) {
        SDeviceInfo dev = device(QString("10.0.0.%1").arg(i), QString::fromUtf8("用户%1").arg(i),
                                 i % 2 ? QString("pw_%1xyz").arg(i) : QString());
        for (int l = 0; l < i - 2; ++l)
            dev.dbs.append(SDBInfo{QString("lib%1").arg(l), QString::fromUtf8("库%1").arg(l), 60,
                                   100 + l, 0, 0, false});
        devices.append(dev);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    QDataStream stream(&buffer);
    DeviceInfoFactory::writeDevices(stream, devices);
    buffer.seek(0);
    QVector<SDeviceInfo> back;
    QVERIFY(DeviceInfoFactory::readDevices(stream, back));
    QCOMPARE(back.size(), devices.size());
    for (int i = 0; i < back.size(); ++i) {
        QCOMPARE(back[i].ip, devices[i].ip);
        QCOMPARE(back[i].username, devices[i].username);
        QCOMPARE(back[i].password, devices[i].password);
        QCOMPARE(dbNames(back[i]), dbNames(devices[i]));
        if (!back[i].dbs.isEmpty())
            QCOMPARE(back[i].dbs.last().imgnum, devices[i].dbs.last().imgnum);
    }
}

void StoreTest::damagedFiles_data() {
    QTest::addColumn<QByteArray>("data");
    QByteArray two;
    {
        QBuffer buffer(&two);
        buffer.open(QIODevice::WriteOnly);
        QDataStream out(&buffer);
        DeviceInfoFactory::writeDevices(out, {device("10.0.0.2"), device("10.0.0.3")});
    }
    QTest::newRow("second device cut short") << two.left(two.size() - 2);
    QTest::newRow("second device cut in its ip") << two.left(two.size() / 2 + 6);
    QTest::newRow("count too short") << QByteArray::fromHex("0000");
    QTest::newRow("negative count") << QByteArray::fromHex("ffffffff") + two.mid(4);
    QTest::newRow("count past the data") << be32(3) + two.mid(4);
    QTest::newRow("odd text length") << be32(1) + be32(3) + QByteArray(40, 'a');
    QTest::newRow("negative library count")
        << be32(1) + text("10.0.0.2") + text("") + be32(0xFFFFFFFEu) + QByteArray(40, '\0');
}

// A damaged or truncated file loads as an empty list, never a partial one.
void StoreTest::damagedFiles() {
    QFETCH(QByteArray, data);
    writeAll(path(), data);
    DeviceInfoFactory store(path());
    QCOMPARE(store.count(), 0);
}

// Counts of two billion (devices, libraries, text bytes) must not be trusted for a reserve:
// loading would otherwise try to allocate gigabytes and abort.
void StoreTest::hugeCountsLoadEmpty() {
    const QByteArray tail(64, '\0');
    const QByteArray files[] = {
        be32(2000000000u) + tail,
        be32(0x7FFFFFFFu) + tail,
        be32(1) + text("10.0.0.2") + text("") + be32(2000000000u) + tail,
        be32(1) + be32(0x7FFFFFFEu) + tail,
    };
    for (const QByteArray& data : files) {
        writeAll(path(), data);
        DeviceInfoFactory store(path());
        QCOMPARE(store.count(), 0);
    }
}

void StoreTest::timerAndCredentials() {
    DeviceInfoFactory store(path());
    QVERIFY(store.add(device("10.0.0.2", "admin", "secret1")));

    // A tick of another timer is ignored; a tick of its own timer saves and resets the count.
    QTimerEvent other(store.timerId() + 1000);
    QCoreApplication::sendEvent(&store, &other);
    QVERIFY(!QFile::exists(path()));
    tick(store);
    QCOMPARE(store.changeCount(), 0);
    QCOMPARE(DeviceInfoFactory(path()).find("10.0.0.2").password, QString("secret1"));

    // Credentials alone are not counted: the next ticks write nothing ...
    store.setCredentials("10.0.0.2", "admin", "changed1");
    QCOMPARE(store.find("10.0.0.2").password, QString("changed1"));
    QCOMPARE(store.changeCount(), 0);
    tick(store);
    QCOMPARE(DeviceInfoFactory(path()).find("10.0.0.2").password, QString("secret1"));

    // ... until the next counted change, which carries them to the file.
    QVERIFY(store.add(device("10.0.0.3")));
    tick(store);
    DeviceInfoFactory reloaded(path());
    QCOMPARE(reloaded.count(), 2);
    QCOMPARE(reloaded.find("10.0.0.2").password, QString("changed1"));

    // saveIfChanged writes when the count is above 0 and leaves the count alone.
    store.setCredentials("10.0.0.3", "admin", "third33");
    store.remove("10.0.0.2");
    store.saveIfChanged();
    QCOMPARE(store.changeCount(), 1);
    DeviceInfoFactory last(path());
    QCOMPARE(last.count(), 1);
    QCOMPARE(last.find("10.0.0.3").password, QString("third33"));
}

void StoreTest::defaultFileInWorkingDirectory() {
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir_->path()));
    {
        DeviceInfoFactory store;
        QCOMPARE(store.fileName(), QString("kestrel.data"));
        store.add(device("10.0.0.2"));
        store.saveIfChanged();
    }
    QDir::setCurrent(previous);
    QVERIFY(QFile::exists(path()));
}

void StoreTest::ownerOnlyMode() {
    writeAll(path(), be32(0));
    QVERIFY(QFile::setPermissions(
        path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
    const mode_t oldMask = ::umask(0);
    DeviceInfoFactory store(path());
    store.add(device("10.0.0.2"));
    QVERIFY(store.save());
    ::umask(oldMask);
    struct stat info {};
    QCOMPARE(::stat(QFile::encodeName(path()).constData(), &info), 0);
    QCOMPARE(info.st_mode & 07777, mode_t(0600));
}

// The new list is written to a temporary file and renamed only when complete: a write that
// fails (here: the file-size limit, which holds even for root) leaves the old file untouched.
void StoreTest::failedSaveKeepsOldFile() {
    DeviceInfoFactory store(path());
    store.add(device("10.0.0.2"));
    QVERIFY(store.save());
    const QByteArray before = readAll(path());

    for (int i = 3; i < 40; ++i)
        store.add(device(QString("10.0.0.%1").arg(i)));
    struct rlimit old {};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = rlim_t(before.size());
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
    QTest::ignoreMessage(QtCriticalMsg, "DeviceInfoFactory::serialize: write file failed");
    const bool saved = store.save();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    QVERIFY(!saved);
    QCOMPARE(readAll(path()), before);
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{"kestrel.data"});
    QCOMPARE(DeviceInfoFactory(path()).count(), 1);
}

// The state folder cannot take the file (a plain file stands where the folder should be), then
// it can: every tick tries again, the failure is told once per failing spell, and nothing
// edited meanwhile is lost.
void StoreTest::failedSavesRetriedAndToldOnce() {
    const QString folder = dir_->filePath("state");
    writeAll(folder, "not a folder");
    DeviceInfoFactory store(folder + "/kestrel.data");
    QSignalSpy told(&store, &DeviceInfoFactory::signalSaveFailed);
    QVERIFY(store.add(device("10.0.0.2")));
    tick(store);
    QVERIFY(store.add(device("10.0.0.3")));
    tick(store);
    QCOMPARE(told.count(), 1);
    QVERIFY(store.changeCount() > 0);

    QVERIFY(QFile::remove(folder));
    QVERIFY(QDir().mkdir(folder));
    tick(store);
    QCOMPARE(store.changeCount(), 0);
    QCOMPARE(DeviceInfoFactory(folder + "/kestrel.data").count(), 2);

    // A new failing spell is told again; the try at exit (saveIfChanged) writes once it can.
    QVERIFY(QDir(folder).removeRecursively());
    writeAll(folder, "not a folder");
    store.remove("10.0.0.2");
    tick(store);
    QCOMPARE(told.count(), 2);
    QVERIFY(QFile::remove(folder));
    QVERIFY(QDir().mkdir(folder));
    store.saveIfChanged();
    QCOMPARE(DeviceInfoFactory(folder + "/kestrel.data").count(), 1);
}

// A store that cannot be read is moved aside before anything can write over it.
void StoreTest::unreadableFileKeptAside() {
    const QByteArray damaged = be32(3) + "not a device list";
    writeAll(path(), damaged);
    DeviceInfoFactory store(path());
    QCOMPARE(store.count(), 0);
    const QString aside = store.setAsideFile();
    QVERIFY(QFileInfo(aside).fileName().startsWith("kestrel.data.unreadable-"));
    QCOMPARE(readAll(aside), damaged);
    QVERIFY(!QFile::exists(path()));

    QVERIFY(store.add(device("10.0.0.2")));
    store.saveIfChanged();
    QCOMPARE(DeviceInfoFactory(path()).count(), 1);
    QCOMPARE(readAll(aside), damaged);

    // A second damaged start keeps both copies.
    writeAll(path(), damaged);
    QVERIFY(DeviceInfoFactory(path()).setAsideFile() != aside);
    QCOMPARE(QDir(dir_->path()).entryList({"kestrel.data.unreadable-*"}, QDir::Files).size(), 2);
    QVERIFY(DeviceInfoFactory(path()).setAsideFile().isEmpty());  // nothing there now
}

// A list written before addresses were checked strictly may hold a zero-padded spelling.
void StoreTest::sameAddressSpeltTwice() {
    DeviceInfoFactory store(path());
    QVERIFY(store.add(device("010.0.0.2")));
    QVERIFY(!store.add(device("10.0.0.2")));
    QVERIFY(store.add(device("10.0.0.20")));
    QCOMPARE(store.count(), 2);
}

QTEST_GUILESS_MAIN(StoreTest)
#include "store_test.moc"

#include "startup.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTranslator>

#include "applog.h"
#include "commandline.h"
#include "dbutil/records.h"
#include "fleet/fleetsettings.h"
#include "instanceguard.h"
#include "programfiles.h"
#include "security.h"

namespace startup {

void initSecurity() {
    if (Security::init(Security::Base64))
        qInfo("Security::init ok.");
    else
        qCritical("Security::init failed.");
}

void registerMetaTypes() {
    qRegisterMetaType<SDeviceInfo>("SDeviceInfo");
    qRegisterMetaType<SDBInfo>("SDBInfo");
}

std::optional<int> answerCommandLine(QCoreApplication& app) {
    if (CommandLine().parse(app.arguments()) == CommandLine::Request::Start) return std::nullopt;
    // The answer alone on the terminal, without the translators' debug lines.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    installTranslations(programFile("translations"), QLocale::system(), &app);
    CommandLine translated;
    return translated.answer(translated.parse(app.arguments()));
}

QString programFile(const QString& relativePath) {
    return programfiles::programFile(relativePath);
}

// An installed program (its data directory exists) never writes beside itself, not even as
// root; otherwise writing a file is the only test that also holds for read-only mounts.
QString stateDirectory(const QString& programDir) {
    const bool installed = QFileInfo(programfiles::installedDataDir(programDir)).isDir();
    QTemporaryFile probe(programDir + "/.write_probe_XXXXXX");
    if (!installed && probe.open()) return programDir;
    const QString userDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(userDir);
    return userDir;
}

bool enterWorkingDirectory(const QString& dir) {
    qWarning() << QDir::currentPath();
    const bool changed = QDir::setCurrent(dir);
    if (!changed) qWarning("Could not change the current working directory");
    qWarning() << QDir::currentPath();
    return changed;
}

void openProgramLog() {
    AppLog::instance().init("log/");
    AppLog::instance().setLevel(kLogLevel);
}

void applyFleetSettings() {
    const fleet::Settings settings = fleet::load();
    fleet::applySessionMode(settings);
    fleet::setLimit(settings.limit);
    FK_LOG("startup", 6, "cameras side by side: %s, at most %d at once\n",
           settings.sideBySide ? "on" : "off", fleet::limit());
}

void applyStyleSheet(QApplication& app) {
    QFile file(kStyleSheet);
    if (!file.open(QIODevice::ReadOnly)) return;
    QByteArray style = file.readAll();
    const int end = style.indexOf('\0');
    if (end >= 0) style.truncate(end);
    app.setStyleSheet(QString::fromUtf8(style));
}

QString languageOf(const QLocale& locale) {
    return locale.language() == QLocale::Chinese ? QStringLiteral("zh") : QStringLiteral("en");
}

QList<QTranslator*> installTranslations(const QString& dir, const QLocale& locale, QObject* owner) {
    static const struct {
        const char* prefix;
        const char* logLine;
    } kFiles[] = {
        {"qt_", "qtTranslator ok"},
        {"qtbase_", "qtBaseTranslator ok"},
        {"kestrel_", "usrTranslator ok"},
    };
    const QString language = languageOf(locale);
    QList<QTranslator*> installed;
    for (const auto& file : kFiles) {
        // Exactly prefix + language: the loader's own fallbacks would take "kestrel.qm" for a
        // missing "kestrel_zh.qm".
        const QString path = dir + QLatin1Char('/') + file.prefix + language + ".qm";
        if (!QFile::exists(path)) continue;
        auto* translator = new QTranslator(owner);
        if (!translator->load(path)) {
            delete translator;
            continue;
        }
        QCoreApplication::installTranslator(translator);
        qDebug("%s", file.logLine);
        installed.append(translator);
    }
    return installed;
}

int refuseSecondInstance(InstanceGuard& guard) {
    guard.release();
    qCritical("Another process is running.");
    QMessageBox::warning(nullptr, QObject::tr("Error"), QObject::tr("Another process is running"),
                         QMessageBox::Ok);
    return -1;
}

}  // namespace startup

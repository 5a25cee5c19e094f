// The steps of the program's start before its window shows: credential encoding, meta-types,
// working directory, program log, style sheet, translations and the single-instance refusal.
#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <optional>

class InstanceGuard;
class QApplication;
class QCoreApplication;
class QObject;
class QTranslator;

namespace startup {

constexpr char kInstanceKey[] = "kestrel";
constexpr char kStyleSheet[] = ":/qss/assets/style.qss";
constexpr int kLogLevel = 7;

// "Security::init ok." or "Security::init failed." to the Qt log; the start goes on either way.
void initSecurity();
void registerMetaTypes();

// Answers --help, --version and mistaken arguments of app (translated, nothing else printed);
// nothing when the program is to start.
std::optional<int> answerCommandLine(QCoreApplication& app);

// A file that ships with the program (translations, the face-analysis configuration, the
// logo): beside the executable, or in the data directory of an installed program, whatever
// the working directory.
QString programFile(const QString& relativePath);
// Where the program keeps what it writes ("kestrel.data", "log/", "temp"): its own directory,
// or the per-user data directory for an installed program or one whose directory cannot be
// written.
QString stateDirectory(const QString& programDir);
// Makes dir the working directory, logging it before and after. False when it could not.
bool enterWorkingDirectory(const QString& dir);
// The program log under "log/" in the working directory, at level 7.
void openProgramLog();

// The fleet settings of the working directory: camlink's session mode (before any camlink
// call: the library reads it once) and the bound of cameras worked at once. Logged.
void applyFleetSettings();

// The style sheet resource, cut at its first NUL; nothing when it is missing.
void applyStyleSheet(QApplication& app);

// "zh" for a Chinese locale, else "en".
QString languageOf(const QLocale& locale);
// Installs "qt_", "qtbase_" and "kestrel_" + language from dir, each one that loads (owned by
// owner); missing files are skipped without a word.
QList<QTranslator*> installTranslations(const QString& dir, const QLocale& locale, QObject* owner);

// A second start: gives the guard back, logs and tells the operator. The exit code, -1.
int refuseSecondInstance(InstanceGuard& guard);

}  // namespace startup

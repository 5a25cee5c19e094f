#include "fleetsettings.h"

#include <QSettings>
#include <atomic>

namespace fleet {
namespace {

constexpr char kSideBySideKey[] = "cameras/sideBySide";
constexpr char kLimitKey[] = "cameras/atOnce";
constexpr char kHealthKey[] = "health/minutes";

std::atomic<int> g_limit{kDefaultLimit};

int bounded(int cameras) {
    return qBound(kMinLimit, cameras, kMaxLimit);
}

}  // namespace

Settings load(const QString& path) {
    const QSettings file(path, QSettings::IniFormat);
    Settings settings;
    settings.sideBySide = file.value(kSideBySideKey, settings.sideBySide).toBool();
    bool isNumber = false;
    const int cameras = file.value(kLimitKey, settings.limit).toInt(&isNumber);
    if (isNumber) settings.limit = bounded(cameras);
    const int minutes = file.value(kHealthKey, settings.healthMinutes).toInt(&isNumber);
    if (isNumber) settings.healthMinutes = qBound(0, minutes, kMaxHealthMinutes);
    return settings;
}

bool save(const Settings& settings, const QString& path) {
    QSettings file(path, QSettings::IniFormat);
    file.setValue(kSideBySideKey, settings.sideBySide);
    file.setValue(kLimitKey, bounded(settings.limit));
    file.setValue(kHealthKey, qBound(0, settings.healthMinutes, kMaxHealthMinutes));
    file.sync();
    return file.status() == QSettings::NoError;
}

void applySessionMode(const Settings& settings) {
    if (settings.sideBySide)
        qputenv("CAMLINK_SESSIONS", "parallel");
    else
        qunsetenv("CAMLINK_SESSIONS");
}

int limit() {
    return g_limit.load();
}

void setLimit(int cameras) {
    g_limit.store(bounded(cameras));
}

}  // namespace fleet

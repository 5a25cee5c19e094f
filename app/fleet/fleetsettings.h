// How many cameras the program works at once, and whether camlink may run calls of different
// cameras side by side. Kept in "settings.ini" in the state folder, apart from the device store.
#pragma once

#include <QString>

namespace fleet {

constexpr int kDefaultLimit = 16;
constexpr int kMinLimit = 1;
constexpr int kMaxLimit = 256;
constexpr char kSettingsFile[] = "settings.ini";
// The background check of the list: minutes between two rounds, 0 for none.
constexpr int kDefaultHealthMinutes = 5;
constexpr int kMaxHealthMinutes = 24 * 60;

struct Settings {
    bool sideBySide = true;  // takes effect at the next start: camlink reads it once
    int limit = kDefaultLimit;
    int healthMinutes = kDefaultHealthMinutes;
};

// The settings of the file; defaults for what it lacks, numbers outside their range brought
// within.
Settings load(const QString& path = kSettingsFile);
// False when the file could not be written.
bool save(const Settings& settings, const QString& path = kSettingsFile);

// Sets camlink's session mode in the process environment; call before any camlink call.
void applySessionMode(const Settings& settings);

// The bound every refresh and batch job keeps: at most this many cameras at once. Safe from any
// thread; a job reads it when it starts.
int limit();
void setLimit(int cameras);

}  // namespace fleet

// The read-only files that ship with the program (translations, the face-analysis configuration,
// the logo). In the build tree they lie beside the executable; an installed program finds them
// in its data directory, at a fixed place relative to the executable.
#pragma once

#include <QString>

namespace programfiles {

// The installed data directory seen from programDir (e.g. "<programDir>/../share/facekeeper").
QString installedDataDir(const QString& programDir);

// relativePath beside programDir when it exists there, else in the installed data directory
// when it exists there, else beside programDir (where a missing file is expected).
QString locate(const QString& programDir, const QString& relativePath);

// locate() from the running program's own directory.
QString programFile(const QString& relativePath);

}  // namespace programfiles

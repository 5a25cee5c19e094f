// The texts of the library page's result boxes that carry counts.
#pragma once

#include <QString>

namespace jobsummary {

// head + ":\n" and the lines "Total", "Success", "Failed", each ": " and its number.
QString counts(const QString& head, int total, int success);
// "uploading number[n], Success[m], Failed[k]".
QString upload(int images, int uploaded);

// What a package job did, as its owner reads it after the thread ended.
struct PackageCounts {
    int code = 0;
    int total = 0;     // records the camera announced (export) or the package holds (import)
    int done = 0;      // records exported or accepted
    int pictures = 0;  // pictures written (export)
    int leftOut = 0;   // records sent or saved without their picture, each in the program log
};
// "Export Success" only when every record and picture went into the package; else the counts
// and what was left out. Failures name their reason when the operator can act on it.
QString exportText(const PackageCounts& counts);
// "Import Success", or "Import Failed" with the counts, what was left out and the reason.
QString importText(const PackageCounts& counts);

}  // namespace jobsummary

// The texts of the library page's result boxes that carry counts.
#pragma once

#include <QString>

namespace jobsummary {

// head + ":\n" and the lines "Total", "Success", "Failed", each ": " and its number.
QString counts(const QString& head, int total, int success);
// "uploading number[n], Success[m], Failed[k]".
QString upload(int images, int uploaded);

}  // namespace jobsummary

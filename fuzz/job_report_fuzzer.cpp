// A kept job report as the program reads it back: anything but a whole report is refused and
// leaves the caller's report as it was; a report accepted is written again and reads back with
// the same rows (texts may differ: a lone surrogate does not survive UTF-8).
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "reports/reportfiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
    reports::JobReport report;
    report.source = "untouched";
    if (!reports::fromJson(bytes, &report)) {
        if (report.source != "untouched" || !report.rows.isEmpty()) std::abort();
        return 0;
    }
    reports::JobReport again;
    if (!reports::fromJson(reports::toJson(report), &again)) std::abort();
    if (again.rows.size() != report.rows.size() || again.kind != report.kind) std::abort();
    for (int i = 0; i < report.rows.size(); ++i) {
        const reports::ReportRow& a = report.rows.at(i);
        const reports::ReportRow& b = again.rows.at(i);
        if (a.outcome != b.outcome || a.code != b.code) std::abort();
    }
    reports::toCsv(report);
    return 0;
}

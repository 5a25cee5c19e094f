// A job report of 50 cameras x 1,000 files: how long the report dialog takes to open (model
// filled, dialog shown and painted) and how long saving it as CSV and JSON takes. Each is run
// several times; the slowest run is held against the bound.
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "reports/reportfiles.h"
#include "ui/reports/reportdialog.h"

namespace {

constexpr int kCameras = 50;
constexpr int kFiles = 1000;
constexpr int kRuns = 5;
constexpr double kOpenBoundMs = 300;
constexpr double kSaveBoundMs = 1000;

reports::JobReport bigReport() {
    reports::JobReport report;
    report.kind = reports::JobKind::BatchUpload;
    report.started = QDateTime::currentDateTime();
    report.ended = report.started.addSecs(600);
    report.source = "/srv/pictures/site-a";
    report.rows.reserve(kCameras * kFiles);
    for (int camera = 0; camera < kCameras; ++camera) {
        reports::ReportRow row;
        row.camera = QString("10.0.%1.%2").arg(camera / 200).arg(camera % 200 + 2);
        row.library = "staff";
        row.libid = "7f0c9d5e-2b7a-4c11-9f5e-3a1d2c4b5e6f";
        for (int file = 0; file < kFiles; ++file) {
            row.file = QString("/srv/pictures/site-a/employee_%1, badge.jpg").arg(file, 5, 10,
                                                                                 QChar('0'));
            report.rows << (file % 50 == 7 ? reports::failedRow(row, 10028)
                                           : reports::storedRow(row));
        }
    }
    report.ended = QDateTime::currentDateTime();
    return report;
}

double openOnce(const reports::JobReport& report) {
    QElapsedTimer timer;
    timer.start();
    ReportDialog dialog;
    dialog.setReport(report);
    dialog.show();
    dialog.repaint();
    QApplication::processEvents();
    const double ms = timer.nsecsElapsed() / 1e6;
    dialog.close();
    return ms;
}

double saveOnce(const reports::JobReport& report, const QString& dir) {
    QElapsedTimer timer;
    timer.start();
    const bool ok = reports::writeFile(dir + "/report.csv", reports::toCsv(report)) &&
                    reports::writeFile(dir + "/report.json", reports::toJson(report));
    const double ms = timer.nsecsElapsed() / 1e6;
    return ok ? ms : -1;
}

double slowest(std::vector<double> runs) {
    return *std::max_element(runs.begin(), runs.end());
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const reports::JobReport report = bigReport();
    QTemporaryDir dir;
    std::vector<double> opens, saves;
    for (int run = 0; run < kRuns; ++run) {
        opens.push_back(openOnce(report));
        saves.push_back(saveOnce(report, dir.path()));
        if (saves.back() < 0) {
            std::printf("saving failed\n");
            return 1;
        }
    }
    const double open = slowest(opens), save = slowest(saves);
    std::printf("report of %d rows: open %.0f ms (bound %.0f), save CSV+JSON %.0f ms (bound %.0f)\n",
                kCameras * kFiles, open, kOpenBoundMs, save, kSaveBoundMs);
    std::printf("  first open %.0f ms, fastest save %.0f ms\n", opens.front(),
                *std::min_element(saves.begin(), saves.end()));
    return open <= kOpenBoundMs && save <= kSaveBoundMs ? 0 : 1;
}

// Job reports as files: CSV quoting of hostile file names, the JSON round trip, damaged files
// refused whole, and the store keeping the newest twenty.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "reports/reportfiles.h"
#include "reports/reportstore.h"

namespace {

reports::JobReport sample(const QString& file) {
    reports::JobReport report;
    report.kind = reports::JobKind::FolderUpload;
    report.started = QDateTime(QDate(2026, 12, 8), QTime(10, 0, 0, 250));
    report.ended = report.started.addSecs(90);
    report.source = "/pictures";
    reports::ReportRow row;
    row.camera = "127.0.0.2";
    row.library = "staff";
    row.libid = "id-1";
    row.file = file;
    report.rows << reports::storedRow(row) << reports::failedRow(row, 10028)
                << reports::skippedRow(row);
    return report;
}

}  // namespace

class ReportFilesTest : public QObject {
    Q_OBJECT

private slots:
    void csvQuotesAndJsonRoundTrip_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("csvField");
        QTest::newRow("plain") << "a.jpg" << QByteArray("a.jpg");
        QTest::newRow("comma") << "a,b.jpg" << QByteArray("\"a,b.jpg\"");
        QTest::newRow("quote") << "say \"hi\".jpg" << QByteArray("\"say \"\"hi\"\".jpg\"");
        QTest::newRow("newline") << "two\nlines.jpg" << QByteArray("\"two\nlines.jpg\"");
        QTest::newRow("formula") << "=cmd().jpg" << QByteArray("'=cmd().jpg");
        QTest::newRow("utf-8") << QString::fromUtf8("门卫 3.jpg") << QString::fromUtf8("门卫 3.jpg").toUtf8();
    }

    void csvQuotesAndJsonRoundTrip() {
        QFETCH(QString, file);
        QFETCH(QByteArray, csvField);
        const reports::JobReport report = sample(file);
        const QByteArray csv = reports::toCsv(report);
        QVERIFY(csv.startsWith("job,started,ended,camera,library,file,outcome,code,reason\r\n"));
        QCOMPARE(csv.count("\r\n"), 4);
        QVERIFY(csv.contains(",127.0.0.2,staff," + csvField + ",failed,19,Network error\r\n"));

        reports::JobReport read;
        QVERIFY(reports::fromJson(reports::toJson(report), &read));
        QCOMPARE(read.kind, report.kind);
        QCOMPARE(read.started, report.started);
        QCOMPARE(read.source, report.source);
        QCOMPARE(read.rows.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(read.rows[i].file, file);
            QCOMPARE(read.rows[i].outcome, report.rows[i].outcome);
            QCOMPARE(read.rows[i].reason, report.rows[i].reason);
        }
    }

    void damagedFilesAreRefusedAndTheStoreKeepsTwenty() {
        const QByteArray good = reports::toJson(sample("a.jpg"));
        const QList<QByteArray> damaged = {
            good.left(good.size() / 2),
            QByteArray(good).replace("\"stored\"", "\"lost\""),
            QByteArray(good).replace("\"code\":0", "\"code\":\"0\""),
            QByteArray(good).replace("folder-upload", "format-disk"),
            QByteArray(good).replace("\"rows\":[", "\"rows\":[7,"),
            QByteArray(good).replace("facekeeper-job-report", "other"),
            QByteArray("[]"),
            QByteArray(5000, '\xff'),
        };
        QTemporaryDir dir;
        for (int i = 0; i < damaged.size(); ++i) {
            reports::JobReport untouched = sample("keep.jpg");
            QVERIFY2(!reports::fromJson(damaged[i], &untouched), qPrintable(QString::number(i)));
            QCOMPARE(untouched.rows.first().file, QString("keep.jpg"));
        }

        // 22 saved, 20 kept, newest first; a damaged file among them is passed over.
        reports::JobReport report = sample("a.jpg");
        for (int i = 0; i < 22; ++i) {
            report.ended = report.started.addSecs(i);
            report.source = QString::number(i);
            QVERIFY(!reports::save(report, dir.path()).isEmpty());
        }
        const QStringList names = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
        QCOMPARE(names.size(), reports::kKeptReports);
        QFile newest(dir.filePath(names.last()));
        QVERIFY(newest.open(QIODevice::WriteOnly));
        newest.write(damaged.first());
        newest.close();
        const QVector<reports::StoredReport> kept = reports::loadAll(dir.path());
        QCOMPARE(kept.size(), reports::kKeptReports - 1);
        QCOMPARE(kept.first().report.source, QString("20"));
        QCOMPARE(kept.last().report.source, QString("2"));
    }
};

QTEST_GUILESS_MAIN(ReportFilesTest)
#include "report_files_test.moc"

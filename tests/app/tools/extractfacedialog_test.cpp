// The preprocessing window driven through its real widgets, over the real face-analysis library,
// on opencv-doc photographs and files made here. Message boxes are answered from a timer.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImageReader>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

#include "applog.h"
#include "dbutil/inputcheck.h"
#include "dbutil/jobcontrol.h"
#include "tools/extractfacedialog.h"
#include "tools/facecrop.h"

namespace {

const QString kSamples = QStringLiteral(OPENCV_SAMPLE_PICTURES);

struct Box {
    QString title;
    QString text;
};

QString summary(int total, int success) {
    return QStringLiteral("Preprocess finished\nTotal: %1\nSuccess: %2\nFailed: %3")
        .arg(total)
        .arg(success)
        .arg(total - success);
}

}  // namespace

class ExtractFaceDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void runCountsEveryFileAndKeepsClashingNames();
    void cropsPassTheUploadCheck_data();
    void cropsPassTheUploadCheck();
    void checksWarnInOrder_data();
    void checksWarnInOrder();
    void stopDuringARun_data();
    void stopDuringARun();
    void guiThreadStaysFreeDuringARun();
    void cancelAtRestClearsAndCloses();
    void chosenFoldersAreRemembered();

private:
    QString folder(const QString& name);
    void copySample(const QString& dir, const char* source, const QString& name);
    void start(const QString& input, const QString& output);
    QStringList written(const QString& dir) const;
    template <typename T>
    T* child(const char* name) {
        return dialog_->findChild<T*>(QString::fromLatin1(name));
    }

    QTemporaryDir work_;
    JobControl control_;
    ExtractFaceDialog* dialog_ = nullptr;
    QTimer answerer_;
    QList<Box> boxes_;
    // How the next folder dialog is answered; its title and starting folder are recorded.
    std::function<void(QFileDialog*)> chooseFolder_;
    QStringList folderDialogs_;
};

void ExtractFaceDialogTest::initTestCase() {
    QVERIFY(work_.isValid());
    QVERIFY(QFileInfo::exists(kSamples + "/messi5.jpg"));
    // The program works in its own folder, where the configuration is shipped.
    QVERIFY(QDir::setCurrent(QCoreApplication::applicationDirPath()));
    AppLog::instance().init(work_.filePath("log/").toStdString());
    // Every box is recorded and accepted, as an operator reading it would.
    connect(&answerer_, &QTimer::timeout, this, [this] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            boxes_.append({box->windowTitle(), box->text()});
            box->accept();
        } else if (auto* chooser = qobject_cast<QFileDialog*>(modal)) {
            folderDialogs_ << chooser->windowTitle() + " " + chooser->directory().absolutePath();
            chooseFolder_(chooser);
        }
    });
    answerer_.start(20);
}

void ExtractFaceDialogTest::init() {
    boxes_.clear();
    folderDialogs_.clear();
    control_.setClosing(false);
    control_.cancelAll(false);
    dialog_ = new ExtractFaceDialog;
    dialog_->show();
}

void ExtractFaceDialogTest::cleanup() {
    delete dialog_;
    dialog_ = nullptr;
    QCOMPARE(control_.tasks(), quint16(0));
}

QString ExtractFaceDialogTest::folder(const QString& name) {
    const QString path = work_.filePath(name);
    QDir().mkpath(path);
    return path;
}

void ExtractFaceDialogTest::copySample(const QString& dir, const char* source,
                                       const QString& name) {
    QVERIFY(QFile::copy(kSamples + QLatin1Char('/') + QLatin1String(source),
                        dir + QLatin1Char('/') + name));
}

void ExtractFaceDialogTest::start(const QString& input, const QString& output) {
    child<QLineEdit>("edit_input")->setText(input);
    child<QLineEdit>("edit_output")->setText(output);
    QTest::mouseClick(child<QPushButton>("btn_extract"), Qt::LeftButton);
}

QStringList ExtractFaceDialogTest::written(const QString& dir) const {
    return QDir(dir).entryList(QDir::Files, QDir::Name);
}

// Photographs with and without a face, a file that is no picture, and two pairs of names that
// end in the same output name: every file counted, no crop replaced by a later one.
void ExtractFaceDialogTest::runCountsEveryFileAndKeepsClashingNames() {
    const QString in = folder("mixed/in");
    const QString out = folder("mixed/out");
    copySample(in, "messi5.jpg", "messi5.jpg");
    copySample(in, "basketball1.png", "messi5.png");
    copySample(in, "fruits.jpg", "fruits.jpg");
    copySample(in, "basketball1.png", "portrait_of_the_team_left.png");
    copySample(in, "messi5.jpg", "portrait_of_the_team_right.jpg");
    QFile notes(in + "/notes.jpg");
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("not a picture\n");
    notes.close();

    start(in, out);
    QVERIFY(dialog_->running());
    QVERIFY(!child<QPushButton>("btn_extract")->isEnabled());
    QVERIFY(!child<QPushButton>("btn_input")->isEnabled());
    QVERIFY(!child<QPushButton>("btn_output")->isEnabled());
    QVERIFY(child<QProgressBar>("progressBar")->isVisible());
    QVERIFY(control_.tasks() & JobControl::PreprocessImage);
    QTRY_COMPARE_WITH_TIMEOUT(boxes_.size(), 1, 30000);

    QCOMPARE(boxes_[0].title, QStringLiteral("Info"));
    // The counts, then the failed files in the order they were met, each with its reason.
    QStringList lines = boxes_[0].text.split('\n');
    QCOMPARE(lines.mid(0, 4).join('\n'), summary(6, 4));
    lines = lines.mid(4);
    lines.sort();
    QCOMPARE(lines, (QStringList{"fruits.jpg: no face found", "notes.jpg: no face found"}));
    QCOMPARE(written(out), (QStringList{"messi5.jpg", "messi5_2.jpg", "portrait_of_the_team.jpg",
                                        "portrait_of_the_team_2.jpg"}));
    for (const QString& crop : written(out))
        QCOMPARE(checkImageFile(crop, out), 0);
    // Each pair holds two different crops: Messi's face and a basketball player's.
    for (const char* pair : {"messi5", "portrait_of_the_team"}) {
        const QString base = out + QLatin1Char('/') + QLatin1String(pair);
        QVERIFY(QImageReader(base + ".jpg").size() != QImageReader(base + "_2.jpg").size() ||
                QImage(base + ".jpg") != QImage(base + "_2.jpg"));
    }
    QVERIFY(!dialog_->running());
    QVERIFY(child<QPushButton>("btn_extract")->isEnabled());
    QVERIFY(child<QProgressBar>("progressBar")->isHidden());
    QCOMPARE(control_.tasks(), quint16(0));

    // A second run into the same folder replaces the first run's files, as before.
    boxes_.clear();
    start(in, out);
    QTRY_COMPARE_WITH_TIMEOUT(boxes_.size(), 1, 30000);
    QVERIFY(boxes_[0].text.startsWith(summary(6, 4) + "\n"));
    QCOMPARE(written(out).size(), 4);
}

// Crops too large for the upload check shrink in bytes, then in size, until they pass: noise
// compresses worst of all pictures.
void ExtractFaceDialogTest::cropsPassTheUploadCheck_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("noise");
    QTest::newRow("beyond 1920 x 1080, flat") << QSize(3000, 2000) << false;
    QTest::newRow("full size noise") << QSize(1920, 1080) << true;
    QTest::newRow("small noise") << QSize(400, 300) << true;
    QTest::newRow("a face under 100 pixels") << QSize(60, 80) << false;
}

void ExtractFaceDialogTest::cropsPassTheUploadCheck() {
    QFETCH(QSize, size);
    QFETCH(bool, noise);
    QImage crop(size, QImage::Format_RGB32);
    crop.fill(QColor(120, 90, 60));
    quint32 state = 12345;
    for (int y = 0; noise && y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            crop.setPixel(x, y, state >> 8);
        }
    const QByteArray bytes = uploadableJpeg(crop);
    const QString path = work_.filePath("crop.jpg");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
    file.close();
    QCOMPARE(checkImageFile(path, QString()), 0);
    // Only as much as needed is changed: a flat picture keeps the size nearest its own.
    if (!noise)
        QCOMPARE(QImageReader(path).size(),
                 size.width() > 1920 ? QSize(1620, 1080) : QSize(100, 133));
}

void ExtractFaceDialogTest::checksWarnInOrder_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("warning");
    const QString in = work_.filePath("checks/in");
    const QString out = work_.filePath("checks/out");
    const QString missing = work_.filePath("checks/missing");
    QTest::newRow("no input") << ""
                              << ""
                              << "Please select the input directory";
    QTest::newRow("missing input") << missing << out << "The input directory does not exist";
    QTest::newRow("no output") << in << ""
                               << "Please select the output directory";
    QTest::newRow("missing output") << in << missing << "The output directory does not exist";
    const QString same = "The output directory must differ from the input directory";
    QTest::newRow("same folder") << in << in << same;
    QTest::newRow("same folder, other spelling") << in << in + "/../in/." << same;
    QTest::newRow("same folder through a link") << in << work_.filePath("checks/link") << same;
}

void ExtractFaceDialogTest::checksWarnInOrder() {
    QFETCH(QString, input);
    QFETCH(QString, output);
    QFETCH(QString, warning);
    const QString in = folder("checks/in");
    folder("checks/out");
    QFile::link(in, work_.filePath("checks/link"));
    if (!QFileInfo::exists(in + "/messi5.jpg")) copySample(in, "messi5.jpg", "messi5.jpg");

    start(input, output);
    QTRY_COMPARE(boxes_.size(), 1);
    QCOMPARE(boxes_[0].title, QStringLiteral("Warning"));
    QCOMPARE(boxes_[0].text, warning);
    QVERIFY(!dialog_->running());
    QCOMPARE(written(in), QStringList{"messi5.jpg"});
    QCOMPARE(QFileInfo(in + "/messi5.jpg").size(), QFileInfo(kSamples + "/messi5.jpg").size());
}

void ExtractFaceDialogTest::stopDuringARun_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("summaryShown");
    QTest::newRow("Cancel") << "cancel" << true;
    QTest::newRow("window closed") << "close" << true;
    // The main window's exit guard: the program is going, so no box is left behind.
    QTest::newRow("program exit") << "exit" << false;
}

// Stopped mid-run: the current file ends, the rest stay unprocessed but count in the total.
void ExtractFaceDialogTest::stopDuringARun() {
    QFETCH(QString, how);
    QFETCH(bool, summaryShown);
    const int files = 40;
    const QString in = folder("stop_" + how + "/in");
    const QString out = folder("stop_" + how + "/out");
    for (int i = 0; i < files; ++i)
        copySample(in, "messi5.jpg", QStringLiteral("player%1.jpg").arg(i));

    start(in, out);
    QTRY_VERIFY(child<QProgressBar>("progressBar")->value() >= 1);
    if (how == "cancel") {
        QTest::mouseClick(child<QPushButton>("btn_cancel"), Qt::LeftButton);
        QVERIFY(dialog_->isVisible());  // Cancel during a run does not close
    } else if (how == "close") {
        dialog_->close();
    } else {
        control_.setClosing(true);
        control_.cancelAll(true);
    }
    QTRY_VERIFY_WITH_TIMEOUT(!dialog_->running(), 10000);
    QCOMPARE(control_.tasks(), quint16(0));
    const int success = written(out).size();
    QVERIFY2(success >= 1 && success < files, qPrintable(QString::number(success)));
    if (summaryShown) {
        QTRY_COMPARE(boxes_.size(), 1);
        QCOMPARE(boxes_[0].text, summary(files, success));
    } else {
        // The box would have been shown before the run counted as ended.
        QVERIFY(boxes_.isEmpty());
    }
    QVERIFY(child<QPushButton>("btn_extract")->isEnabled());
}

// A large photograph takes a while to analyse; a timer of the GUI thread keeps firing meanwhile,
// which a loop run on the GUI thread would prevent until the file was done.
void ExtractFaceDialogTest::guiThreadStaysFreeDuringARun() {
    const QString in = folder("large/in");
    const QString out = folder("large/out");
    const QImage messi(kSamples + "/messi5.jpg");
    const QImage large =
        messi.scaled(messi.size() * 8, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QVERIFY(large.save(in + "/team.jpg", "jpg", 95));

    int ticksDuringFile = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] {
        if (dialog_->running() && child<QProgressBar>("progressBar")->value() == 0)
            ++ticksDuringFile;
    });
    ticker.start(1);
    start(in, out);
    QTRY_COMPARE_WITH_TIMEOUT(boxes_.size(), 1, 30000);
    QVERIFY2(ticksDuringFile >= 3, qPrintable(QString::number(ticksDuringFile)));
    QCOMPARE(boxes_[0].text, summary(1, 1));
}

void ExtractFaceDialogTest::cancelAtRestClearsAndCloses() {
    child<QLineEdit>("edit_input")->setText("/somewhere");
    child<QLineEdit>("edit_output")->setText("/elsewhere");
    QVERIFY(child<QProgressBar>("progressBar")->isHidden());
    QTest::mouseClick(child<QPushButton>("btn_cancel"), Qt::LeftButton);
    QVERIFY(dialog_->isHidden());
    QVERIFY(child<QLineEdit>("edit_input")->text().isEmpty());
    QVERIFY(child<QLineEdit>("edit_output")->text().isEmpty());
    QVERIFY(boxes_.isEmpty());
}

// Each "Open" starts where it last chose, "." at first; cancelling changes nothing.
void ExtractFaceDialogTest::chosenFoldersAreRemembered() {
    const QString a = folder("open/a");
    const QString b = folder("open/b");
    const QString here = QDir::current().absolutePath();
    auto pick = [&](const char* button, const QString& choice) {
        chooseFolder_ = [choice](QFileDialog* chooser) {
            if (choice.isEmpty()) return chooser->reject();
            chooser->setDirectory(choice);
            static_cast<QDialog*>(chooser)->accept();  // public there, QFileDialog's own runs
        };
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    };
    pick("btn_input", a);
    pick("btn_input", QString());
    pick("btn_output", b);
    pick("btn_input", b);
    QCOMPARE(folderDialogs_, (QStringList{"Open Image Dir " + here, "Open Image Dir " + a,
                                          "Open Image Dir " + here, "Open Image Dir " + a}));
    QCOMPARE(QDir::cleanPath(child<QLineEdit>("edit_input")->text()), b);
    QCOMPARE(QDir::cleanPath(child<QLineEdit>("edit_output")->text()), b);
}

QTEST_MAIN(ExtractFaceDialogTest)
#include "extractfacedialog_test.moc"

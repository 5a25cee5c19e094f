// The face-crop window as the main window offers it: one modeless instance made on first use, and
// a run that the exit guard lists and stops when the operator confirms the exit.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "mainwindow.h"
#include "tools/extractfacedialog.h"
#include "ui/widgets/kitresources.h"

namespace {

void triggerPreprocess(MainWindow& window) {
    for (QAction* action : window.findChildren<QAction*>()) {
        if (action->text() == QStringLiteral("Preprocess image")) action->trigger();
    }
}

}  // namespace

class PreprocessActionTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        initKitResources();
        QVERIFY(QDir::setCurrent(QCoreApplication::applicationDirPath()));
        QVERIFY(work_.isValid());
    }

    void oneModelessWindowMadeOnFirstUse() {
        MainWindow window;
        window.show();
        QVERIFY(window.findChildren<ExtractFaceDialog*>().isEmpty());
        triggerPreprocess(window);
        const QList<ExtractFaceDialog*> made = window.findChildren<ExtractFaceDialog*>();
        QCOMPARE(made.size(), 1);
        ExtractFaceDialog* dialog = made.first();
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        dialog->findChild<QLineEdit*>("edit_input")->setText("/kept/folder");
        dialog->close();
        triggerPreprocess(window);
        QCOMPARE(window.findChildren<ExtractFaceDialog*>(), made);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->findChild<QLineEdit*>("edit_input")->text(),
                 QStringLiteral("/kept/folder"));
    }

    // Closing the main window during a run asks first, naming the run; on Ok the run stops after
    // its current file, the window closes and no summary box is left behind.
    void exitGuardStopsARun() {
        const QString in = work_.filePath("in");
        const QString out = work_.filePath("out");
        QVERIFY(QDir().mkpath(in) && QDir().mkpath(out));
        const int files = 40;
        for (int i = 0; i < files; ++i) {
            QVERIFY(QFile::copy(QStringLiteral(OPENCV_SAMPLE_PICTURES "/messi5.jpg"),
                                in + QStringLiteral("/face%1.jpg").arg(i)));
        }
        MainWindow window;
        window.show();
        triggerPreprocess(window);
        auto* dialog = window.findChild<ExtractFaceDialog*>();
        dialog->findChild<QLineEdit*>("edit_input")->setText(in);
        dialog->findChild<QLineEdit*>("edit_output")->setText(out);
        QTest::mouseClick(dialog->findChild<QPushButton*>("btn_extract"), Qt::LeftButton);
        QTRY_VERIFY(dialog->findChild<QProgressBar*>("progressBar")->value() >= 1);

        QStringList asked;
        QTimer answerer;
        connect(&answerer, &QTimer::timeout, this, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                asked << box->text();
                box->button(QMessageBox::Ok)->click();
            }
        });
        answerer.start(20);
        window.close();
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->running(), 10000);
        QVERIFY(!window.isVisible());
        QCOMPARE(asked.size(), 1);
        QVERIFY2(asked.first().contains("Preprocess Image"), qPrintable(asked.first()));
        const int written = QDir(out).entryList(QDir::Files).size();
        QVERIFY2(written >= 1 && written < files, qPrintable(QString::number(written)));
        QCoreApplication::processEvents();
        QCOMPARE(asked.size(), 1);
    }

private:
    QTemporaryDir work_;
};

QTEST_MAIN(PreprocessActionTest)
#include "preprocessaction_test.moc"

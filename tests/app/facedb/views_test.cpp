// The record table model, the library dialogs' input rules and the grid cell, without a camera.
#include <QBrush>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include "modalanswerer.h"
#include "ui/facedb/dbconfigviewmodel.h"
#include "ui/facedb/dbdialog.h"
#include "ui/facedb/imageitem.h"
#include "ui/facedb/imageitemwrap.h"
#include "ui/widgets/kitresources.h"

class ViewsTest : public QObject {
    Q_OBJECT

    static CheckedRecordPtr record(const QString& name, int status, QStringList ext = {}) {
        auto made = CheckedRecordPtr::create();
        made->info.name = name;
        made->info.status = status;
        made->info.url = "http://127.0.0.9:8089/images/" + name + ".jpg";
        if (!ext.isEmpty()) made->info.ext = ext;
        return made;
    }

private slots:
    void initTestCase() { initKitResources(); }

    void modelColumnsAndChecks() {
        DBConfigViewModel model;
        model.setRecords({record("ann", 0, {"a", "b", "c", "d", "e"}), record("bob", 1),
                          record("cy", 2), record("dee", 7)});
        QCOMPARE(model.columnCount(), 10);
        const QStringList headers = {"",
                                     "All",
                                     "Name",
                                     "User define 1",
                                     "User define 2",
                                     "User define 3",
                                     "User define 4",
                                     "User define 5",
                                     "Feature status",
                                     "Show Image"};
        for (int c = 0; c < headers.size(); ++c)
            QCOMPARE(model.headerData(c, Qt::Horizontal).toString(), headers[c]);
        QCOMPARE(model.headerData(10, Qt::Horizontal).toString(), QString("undefined"));
        QCOMPARE(model.headerData(2, Qt::Vertical).toString(), QString("3"));
        QCOMPARE(model.index(1, 1).data().toInt(), 2);
        QCOMPARE(model.index(0, 7).data().toString(), QString("e"));
        QCOMPARE(model.index(1, 7).data().toString(), QString(""));
        const QStringList status = {"NotExtract", "HasExtracted", "HasError", ""};
        for (int r = 0; r < status.size(); ++r)
            QCOMPARE(model.index(r, 8).data().toString(), status[r]);
        QCOMPARE(model.index(2, 9).data(Qt::UserRole).toString(),
                 QString("http://127.0.0.9:8089/images/cy.jpg"));
        QCOMPARE(model.index(0, 4).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));

        QSignalSpy checked(&model, &DBConfigViewModel::signalChecked);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QVERIFY(model.flags(model.index(0, 0)) & Qt::ItemIsUserCheckable);
        QVERIFY(model.setData(model.index(1, 0), Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(checked.takeFirst().at(0).toBool(), true);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(model.index(1, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QCOMPARE(model.index(1, 5).data(Qt::BackgroundRole).value<QBrush>().color(),
                 QColor("#F0F8FF"));
        QVERIFY(!model.index(0, 5).data(Qt::BackgroundRole).isValid());
        QCOMPARE(model.checkedRecords().first()->info.name, QString("bob"));
    }

    void libraryDialogRules() {
        ModalAnswerer answers;
        DbAddDialog add;
        add.show();
        auto* name = add.findChild<QLineEdit*>("input_name");
        auto* threshold = add.findChild<QSpinBox*>("spin_threshold");
        QTest::keyClicks(name, "abcdefghijklmnopq");
        QCOMPARE(name->text(), QString("abcdefghijklmnop"));
        name->clear();
        QTest::keyClicks(name, "a-b c");
        QCOMPARE(name->text(), QString("abc"));
        name->clear();
        QTest::mouseClick(add.findChild<QPushButton*>("btn_ok"), Qt::LeftButton);
        QCOMPARE(answers.texts, QStringList({"Db name is invalid"}));
        QCOMPARE(answers.titles, QStringList({"Failed"}));
        QVERIFY(add.isVisible());

        QApplication::setActiveWindow(&add);  // the box took it
        QVERIFY(QTest::qWaitForWindowActive(&add));
        threshold->setValue(50);
        threshold->setFocus();
        threshold->clear();
        name->setFocus();
        QCOMPARE(threshold->text(), QString("74"));

        QSignalSpy finished(&add, &DbDialog::signalFinshed);
        QTest::keyClicks(name, "hall");
        QTest::mouseClick(add.findChild<QPushButton*>("btn_ok"), Qt::LeftButton);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.at(0).at(0).value<SDBInfo>().name, QString("hall"));
        QVERIFY(name->text().isEmpty());

        DbEditDialog edit;
        edit.show();
        QApplication::setActiveWindow(&edit);
        QVERIFY(QTest::qWaitForWindowActive(&edit));
        SDBInfo loaded;
        loaded.libid = "lib-9";
        loaded.name = "gate";
        loaded.threshold = 61;
        edit.setLibrary(loaded);
        auto* editThreshold = edit.findChild<QSpinBox*>("spin_threshold");
        editThreshold->setFocus();
        editThreshold->clear();
        edit.findChild<QLineEdit*>("input_name")->setFocus();
        QCOMPARE(editThreshold->value(), 61);
        QSignalSpy edited(&edit, &DbDialog::signalFinshed);
        QTest::mouseClick(edit.findChild<QPushButton*>("btn_ok"), Qt::LeftButton);
        QCOMPARE(edited.at(0).at(0).value<SDBInfo>().libid, QString("lib-9"));
    }

    // A click on the picture toggles the box and the record's row mark.
    void gridCellToggles() {
        ImageItemWrap cell;
        CheckedRecordPtr shared = record("eve", 0);
        cell.setRecord(shared);
        cell.show();
        QSignalSpy checked(&cell, &ImageItemWrap::signalChecked);
        auto* picture = cell.findChild<QLabel*>("label_pixmap");
        QCOMPARE(picture->size(), QSize(150, 180));
        QCOMPARE(cell.item()->size(), QSize(150, 200));
        QTest::mouseClick(picture, Qt::LeftButton);
        QVERIFY(shared->checked);
        QVERIFY(cell.findChild<QCheckBox*>("check_box")->isChecked());
        QTest::mouseClick(picture, Qt::RightButton);
        QVERIFY(shared->checked);
        QTest::mouseClick(picture, Qt::LeftButton);
        QVERIFY(!shared->checked);
        QCOMPARE(checked.size(), 2);
    }
};

QTEST_MAIN(ViewsTest)
#include "views_test.moc"

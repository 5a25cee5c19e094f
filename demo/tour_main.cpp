// facekeeper_tour SHOTS_DIR: the desktop program started as its entry point starts it, then
// driven through its real widgets like an operator would: find the cameras on the LAN, add
// them, open the library of the first one, show a picture, export the library, run the
// face-crop tool. A screenshot of each step goes to SHOTS_DIR. Exit status 0 when every step
// happened. Run by scripts/demo inside its network namespace, next to the simulated cameras.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QMessageBox>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTimer>

#include <unistd.h>

#include <cstdio>

#include "mainwindow.h"
#include "startup.h"
#include "tourscript.h"
#include "ui/widgets/kitresources.h"
#include "widgetlookup.h"

namespace {

using lookup::named;

const char kUser[] = "admin";
const char kPassword[] = "admin123";
const int kCameras = 3;
const char kPackageName[] = "visitors.zip";
const char kPhotographs[] = "/usr/share/doc/opencv-doc/examples/data";
// Portraits and a few pictures without a face, so that the summary shows both outcomes.
const char* const kCropSamples[] = {"messi5.jpg",    "basketball1.png", "basketball2.png",
                                    "fruits.jpg",    "baboon.jpg",      "home.jpg",
                                    "aero1.jpg",     "apple.jpg",       "building.jpg",
                                    "butterfly.jpg", "orange.jpg",      "starry_night.jpg"};

// The samples copied into folder; the ones opencv-doc lacks are left out.
QString copyCropSamples(const QString& folder) {
    QDir().mkpath(folder);
    for (const char* name : kCropSamples)
        QFile::copy(QString(kPhotographs) + '/' + name, folder + '/' + name);
    return folder;
}

struct Tour {
    MainWindow* window;
    QString workDir;
    FILE* narration;

    QWidget* indexPage() const { return named<QWidget>(window, "index_page"); }
    QWidget* configPage() const { return named<QWidget>(window, "config_page"); }
    QStackedWidget* stack() const { return named<QStackedWidget>(window, "stackedWidget"); }
    QAbstractItemView* devices() const { return named<QAbstractItemView>(window, "deviceTable"); }

    QString packagePath() const { return workDir + '/' + kPackageName; }
    QFileDialog* fileDialog() const {
        return qobject_cast<QFileDialog*>(lookup::modal("QFileDialog"));
    }

    bool idle() const {
        QWidget* overlay = lookup::firstOfClass(window, "InteractionWaitingWidget");
        return !overlay || !overlay->isVisible();
    }

    // Every listed camera logged in ("Network Normal").
    bool camerasOnline() const {
        QAbstractItemView* view = devices();
        if (lookup::rows(view) != kCameras) return false;
        for (int row = 0; row < kCameras; ++row) {
            if (view->model()->index(row, 6).data(Qt::UserRole).toInt() != 0) return false;
        }
        return true;
    }

    void addSteps(TourScript& script);
    void addLibrarySteps(TourScript& script);
    void addFaceCropSteps(TourScript& script);
};

void Tour::addSteps(TourScript& script) {
    script.add(
        "the program starts with an empty device list",
        [this] { return window->isVisible() && idle(); },
        [this] { lookup::clickLater(named<QWidget>(indexPage(), "btn_find")); }, "start");
    script.add(
        "\"Find\" lists the three cameras its LAN search found",
        [] {
            QWidget* dialog = lookup::visibleWindow("DeviceSearchDialog");
            return lookup::rows(named<QListView>(dialog, "listView")) == kCameras;
        },
        [] {
            QWidget* dialog = lookup::visibleWindow("DeviceSearchDialog");
            named<QListView>(dialog, "listView")->selectAll();
            named<QLineEdit>(dialog, "edit_username")->setText(kUser);
            named<QLineEdit>(dialog, "edit_password")->setText(kPassword);
        });
    script.add(
        "the cameras are chosen and given their user name and password", [] { return true; },
        [] {
            QWidget* dialog = lookup::visibleWindow("DeviceSearchDialog");
            lookup::clickLater(named<QWidget>(dialog, "btn_ok"));
        },
        "search");
    script.add(
        "the three cameras are added and logged in", [this] { return idle() && camerasOnline(); },
        [this] {
            const QModelIndex first = devices()->model()->index(0, 8);
            QWidget* operation = devices()->indexWidget(first);
            lookup::clickLater(named<QWidget>(operation, "btn_config"));
        },
        "devices");
    addLibrarySteps(script);
    addFaceCropSteps(script);
    script.add(
        "back to the device list", [] { return true; },
        [this] { lookup::clickLater(named<QWidget>(configPage(), "btn_return")); });
    script.add(
        "the device list again", [this] { return stack()->currentIndex() == 0 && idle(); }, nullptr,
        "end");
}

void Tour::addLibrarySteps(TourScript& script) {
    script.add(
        "\"Config FDB\" opens the first camera's library, its pictures as a grid",
        [this] {
            return stack()->currentIndex() == 1 && idle() &&
                   lookup::visibleCount(configPage(), "ImageItem") > 0;
        },
        [this] { lookup::clickLater(named<QWidget>(configPage(), "btn_table_switch")); },
        "library");
    script.add(
        "the records as a table",
        [this] {
            auto* table = named<QAbstractItemView>(configPage(), "table_records");
            return table && table->isVisible() && lookup::rows(table) > 0 && idle();
        },
        [this] {
            auto* table = named<QAbstractItemView>(configPage(), "table_records");
            const QRect cell = table->visualRect(table->model()->index(0, 9));
            QTimer::singleShot(
                0, [table, cell] { lookup::clickAt(table->viewport(), cell.center()); });
        },
        "records");
    script.add(
        "\"Photo\" shows the first picture from the camera",
        [] { return lookup::visibleWindow("SimpleImageDialog") != nullptr; },
        [this] {
            lookup::visibleWindow("SimpleImageDialog")->close();
            lookup::clickLater(named<QWidget>(configPage(), "btn_export"));
        },
        "picture");
    script.add(
        "\"Export\" asks where to save the library",
        [] { return lookup::modal("QFileDialog") != nullptr; }, nullptr);
    // The folder is chosen and the name typed as an operator would, each again until the
    // dialog, which reads its folder in the background, holds them.
    script.add(
        "the package is named",
        [this] {
            QFileDialog* dialog = fileDialog();
            auto* name = named<QLineEdit>(dialog, "fileNameEdit");
            if (!name) return false;
            if (dialog->directory().absolutePath() != workDir) {
                dialog->setDirectory(workDir);
                return false;
            }
            if (name->text() != kPackageName) {
                name->setText(kPackageName);
                return false;
            }
            return dialog->selectedFiles().value(0) == packagePath();
        },
        [this] {
            std::fprintf(narration, "tour: saving to %s\n", qPrintable(packagePath()));
            static_cast<QDialog*>(fileDialog())->accept();  // public there, QFileDialog's own runs
        });
    script.add(
        "the library is saved to a package file",
        [this] {
            return lookup::modal("QMessageBox") != nullptr && QFileInfo(packagePath()).size() > 0;
        },
        [this] {
            const QFileInfo package(packagePath());
            std::fprintf(narration, "tour: the package holds %lld bytes\n", package.size());
            qobject_cast<QDialog*>(lookup::modal("QMessageBox"))->accept();
        },
        "exported");
}

void Tour::addFaceCropSteps(TourScript& script) {
    script.add(
        "the settings menu's \"Preprocess image\" opens the face-crop tool", [] { return true; },
        [this] {
            for (QAction* action : window->findChildren<QAction*>()) {
                if (action->text() == MainWindow::tr("Preprocess image")) action->trigger();
            }
        });
    script.add(
        "the face-crop tool runs over a few opencv-doc photographs",
        [] { return lookup::visibleWindow("ExtractFaceDialog") != nullptr; },
        [this] {
            QWidget* dialog = lookup::visibleWindow("ExtractFaceDialog");
            QDir().mkpath(workDir + "/crops");
            named<QLineEdit>(dialog, "edit_input")->setText(copyCropSamples(workDir + "/photos"));
            named<QLineEdit>(dialog, "edit_output")->setText(workDir + "/crops");
            lookup::clickLater(named<QWidget>(dialog, "btn_extract"));
        });
    script.add(
        "its progress while it runs on a worker thread",
        [] {
            QWidget* dialog = lookup::visibleWindow("ExtractFaceDialog");
            auto* bar = named<QProgressBar>(dialog, "progressBar");
            // A quick machine may finish the few photographs between two looks.
            return (bar && bar->isVisible() && bar->value() >= 10) ||
                   lookup::modal("QMessageBox") != nullptr;
        },
        nullptr, "facecrop");
    script.add(
        "its summary", [] { return lookup::modal("QMessageBox") != nullptr; },
        [] {
            qobject_cast<QDialog*>(lookup::modal("QMessageBox"))->accept();
            lookup::visibleWindow("ExtractFaceDialog")->close();
        },
        "facecrop-summary");
}

// The entry point's start, without the single-instance guard: the tour runs beside no other.
void startLikeTheProgram(QApplication& app) {
    startup::initSecurity();
    startup::registerMetaTypes();
    startup::enterWorkingDirectory(startup::stateDirectory(QCoreApplication::applicationDirPath()));
    startup::openProgramLog();
    initKitResources();
    startup::applyStyleSheet(app);
    startup::installTranslations(startup::programFile("translations"), QLocale(QLocale::English),
                                 &app);
}

// The program's own output goes to SHOTS_DIR/program.log; the returned stream, the original
// standard output, tells the steps.
FILE* divertProgramOutput(const QString& shotsDir) {
    FILE* narration = fdopen(::dup(STDOUT_FILENO), "w");
    const QByteArray log = (shotsDir + "/program.log").toLocal8Bit();
    if (!narration || !std::freopen(log.constData(), "w", stdout)) return stdout;
    ::dup2(STDOUT_FILENO, STDERR_FILENO);
    return narration;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2 || !QDir().mkpath(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "usage: facekeeper_tour SHOTS_DIR\n");
        return 2;
    }
    const QString shotsDir = QString::fromLocal8Bit(argv[1]);
    FILE* narration = divertProgramOutput(shotsDir);
    // The Qt file dialog, whatever desktop the variables describe, so the tour can fill it in.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    startLikeTheProgram(app);
    MainWindow window;
    window.resize(1280, 720);
    window.move(0, 0);
    window.show();

    Tour tour{&window, shotsDir, narration};  // the package and crops stay beside the shots
    TourScript script(shotsDir, 30000, narration);
    tour.addSteps(script);
    QObject::connect(&script, &TourScript::finished, &app, [&](bool completed) {
        if (!completed)
            std::fprintf(narration, "tour: stopped: %s (the program's output: %s/program.log)\n",
                         qPrintable(script.failure()), qPrintable(shotsDir));
        // A tour stopped half way may leave a job running: the exit question is answered too.
        auto* answer = new QTimer(&app);
        QObject::connect(answer, &QTimer::timeout, [] {
            if (auto* box = qobject_cast<QDialog*>(lookup::modal("QMessageBox"))) box->accept();
        });
        answer->start(100);
        window.close();
        app.exit(completed ? 0 : 1);
    });
    script.start();
    return app.exec();
}

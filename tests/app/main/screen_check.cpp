// Runs the real program on the X display of the test (a virtual one under xvfb-run) from a
// copy of its directory, photographs the screen once the title bar shows and checks the header
// colour and the title's text pixels. argv: program, screenshot path.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>

#include "instanceguard.h"
#include "startup.h"

namespace {

const QColor kHeader(0x0D, 0x23, 0x4C);
const QPoint kHeaderProbe(600, 12);  // the window opens at the screen's corner

bool copyTree(const QString& from, const QString& to) {
    const QDir source(from);
    if (!QDir().mkpath(to)) return false;
    for (const QFileInfo& entry :
         source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + "/" + entry.fileName();
        const bool ok = entry.isDir() ? copyTree(entry.filePath(), target)
                                      : QFile::copy(entry.filePath(), target);
        if (!ok) return false;
    }
    return true;
}

// Copies the program and what ships beside it (not its state) into dir.
bool stageProgram(const QString& program, const QString& dir) {
    const QFileInfo info(program);
    if (!QFile::copy(program, dir + "/" + info.fileName())) return false;
    for (const char* folder : {"translations", "models_bit8", "images"}) {
        const QString from = info.dir().filePath(folder);
        if (QFileInfo(from).isDir() && !copyTree(from, dir + "/" + folder)) return false;
    }
    return true;
}

// Bright pixels on the header left of the middle: the title (and the logo) drawn.
int lightPixels(const QImage& shot, int headerHeight) {
    int count = 0;
    for (int y = 0; y < headerHeight; ++y)
        for (int x = 0; x < shot.width() / 2; ++x)
            if (shot.pixelColor(x, y).lightness() > 200) ++count;
    return count;
}

int fail(const char* what) {
    std::fprintf(stderr, "FAIL: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) return 77;
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    if (argc < 3) return 2;
    QTemporaryDir dir;
    if (!dir.isValid() || !stageProgram(QString::fromLocal8Bit(argv[1]), dir.path()))
        return fail("program not staged");

    QProcess program;
    program.setWorkingDirectory(dir.path());
    program.setProgram(dir.path() + "/" + QFileInfo(QString::fromLocal8Bit(argv[1])).fileName());
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start();
    if (!program.waitForStarted(10000)) return fail("program did not start");

    QScreen* screen = QGuiApplication::primaryScreen();
    QImage shot;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 30000) {
        QThread::msleep(200);
        shot = screen->grabWindow(0).toImage();
        if (shot.pixelColor(kHeaderProbe) == kHeader && lightPixels(shot, 50) > 40) break;
    }
    shot.save(QString::fromLocal8Bit(argv[2]));
    program.kill();
    program.waitForFinished(10000);
    // The killed program's guard segment is cleared as the next start would.
    InstanceGuard cleanup(startup::kInstanceKey);

    if (shot.pixelColor(kHeaderProbe) != kHeader) return fail("header colour not on screen");
    if (lightPixels(shot, 50) <= 40) return fail("no title drawn on the header");
    if (!QFile::exists(dir.path() + "/log")) return fail("no program log beside the program");
    std::printf("header %s, title pixels %d\n", qPrintable(shot.pixelColor(kHeaderProbe).name()),
                lightPixels(shot, 50));
    return 0;
}

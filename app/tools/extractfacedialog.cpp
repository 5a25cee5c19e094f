#include "extractfacedialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "dbutil/jobcontrol.h"
#include "programfiles.h"
#include "tools/preprocessthread.h"
#include "ui_extractfacedialog.h"

namespace {

constexpr const char* kFaceConfig = "models_bit8/model_conf.json";

// Shipped with the program, which normally works in its own folder; when it keeps its files
// elsewhere (a folder it may not write, or an installed program) the configuration is still found.
QString faceConfigPath() {
    return QFileInfo::exists(kFaceConfig) ? QString(kFaceConfig)
                                          : programfiles::programFile(kFaceConfig);
}

}  // namespace

ExtractFaceDialog::ExtractFaceDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowCloseButtonHint), ui(new Ui::ExtractFaceDialog) {
    ui->setupUi(this);
    setFixedSize(469, 243);
    ui->progressBar->hide();
    worker_.initialize(faceConfigPath());
}

// The thread uses worker_, so it ends first; the wait lasts at most one file.
ExtractFaceDialog::~ExtractFaceDialog() {
    stopRun();
    delete run_;
    delete ui;
}

QString ExtractFaceDialog::chooseFolder(QString* lastFolder) {
    const QString folder = QFileDialog::getExistingDirectory(
        this, tr("Open Image Dir"), *lastFolder, QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty()) *lastFolder = folder;
    return folder;
}

void ExtractFaceDialog::on_btn_input_clicked() {
    const QString folder = chooseFolder(&lastInput_);
    if (!folder.isEmpty()) ui->edit_input->setText(folder);
}

void ExtractFaceDialog::on_btn_output_clicked() {
    const QString folder = chooseFolder(&lastOutput_);
    if (!folder.isEmpty()) ui->edit_output->setText(folder);
}

QString ExtractFaceDialog::checkFolders(const QString& input, const QString& output) const {
    if (input.isEmpty()) return tr("Please select the input directory");
    if (!QDir(input).exists()) return tr("The input directory does not exist");
    if (output.isEmpty()) return tr("Please select the output directory");
    if (!QDir(output).exists()) return tr("The output directory does not exist");
    // The crops would replace the photographs they were cut from.
    if (sameDirectory(input, output))
        return tr("The output directory must differ from the input directory");
    return QString();
}

void ExtractFaceDialog::on_btn_extract_clicked() {
    if (running()) return;
    const QString input = ui->edit_input->text();
    const QString output = ui->edit_output->text();
    const QString problem = checkFolders(input, output);
    if (!problem.isEmpty()) {
        QMessageBox::warning(this, tr("Warning"), problem);
        return;
    }
    run_ = new PreprocessThread(&worker_, input, output);
    connect(run_, &PreprocessThread::signalProgress, this, &ExtractFaceDialog::slotProgress);
    connect(run_, &QThread::finished, this, &ExtractFaceDialog::slotFinished);
    setRunning(true);
    run_->launch();
}

void ExtractFaceDialog::slotProgress(int processed, int total) {
    ui->progressBar->setRange(0, total);
    ui->progressBar->setValue(processed);
}

void ExtractFaceDialog::slotFinished() {
    const PreprocessCounts counts = run_->counts();
    run_->deleteLater();
    run_ = nullptr;
    setRunning(false);
    if (JobControl::exitRequested()) return;  // the program is going: no box left behind
    QMessageBox::information(this, tr("Info"), summary(counts));
}

QString ExtractFaceDialog::failureText(CropFailure reason) {
    switch (reason) {
        case CropFailure::NoFace:
            return tr("no face found");
        case CropFailure::TooLarge:
            return tr("too large to upload");
        case CropFailure::NotWritten:
            return tr("not written");
    }
    return {};
}

// The counts, then each failed file and why; a long list ends with how many more there are.
QString ExtractFaceDialog::summary(const PreprocessCounts& counts) {
    constexpr int kListed = 15;
    QString text = tr("Preprocess finished") + "\n" + tr("Total") + ": " +
                   QString::number(counts.total) + "\n" + tr("Success") + ": " +
                   QString::number(counts.success) + "\n" + tr("Failed") + ": " +
                   QString::number(counts.failed());
    for (int i = 0; i < counts.failures.size() && i < kListed; ++i)
        text += "\n" + counts.failures[i].file + ": " + failureText(counts.failures[i].reason);
    if (counts.failures.size() > kListed)
        text += "\n" + tr("and %1 more").arg(counts.failures.size() - kListed);
    return text;
}

// Running, the buttons that would start another run or change its folders are off. The
// buttons come back when the thread has ended, so a new run never meets the old one.
void ExtractFaceDialog::setRunning(bool on) {
    ui->btn_extract->setEnabled(!on);
    ui->btn_input->setEnabled(!on);
    ui->btn_output->setEnabled(!on);
    ui->progressBar->setRange(0, 1);
    ui->progressBar->setValue(0);
    ui->progressBar->setVisible(on);
}

void ExtractFaceDialog::stopRun() {
    if (run_) run_->requestStop();
}

void ExtractFaceDialog::on_btn_cancel_clicked() {
    if (running()) {
        stopRun();
        return;
    }
    ui->edit_input->clear();
    ui->edit_output->clear();
    close();
}

void ExtractFaceDialog::closeEvent(QCloseEvent* event) {
    stopRun();
    event->accept();
}

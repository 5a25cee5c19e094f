// The preprocessing tool's window: chooses an input and an output folder and runs the face crop
// over every file of the input on a worker thread, showing its progress and a summary.
#pragma once

#include <QDialog>
#include <QString>

#include "tools/facepreprocess.h"
#include "tools/vizorworker.h"

namespace Ui {
class ExtractFaceDialog;
}

class PreprocessThread;

class ExtractFaceDialog : public QDialog {
    Q_OBJECT
public:
    explicit ExtractFaceDialog(QWidget* parent = nullptr);
    ~ExtractFaceDialog() override;

    bool running() const { return run_ != nullptr; }

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void on_btn_input_clicked();
    void on_btn_output_clicked();
    void on_btn_extract_clicked();
    void on_btn_cancel_clicked();
    void slotProgress(int processed, int total);
    void slotFinished();

private:
    static QString failureText(CropFailure reason);
    static QString summary(const PreprocessCounts& counts);

    // The first failed check's warning text, or an empty text when the folders can be used.
    QString checkFolders(const QString& input, const QString& output) const;
    QString chooseFolder(QString* lastFolder);
    void setRunning(bool on);
    void stopRun();

    Ui::ExtractFaceDialog* ui;
    VizorWorker worker_;
    PreprocessThread* run_ = nullptr;
    QString lastInput_ = QStringLiteral(".");
    QString lastOutput_ = QStringLiteral(".");
};

// The face-analysis library behind the preprocessing tool: configures it once, finds the face
// of a picture file and cuts out the enlarged face region. Not reentrant: one user at a time.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QRect>
#include <QString>
#include <QTransform>

#include "vizor_win.h"

struct FaceResult {
    static constexpr int kUnreadable = -1;  // the file could not be read
    static constexpr int kNoResult = -2;    // the library handed back no result
    static constexpr int kFound = 0;        // other values: the library's error code

    QRect rect;
    int status = kUnreadable;
};

class VizorWorker : public QObject {
    Q_OBJECT
public:
    explicit VizorWorker(QObject* parent = nullptr);
    ~VizorWorker() override;

    // Creates and configures the library handle; failures are printed and logged only.
    void initialize(const QString& configPath);
    FaceResult extractFace(const QString& filePath);
    // The face region enlarged by 1.6, at most 1920 x 1080; null when nothing was produced.
    QImage extractFaceImage(const QString& filePath);

private:
    void releaseHandle();
    bool readFile(const QString& filePath);
    void analyse(FaceResult* result);

    NexoVizorHandle handle_ = nullptr;
    const QTransform cropTransform_ = QTransform::fromScale(1.6, 1.6);
    QByteArray buffer_;  // the file being analysed, replaced by every analysis
};

// Translated text of a library error code (context "QObject").
QString VizorErrorText(int code);

// The preprocessing run: every plain file of an input folder through the face crop, one JPEG per
// face found into an output folder. The dialog drives it and shows the counts.
#pragma once

#include <QFileInfo>
#include <QString>
#include <QVector>

#include <functional>

class VizorWorker;

// Why a file gave no crop.
enum class CropFailure {
    NoFace,      // no face found, or not a readable picture
    TooLarge,    // no quality or size within the upload limits was small enough
    NotWritten,  // the output file could not be written
};

struct FailedCrop {
    QString file;  // the input file's name
    CropFailure reason;
};

struct PreprocessCounts {
    int total = 0;  // every listed file, also those a stop left unprocessed
    int success = 0;
    QVector<FailedCrop> failures;  // the processed files that gave no crop, in order
    int failed() const { return total - success; }
};

// Called after each file with the number processed so far and the total.
using PreprocessProgress = std::function<void(int processed, int total)>;
// Asked before each file; true ends the run. The run also ends once the program is closing.
using PreprocessStop = std::function<bool()>;

// The output name of an input file without the ".jpg": its complete base name (inner dots kept)
// cut to its first 20 characters.
QString preprocessOutputBase(const QFileInfo& input);

// The folders must exist and differ; the caller checks them. Each crop is saved so that it passes
// the upload check (uploadableJpeg). A crop never replaces one written earlier in the same run:
// a clashing name gets a "_2", "_3", ... suffix.
PreprocessCounts preprocessDirectory(VizorWorker& worker, const QString& inputDir,
                                     const QString& outputDir, const PreprocessProgress& progress,
                                     const PreprocessStop& stop);

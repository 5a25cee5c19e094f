// Shows one picture of a camera at its own size, scaled down to fit 1800 x 950. The picture is
// fetched on the thread pool while the busy overlay turns.
#pragma once

#include <QDialog>

#include "dbutil/devicecontrol.h"
#include "dbutil/records.h"

namespace Ui {
class SimpleImageDialog;
}

class SimpleImageDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxWidth = 1800;
    static constexpr int kMaxHeight = 950;

    explicit SimpleImageDialog(QWidget* parent = nullptr);
    ~SimpleImageDialog() override;

    // Fetches the picture at url from the camera and shows it, or tells why it cannot.
    void showImage(const SDeviceInfo& device, const QString& url);
    // The size a picture is shown at: within 1800 x 950, aspect ratio kept.
    static QSize shownSize(const QSize& picture);

signals:
    // The fetch has ended, shown or not (for the page and for tests).
    void signalFetched(bool shown);

private:
    void showFetched(int result, const QByteArray& bytes);
    void fail(const QString& text);

    Ui::SimpleImageDialog* ui;
    DeviceControl control_;
    int fetch_ = 0;  // number of the latest fetch; older answers are dropped
};

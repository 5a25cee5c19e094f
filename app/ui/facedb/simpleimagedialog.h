// Shows one picture of a camera at its own size, scaled down to fit 1800 x 950. The picture is
// fetched on the thread pool while the busy overlay turns.
#pragma once

#include <QDialog>

#include "dbutil/devicecontrol.h"
#include "dbutil/records.h"
#include "ui/widgets/pagecall.h"

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
    // A fetch still out shows nothing when it answers (the page moved to another camera).
    void dropPending() { calls_.supersedeAll(); }
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
    PageCall calls_;  // a newer fetch drops the answer of the older
};

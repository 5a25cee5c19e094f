// The busy overlay: covers the content area while a long job runs and shows its progress. It
// follows JobControl::instance(): busy/idle, the overall bar and the per-item rows; its Cancel
// cancels everything, a row's Cancel only that item. While shown, the page underneath is
// disabled, so that neither Tab nor Space reaches its buttons.
#pragma once

#include <QFrame>
#include <QList>
#include <QPointer>
#include <memory>

class QMovie;
class ProgressWidget;

namespace Ui {
class InteractionWaitingWidget;
}

class InteractionWaitingWidget : public QFrame {
    Q_OBJECT
public:
    enum Mode { BarOnly = 0, Animation = 1, BarAndCancel = 2, ItemList = 3 };
    static constexpr int kListHeight = 120;
    static constexpr int kRowHeight = 40;
    static constexpr int kCancelBelowCentre = 60;

    // A child of contentArea that keeps itself sized to it; hidden until a job begins. It
    // connects to the JobControl that exists when it is made: make the job control first.
    explicit InteractionWaitingWidget(QWidget* contentArea);
    ~InteractionWaitingWidget() override;

    int mode() const { return mode_; }
    int barValue() const;
    ProgressWidget* progressWidget() const;

public slots:
    void slotBusy(int mode);
    void slotIdle();
    void slotOverallProgress(int percent);
    void slotOverallCount(int done, int total);
    void slotItemProgress(const QString& key, int percent, const QString& note);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private slots:
    void on_btn_cancel_clicked();
    void on_progressWidget_cancled(const QString& deviceIp);

private:
    void showMode(int mode);
    void setBarValue(int percent, const QString& format);
    void placeChildren();
    void blockPage();
    void unblockPage();
    bool isWindowOfPage(QObject* object) const;

    std::unique_ptr<Ui::InteractionWaitingWidget> ui_;
    QPointer<QWidget> contentArea_;
    QMovie* movie_;
    int mode_ = BarOnly;
    QList<QPointer<QWidget>> blocked_;  // what blockPage disabled, to enable again
};

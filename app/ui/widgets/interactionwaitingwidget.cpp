#include "interactionwaitingwidget.h"

#include <QApplication>
#include <QEvent>
#include <QMovie>

#include "dbutil/jobcontrol.h"
#include "ui_interactionwaitingwidget.h"

namespace {
const char* const kLoadingAnimation = ":/system/assets/images/system/ipc_loading.gif";
}  // namespace

InteractionWaitingWidget::InteractionWaitingWidget(QWidget* contentArea)
    : QFrame(contentArea),
      ui_(std::make_unique<Ui::InteractionWaitingWidget>()),
      contentArea_(contentArea),
      movie_(new QMovie(kLoadingAnimation, QByteArray(), this)) {
    ui_->setupUi(this);
    ui_->label_loading->setMovie(movie_);
    hide();
    if (contentArea) setGeometry(contentArea->rect());
    // One application-wide filter: it sees the content area's resizes and the page's windows.
    qApp->installEventFilter(this);
    if (JobControl* control = JobControl::instance()) {
        connect(control, &JobControl::signalBusy, this, &InteractionWaitingWidget::slotBusy);
        connect(control, &JobControl::signalIdle, this, &InteractionWaitingWidget::slotIdle);
        connect(control, &JobControl::signalOverallProgress, this,
                &InteractionWaitingWidget::slotOverallProgress);
        connect(control, &JobControl::signalOverallCount, this,
                &InteractionWaitingWidget::slotOverallCount);
        connect(control, &JobControl::signalItemProgress, this,
                &InteractionWaitingWidget::slotItemProgress);
    }
}

InteractionWaitingWidget::~InteractionWaitingWidget() {
    unblockPage();
}

int InteractionWaitingWidget::barValue() const {
    return ui_->progressBar->value();
}

ProgressWidget* InteractionWaitingWidget::progressWidget() const {
    return ui_->progressWidget;
}

// A begin-busy for the mode already shown joins the running job: its bar and rows stay.
void InteractionWaitingWidget::slotBusy(int mode) {
    const bool joining = !isHidden() && mode == mode_;
    if (!joining) showMode(mode);
    if (contentArea_) setGeometry(contentArea_->rect());
    show();
    raise();
    blockPage();
    setFocus(Qt::OtherFocusReason);
}

void InteractionWaitingWidget::slotIdle() {
    movie_->stop();
    hide();
    unblockPage();
}

void InteractionWaitingWidget::showMode(int mode) {
    mode_ = mode;
    const bool bar = mode == BarOnly || mode == BarAndCancel;
    ui_->progressBar->setVisible(bar);
    ui_->btn_cancel->setVisible(mode == BarAndCancel);
    ui_->label_loading->setVisible(mode == Animation);
    ui_->progressWidget->setVisible(mode == ItemList);
    if (bar) setBarValue(0, QStringLiteral("%p%"));
    if (mode == Animation)
        movie_->start();
    else
        movie_->stop();
    if (mode == ItemList) {
        ui_->progressWidget->clearRows();
        ui_->progressWidget->setFixedHeight(kListHeight);
    }
    placeChildren();
}

void InteractionWaitingWidget::slotOverallProgress(int percent) {
    setBarValue(percent, QStringLiteral("%p%"));
}

void InteractionWaitingWidget::slotOverallCount(int done, int total) {
    setBarValue(JobControl::overallPercent(done, total),
                QString::number(done) + QStringLiteral(" / ") + QString::number(total));
}

void InteractionWaitingWidget::setBarValue(int percent, const QString& format) {
    // A new value makes the bar paint itself at once, and the page under the see-through
    // overlay with it: a burst of queued progress would cost a whole paint per step. With
    // updates off around it the burst costs one paint, in the next frame.
    QProgressBar* bar = ui_->progressBar;
    bar->setUpdatesEnabled(false);
    bar->setFormat(format);
    bar->setValue(qBound(0, percent, 100));
    bar->setUpdatesEnabled(true);
}

void InteractionWaitingWidget::slotItemProgress(const QString& key, int percent,
                                                const QString& note) {
    ProgressWidget* list = ui_->progressWidget;
    list->updateRow(key, percent, note);
    list->setFixedHeight(qMin(list->rowCount() * kRowHeight, qMax(height(), kRowHeight)));
    placeChildren();
}

void InteractionWaitingWidget::placeChildren() {
    const QPoint centre(width() / 2, height() / 2);
    auto centreOn = [&centre](QWidget* child) {
        const QSize size = child->size();
        child->move(centre.x() - size.width() / 2, centre.y() - size.height() / 2);
    };
    if (movie_->frameRect().isValid()) ui_->label_loading->resize(movie_->frameRect().size());
    centreOn(ui_->label_loading);
    centreOn(ui_->progressBar);
    centreOn(ui_->progressWidget);
    QPushButton* cancel = ui_->btn_cancel;
    cancel->resize(cancel->sizeHint().expandedTo(QSize(80, 28)));
    cancel->move(centre.x() - cancel->width() / 2, centre.y() + kCancelBelowCentre);
}

void InteractionWaitingWidget::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    placeChildren();
}

// Tab cycles among the overlay's own controls instead of leaving for the page underneath.
bool InteractionWaitingWidget::focusNextPrevChild(bool next) {
    QList<QWidget*> chain;
    for (QWidget* child : findChildren<QWidget*>()) {
        if (child->isVisible() && child->isEnabled() && (child->focusPolicy() & Qt::TabFocus))
            chain.append(child);
    }
    if (chain.isEmpty()) {
        setFocus(Qt::TabFocusReason);
        return true;
    }
    const int count = chain.size();
    const int at = chain.indexOf(focusWidget());
    const int target = at < 0 ? (next ? 0 : count - 1) : (at + (next ? 1 : count - 1)) % count;
    chain.at(target)->setFocus(Qt::TabFocusReason);
    return true;
}

void InteractionWaitingWidget::blockPage() {
    if (!contentArea_ || !blocked_.isEmpty()) return;
    for (QObject* child : contentArea_->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget == this || widget->isWindow()) continue;
        if (widget->testAttribute(Qt::WA_ForceDisabled)) continue;  // stays as its owner set it
        widget->setEnabled(false);
        blocked_.append(widget);
    }
}

void InteractionWaitingWidget::unblockPage() {
    for (const QPointer<QWidget>& widget : blocked_) {
        if (widget) widget->setEnabled(true);
    }
    blocked_.clear();
}

// A dialog or message box of the page (a window whose parent lies in the content area).
bool InteractionWaitingWidget::isWindowOfPage(QObject* object) const {
    if (!object->isWidgetType() || !static_cast<QWidget*>(object)->isWindow()) return false;
    for (QWidget* up = static_cast<QWidget*>(object)->parentWidget(); up; up = up->parentWidget()) {
        if (up == contentArea_) return true;
    }
    return false;
}

// Windows inherit the disabled state of their parent: a box the page shows while the overlay
// is up must still take the operator's answer.
bool InteractionWaitingWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == contentArea_ && event->type() == QEvent::Resize)
        setGeometry(contentArea_->rect());
    else if (event->type() == QEvent::Show && !blocked_.isEmpty() && isWindowOfPage(watched))
        static_cast<QWidget*>(watched)->setEnabled(true);
    return false;
}

void InteractionWaitingWidget::on_btn_cancel_clicked() {
    if (JobControl* control = JobControl::instance()) control->cancelAll(true);
}

void InteractionWaitingWidget::on_progressWidget_cancled(const QString& deviceIp) {
    if (JobControl* control = JobControl::instance()) control->setCancelled(deviceIp, true);
}

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
    // One application-wide filter: it sees the content area's resizes and the page's keys.
    qApp->installEventFilter(this);
    if (JobControl* control = JobControl::instance()) {
        connect(control, &JobControl::signalBusy, this, &InteractionWaitingWidget::slotBusy);
        connect(control, &JobControl::signalIdle, this, &InteractionWaitingWidget::slotIdle);
        connect(control, &JobControl::signalOverallProgress, this,
                &InteractionWaitingWidget::slotOverallProgress);
        connect(control, &JobControl::signalItemProgress, this,
                &InteractionWaitingWidget::slotItemProgress);
    }
}

InteractionWaitingWidget::~InteractionWaitingWidget() = default;

int InteractionWaitingWidget::barValue() const {
    return ui_->progressBar->value();
}

ProgressWidget* InteractionWaitingWidget::progressWidget() const {
    return ui_->progressWidget;
}

// A begin-busy for the mode already shown joins the running job: its bar and rows stay.
void InteractionWaitingWidget::slotBusy(int mode) {
    const bool joining = isVisible() && mode == mode_;
    if (!joining) showMode(mode);
    if (contentArea_) setGeometry(contentArea_->rect());
    show();
    raise();
    setFocus(Qt::OtherFocusReason);
}

void InteractionWaitingWidget::slotIdle() {
    movie_->stop();
    hide();
}

void InteractionWaitingWidget::showMode(int mode) {
    mode_ = mode;
    const bool bar = mode == BarOnly || mode == BarAndCancel;
    ui_->progressBar->setVisible(bar);
    ui_->btn_cancel->setVisible(mode == BarAndCancel);
    ui_->label_loading->setVisible(mode == Animation);
    ui_->progressWidget->setVisible(mode == ItemList);
    if (bar) ui_->progressBar->setValue(0);
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
    ui_->progressBar->setValue(qBound(0, percent, 100));
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

bool InteractionWaitingWidget::isPageKey(QObject* receiver, QEvent* event) const {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
        break;
    default:
        return false;
    }
    // Shortcuts arrive at QShortcut/QAction objects: judge them by the widget they belong to.
    QObject* owner = receiver;
    while (owner && !owner->isWidgetType()) owner = owner->parent();
    auto* widget = static_cast<QWidget*>(owner);
    if (!widget || !contentArea_ || widget->window() != contentArea_->window()) return false;
    const bool inContent = widget == contentArea_ || contentArea_->isAncestorOf(widget);
    const bool inOverlay = widget == this || isAncestorOf(widget);
    return inContent && !inOverlay;
}

bool InteractionWaitingWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == contentArea_ && event->type() == QEvent::Resize) {
        setGeometry(contentArea_->rect());
        return false;
    }
    if (isVisible() && isPageKey(watched, event)) {
        event->accept();
        return true;
    }
    return false;
}

void InteractionWaitingWidget::on_btn_cancel_clicked() {
    if (JobControl* control = JobControl::instance()) control->cancelAll(true);
}

void InteractionWaitingWidget::on_progressWidget_cancled(const QString& deviceIp) {
    if (JobControl* control = JobControl::instance()) control->setCancelled(deviceIp, true);
}

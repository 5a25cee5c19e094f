#include "qshellframe.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWindow>

#include "qshellframe_p.h"

using namespace shellframe;

QShellFramePrivate::QShellFramePrivate(QShellFrame* owner) : q_ptr(owner) {}

HitArea QShellFramePrivate::areaAt(const QPoint& global) {
    Q_Q(QShellFrame);
    const bool inTitle = q->hitTopMenu(global.x(), global.y());
    if (q->isMaximized() || q->isFullScreen()) return inTitle ? HitCaption : HitClient;
    const Borders borders{leftBorder, rightBorder, bottomBorder, leftBorder};
    return hitTest(q->geometry(), global, inTitle, borders);
}

bool QShellFramePrivate::handleMouse(QMouseEvent* event) {
    const QPoint global = event->globalPos();
    switch (event->type()) {
        case QEvent::MouseMove:
            if (dragArea != HitClient) return continueDrag(global, event->buttons());
            if (event->buttons() == Qt::NoButton) showCursorFor(areaAt(global));
            return false;
        case QEvent::MouseButtonPress:
            if (event->button() != Qt::LeftButton) return false;
            return beginDrag(areaAt(global), global);
        case QEvent::MouseButtonRelease:
            if (dragArea == HitClient) return false;
            endDrag();
            return true;
        case QEvent::MouseButtonDblClick:
            if (event->button() != Qt::LeftButton || areaAt(global) != HitCaption) return false;
            toggleMaximized();
            return true;
        default:
            return false;
    }
}

// Resizing starts at once; moving waits for the pointer to travel, so that a double-click on
// the title still reaches us instead of the window manager's move.
bool QShellFramePrivate::beginDrag(HitArea area, const QPoint& global) {
    Q_Q(QShellFrame);
    if (area == HitClient) return false;
    QWindow* window = q->windowHandle();
    if (area != HitCaption && window && window->startSystemResize(edgesOf(area))) return true;
    dragArea = area;
    pressGlobal = global;
    pressGeometry = q->geometry();
    dragMoved = false;
    return true;
}

// Without a window manager that moves and resizes for us, the frame follows the pointer itself.
bool QShellFramePrivate::continueDrag(const QPoint& global, Qt::MouseButtons buttons) {
    Q_Q(QShellFrame);
    if (!(buttons & Qt::LeftButton)) {
        endDrag();
        return false;
    }
    const QPoint delta = global - pressGlobal;
    if (dragArea == HitCaption && !dragMoved) {
        if (delta.manhattanLength() < QApplication::startDragDistance()) return true;
        dragMoved = true;
        QWindow* window = q->windowHandle();
        if (window && window->startSystemMove()) {
            endDrag();
            return true;
        }
    }
    q->setGeometry(draggedGeometry(dragArea, pressGeometry, delta, q->minimumSize()));
    return true;
}

void QShellFramePrivate::showCursorFor(HitArea area) {
    Q_Q(QShellFrame);
    const Qt::CursorShape shape = cursorOf(area);
    if (shape != Qt::ArrowCursor) {
        q->setCursor(shape);
        cursorSet = true;
    } else if (cursorSet) {
        q->unsetCursor();
        cursorSet = false;
    }
}

void QShellFramePrivate::toggleMaximized() {
    Q_Q(QShellFrame);
    if (q->isMaximized())
        q->showNormal();
    else
        q->showMaximized();
}

void QShellFramePrivate::syncMargins() {
    Q_Q(QShellFrame);
    const int margin = (q->isMaximized() || q->isFullScreen()) ? 0 : 2;
    q->setContentsMargins(margin, margin, margin, margin);
}

#ifndef Q_OS_WIN
void QShellFramePrivate::applyNativeStyle() {}

bool QShellFramePrivate::nativeMessage(void*, long*) {
    return false;
}
#endif

QShellFrame::QShellFrame() : QWidget(nullptr), d_shell(new QShellFramePrivate(this)) {
    Q_D(QShellFrame);
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint);
    d->handle = winId();
    d->applyNativeStyle();
    setContentsMargins(0, 0, 0, 0);
    setMouseTracking(true);
    // Children cover the borders and the title: their presses must still move and resize.
    qApp->installEventFilter(this);
}

QShellFrame::~QShellFrame() = default;

bool QShellFrame::hitTopMenu(int, int) {
    return false;
}

bool QShellFrame::nativeEvent(const QByteArray& eventType, void* message, long* result) {
    Q_D(QShellFrame);
    if (d->nativeMessage(message, result)) return true;
    return QWidget::nativeEvent(eventType, message, result);
}

bool QShellFrame::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            break;
        default:
            return QWidget::eventFilter(watched, event);
    }
    if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != this)
        return QWidget::eventFilter(watched, event);
    Q_D(QShellFrame);
    return d->handleMouse(static_cast<QMouseEvent*>(event));
}

#ifndef Q_OS_WIN
void QShellFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) d_func()->syncMargins();
    QWidget::changeEvent(event);
}

void QShellFrame::showEvent(QShowEvent* event) {
    d_func()->syncMargins();
    QWidget::showEvent(event);
}
#else
// The native minimum-maximum message sets the margins there.
void QShellFrame::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
}

void QShellFrame::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
}
#endif

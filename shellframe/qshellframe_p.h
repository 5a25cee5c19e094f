// The private record of QShellFrame: the native handle, the resize borders and the state of a
// move or resize driven by the pointer.
#pragma once

#include <QPoint>
#include <QRect>
#include <QWidget>

#include "hittest.h"
#include "qshellframe.h"

class QMouseEvent;

class SHELLFRAME_EXPORT QShellFramePrivate {
    Q_DECLARE_PUBLIC(QShellFrame)

public:
    explicit QShellFramePrivate(QShellFrame* owner);

    WId handle = 0;
    qint32 leftBorder = 4;
    qint32 rightBorder = 4;
    qint32 bottomBorder = 4;
    qint32 topMargin = 40;
    QShellFrame* q_ptr;

    // The area under a screen point; edges do not resize a maximised window.
    shellframe::HitArea areaAt(const QPoint& global);
    // A mouse event of any widget of the window; true when it was the frame's and is eaten.
    bool handleMouse(QMouseEvent* event);
    // Contents margins: 2 around a restored window, none when maximised or full screen.
    void syncMargins();

    // Native window system: styles at construction and the native message handler.
    void applyNativeStyle();
    bool nativeMessage(void* message, long* result);

private:
    bool beginDrag(shellframe::HitArea area, const QPoint& global);
    bool continueDrag(const QPoint& global, Qt::MouseButtons buttons);
    void endDrag() { dragArea = shellframe::HitClient; }
    void showCursorFor(shellframe::HitArea area);
    void toggleMaximized();

    shellframe::HitArea dragArea = shellframe::HitClient;
    QPoint pressGlobal;
    QRect pressGeometry;
    bool dragMoved = false;
    bool cursorSet = false;
};

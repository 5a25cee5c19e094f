// The native window messages: the composition frame, the whole window as client area, the
// minimum tracking size and the hit test that makes the title area and the borders work.
#include "qshellframe_p.h"

#ifdef Q_OS_WIN
#include <QDebug>
#include <cstdlib>

#include <dwmapi.h>
#include <windows.h>
#include <windowsx.h>

using namespace shellframe;

namespace {

RECT frameAround(DWORD style) {
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    return frame;
}

}  // namespace

void QShellFramePrivate::applyNativeStyle() {
    HWND hwnd = reinterpret_cast<HWND>(handle);
    const LONG_PTR style = GetWindowLongPtr(hwnd, GWL_STYLE);
    SetWindowLongPtr(hwnd, GWL_STYLE, style | WS_CAPTION | WS_THICKFRAME | WS_MAXIMIZEBOX);
}

bool QShellFramePrivate::nativeMessage(void* message, long* result) {
    Q_Q(QShellFrame);
    MSG* msg = static_cast<MSG*>(message);
    BOOL enabled = FALSE;
    if (FAILED(DwmIsCompositionEnabled(&enabled))) {
        qDebug() << "HERE NO";
        *result = 0;
        return false;
    }
    LRESULT value = 0;
    bool handled = DwmDefWindowProc(msg->hwnd, msg->message, msg->wParam, msg->lParam, &value);
    switch (msg->message) {
        case WM_ACTIVATE: {
            const MARGINS margins{leftBorder, rightBorder, topMargin, bottomBorder};
            DwmExtendFrameIntoClientArea(msg->hwnd, &margins);
            value = 0;
            handled = true;
            break;
        }
        case WM_NCCALCSIZE:
            if (msg->wParam == TRUE) {
                value = 0;
                handled = true;
            }
            break;
        case WM_GETMINMAXINFO: {
            if (IsZoomed(msg->hwnd)) {
                const RECT frame = frameAround(WS_OVERLAPPEDWINDOW);
                q->setContentsMargins(std::abs(frame.left), std::abs(frame.bottom), frame.right,
                                      frame.bottom);
            } else {
                q->setContentsMargins(2, 2, 2, 2);
            }
            MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(msg->lParam);
            info->ptMinTrackSize.x = q->minimumWidth();
            info->ptMinTrackSize.y = q->minimumHeight();
            value = DefWindowProc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
            handled = true;
            break;
        }
        case WM_NCHITTEST: {
            if (value != 0) break;
            RECT rect;
            GetWindowRect(msg->hwnd, &rect);
            const RECT frame =
                frameAround(WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
            const int x = GET_X_LPARAM(msg->lParam);
            const int y = GET_Y_LPARAM(msg->lParam);
            const QRect window(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
            const Borders borders{leftBorder, rightBorder, bottomBorder, int(-frame.top)};
            value = hitTest(window, QPoint(x, y), q->hitTopMenu(x, y), borders);
            handled = value != 0;
            break;
        }
        default:
            break;
    }
    *result = long(value);
    return handled;
}
#endif

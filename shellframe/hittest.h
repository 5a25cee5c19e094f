// Where a point of a frameless window lies: title, resize edge or client area. Pure functions,
// shared by the native message handler and the window-manager driven move and resize.
#pragma once

#include <QCursor>
#include <QRect>

#include "shellframe_global.h"

namespace shellframe {

// The values are the native hit-test codes, so the native handler can return them unchanged.
enum HitArea {
    HitClient = 0,
    HitCaption = 2,
    HitLeft = 10,
    HitRight = 11,
    HitTop = 12,
    HitTopLeft = 13,
    HitTopRight = 14,
    HitBottom = 15,
    HitBottomLeft = 16,
    HitBottomRight = 17,
};

struct Borders {
    int left = 4;
    int right = 4;
    int bottom = 4;
    int top = 4;  // resize band at the top, effective only inside the title area
};

// window: the window's rectangle in screen coordinates; point: the pointer in the same;
// inTitle: whether the owner counts the point as title area (it alone moves the window).
SHELLFRAME_EXPORT HitArea hitTest(const QRect& window, const QPoint& point, bool inTitle,
                                  const Borders& borders);

// The window edges a resize from that area moves; none for the caption and the client area.
SHELLFRAME_EXPORT Qt::Edges edgesOf(HitArea area);
// The pointer shape over that area: a resize arrow on edges and corners, else the arrow.
SHELLFRAME_EXPORT Qt::CursorShape cursorOf(HitArea area);

// The geometry after dragging by delta from start: the caption moves the window, an edge area
// moves its edges, never below minimum (the opposite edges stay put).
SHELLFRAME_EXPORT QRect draggedGeometry(HitArea area, const QRect& start, const QPoint& delta,
                                        const QSize& minimum);

}  // namespace shellframe

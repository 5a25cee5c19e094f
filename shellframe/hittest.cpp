#include "hittest.h"

#include <QtGlobal>

namespace shellframe {

namespace {

// Rows: 0 title, 1 middle, 2 bottom edge. Columns: 0 left edge, 1 middle, 2 right edge.
const HitArea kAreas[3][3] = {
    {HitTopLeft, HitCaption, HitTopRight},
    {HitLeft, HitClient, HitRight},
    {HitBottomLeft, HitBottom, HitBottomRight},
};

// Rectangles here are native style: right and bottom exclusive.
int rightOf(const QRect& r) {
    return r.x() + r.width();
}
int bottomOf(const QRect& r) {
    return r.y() + r.height();
}

}  // namespace

HitArea hitTest(const QRect& window, const QPoint& point, bool inTitle, const Borders& borders) {
    const int x = point.x();
    const int y = point.y();
    int row = 1;
    bool onTopEdge = false;
    if (inTitle) {
        row = 0;
        onTopEdge = y < window.y() + borders.top;
    } else if (bottomOf(window) - borders.bottom <= y && y < bottomOf(window)) {
        row = 2;
    }
    int column = 1;
    if (window.x() <= x && x < window.x() + borders.left)
        column = 0;
    else if (rightOf(window) - borders.right <= x && x < rightOf(window))
        column = 2;

    if (row == 0 && column == 1) return onTopEdge ? HitTop : HitCaption;
    return kAreas[row][column];
}

Qt::Edges edgesOf(HitArea area) {
    switch (area) {
        case HitLeft:
            return Qt::LeftEdge;
        case HitRight:
            return Qt::RightEdge;
        case HitTop:
            return Qt::TopEdge;
        case HitBottom:
            return Qt::BottomEdge;
        case HitTopLeft:
            return Qt::TopEdge | Qt::LeftEdge;
        case HitTopRight:
            return Qt::TopEdge | Qt::RightEdge;
        case HitBottomLeft:
            return Qt::BottomEdge | Qt::LeftEdge;
        case HitBottomRight:
            return Qt::BottomEdge | Qt::RightEdge;
        case HitClient:
        case HitCaption:
            break;
    }
    return {};
}

Qt::CursorShape cursorOf(HitArea area) {
    switch (area) {
        case HitLeft:
        case HitRight:
            return Qt::SizeHorCursor;
        case HitTop:
        case HitBottom:
            return Qt::SizeVerCursor;
        case HitTopLeft:
        case HitBottomRight:
            return Qt::SizeFDiagCursor;
        case HitTopRight:
        case HitBottomLeft:
            return Qt::SizeBDiagCursor;
        case HitClient:
        case HitCaption:
            break;
    }
    return Qt::ArrowCursor;
}

QRect draggedGeometry(HitArea area, const QRect& start, const QPoint& delta, const QSize& minimum) {
    if (area == HitCaption) return start.translated(delta);
    const Qt::Edges edges = edgesOf(area);
    int left = start.x();
    int top = start.y();
    int right = rightOf(start);
    int bottom = bottomOf(start);
    if (edges & Qt::LeftEdge) left = qMin(left + delta.x(), right - minimum.width());
    if (edges & Qt::RightEdge) right = qMax(right + delta.x(), left + minimum.width());
    if (edges & Qt::TopEdge) top = qMin(top + delta.y(), bottom - minimum.height());
    if (edges & Qt::BottomEdge) bottom = qMax(bottom + delta.y(), top + minimum.height());
    return QRect(left, top, right - left, bottom - top);
}

}  // namespace shellframe

#include "widgetlookup.h"

#include <QAbstractButton>
#include <QMouseEvent>

namespace lookup {

QWidget* visibleWindow(const char* className) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->inherits(className)) return window;
    }
    return nullptr;
}

QWidget* firstOfClass(const QWidget* root, const char* className) {
    if (!root) return nullptr;
    for (QWidget* child : root->findChildren<QWidget*>()) {
        if (child->inherits(className)) return child;
    }
    return nullptr;
}

int visibleCount(const QWidget* root, const char* className) {
    if (!root) return 0;
    int count = 0;
    for (QWidget* child : root->findChildren<QWidget*>()) {
        if (child->inherits(className) && child->isVisible()) ++count;
    }
    return count;
}

QWidget* modal(const char* className) {
    QWidget* widget = QApplication::activeModalWidget();
    return widget && widget->inherits(className) ? widget : nullptr;
}

int rows(const QAbstractItemView* view) {
    return view && view->model() ? view->model()->rowCount() : 0;
}

void clickLater(QWidget* button) {
    QPointer<QAbstractButton> target = qobject_cast<QAbstractButton*>(button);
    QTimer::singleShot(0, [target] {
        if (target) target->click();
    });
}

void clickAt(QWidget* widget, const QPoint& point) {
    const QPoint global = widget->mapToGlobal(point);
    QMouseEvent press(QEvent::MouseButtonPress, point, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, point, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

}  // namespace lookup

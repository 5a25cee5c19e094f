// Finding the program's widgets the way an operator sees them: by object name, by kind, among
// the visible windows. Used by the guided tour, which knows the program only by its forms.
#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

namespace lookup {

// The visible top-level window of that class, or nullptr.
QWidget* visibleWindow(const char* className);

// The child of root with that object name and type, or nullptr.
template <typename T>
T* named(const QObject* root, const char* name) {
    return root ? root->findChild<T*>(QString::fromLatin1(name)) : nullptr;
}

// The first descendant of root of that class, or nullptr.
QWidget* firstOfClass(const QWidget* root, const char* className);
int visibleCount(const QWidget* root, const char* className);

// The modal dialog the operator has to answer, if it is of that class.
QWidget* modal(const char* className);

// Rows of a view's model (0 without one).
int rows(const QAbstractItemView* view);

// Presses a button from the event loop, so that a modal dialog it opens does not block the
// caller.
void clickLater(QWidget* button);

// A left click at a point of a widget, as press and release events.
void clickAt(QWidget* widget, const QPoint& point);

}  // namespace lookup

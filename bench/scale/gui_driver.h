// Drives the program's real widgets as an operator would: waits on conditions with the event
// loop running, finds widgets by object name and answers the modal boxes and file dialogs.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

class QAbstractButton;

namespace gui {

// Runs the event loop until condition() holds or timeoutMs pass; whether it held.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs);

// The descendant of root with that object name and type; fatal when there is none, since the
// run cannot go on without it.
template <typename T>
T* child(QObject* root, const QString& name) {
    T* found = root->findChild<T*>(name);
    if (!found) qFatal("no %s named \"%s\"", T::staticMetaObject.className(), qPrintable(name));
    return found;
}

void click(QAbstractButton* button);

// Answers every modal box with its accepting button (recording its text) and every file
// dialog with the next queued path, typed into its name field.
class ModalAnswerer : public QObject {
    Q_OBJECT
public:
    explicit ModalAnswerer(QObject* parent = nullptr);
    void queuePath(const QString& path) { paths_ << path; }
    // Texts of the boxes answered so far.
    const QStringList& texts() const { return texts_; }

private:
    void answer();

    QTimer timer_;
    QStringList paths_;
    QStringList texts_;
};

}  // namespace gui

// Answers every modal window that opens while it lives, from a timer: message boxes with the
// next queued answer (accept when none is queued), file dialogs with the next queued path
// (cancel when none). Keeps what the boxes said.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

class ModalAnswerer : public QObject {
public:
    ModalAnswerer() {
        connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::answer);
        timer_.start(20);
    }

    void queueAnswer(bool accept) { answers_.append(accept); }
    // The next box is answered with this button when it has one (before any queued answer).
    void queueButton(QMessageBox::StandardButton button) { buttons_.append(button); }
    void queuePath(const QString& path) { paths_.append(path); }
    QString lastText() const { return texts.value(texts.size() - 1); }

    QStringList texts;
    QStringList titles;

private:
    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) answerBox(box);
        if (auto* files = qobject_cast<QFileDialog*>(modal)) answerFiles(files);
    }

    void answerBox(QMessageBox* box) {
        texts.append(box->text());
        titles.append(box->windowTitle());
        if (!buttons_.isEmpty())
            if (QAbstractButton* button = box->button(buttons_.takeFirst())) return button->click();
        const bool accept = answers_.isEmpty() || answers_.takeFirst();
        const QList<QMessageBox::StandardButton> order =
            accept ? QList<QMessageBox::StandardButton>{QMessageBox::Ok, QMessageBox::Yes}
                   : QList<QMessageBox::StandardButton>{QMessageBox::Cancel, QMessageBox::No};
        for (QMessageBox::StandardButton kind : order)
            if (QAbstractButton* button = box->button(kind)) return button->click();
        box->close();
    }

    void answerFiles(QFileDialog* files) {
        const QString path = paths_.isEmpty() ? QString() : paths_.takeFirst();
        if (path.isEmpty()) return files->reject();
        // Typed like an operator would: selectFile() depends on the directory listing.
        auto* typed = files->findChild<QLineEdit*>("fileNameEdit");
        if (!typed) return files->reject();
        typed->setText(path);
        QMetaObject::invokeMethod(files, "accept");  // protected in QFileDialog
    }

    QTimer timer_;
    QList<bool> answers_;
    QList<QMessageBox::StandardButton> buttons_;
    QStringList paths_;
};

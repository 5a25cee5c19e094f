#include "gui_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace gui {

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    if (condition()) return true;
    QEventLoop loop;
    QElapsedTimer clock;
    clock.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (condition() || clock.elapsed() > timeoutMs) loop.quit();
    });
    poll.start(5);
    loop.exec();
    return condition();
}

void click(QAbstractButton* button) {
    if (!button->isEnabled()) qFatal("\"%s\" is disabled", qPrintable(button->objectName()));
    button->click();
}

ModalAnswerer::ModalAnswerer(QObject* parent) : QObject(parent) {
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::answer);
    timer_.start(20);
}

void ModalAnswerer::answer() {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        texts_ << box->text();
        for (auto kind : {QMessageBox::Ok, QMessageBox::Yes})
            if (QAbstractButton* button = box->button(kind)) return button->click();
        box->close();
    } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
        auto* typed = files->findChild<QLineEdit*>("fileNameEdit");
        if (paths_.isEmpty() || !typed) return files->reject();
        typed->setText(paths_.takeFirst());
        QMetaObject::invokeMethod(files, "accept");  // protected in QFileDialog
    }
}

}  // namespace gui

// Answers the next modal window of a GUI test from a timer, while the code under test waits in
// its own event loop: message boxes by button, file dialogs by path.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <functional>

namespace guitest {

class ModalAnswer : public QObject {
public:
    // handle is called with the first modal window it accepts (returns true); then stops.
    explicit ModalAnswer(std::function<bool(QWidget*)> handle) : handle_(std::move(handle)) {
        connect(&timer_, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && handle_(modal)) {
                done_ = true;
                timer_.stop();
            }
        });
        timer_.start(20);
    }
    bool done() const { return done_; }

private:
    std::function<bool(QWidget*)> handle_;
    QTimer timer_;
    bool done_ = false;
};

// The next message box: its title and text are kept, then button is pressed.
class BoxAnswer : public ModalAnswer {
public:
    explicit BoxAnswer(QMessageBox::StandardButton button = QMessageBox::Ok)
        : ModalAnswer([this, button](QWidget* modal) {
              auto* box = qobject_cast<QMessageBox*>(modal);
              if (!box || !box->isVisible()) return false;
              title = box->windowTitle();
              text = box->text();
              buttons = box->standardButtons();
              if (QAbstractButton* chosen = box->button(button))
                  chosen->click();
              else
                  box->done(button);
              return true;
          }) {}
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
};

// The summary box that ends a job: its text is kept, then "Details" is pressed.
class DetailsAnswer : public ModalAnswer {
public:
    DetailsAnswer()
        : ModalAnswer([this](QWidget* modal) {
              auto* box = qobject_cast<QMessageBox*>(modal);
              auto* details = box ? box->findChild<QAbstractButton*>("btn_details") : nullptr;
              if (!details) return false;
              text = box->text();
              details->click();
              return true;
          }) {}
    QString text;
};

// The next file dialog: the path is chosen (an empty path cancels).
class FileAnswer : public ModalAnswer {
public:
    explicit FileAnswer(const QString& path)
        : ModalAnswer([this, path](QWidget* modal) {
              auto* dialog = qobject_cast<QFileDialog*>(modal);
              if (!dialog || !dialog->isVisible()) return false;
              title = dialog->windowTitle();
              nameFilters = dialog->nameFilters();
              if (path.isEmpty()) {
                  dialog->reject();
                  return true;
              }
              dialog->selectFile(path);
              if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit")) name->setText(path);
              QMetaObject::invokeMethod(dialog, "accept");
              return true;
          }) {}
    QString title;
    QStringList nameFilters;
};

}  // namespace guitest

#include "driver.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <cstdio>

#include "fleet.h"

namespace monkey {
namespace {

const Qt::Key kKeys[] = {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Tab,      Qt::Key_Space,
                         Qt::Key_Down,   Qt::Key_Up,     Qt::Key_Backspace};

// Deep nesting (a click opening a box opening a dialog ...) only answers what is on top.
constexpr int kMaxDepth = 4;

bool usable(const QWidget* widget) {
    return widget->isVisible() && widget->isEnabled() && widget->width() > 0 &&
           widget->height() > 0;
}

// The window's own buttons would close, minimise or leave the camera side: not ours to press.
bool excluded(const QWidget* widget) {
    return widget->objectName().startsWith(QLatin1String("system__"));
}

}  // namespace

Driver::Driver(QWidget& window, Fleet& fleet, quint32 seed)
    : window_(window),
      fleet_(fleet),
      rng_(seed),
      tracing_(qEnvironmentVariableIsSet("MONKEY_TRACE")) {
    connect(&timer_, &QTimer::timeout, this, &Driver::act);
    timer_.start(40 + below(80));
}

void Driver::stop() {
    stopped_ = true;
    timer_.stop();
}

void Driver::act() {
    if (stopped_) return;
    timer_.setInterval(40 + below(80));
    ++events_;
    ++depth_;
    if (QWidget* popup = QApplication::activePopupWidget()) {
        QTest::keyClick(popup, below(3) == 0 ? Qt::Key_Escape : Qt::Key_Down);
        if (below(3) == 0) QTest::keyClick(popup, Qt::Key_Return);
    } else if (QWidget* modal = QApplication::activeModalWidget()) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            const QList<QAbstractButton*> buttons = box->buttons();
            if (!buttons.isEmpty()) {
                QAbstractButton* button = buttons.at(below(buttons.size()));
                trace(qPrintable("answer " + box->text().left(40).replace('\n', ' ') + " ->"),
                      button);
                button->click();
            }
        } else if (qobject_cast<QFileDialog*>(modal)) {
            answerFileDialog(modal);
        } else if (depth_ <= kMaxDepth) {
            actOn(modal);
        } else {
            modal->close();
        }
    } else if (depth_ <= kMaxDepth) {
        actOn(pickTopLevel());
    }
    --depth_;
}

QWidget* Driver::pickTopLevel() {
    QList<QWidget*> tops{&window_};
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top != &window_ && usable(top) && top->isWindow() && !qobject_cast<QMenu*>(top))
            tops << top;
    return tops.at(below(tops.size()));
}

void Driver::actOn(QWidget* top) {
    if (below(10) == 0) {
        pressKey(top);
        return;
    }
    // Buttons start the work; cells and fields mostly choose what it works on.
    QList<QWidget*> buttons, others;
    for (QWidget* child : top->findChildren<QWidget*>()) {
        if (!usable(child) || excluded(child)) continue;
        if (qobject_cast<QAbstractButton*>(child) || child->inherits("PlatButtonWidget"))
            buttons << child;
        else if (qobject_cast<QLineEdit*>(child) || qobject_cast<QComboBox*>(child) ||
                 qobject_cast<QAbstractItemView*>(child))
            others << child;
    }
    const QList<QWidget*>& targets =
        (below(3) != 0 && !buttons.isEmpty()) || others.isEmpty() ? buttons : others;
    if (targets.isEmpty()) return;
    QWidget* target = pickByName(targets);
    if (auto* view = qobject_cast<QAbstractItemView*>(target)) {
        QWidget* area = view->viewport();
        QPoint local(below(qMax(1, area->width())), below(qMax(1, area->height())));
        // Half the time on a cell's left edge, where its check box is.
        const QModelIndex cell = view->indexAt(local);
        if (cell.isValid() && below(2) == 0)
            local = QPoint(view->visualRect(cell).left() + 10, view->visualRect(cell).center().y());
        clickAt(top, area->mapToGlobal(local), below(4) == 0);
    } else if (qobject_cast<QLineEdit*>(target) && below(2) == 0) {
        clickAt(top, target->mapToGlobal(target->rect().center()), false);
        if (QApplication::focusWidget() == target) typeInto(target);
    } else {
        clickAt(top, target->mapToGlobal(target->rect().center()), false);
    }
}

// A name first, then one of the widgets of that name: the buttons of many table rows must not
// crowd out the page's own buttons (the batch jobs, Return).
QWidget* Driver::pickByName(const QList<QWidget*>& widgets) {
    QMap<QString, QList<QWidget*>> byName;
    for (QWidget* widget : widgets)
        byName[widget->objectName()] << widget;
    const QList<QWidget*>& named = (byName.begin() + below(byName.size())).value();
    return named.at(below(named.size()));
}

// The click goes to the widget really under the point: an overlay or another window in front
// takes it, as it would take an operator's.
void Driver::clickAt(QWidget* top, const QPoint& global, bool twice) {
    QWidget* hit = top->childAt(top->mapFromGlobal(global));
    if (!hit) hit = top;
    if (excluded(hit)) return;
    trace(twice ? "double-click" : "click", hit);
    const QPoint local = hit->mapFromGlobal(global);
    QPointer<QWidget> guard(hit);
    if (twice)
        QTest::mouseDClick(hit, Qt::LeftButton, {}, local);
    else
        QTest::mouseClick(hit, Qt::LeftButton, {}, local);
    Q_UNUSED(guard);
}

void Driver::trace(const char* action, const QWidget* target) const {
    if (!tracing_) return;
    const QWidget* named = target;
    while (named && named->objectName().isEmpty())
        named = named->parentWidget();
    std::printf("monkey: %lld %s %s (%s in %s)\n", events_, action,
                target->metaObject()->className(), named ? qPrintable(named->objectName()) : "-",
                target->window()->metaObject()->className());
    std::fflush(stdout);
}

void Driver::typeInto(QWidget* edit) {
    auto* line = qobject_cast<QLineEdit*>(edit);
    if (below(2) == 0) line->clear();
    const QStringList& words = fleet_.words();
    QString text = words.at(below(words.size()));
    if (below(5) == 0) text += QString::number(below(1000));
    QTest::keyClicks(line, text);
    if (below(3) == 0) QTest::keyClick(line, Qt::Key_Return);
}

void Driver::pressKey(QWidget* top) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus || focus->window() != top) focus = top;
    QTest::keyClick(focus, kKeys[below(int(std::size(kKeys)))]);
}

// A folder for folder choices, the package or junk for opening, a fresh name for saving; or
// Cancel.
void Driver::answerFileDialog(QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    trace("file dialog", dialog);
    if (below(5) == 0) {
        dialog->reject();
        return;
    }
    QString path;
    if (dialog->fileMode() == QFileDialog::Directory)
        path = fleet_.pictureDir();
    else if (dialog->acceptMode() == QFileDialog::AcceptSave)
        path = QDir::currentPath() + QString("/export%1.zip").arg(events_);
    else
        path = below(4) == 0 ? fleet_.junkFile() : fleet_.packageFile();
    dialog->selectFile(path);
    if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit")) name->setText(path);
    QMetaObject::invokeMethod(dialog, "accept");
}

}  // namespace monkey

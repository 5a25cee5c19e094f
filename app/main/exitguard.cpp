#include "exitguard.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDebug>
#include <QEventLoop>
#include <QMessageBox>
#include <QTimer>

#include "dbutil/exitgrace.h"
#include "dbutil/jobcontrol.h"

namespace exitguard {

QString question(quint16 tasks) {
    QString text =
        QCoreApplication::translate("MainWindow", "The following tasks are being executed") + ":\n";
    for (const QString& name : JobControl::taskNames(tasks))
        text += name + " \n";
    return text + QCoreApplication::translate("MainWindow", "Exit anyhow") + "?";
}

bool confirm(QWidget* parent, quint16 tasks) {
    const auto answer =
        QMessageBox::information(parent, QCoreApplication::translate("MainWindow", "Information"),
                                 question(tasks), QMessageBox::Ok | QMessageBox::Cancel);
    return answer == QMessageBox::Ok;
}

bool stopAndWait(JobControl& jobs, int timeoutMs) {
    jobs.setClosing(true);
    jobs.cancelAll(true);
    const QDeadlineTimer deadline(timeoutMs);
    QEventLoop loop;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (!jobs.anyTaskRunning() || deadline.hasExpired()) loop.quit();
    });
    tick.start(kTickMs);
    if (jobs.anyTaskRunning()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    const bool stopped = !jobs.anyTaskRunning();
    exitgrace::begin();
    if (stopped)
        qDebug("All tasks are stopped, exit now");
    else
        qWarning("Tasks still running after the wait; the program ends without them");
    return stopped;
}

}  // namespace exitguard

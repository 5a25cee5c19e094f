// A top-level window without the system's title bar and border that still moves, resizes and
// maximises like a native one. A subclass tells where its own title area lies (hitTopMenu);
// only that area moves the window.
#pragma once

#include <QScopedPointer>
#include <QWidget>

#include "shellframe_global.h"

class QShellFramePrivate;

class SHELLFRAME_EXPORT QShellFrame : public QWidget {
    Q_OBJECT

public:
    Q_DECLARE_PRIVATE_D(d_shell, QShellFrame)
    QShellFrame();
    ~QShellFrame() override;

protected:
    bool nativeEvent(const QByteArray& eventType, void* message, long* result) override;
    // x, y: the pointer in screen coordinates. True when the point lies in the title area that
    // moves the window; the base has none, so it cannot be moved.
    virtual bool hitTopMenu(int x, int y);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QScopedPointer<QShellFramePrivate> d_shell;
};

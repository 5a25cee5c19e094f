#include "kitresources.h"

#include <QFile>

// Q_INIT_RESOURCE must be used outside any namespace.
static void registerKitResources() {
    Q_INIT_RESOURCE(kit_pictures);
    Q_INIT_RESOURCE(kit_style);
}

void initKitResources() {
    static const bool registered = (registerKitResources(), true);
    Q_UNUSED(registered);
}

QString kitStyleSheet() {
    initKitResources();
    QFile file(":/qss/assets/style.qss");
    if (!file.open(QIODevice::ReadOnly)) return QString();
    return QString::fromUtf8(file.readAll());
}

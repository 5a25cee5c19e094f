// Saves the device store again and again, alternating a short and a long list, until killed.
// The crash test kills it at random moments and checks what the file holds.
#include <QCoreApplication>
#include <cstdio>

#include "dbutil/deviceinfofactory.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) return 2;
    DeviceInfoFactory store(QString::fromLocal8Bit(argv[1]));
    for (int i = 0; i < 300; ++i)
        store.add(
            SDeviceInfo(QString("10.1.%1.%2").arg(i / 250).arg(1 + i % 250), "admin", "password"));
    std::printf("ready\n");
    std::fflush(stdout);
    for (int round = 0;; ++round) {
        // 300 devices, then 2: the file must always hold one whole list.
        while (store.count() > (round % 2 ? 300 : 2))
            store.remove(store.list().last().ip);
        for (int i = store.count(); i < (round % 2 ? 300 : 2); ++i)
            store.add(SDeviceInfo(QString("10.1.%1.%2").arg(i / 250).arg(1 + i % 250), "admin",
                                  "password"));
        if (!store.save()) return 1;
    }
}

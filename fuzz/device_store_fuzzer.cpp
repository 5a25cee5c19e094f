// "kestrel.data" as the device store loads it: a damaged file gives an empty list, never a
// partial one, and no count in it makes the loader reserve beyond the data.
#include <QBuffer>
#include <QDataStream>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "dbutil/deviceinfofactory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QDataStream in(&buffer);
    QVector<SDeviceInfo> devices;
    const bool ok = DeviceInfoFactory::readDevices(in, devices);
    if (!ok && !devices.isEmpty()) std::abort();
    for (const SDeviceInfo& device : devices) {
        if (device.status != 1) std::abort();  // every loaded device waits for its refresh
    }
    return 0;
}

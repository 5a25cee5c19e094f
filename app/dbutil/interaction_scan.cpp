// The LAN search as the program sees it: supported cameras' addresses in numeric order.
#include <camlink.h>

#include <QDebug>
#include <QVector>
#include <algorithm>

#include "interaction.h"
#include "interaction_args.h"

namespace {
constexpr int kSearchMs = 5000;
}

QStringList sortAddresses(const QStringList& addresses) {
    QVector<quint32> numbers;
    numbers.reserve(addresses.size());
    for (const QString& text : addresses) {
        const QStringList parts = text.split(QLatin1Char('.'));
        if (parts.size() < 4) continue;
        quint32 value = 0;
        for (int i = 0; i < 4; ++i)
            value += (parts[i].toUInt() & 0xFF) << (24 - 8 * i);
        numbers.append(value);
    }
    std::sort(numbers.begin(), numbers.end());
    QStringList sorted;
    sorted.reserve(numbers.size());
    for (quint32 n : numbers)
        sorted.append(QStringLiteral("%1.%2.%3.%4")
                          .arg(n >> 24)
                          .arg((n >> 16) & 0xFF)
                          .arg((n >> 8) & 0xFF)
                          .arg(n & 0xFF));
    return sorted;
}

void Interaction::scan(QStringList* out, const ScanCallback& progress) {
    if (!out) return;
    const vcam_search_area_v2* area = vcam_scan_v2(kSearchMs);
    if (!area) return;
    int count = area->count;
    if (count > MAX_DEVICE_NUMBER) {
        qWarning("vcam_scan may be error, device_number greater than MAX_DEVICE_NUMBER");
        count = MAX_DEVICE_NUMBER;
    }
    QStringList found;
    found.reserve(std::max(count, 0));
    for (int i = 0; i < count; ++i) {
        if (progress && progress(i + 1, count)) break;
        const vcam_search_record_v2& record = area->records[i];
        if (isSupportedVersion(args::fieldText(record.firmware_version)))
            found.append(args::fieldText(record.ip_address));
    }
    *out = sortAddresses(found);
}

// "package.dat" as the import reads it: nothing it announces may make the reader allocate
// beyond the data, and every picture path it accepts stays inside the package.
#include <QBuffer>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "dbutil/packagefile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<int>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    package::Contents contents;
    if (package::read(buffer, contents) != package::ReadStatus::Ok) return 0;
    if (contents.records.size() != contents.header.imgnum) std::abort();
    package::resolvePicturePaths(contents.records, "/work/root");
    for (const SFeatrueInfoPtr& record : contents.records) {
        if (!record->path.isEmpty() && !record->path.startsWith("/work/root/")) std::abort();
        if (record->path.contains("/../")) std::abort();
    }
    return 0;
}

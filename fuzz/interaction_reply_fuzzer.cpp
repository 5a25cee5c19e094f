// Camera replies as the application reads them: the head of every reply, then each shape of
// data a member expects (library, library list, image, image page, new ids) and the details
// of a refused login.
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "dbutil/interaction_reply.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<int>(size));
    const reply::Head head = reply::readHead(text.constData());
    reply::callResult(0, head);

    SDBInfo db;
    reply::readLibrary(head.data, &db);
    reply::readLibraryId(head.data, &db);
    QVector<SDBInfo> dbs;
    reply::readLibraryList(head.data, &dbs);
    check(dbs.size() <= SDeviceInfo::kMaxLibraries);

    SFeatrueInfo image;
    reply::readImageId(head.data, &image);
    reply::readImage(head.data.toObject(), &image);
    check(image.ext.size() == SFeatrueInfo::kExtCount);
    SPageInfo page;
    SFeatrueList records;
    reply::readImagePage(head.data, &page, &records);
    for (const SFeatrueInfoPtr& record : records)
        check(record->ext.size() == 5);

    reply::readLoginLeft(403, text.constData());
    reply::readLoginLeft(423, text.constData());
    return 0;
}

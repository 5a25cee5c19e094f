#include "interaction_args.h"

namespace args {

void putBytes(char* field, size_t width, const QByteArray& bytes) {
    if (width == 0) return;
    size_t length = std::min(static_cast<size_t>(bytes.size()), width - 1);
    // Step back over continuation bytes so that a cut never splits a character.
    if (length < static_cast<size_t>(bytes.size())) {
        while (length > 0 && (static_cast<unsigned char>(bytes[int(length)]) & 0xC0) == 0x80)
            --length;
    }
    std::memcpy(field, bytes.constData(), length);
    std::memset(field + length, 0, width - length);
}

}  // namespace args

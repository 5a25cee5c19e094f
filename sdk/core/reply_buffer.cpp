#include "core/reply_buffer.h"

#include <cstring>

namespace camlink {

char* ReplyBuffer::store(const char* data, size_t size, bool text) {
    const size_t needed = size + (text ? 1 : 0);
    if (needed > capacity_) {
        data_.reset();  // free first, then allocate exactly what is needed
        capacity_ = 0;
        data_.reset(new char[needed]);
        capacity_ = needed;
    }
    if (size > 0) std::memcpy(data_.get(), data, size);
    if (text) data_[size] = '\0';
    return data_.get();
}

}  // namespace camlink

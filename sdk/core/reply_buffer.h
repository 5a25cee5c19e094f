// The session's growable reply buffer: texts handed back by calls live here until the next
// call on the same session. It grows to exactly the size needed and never shrinks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace camlink {

class ReplyBuffer {
public:
    // Copies the bytes (and a terminating NUL when `text`) and returns where they now lie.
    // Throws std::bad_alloc when the buffer cannot grow.
    char* store(const char* data, size_t size, bool text);
    size_t capacity() const { return capacity_; }

private:
    std::unique_ptr<char[]> data_;
    size_t capacity_ = 0;
};

}  // namespace camlink

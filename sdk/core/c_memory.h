// Memory from the C allocator, owned: the search areas (calloc'd, so untouched pages cost
// nothing) and the download's receive buffer.
#pragma once

#include <cstdlib>

namespace camlink {

struct FreeMemory {
    void operator()(void* memory) const { std::free(memory); }
};

}  // namespace camlink

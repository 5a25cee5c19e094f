#include "security.h"

namespace Security {

bool init(int mode) {
    return mode == Base64;
}

}  // namespace Security

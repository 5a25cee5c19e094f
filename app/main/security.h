// The encoding of the credentials the device store keeps.
#pragma once

namespace Security {

enum Mode { Base64 = 1 };

// Selects the encoding. Base64 needs no key, so only an unknown mode fails.
bool init(int mode);

}  // namespace Security

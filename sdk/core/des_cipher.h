// Single-block DES (ECB, no padding) for the login packet, through OpenSSL.
#pragma once

#include <cstdint>

namespace camlink {

// Enciphers the 8 bytes at `block` in place under the 8 key bytes as they stand (the low bit
// of each is a parity bit and is ignored).
void desEncryptBlock(const uint8_t key[8], uint8_t block[8]);

}  // namespace camlink

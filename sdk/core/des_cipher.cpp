#include "core/des_cipher.h"

// Single DES blocks are only reachable through the deprecated low-level interface (or the
// legacy provider, which may be absent); the login needs nothing more.
#define OPENSSL_SUPPRESS_DEPRECATED 1
#include <openssl/crypto.h>
#include <openssl/des.h>

#include <cstring>

namespace camlink {

void desEncryptBlock(const uint8_t key[8], uint8_t block[8]) {
    DES_cblock keyBlock;
    std::memcpy(keyBlock, key, 8);
    DES_key_schedule schedule;
    DES_set_key_unchecked(&keyBlock, &schedule);
    DES_cblock in, out;
    std::memcpy(in, block, 8);
    DES_ecb_encrypt(&in, &out, &schedule, DES_ENCRYPT);
    std::memcpy(block, out, 8);
    OPENSSL_cleanse(&schedule, sizeof schedule);
}

}  // namespace camlink

// Digest, encoding and cipher helpers of the simulated camera, all over OpenSSL.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace camsim {

// MD5 of the bytes as 32 upper-case hexadecimal digits.
std::string md5HexUpper(std::string_view bytes);
// MD5 of the bytes as 32 lower-case hexadecimal digits, as HTTP digest authentication wants.
std::string md5HexLower(std::string_view bytes);

// Incremental MD5 for data that arrives in pieces (uploads, firmware).
class Md5Stream {
public:
    Md5Stream();
    ~Md5Stream();
    Md5Stream(const Md5Stream&) = delete;
    Md5Stream& operator=(const Md5Stream&) = delete;
    void update(const void* data, size_t size);
    std::string finishHexUpper();

private:
    struct Impl;
    Impl* impl_;
};

std::string base64Encode(std::string_view bytes);
// Standard alphabet with padding; white space is not accepted. nullopt when malformed.
std::optional<std::string> base64Decode(std::string_view text);

using DesBlock = std::array<uint8_t, 8>;
// Single-block DES (ECB, no padding) under the 8 key bytes as they stand (parity bits ignored).
DesBlock desEncrypt(const DesBlock& key, const DesBlock& block);
DesBlock desDecrypt(const DesBlock& key, const DesBlock& block);

}  // namespace camsim

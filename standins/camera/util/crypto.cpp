#include "util/crypto.h"

// The DES block primitive is only available through the deprecated low-level interface (or the
// legacy provider); the camera's login needs exactly one block at a time.
#define OPENSSL_SUPPRESS_DEPRECATED 1
#include <openssl/des.h>
#include <openssl/evp.h>

#include <cstring>
#include <memory>
#include <stdexcept>

namespace camsim {

namespace {
std::string hexUpper(const unsigned char* digest, unsigned size) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out(size * 2, '0');
    for (unsigned i = 0; i < size; ++i) {
        out[2 * i] = digits[digest[i] >> 4];
        out[2 * i + 1] = digits[digest[i] & 0x0f];
    }
    return out;
}
}  // namespace

struct Md5Stream::Impl {
    EVP_MD_CTX* ctx = EVP_MD_CTX_new();
};

Md5Stream::Md5Stream() : impl_(new Impl) {
    if (!impl_->ctx || EVP_DigestInit_ex(impl_->ctx, EVP_md5(), nullptr) != 1) {
        EVP_MD_CTX_free(impl_->ctx);
        delete impl_;
        throw std::runtime_error("MD5 context unavailable");
    }
}

Md5Stream::~Md5Stream() {
    EVP_MD_CTX_free(impl_->ctx);
    delete impl_;
}

void Md5Stream::update(const void* data, size_t size) {
    if (size > 0) EVP_DigestUpdate(impl_->ctx, data, size);
}

std::string Md5Stream::finishHexUpper() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned size = 0;
    EVP_DigestFinal_ex(impl_->ctx, digest, &size);
    return hexUpper(digest, size);
}

std::string md5HexUpper(std::string_view bytes) {
    Md5Stream md5;
    md5.update(bytes.data(), bytes.size());
    return md5.finishHexUpper();
}

std::string md5HexLower(std::string_view bytes) {
    std::string hex = md5HexUpper(bytes);
    for (char& c : hex)
        if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
    return hex;
}

std::string base64Encode(std::string_view bytes) {
    std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                            reinterpret_cast<const unsigned char*>(bytes.data()),
                            static_cast<int>(bytes.size()));
    out.resize(n);
    return out;
}

std::optional<std::string> base64Decode(std::string_view text) {
    if (text.size() % 4 != 0) return std::nullopt;
    for (char c : text) {
        bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                  c == '+' || c == '/' || c == '=';
        if (!ok) return std::nullopt;
    }
    // Padding only as the last one or two characters; EVP_DecodeBlock would take it anywhere.
    size_t pad = 0;
    if (!text.empty() && text.back() == '=') {
        pad = (text.size() >= 2 && text[text.size() - 2] == '=') ? 2 : 1;
    }
    if (text.find('=') < text.size() - pad) return std::nullopt;
    std::string out(3 * (text.size() / 4) + 1, '\0');
    int n = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                            reinterpret_cast<const unsigned char*>(text.data()),
                            static_cast<int>(text.size()));
    if (n < 0) return std::nullopt;
    // EVP_DecodeBlock counts padding as zero bytes; drop them.
    out.resize(static_cast<size_t>(n) - pad);
    return out;
}

namespace {
DesBlock desApply(const DesBlock& key, const DesBlock& block, int direction) {
    DES_cblock keyBlock;
    std::memcpy(keyBlock, key.data(), 8);
    DES_key_schedule schedule;
    DES_set_key_unchecked(&keyBlock, &schedule);
    DES_cblock in, out;
    std::memcpy(in, block.data(), 8);
    DES_ecb_encrypt(&in, &out, &schedule, direction);
    DesBlock result;
    std::memcpy(result.data(), out, 8);
    return result;
}
}  // namespace

DesBlock desEncrypt(const DesBlock& key, const DesBlock& block) {
    return desApply(key, block, DES_ENCRYPT);
}

DesBlock desDecrypt(const DesBlock& key, const DesBlock& block) {
    return desApply(key, block, DES_DECRYPT);
}

}  // namespace camsim

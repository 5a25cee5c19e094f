// The camera's digest, encoding and cipher helpers against published test vectors.
#include "util/crypto.h"

#include <gtest/gtest.h>

namespace camsim {
namespace {

// The classic DES worked example (key 133457799BBCDFF1).
const DesBlock kKey = {0x13, 0x34, 0x57, 0x79, 0x9B, 0xBC, 0xDF, 0xF1};
const DesBlock kPlain = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
const DesBlock kCipher = {0x85, 0xE8, 0x13, 0x54, 0x0F, 0x0A, 0xB4, 0x05};

TEST(Des, EnciphersAndDeciphersTheKnownBlock) {
    EXPECT_EQ(desEncrypt(kKey, kPlain), kCipher);
    EXPECT_EQ(desDecrypt(kKey, kCipher), kPlain);
}

TEST(Des, IgnoresKeyParityBits) {
    DesBlock flipped = kKey;
    for (auto& b : flipped)
        b ^= 0x01;  // the low bit of each key byte is parity only
    EXPECT_EQ(desEncrypt(flipped, kPlain), kCipher);
}

TEST(Md5, MatchesReferenceVectorsInUpperCase) {
    EXPECT_EQ(md5HexUpper(""), "D41D8CD98F00B204E9800998ECF8427E");
    EXPECT_EQ(md5HexUpper("abc"), "900150983CD24FB0D6963F7D28E17F72");
}

TEST(Md5, StreamEqualsOneShot) {
    const std::string text = "message digest";
    Md5Stream stream;
    stream.update(text.data(), 3);
    stream.update(text.data() + 3, 0);
    stream.update(text.data() + 3, text.size() - 3);
    EXPECT_EQ(stream.finishHexUpper(), "F96B697D7CB7938D525A2F31AAF161D0");
}

TEST(Base64, RoundTripsEveryPaddingLength) {
    EXPECT_EQ(base64Encode(""), "");
    EXPECT_EQ(base64Encode("f"), "Zg==");
    EXPECT_EQ(base64Encode("fo"), "Zm8=");
    EXPECT_EQ(base64Encode("foo"), "Zm9v");
    std::string binary;
    for (int i = 0; i < 256; ++i)
        binary.push_back(char(i));
    for (size_t n : {size_t(0), size_t(1), size_t(2), size_t(3), size_t(256)}) {
        const std::string original = binary.substr(0, n);
        auto decoded = base64Decode(base64Encode(original));
        ASSERT_TRUE(decoded.has_value()) << n;
        EXPECT_EQ(*decoded, original) << n;
    }
}

TEST(Base64, RejectsMalformedInput) {
    EXPECT_FALSE(base64Decode("Zm9").has_value());       // not a multiple of four
    EXPECT_FALSE(base64Decode("Zm9v!A==").has_value());  // outside the alphabet
    EXPECT_FALSE(base64Decode("Zm9 v").has_value());     // white space
    EXPECT_FALSE(base64Decode("Zm9v\nYQ==").has_value());
    EXPECT_FALSE(base64Decode("Z===").has_value());      // too much padding
    EXPECT_FALSE(base64Decode("Zm9=Zm9v").has_value());  // padding before the end
    EXPECT_FALSE(base64Decode("Zg=A").has_value());
}

}  // namespace
}  // namespace camsim

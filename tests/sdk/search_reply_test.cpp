// The search reply handlers on datagrams made here, without sockets: hostile replies the fuzz
// target found.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/search.h"

namespace {

// A first-generation reply: the magic, the text length, the XML, zeros up to the buffer size.
std::vector<uint8_t> firstGenerationReply(const std::string& xml) {
    std::vector<uint8_t> datagram = {0x00, 0x00, 0x01, 0xCA};
    for (int shift = 0; shift < 32; shift += 8)
        datagram.push_back(static_cast<uint8_t>(xml.size() >> shift));
    datagram.insert(datagram.end(), xml.begin(), xml.end());
    datagram.resize(camlink::kDatagramSize);
    return datagram;
}

const char kMessage[] =
    "<MESSAGE VERSION=\"1\"><HEADER TYPE=\"4118\" /><PARAMETERS><SerialNo>KEY-A</SerialNo>"
    "<Eth0><LocalIp>10.0.0.7</LocalIp></Eth0></PARAMETERS></MESSAGE>";

int handled(const std::string& xml) {
    camlink::SearchState state;
    const std::vector<uint8_t> datagram = firstGenerationReply(xml);
    camlink::handleFirstGenerationReply(state, datagram.data(), 8 + xml.size());
    return state.firstArea->count;
}

TEST(SearchReply, FirstGenerationReplyIsRead) {
    EXPECT_EQ(handled(kMessage), 1);
}

// A closing tag that matched the parser's own document node used to close it, and the nodes
// parsed after it had no parent and were leaked (seen under the sanitizers). Such a reply is
// malformed and taken by no one.
TEST(SearchReply, ClosingTagOfTheDocumentNodeIsMalformed) {
    const std::string message = kMessage;
    for (const std::string& xml : {"</document>" + message, "</document\t>" + message,
                                   message + "</document><b/>", "</camlink reply>" + message}) {
        EXPECT_EQ(handled(xml), 0) << xml;
    }
}

// Bytes 0xFE and 0xFF, in no UTF-8 text, made the parser read the rest as UTF-16, two bytes at
// a time, past the text's end (a crash the fuzz target found). Such a reply is dropped unparsed.
TEST(SearchReply, ByteOrderMarkBytesAreRefusedBeforeParsing) {
    const std::string found =
        "<MESSAGE VE6RSION=\"1\">\n<HEADER TYP]]]]]]==\"/>\n<Result />\n<PARAMETERS>\nRA"
        "</PARAMETERS></MESSAGE\xca+01\" `/<X\xff\xfe=UsrAM";
    EXPECT_EQ(handled(found), 0);
    // After the mark the parser read " " and a NUL as UTF-16 units and took the message.
    EXPECT_EQ(handled(kMessage + std::string("\xff\xfe \0\0\0", 6)), 0);
    for (const char* mark : {"\xff\xfe", "\xfe\xff", "\xff"}) {
        std::string xml = kMessage;
        xml.insert(xml.find("KEY-A"), mark);
        EXPECT_EQ(handled(xml), 0);
    }
}

}  // namespace

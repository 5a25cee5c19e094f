// The first-generation feature text (128 signed decimals joined by commas) and the reading of
// the camera's feature replies.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/json_text.h"

#include "library/feature_set.h"

namespace {

using camlink::kFeatureValues;
using camlink::readFeatureText;
using camlink::writeFeatureText;

// The values with a guard behind them, so that a write past the 128th shows.
struct GuardedValues {
    int32_t values[kFeatureValues];
    int32_t guard;
};

GuardedValues prefilled(int32_t value) {
    GuardedValues g;
    for (int32_t& v : g.values)
        v = value;
    g.guard = 0x7A7A7A7A;
    return g;
}

TEST(FeatureText, WritesSignedDecimalsJoinedByCommasAndReadsThemBack) {
    int32_t values[kFeatureValues];
    for (int i = 0; i < kFeatureValues; ++i)
        values[i] = (i % 2 ? -1 : 1) * i * 16769023;
    values[5] = INT32_MIN;
    values[6] = INT32_MAX;
    values[127] = -1;
    std::string expected;
    for (int i = 0; i < kFeatureValues; ++i)
        expected += (i ? "," : "") + std::to_string(values[i]);

    const std::string text = writeFeatureText(values);
    EXPECT_EQ(text, expected);
    EXPECT_NE(text.find(",-2147483648,2147483647,"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 3), ",-1");  // no trailing comma

    GuardedValues back = prefilled(99);
    readFeatureText(text, back.values);
    for (int i = 0; i < kFeatureValues; ++i)
        EXPECT_EQ(back.values[i], values[i]) << "value " << i;
    EXPECT_EQ(back.guard, 0x7A7A7A7A);
}

TEST(FeatureText, ValuesTheTextDoesNotReachAreZero) {
    GuardedValues g = prefilled(99);
    readFeatureText("5,-6,7", g.values);
    EXPECT_EQ(g.values[0], 5);
    EXPECT_EQ(g.values[1], -6);
    EXPECT_EQ(g.values[2], 7);
    for (int i = 3; i < kFeatureValues; ++i)
        EXPECT_EQ(g.values[i], 0) << "value " << i;

    g = prefilled(99);
    readFeatureText("", g.values);
    for (int i = 0; i < kFeatureValues; ++i)
        EXPECT_EQ(g.values[i], 0) << "value " << i;
}

TEST(FeatureText, PiecesReadAsFarAsTheyAreNumbers) {
    GuardedValues g = prefilled(99);
    readFeatureText("abc,,12x4,  \t-8, 9 ,-,+3,7.9,x1", g.values);
    EXPECT_EQ(g.values[0], 0);   // junk
    EXPECT_EQ(g.values[1], 0);   // empty piece
    EXPECT_EQ(g.values[2], 12);  // stops at the first character that is not part of it
    EXPECT_EQ(g.values[3], -8);  // leading blanks skipped
    EXPECT_EQ(g.values[4], 9);
    EXPECT_EQ(g.values[5], 0);  // a sign alone
    EXPECT_EQ(g.values[6], 3);
    EXPECT_EQ(g.values[7], 7);
    EXPECT_EQ(g.values[8], 0);
    EXPECT_EQ(g.values[9], 0);
}

TEST(FeatureText, MoreThan128PiecesKeepTheFirst128) {
    std::string text;
    for (int i = 1; i <= 300; ++i)
        text += (i > 1 ? "," : "") + std::to_string(i);
    GuardedValues g = prefilled(0);
    readFeatureText(text, g.values);
    for (int i = 0; i < kFeatureValues; ++i)
        EXPECT_EQ(g.values[i], i + 1) << "value " << i;
    EXPECT_EQ(g.guard, 0x7A7A7A7A);
}

TEST(FeatureReply, ReadsCodeMessageAndAtMostFiveEntries) {
    camlink::vcam_feature_set set;
    std::memset(&set, 0, sizeof set);
    std::string features;
    for (int i = 0; i < 7; ++i)
        features += std::string(i ? "," : "") + R"({"url":"u)" + std::to_string(i) +
                    R"(","feature":")" + std::to_string(i) + ",-" + std::to_string(i) + "\"}";
    const std::string reply =
        R"({"code":1020,"msg":"id exists","data":{"features":[)" + features + "]}}";
    EXPECT_EQ(camlink::featureResponsePaser(reply, set), 1020);
    EXPECT_STREQ(set.message, "id exists");
    EXPECT_EQ(set.count, 7);
    for (int i = 0; i < camlink::kFeatureEntries; ++i) {
        EXPECT_EQ(std::string(set.entries[i].url), "u" + std::to_string(i));
        EXPECT_EQ(set.entries[i].values[0], i);
        EXPECT_EQ(set.entries[i].values[1], -i);
    }

    // Not JSON: the raw text, cut to the message field, and -1.
    const std::string html(5000, '<');
    EXPECT_EQ(camlink::featureResponsePaser(html, set), -1);
    EXPECT_EQ(std::strlen(set.message), sizeof set.message - 1);
}

// A "data" that is not an object holding an array of features lists nothing; the code stands.
TEST(FeatureReply, EveryShapeOfDataReadsWithoutThrowing) {
    const std::pair<const char*, int> shapes[] = {
        {"[1,2]", 0}, {R"("text")", 0}, {"7", 0}, {"true", 0}, {"null", 0},
        {R"({"features":"x"})", 0}, {R"({"features":{"url":"u"}})", 0},
        {R"({"features":[1,"x",null]})", 3},  // listed, though no entry is an object
    };
    for (const auto& [data, listed] : shapes) {
        camlink::vcam_feature_set set;
        std::memset(&set, 0x5A, sizeof set);
        const std::string reply = R"({"code":1020,"msg":"m","data":)" + std::string(data) + "}";
        EXPECT_EQ(camlink::featureResponsePaser(reply, set), 1020) << data;
        EXPECT_STREQ(set.message, "m") << data;
        EXPECT_EQ(set.count, listed) << data;
    }
}

// The export's reading of a list reply: only objects under "data" → "record" gain a feature,
// asked for only when extracted; replies of any other shape stay as they were.
TEST(FeatureReply, ExportFillsOnlyRecordObjects) {
    std::vector<std::string> asked;
    const camlink::FeatureLookup lookup = [&asked](const std::string& libid,
                                                   const std::string& uid) {
        asked.push_back(libid + "/" + uid);
        return std::string("1,2");
    };
    for (const char* shape : {"[1]", R"("x")", R"({"data":[1]})", R"({"data":{"record":5}})",
                              R"({"data":"x"})", R"({"code":0})"}) {
        Json::Value reply = *camlink::parseJson(shape);
        const Json::Value before = reply;
        camlink::fillFeatures(reply, lookup);
        EXPECT_EQ(reply, before) << shape;
    }
    Json::Value reply = *camlink::parseJson(
        R"({"data":{"record":[{"status":1,"libid":"L","uid":"a","feature":"old"},)"
        R"({"status":0,"uid":"b"},7,{"status":"1","uid":"c"}]}})");
    camlink::fillFeatures(reply, lookup);
    const Json::Value& records = reply["data"]["record"];
    EXPECT_EQ(records[0]["feature"], "1,2");
    EXPECT_EQ(records[1]["feature"], "");
    EXPECT_EQ(records[2], 7);
    EXPECT_EQ(records[3]["feature"], "");
    EXPECT_EQ(asked, std::vector<std::string>{"L/a"});
}

}  // namespace

// vizor_win through its C entry points, with the real cascade model on real photographs and on
// variants of them made here (scaled, side by side, cut).
#include <gtest/gtest.h>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "vizor_win.h"

namespace {

using Bytes = std::vector<uint8_t>;

const std::string kSamples = OPENCV_SAMPLE_PICTURES;
const std::string kModel = FACE_MODEL_FILE;

// Messi's face in messi5.jpg (548 x 342), measured by eye on the picture: about 40 pixels
// square around this centre. A box elsewhere, e.g. on the crowd above his shoulder, is wrong.
const cv::Point2f kMessiFace(246.0f, 112.0f);

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

cv::Mat samplePicture(const std::string& name) {
    return cv::imread(kSamples + "/" + name);
}

Bytes encoded(const cv::Mat& picture, const std::string& suffix = ".jpg") {
    Bytes bytes;
    cv::imencode(suffix, picture, bytes);
    return bytes;
}

cv::Mat scaled(const cv::Mat& picture, double factor) {
    cv::Mat out;
    cv::resize(picture, out, cv::Size(), factor, factor, cv::INTER_CUBIC);
    return out;
}

struct Outcome {
    int code = -1;
    int count = 0;
    bool hasFace = false;
    NexoVizorFaceBox box{};

    cv::Point2f centre() const { return {(box.x1 + box.x2) / 2, (box.y1 + box.y2) / 2}; }
    float width() const { return box.x2 - box.x1; }
};

class VizorLibrary : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(NexoVizorCreate(&handle_), 0); }
    void TearDown() override { NexoVizorFree(handle_); }

    std::string writeConfig(const std::string& detector) {
        return dir_.write("model_conf.json", "{\"detector\": {" + detector + "}}");
    }
    int initWith(const std::string& detector) {
        EXPECT_EQ(NexoVizorSetConfig(handle_, "model_conf", writeConfig(detector).c_str()), 0);
        return NexoVizorInit(handle_);
    }
    void initShipped() {
        ASSERT_EQ(NexoVizorSetConfig(handle_, "model_conf", SHIPPED_CONFIG), 0);
        ASSERT_EQ(NexoVizorInit(handle_), 0);
    }

    Outcome analyse(const Bytes& bytes, int format = 0, int mode = 1) {
        NexoVizorImage image{};
        image.data = bytes.data();
        image.size = static_cast<uint32_t>(bytes.size());
        image.format = format;
        image.mode = mode;
        NexoVizorResult* result = nullptr;
        Outcome outcome;
        outcome.code = NexoVizorExtractFeature(handle_, &image, &result);
        EXPECT_NE(result, nullptr);
        if (!result) return outcome;
        EXPECT_EQ(result->error_code, outcome.code);
        outcome.count = result->face_count;
        outcome.hasFace = result->face != nullptr;
        if (result->face) outcome.box = *result->face;
        EXPECT_EQ(NexoVizorRelease(&result), 0);
        EXPECT_EQ(result, nullptr);
        return outcome;
    }

    testsupport::TempDir dir_{"vizor-test"};
    NexoVizorHandle handle_ = nullptr;
};

TEST_F(VizorLibrary, FindsTheFaceOfAPhotograph) {
    initShipped();
    const Outcome messi = analyse(readFile(kSamples + "/messi5.jpg"));
    ASSERT_EQ(messi.code, 0);
    ASSERT_TRUE(messi.hasFace);
    EXPECT_GE(messi.count, 1);
    EXPECT_NEAR(messi.centre().x, kMessiFace.x, 10);
    EXPECT_NEAR(messi.centre().y, kMessiFace.y, 10);
    EXPECT_NEAR(messi.width(), 44, 10);
    EXPECT_NEAR(messi.box.y2 - messi.box.y1, messi.width(), 1);
    EXPECT_GT(messi.box.score, 0);

    const Outcome fruits = analyse(readFile(kSamples + "/fruits.jpg"));
    EXPECT_EQ(fruits.code, NEXO_VIZOR_ERR_NO_FACE);
    EXPECT_FALSE(fruits.hasFace);
    EXPECT_EQ(fruits.count, 0);
}

// A picture larger than the working size is searched shrunk; the box is in picture pixels.
TEST_F(VizorLibrary, BoxOfALargePictureIsInItsOwnPixels) {
    initShipped();
    const Outcome big = analyse(encoded(scaled(samplePicture("messi5.jpg"), 4.0)));
    ASSERT_EQ(big.code, 0);
    EXPECT_NEAR(big.centre().x, kMessiFace.x * 4, 40);
    EXPECT_NEAR(big.centre().y, kMessiFace.y * 4, 40);
    EXPECT_NEAR(big.width(), 44 * 4, 40);
}

TEST_F(VizorLibrary, OfSeveralFacesTheLargestIsReported) {
    // The small photograph left, the same one at twice the size right, on one canvas searched
    // at full size, so that both faces are within reach.
    ASSERT_EQ(initWith("\"model_file\": \"" + kModel + "\", \"working_max_side\": 2048"), 0);
    const cv::Mat small = samplePicture("messi5.jpg");
    const cv::Mat large = scaled(small, 2.0);
    cv::Mat canvas(large.rows, small.cols + large.cols, CV_8UC3, cv::Scalar(128, 128, 128));
    small.copyTo(canvas(cv::Rect(0, 0, small.cols, small.rows)));
    large.copyTo(canvas(cv::Rect(small.cols, 0, large.cols, large.rows)));
    const Outcome both = analyse(encoded(canvas, ".png"));
    ASSERT_EQ(both.code, 0);
    EXPECT_GE(both.count, 2);
    EXPECT_NEAR(both.centre().x, small.cols + kMessiFace.x * 2, 20);
    EXPECT_NEAR(both.centre().y, kMessiFace.y * 2, 20);
}

TEST_F(VizorLibrary, MinimumFaceSizeIsHonoured) {
    initShipped();
    const Bytes messi = readFile(kSamples + "/messi5.jpg");
    const Bytes messiTriple = encoded(scaled(samplePicture("messi5.jpg"), 3.0));
    ASSERT_EQ(NexoVizorSetConfig(handle_, "min_face_width", "100"), 0);
    ASSERT_EQ(NexoVizorSetConfig(handle_, "min_face_height", "100"), 0);
    EXPECT_EQ(analyse(messi).code, NEXO_VIZOR_ERR_NO_FACE);
    const Outcome triple = analyse(messiTriple);
    ASSERT_EQ(triple.code, 0);
    EXPECT_GE(triple.width(), 100);
    ASSERT_EQ(NexoVizorSetConfig(handle_, "min_face_width", "40"), 0);
    ASSERT_EQ(NexoVizorSetConfig(handle_, "min_face_height", "40"), 0);
    EXPECT_EQ(analyse(messi).code, 0);
}

TEST_F(VizorLibrary, BytesThatAreNoPictureOrNoInputForm) {
    initShipped();
    const Bytes messi = readFile(kSamples + "/messi5.jpg");
    const std::string text = "this is a text file, not a photograph\n";
    EXPECT_EQ(analyse(Bytes(text.begin(), text.end())).code, NEXO_VIZOR_ERR_NO_IMAGE);
    EXPECT_EQ(analyse(Bytes(messi.begin(), messi.begin() + 64)).code, NEXO_VIZOR_ERR_NO_IMAGE);
    EXPECT_EQ(analyse(Bytes()).code, NEXO_VIZOR_ERR_PARAMETER);
    EXPECT_EQ(analyse(messi, 1).code, NEXO_VIZOR_ERR_PARAMETER);
    EXPECT_EQ(analyse(messi, 0, 2).code, NEXO_VIZOR_ERR_PARAMETER);
}

TEST_F(VizorLibrary, UninitialisedHandleAnswersUninit) {
    const Outcome before = analyse(readFile(kSamples + "/messi5.jpg"));
    EXPECT_EQ(before.code, NEXO_VIZOR_ERR_UNINIT);
    EXPECT_FALSE(before.hasFace);
    // A failed init drops the model an earlier one loaded.
    initShipped();
    EXPECT_EQ(initWith("\"model_file\": \"missing.xml\""), NEXO_VIZOR_ERR_NO_MODEL);
    EXPECT_EQ(analyse(readFile(kSamples + "/messi5.jpg")).code, NEXO_VIZOR_ERR_UNINIT);
}

TEST_F(VizorLibrary, ConfigurationFileProblems) {
    EXPECT_EQ(NexoVizorInit(handle_), NEXO_VIZOR_ERR_CONFIG);  // no "model_conf" yet
    ASSERT_EQ(NexoVizorSetConfig(handle_, "model_conf", (dir_.path() + "/none.json").c_str()), 0);
    EXPECT_EQ(NexoVizorInit(handle_), NEXO_VIZOR_ERR_CONFIG);
    const std::string model = "\"model_file\": \"" + kModel + "\"";
    EXPECT_EQ(initWith(model + ","), NEXO_VIZOR_ERR_CONFIG);  // not JSON
    EXPECT_EQ(initWith(""), NEXO_VIZOR_ERR_CONFIG);           // no model named
    EXPECT_EQ(initWith("\"model_file\": 7"), NEXO_VIZOR_ERR_CONFIG);
    EXPECT_EQ(initWith(model + ", \"scale_factor\": 1.0"), NEXO_VIZOR_ERR_CONFIG);
    EXPECT_EQ(initWith(model + ", \"min_neighbors\": 2.5"), NEXO_VIZOR_ERR_CONFIG);
    EXPECT_EQ(initWith(model + ", \"working_max_side\": \"640\""), NEXO_VIZOR_ERR_CONFIG);
    EXPECT_EQ(initWith(model + ", \"equalize_histogram\": 1"), NEXO_VIZOR_ERR_CONFIG);
    EXPECT_EQ(initWith(model + ", \"working_max_side\": 320"), 0);
}

TEST_F(VizorLibrary, ModelThatDoesNotLoad) {
    dir_.write("not_a_model.xml", "<?xml version=\"1.0\"?><opencv_storage></opencv_storage>\n");
    dir_.write("picture.xml", std::string(4096, '\x7f'));
    EXPECT_EQ(initWith("\"model_file\": \"not_a_model.xml\""), NEXO_VIZOR_ERR_NO_MODEL);
    EXPECT_EQ(initWith("\"model_file\": \"picture.xml\""), NEXO_VIZOR_ERR_NO_MODEL);
    EXPECT_EQ(initWith("\"model_file\": \"" + dir_.path() + "\""), NEXO_VIZOR_ERR_NO_MODEL);
}

// A relative model name is found beside the configuration file, not in the working directory.
TEST_F(VizorLibrary, RelativeModelIsBesideTheConfiguration) {
    const Bytes model = readFile(kModel);
    dir_.write("face.xml", std::string(model.begin(), model.end()));
    ASSERT_EQ(initWith("\"model_file\": \"face.xml\""), 0);
    EXPECT_EQ(analyse(readFile(kSamples + "/messi5.jpg")).code, 0);
}

TEST_F(VizorLibrary, SettingsAreCheckedOneByOne) {
    EXPECT_EQ(NexoVizorSetConfig(handle_, "alphadet_instance_count", "1"), 0);
    EXPECT_EQ(NexoVizorSetConfig(handle_, "alphadet_instance_count", "0"), 2);
    EXPECT_EQ(NexoVizorSetConfig(handle_, "alphadet_instance_count", "17"), 2);
    for (const char* bad : {"", "-1", "0", "40px", " 40", "10001", "99999999999999"})
        EXPECT_EQ(NexoVizorSetConfig(handle_, "min_face_width", bad), 2) << '"' << bad << '"';
    EXPECT_EQ(NexoVizorSetConfig(handle_, "min_face_height", "10000"), 0);
    EXPECT_EQ(NexoVizorSetConfig(handle_, "model_conf", ""), 2);
    EXPECT_EQ(NexoVizorSetConfig(handle_, "max_face_width", "40"), NEXO_VIZOR_ERR_CONFIG);
    EXPECT_EQ(NexoVizorSetConfig(handle_, nullptr, "40"), 2);
    EXPECT_EQ(NexoVizorSetConfig(handle_, "min_face_width", nullptr), 2);
}

TEST(VizorEntryPoints, NullArgumentsAreRefused) {
    EXPECT_EQ(NexoVizorCreate(nullptr), 2);
    EXPECT_EQ(NexoVizorSetConfig(nullptr, "min_face_width", "40"), 2);
    EXPECT_EQ(NexoVizorInit(nullptr), 2);
    NexoVizorImage image{};
    NexoVizorResult* result = reinterpret_cast<NexoVizorResult*>(&image);  // must be cleared
    EXPECT_EQ(NexoVizorExtractFeature(nullptr, &image, &result), 2);
    ASSERT_EQ(result, nullptr);
    EXPECT_EQ(NexoVizorExtractFeature(nullptr, &image, nullptr), 2);
    EXPECT_EQ(NexoVizorRelease(nullptr), 2);
    EXPECT_EQ(NexoVizorRelease(&result), 0);
    EXPECT_EQ(NexoVizorFree(nullptr), 0);
}

TEST(VizorEntryPoints, VersionTextAndItsBuffer) {
    char text[50];
    ASSERT_EQ(NexoVizorGetVersion(text, sizeof text), 0);
    const std::string version(text);
    EXPECT_FALSE(version.empty());
    EXPECT_LT(version.size(), sizeof text);
    char shortText[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(NexoVizorGetVersion(shortText, sizeof shortText), NEXO_VIZOR_ERR_STRING_SHORT);
    EXPECT_EQ(shortText[0], '\0');
    std::vector<char> exact(version.size() + 1);
    EXPECT_EQ(NexoVizorGetVersion(exact.data(), static_cast<int32_t>(exact.size())), 0);
    EXPECT_EQ(NexoVizorGetVersion(exact.data(), static_cast<int32_t>(version.size())), 15);
    EXPECT_EQ(NexoVizorGetVersion(nullptr, 50), 2);
    EXPECT_EQ(NexoVizorGetVersion(text, 0), 2);
}

TEST(VizorEntryPoints, ExactlyTheSevenAreExported) {
    std::set<std::string> names;
    FILE* nm = popen("nm -D --defined-only " VIZOR_LIBRARY, "r");
    ASSERT_NE(nm, nullptr);
    char line[512];
    char type = 0;
    char name[400];
    while (std::fgets(line, sizeof line, nm))
        if (std::sscanf(line, "%*s %c %399s", &type, name) == 2 && type == 'T') names.insert(name);
    pclose(nm);
    const std::set<std::string> expected = {
        "NexoVizorCreate",         "NexoVizorSetConfig", "NexoVizorInit", "NexoVizorGetVersion",
        "NexoVizorExtractFeature", "NexoVizorRelease",   "NexoVizorFree"};
    EXPECT_EQ(names, expected);
}

}  // namespace

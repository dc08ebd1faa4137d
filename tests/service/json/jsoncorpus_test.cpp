// The public JSON corpus: parsing test files and real documents.
#include "service/json/jsonparser.h"
#include "service/json/jsonwriter.h"
#include "service/json/textcodec.h"
#include "tempfolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kivo::json {
namespace {

const std::filesystem::path kCorpus = KIVO_TEST_DATA_DIR "/json-corpus";

TEST(JsonCorpus, EveryTestFileParsesAndAcceptedFilesRoundTrip) {
    int roundTrips = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kCorpus / "JSONTestSuite")) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".json") {
            continue;
        }
        const std::u16string text = Utf8ToUtf16(test::ReadFile(entry.path()));
        const JsonValue root = JsonParse(text);
        const std::u16string written = JsonText(root);
        const bool objectOrArray =
            !text.empty() && (text.find_first_not_of(u" \t\r\n") != std::u16string::npos) &&
            (text[text.find_first_not_of(u" \t\r\n")] == u'[' || text[text.find_first_not_of(u" \t\r\n")] == u'{');
        if (name.rfind("y_", 0) == 0 && objectOrArray) {
            ASSERT_FALSE(root.isNothing()) << name;
            EXPECT_EQ(JsonText(JsonParse(written)), written) << name;
            ++roundTrips;
        }
    }
    EXPECT_GT(roundTrips, 80);
}

class JsonDocuments : public ::testing::TestWithParam<const char*> {};

TEST_P(JsonDocuments, ParseWithoutComplaintAndSerializeToTheSameDocument) {
    const std::string original = test::ReadFile(kCorpus / "documents" / GetParam());
    const JsonValue root = JsonParse(Utf8ToUtf16(original));
    EXPECT_EQ(JsonErrors(), u"");
    // An independent parser must see our output and the original as the same document.
    const std::string written = Utf16ToUtf8(JsonText(root));
    EXPECT_EQ(nlohmann::json::parse(written), nlohmann::json::parse(original));
}

INSTANTIATE_TEST_SUITE_P(Corpus, JsonDocuments, ::testing::Values("canada.json", "citm_catalog.json", "twitter.json"),
                         [](const auto& info) {
                             return std::string(info.param).substr(0, std::string(info.param).find('.'));
                         });

} // namespace
} // namespace kivo::json

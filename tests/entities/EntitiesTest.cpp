#include "entities/ReplaceKeyword.h"
#include "entities/TemplateFile.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

TEST(ReplaceKeyword, TakesEveryWholeOccurrenceOnceAndKnowsTheLengthBeforehand) {
    const struct {
        const char *line, *keyword, *value, *result;
    } cases[] = {
        {"AAA", "AA", "x", "xA"},              // matches do not overlap
        {"KEY", "KEY", "a KEY b", "a KEY b"},  // a value is not rescanned
        {"no keyword", "", "x", "no keyword"}, // an empty keyword matches nothing
        {"keep", "KEY", "x", "keep"},
        {"K K K", "K", "long", "long long long"},
    };
    for (const auto& c : cases) {
        std::string line = c.line;
        const std::size_t predicted = LengthAfterReplacing(line, c.keyword, c.value);
        const bool replaced = ReplaceKeyword(line, c.keyword, c.value);
        EXPECT_EQ(replaced, line != c.line) << c.line;
        EXPECT_EQ(line, c.result);
        EXPECT_EQ(predicted, line.size()) << c.line;
    }
}

// A filled template replaces the output whole or not at all.
TEST(TemplateFile, FillsLineByLineOrLeavesTheEarlierOutput) {
    test::TempDir dir;
    const std::string output = dir / "out.ent";
    WriteFile(dir.Path() / "good.tpt", "KEY one\r\nKEY two\nlast");
    WriteFile(dir.Path() / "refused.tpt", "KEY one\nSTOP\nKEY three\n");
    const auto fill = [](std::string& line) {
        ReplaceKeyword(line, "KEY", "value");
        return line != "STOP";
    };
    const struct {
        const char* templateName;
        std::string outputPath;
        bool filled;
    } cases[] = {
        {"missing.tpt", output, false},
        {"refused.tpt", output, false},
        {"good.tpt", dir / "no-folder/out.ent", false},
        {"good.tpt", "", false},
    };
    for (const auto& c : cases) {
        WriteFile(output, "the earlier text");
        EXPECT_EQ(FillTemplateFile(dir / c.templateName, c.outputPath, fill), c.filled)
            << c.templateName;
        EXPECT_EQ(ReadFile(output), "the earlier text") << c.templateName;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 3) << "no temporary file";
    }
    ASSERT_TRUE(FillTemplateFile(dir / "good.tpt", output, fill));
    EXPECT_EQ(ReadFile(output), "value one\nvalue two\nlast\n");
}

} // namespace
} // namespace ballotine

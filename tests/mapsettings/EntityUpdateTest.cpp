#include "mapsettings/EntityUpdate.h"

#include "GamePaths.h"
#include "platform/Services.h"
#include "support/FakeCommandRunner.h"
#include "support/FileSizeLimit.h"
#include "support/ScriptedPrompter.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

class EntityUpdateTest : public testing::Test {
protected:
    void Reference(const std::string& content, const std::string& name = "2fort.16.ref") {
        WriteFile(paths.modWorkDir + "Entities/" + name, content);
    }
    void Template(const std::string& content, const std::string& name = "2fort.tpt") {
        WriteFile(paths.modWorkDir + "Entities/" + name, content);
    }
    bool Update(const char* key = "16") {
        return UpdateMapEntities(paths, "2fort", key, services, data);
    }
    // Answers Yes to an update that must fail; what it said, a line each.
    std::string FailedUpdate() {
        prompter.Forget();
        prompter.AnswerYes();
        EXPECT_FALSE(Update());
        std::string said;
        for (const std::string& message : prompter.Messages()) {
            said += message + "\n";
        }
        return said;
    }
    std::string Ent() { return paths.mapsDir + "2fort.ent"; }
    std::string Txt() { return paths.mapsDir + "2fort.txt"; }

    test::TempDir dir;
    MapSettingsPaths paths = test::GamePathsIn(dir);
    test::ScriptedPrompter prompter;
    test::FakeCommandRunner runner;
    test::ManualClock clock;
    Services services{prompter, runner, clock};
    ReferenceData data;
};

TEST_F(EntityUpdateTest, ReferenceLinesBecomePairs) {
    std::string reference = "2fort.TPT\n"
                            "WALLS = \"strong walls\" trailing text ignored\n"
                            "NOQUOTE = plain\n"
                            "OPEN = \"never closed\n"
                            "ODD := \"ignored silently\"\n"
                            "\n"
                            "#INFO#x = \"not a marker\"\n";
    for (int i = 0; i < 300; ++i) {
        reference += "K" + std::to_string(i) + " = \"v" + std::to_string(i) + "\"\n";
    }
    Reference(reference);
    ASSERT_TRUE(ExtractReferenceData(paths.modWorkDir + "Entities/2fort.16.ref", paths.modWorkDir,
                                     data, prompter));
    EXPECT_EQ(data.templatePath, paths.modWorkDir + "Entities/2fort.TPT");
    ASSERT_EQ(data.substitutions.size(), 256u) << "only the first 256 pairs are used";
    EXPECT_EQ(data.substitutions[0].key, "WALLS");
    EXPECT_EQ(data.substitutions[0].value, "strong walls");
    EXPECT_EQ(data.substitutions[1].key, "#INFO#x") << "a marker counts only as a whole first word";
    EXPECT_EQ(data.substitutions[255].key, "K253");
    EXPECT_EQ(
        prompter.Messages(),
        (std::vector<std::string>{
            "Warning. The following line is invalid (No Initial Quote), skipping:\nNOQUOTE = plain",
            "Warning. The following line is invalid (No Terminating Quote), skipping:\nOPEN = "
            "\"never closed"}));
}

TEST_F(EntityUpdateTest, SuccessImportsWritesTheTextAndRemovesTheEntityText) {
    Reference("2fort.tpt\nHEALTH = \"900\"\nCLASS = \"func_door\"\n#TEXT#\n2 Fortresses\n\nBig "
              "map\n#INFO#\nTitle\n");
    Template("{\n\"classname\" \"CLASS\"\n\"health\" \"HEALTH\" HEALTH\n}\n");
    WriteFile(Txt(), "old description");
    std::string entityTextSeenByTool;
    runner.SetAction([&](const test::FakeCommandRunner::Call&) {
        entityTextSeenByTool = ReadFile(Ent());
        return 0;
    });
    prompter.AnswerYes();
    ASSERT_TRUE(Update());
    EXPECT_EQ(prompter.Transcript(),
              (std::vector<std::string>{
                  "? Are you sure you wish to update this map with the selected entities?",
                  "New Entities have been successfully compiled into this map"}));
    ASSERT_EQ(runner.Calls().size(), 1u);
    EXPECT_EQ(runner.Calls()[0].commandLine,
              "\"" + paths.workDir + "ripent\" -import \"" + paths.mapsDir + "2fort\" > nul");
    EXPECT_EQ(entityTextSeenByTool,
              "{\n\"classname\" \"func_door\"\n\"health\" \"900\" 900\n}\n\n");
    EXPECT_FALSE(fs::exists(Ent()));
    EXPECT_EQ(ReadFile(Txt()), "2 Fortresses\n\nBig map\n");
    EXPECT_EQ(prompter.BusyDepth(), 0);
}

const std::string kEntityFileFailed =
    "An error has occurred creating the entity file for this map. Aborting...\n";

TEST_F(EntityUpdateTest, NothingHappensWithoutAKeyOrYesAndEachFailedStepSaysSoAndStops) {
    EXPECT_FALSE(Update(""));
    EXPECT_TRUE(prompter.Transcript().empty());
    prompter.AnswerNo();
    EXPECT_FALSE(Update());
    EXPECT_EQ(FailedUpdate(), "Failed to extract Reference Data. Aborting...\n") << "no file";
    Reference("2fort.map\n");
    EXPECT_EQ(FailedUpdate(), "Template File Reference is invalid. Aborting...\n"
                              "Failed to extract Reference Data. Aborting...\n");
    Reference("missing.tpt\n");
    EXPECT_EQ(FailedUpdate(), kEntityFileFailed);
    EXPECT_TRUE(runner.Calls().empty());
}

// Found by fuzzing: each value holds the next key four times, so forty lines would ask for
// 4^40 bytes.
TEST_F(EntityUpdateTest, ValuesThatMultiplyALineAreRefusedBeforeMemoryRunsOut) {
    std::string reference = "2fort.tpt\n";
    for (int i = 0; i < 40; ++i) {
        const std::string next = "K" + std::to_string(i + 1);
        reference += "K" + std::to_string(i) + " = \"" + next + " " + next + " " + next + " " +
                     next + "\"\n";
    }
    Reference(reference);
    Template("\"team_no\" \"K0\"\n");
    WriteFile(Ent(), "earlier");
    EXPECT_EQ(FailedUpdate(), kEntityFileFailed);
    EXPECT_EQ(ReadFile(Ent()), "earlier");
    EXPECT_TRUE(runner.Calls().empty());

    prompter.Forget();
    Reference("2fort.tpt\nK0 = \"" + std::string(4000, 'v') + "\"\n");
    Template(std::string(200, 'K') + "K0\n"); // long lines that stay sane still fill
    prompter.AnswerYes();
    EXPECT_TRUE(Update());
    EXPECT_EQ(runner.Calls().size(), 1u);
}

TEST_F(EntityUpdateTest, AFailedImportLeavesTheEntityTextAndTheOldDescription) {
    Reference("2fort.tpt\n#TEXT#\nnew\n");
    Template("{\n}\n");
    WriteFile(Txt(), "old");
    runner.SetExitStatus(1);
    EXPECT_EQ(FailedUpdate(),
              "An error has occurred compiling the new entities into the map. Aborting...\n");
    EXPECT_TRUE(fs::exists(Ent()));
    EXPECT_EQ(ReadFile(Txt()), "old");
}

TEST_F(EntityUpdateTest, AMapTextThatCannotBeWrittenKeepsTheOldOneWhole) {
    Reference("2fort.tpt\n#TEXT#\n" + std::string(20000, 't') + "\n");
    Template("{\n\"classname\" \"worldspawn\"\n}\n");
    WriteFile(Txt(), "the old description");
    // The disk fills up after the import, while the description is written.
    std::optional<test::FileSizeLimit> diskFull;
    runner.SetAction([&](const test::FakeCommandRunner::Call&) {
        diskFull.emplace(4096);
        return 0;
    });
    const std::string said = FailedUpdate();
    diskFull.reset();
    EXPECT_EQ(said, "An error has occurred creating the map textfile'.\n");
    EXPECT_EQ(ReadFile(Txt()), "the old description");
    EXPECT_TRUE(fs::exists(Ent())) << "the entity text stays for another try";
    EXPECT_EQ(std::distance(fs::directory_iterator(paths.mapsDir), {}), 2)
        << "no temporary file is left";
}

TEST_F(EntityUpdateTest, EachFileTakesOnlyItsSection) {
    Reference("2fort.tpt\nA = \"1\"\n#TEXT# tail\nB = \"2\"\n");
    ASSERT_TRUE(ExtractReferenceData(paths.modWorkDir + "Entities/2fort.16.ref", paths.modWorkDir,
                                     data, prompter));
    EXPECT_EQ(data.substitutions.size(), 1u) << "the substitutions end at a marker word";

    Reference("2fort.tpt\n#TEXT#\none\ntwo\n#INFO#\nTitle\nabout\n");
    ASSERT_TRUE(WriteMapText(paths.modWorkDir + "Entities/2fort.16.ref", Txt()));
    EXPECT_EQ(ReadFile(Txt()), "one\ntwo\n");
    Reference("2fort.tpt\n#INFO#\nTitle\n");
    ASSERT_TRUE(WriteMapText(paths.modWorkDir + "Entities/2fort.16.ref", Txt()));
    EXPECT_EQ(ReadFile(Txt()), "") << "no text section empties the description";
    EXPECT_FALSE(WriteMapText(paths.modWorkDir + "Entities/none.ref", Txt()));

    Template("");
    data.templatePath = paths.modWorkDir + "Entities/2fort.tpt";
    ASSERT_TRUE(WriteEntityText(data, Ent()));
    EXPECT_EQ(ReadFile(Ent()), "\n") << "an empty template gives one empty line";
}

} // namespace
} // namespace ballotine

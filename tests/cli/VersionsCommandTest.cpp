#include "CliTestSupport.h"
#include "support/DemoFixture.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
using test::CliRun;
using test::DemoFixture;
using test::ReadFile;
using test::RunCliWith;
using test::WriteFile;
namespace fs = std::filesystem;

class VersionsOnDemo : public testing::Test {
protected:
    VersionsOnDemo() {
        // Only the maps a test puts there.
        fs::remove_all(demo.Game("tfc/maps"));
        fs::create_directories(demo.Game("tfc/maps"));
    }
    CliRun Run(std::vector<std::string> args) {
        args.insert(args.begin(), {"--registry", demo.Layout().registryFile.string()});
        return RunCliWith(args);
    }
    std::string ConfigFile() const { return demo.Game("Ballotine/tfc/config.conf"); }

    DemoFixture demo;
};

TEST_F(VersionsOnDemo, PrintsTheRecordAfterMarkingTheMapsOnDisk) {
    WriteFile(ConfigFile(), "#TFC Header V1.0 - DO NOT MODIFY\n"
                            "rock2 0 4\n"
                            "*tfc 4 0\n"
                            "#END#");
    WriteFile(demo.Game("tfc/maps/well.bsp"), "BSP");
    WriteFile(demo.Game("tfc/maps/Rock2.bsp"), "BSP");

    const CliRun run = Run({"versions"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "rock2\t1\t4\n*tfc\t4\t0\nwell\t1\t0\n");
    EXPECT_EQ(ReadFile(ConfigFile()), "#TFC Header V1.0 - DO NOT MODIFY\n"
                                      "rock2 1 4\n"
                                      "*tfc 4 0\n"
                                      "well 1 0\n"
                                      "#END#");
}

TEST_F(VersionsOnDemo, WithoutARecordNothingIsCreated) {
    fs::remove(ConfigFile());
    WriteFile(demo.Game("tfc/maps/well.bsp"), "BSP");
    const CliRun run = Run({"versions"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("config.conf"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(ConfigFile()));

    EXPECT_EQ(Run({"versions", "extra"}).status, 2);
}

} // namespace
} // namespace ballotine

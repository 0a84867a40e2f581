#include "CliTestSupport.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace ballotine {
namespace {
using test::ReadFile;
using test::WriteFile;
namespace fs = std::filesystem;

// How the record is raised is pinned by the version table tests; this is the command's wiring.
class VersionsOnDemo : public test::CliOnDemo {};

TEST_F(VersionsOnDemo, PrintsTheRecordAfterMarkingTheMapsOnDiskButNeverCreatesOne) {
    fs::remove_all(demo.Game("tfc/maps")); // only the maps put there
    WriteFile(WorkFile("config.conf"), "#TFC Header V1.0 - DO NOT MODIFY\nrock2 0 4\n#END#");
    WriteFile(Maps("well.bsp"), "BSP");
    WriteFile(Maps("Rock2.bsp"), "BSP");
    const test::CliRun run = Run({"versions"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "rock2\t1\t4\nwell\t1\t0\n");
    EXPECT_EQ(ReadFile(WorkFile("config.conf")),
              "#TFC Header V1.0 - DO NOT MODIFY\nrock2 1 4\nwell 1 0\n#END#");

    fs::remove(WorkFile("config.conf"));
    const test::CliRun none = Run({"versions"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, "");
    EXPECT_NE(none.err.find("config.conf"), std::string::npos) << none.err;
    EXPECT_FALSE(fs::exists(WorkFile("config.conf")));
    EXPECT_EQ(Run({"versions", "extra"}).status, 2);
}

} // namespace
} // namespace ballotine

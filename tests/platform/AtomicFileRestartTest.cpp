#include "platform/AtomicFile.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <string>

namespace ballotine {
namespace {

TEST(AtomicFileRestart, DropsEverythingWrittenBeforeBufferedOrNot) {
    test::TempDir folder;
    const std::string target = folder / "package.zip";
    test::WriteFile(target, "installed");
    AtomicFile file(target);
    ASSERT_TRUE(file.Write(std::string(200000, 'x'))); // past the buffer: on disk already
    ASSERT_TRUE(file.Write("tail"));                   // still buffered

    ASSERT_TRUE(file.Restart());
    EXPECT_EQ(test::ReadFile(target), "installed");
    ASSERT_TRUE(file.Write("fresh"));
    ASSERT_TRUE(file.Commit());

    EXPECT_EQ(test::ReadFile(target), "fresh");
    EXPECT_FALSE(file.Restart()) << "a committed file cannot be restarted";
}

} // namespace
} // namespace ballotine

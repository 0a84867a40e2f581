#include "support/DemoFixture.h"

#include <gtest/gtest.h>

namespace ballotine::test {

DemoFixture::DemoFixture(std::string_view folderName)
    : m_layout(m_dir.Path() / folderName, BALLOTINE_BIN_DIR) {
    std::string error;
    EXPECT_TRUE(demo::WriteDemoInstallation(m_layout, error)) << error;
}

std::string DemoFixture::Game(std::string_view relative) const {
    return (m_layout.gameDir / relative).string();
}

} // namespace ballotine::test

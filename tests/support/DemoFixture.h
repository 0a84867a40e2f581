#pragma once

#include "demo/DemoInstallation.h"
#include "support/TestFiles.h"

namespace ballotine::test {

// A demo installation written into a temporary folder for one test, in a folder of that name.
class DemoFixture {
public:
    explicit DemoFixture(std::string_view folderName = "demo");
    const demo::DemoLayout& Layout() const { return m_layout; }
    // A path below the game folder, e.g. Game("tfc/maps/2fort.bsp").
    std::string Game(std::string_view relative) const;

private:
    TempDir m_dir;
    demo::DemoLayout m_layout;
};

} // namespace ballotine::test

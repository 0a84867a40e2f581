#pragma once

#include "catalogue/WorkingPaths.h"
#include "install/InstallLog.h"
#include "platform/FileSystem.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace ballotine::test {

// The working paths of the mod tfc in a game folder below `dir`, with the mod's folders made.
inline WorkingPaths TfcPaths(const TempDir& dir, const std::string& game = "Half-Life") {
    WorkingPaths paths;
    paths.installDir = dir / game;
    ComputeWorkDir(paths);
    ComputeModPaths(paths, "tfc");
    CreateFolders(paths.mapsDir);
    CreateFolders(paths.modWorkDir + "mapzips");
    return paths;
}

// An install log written to a file of its own, read back as text.
class CapturedLog {
public:
    explicit CapturedLog(const TempDir& dir) : m_file(dir / "captured.log") {
        EXPECT_TRUE(m_log.Open(m_file));
    }
    InstallLog& Log() { return m_log; }
    // Closes the log and returns what was written.
    std::string Text() {
        EXPECT_TRUE(m_log.Close());
        return ReadFile(m_file);
    }

private:
    std::string m_file;
    InstallLog m_log;
};

} // namespace ballotine::test

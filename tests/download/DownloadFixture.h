#pragma once

#include "download/DownloadQueue.h"
#include "download/DownloadTransfer.h"
#include "download/LoopbackServer.h"
#include "support/TestFiles.h"

#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace ballotine::test {

// A loopback server, a temporary folder and a queue whose items are all pending.
template <typename ClockType>
class DownloadFixture : public ::testing::Test {
protected:
    // The item is appended pending, its local file in the temporary folder.
    void AddPending(const std::string& name, const std::string& url, const std::string& altUrl,
                    const std::string& file, std::int64_t size = -1) {
        queue.Append(name, url, altUrl, folder / file, size, 0, "N/A", false);
        queue.FindByName(name);
        queue.SetStatus(StatusPending);
    }

    DownloadStatus StatusOf(const std::string& name) {
        EXPECT_TRUE(queue.FindByName(name)) << name;
        return queue.GetStatus();
    }

    // Every file the folder holds, temporary ones included.
    int FilesInFolder() const {
        int count = 0;
        for ([[maybe_unused]] const auto& entry :
             std::filesystem::directory_iterator(folder.Path())) {
            ++count;
        }
        return count;
    }

    TempDir folder;
    LoopbackServer server;
    ClockType clock;
    DownloadTransfer transfer{clock};
    DownloadQueue queue;
};

// Bytes that differ from position to position, so a misplaced range shows.
std::string PatternedBytes(std::size_t size);

} // namespace ballotine::test

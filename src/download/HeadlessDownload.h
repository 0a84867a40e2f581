#pragma once

#include "download/DownloadQueue.h"
#include "download/DownloadTransfer.h"
#include "download/TextProgressLine.h"
#include "platform/Clock.h"

#include <cstdint>
#include <functional>

namespace ballotine {

struct HeadlessDownloadOptions {
    // Nobody can press "Skip File" here: a file that brings no byte for this long fails.
    std::uint64_t noProgressLimitMs = 30000;
    // Asked on every tick; true cancels the whole run.
    std::function<bool()> cancelRequested;
};

// Downloads the queue's pending items without a window: the same transfer and progress
// figures as the progress window, in a loop of its own. `line` may be null.
DownloadRunResult RunDownloadQueue(DownloadQueue& queue, DownloadTransfer& transfer,
                                   const Clock& clock, TextProgressLine* line,
                                   const HeadlessDownloadOptions& options = {});

// Waits at most `maxWaitMs` for the transfer's sockets or its timeout and lets it do the work
// that is ready. For a transfer without a SocketWatcher.
void PumpTransfer(DownloadTransfer& transfer, int maxWaitMs);

} // namespace ballotine

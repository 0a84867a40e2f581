#include "download/HeadlessDownload.h"

#include "common/Text.h"
#include "download/DownloadProgress.h"

#include <poll.h>
#include <vector>

namespace ballotine {

void PumpTransfer(DownloadTransfer& transfer, int maxWaitMs) {
    const std::vector<DownloadTransfer::WatchedSocket> sockets = transfer.Sockets();
    const long timeout = transfer.TimeoutMs();
    int wait = maxWaitMs < 0 ? 0 : maxWaitMs;
    if (timeout >= 0 && timeout < wait) {
        wait = static_cast<int>(timeout);
    }
    std::vector<pollfd> watched;
    watched.reserve(sockets.size());
    for (const DownloadTransfer::WatchedSocket& socket : sockets) {
        const short events =
            static_cast<short>((socket.read ? POLLIN : 0) | (socket.write ? POLLOUT : 0));
        watched.push_back(pollfd{socket.fd, events, 0});
    }
    if (::poll(watched.data(), watched.size(), wait) > 0) {
        for (const pollfd& ready : watched) {
            if (ready.revents != 0) {
                // errors and hang-ups are for libcurl to read on the socket
                transfer.SocketReady(ready.fd, (ready.revents & (POLLIN | POLLHUP | POLLERR)) != 0,
                                     (ready.revents & (POLLOUT | POLLERR)) != 0);
            }
        }
    }
    if (transfer.TimeoutMs() == 0) {
        transfer.TimeoutExpired();
    }
}

DownloadRunResult RunDownloadQueue(DownloadQueue& queue, DownloadTransfer& transfer,
                                   const Clock& clock, TextProgressLine* line,
                                   const HeadlessDownloadOptions& options) {
    DownloadProgress progress(queue, transfer, clock);
    if (line != nullptr) {
        progress.SetListener({[line, &progress] { line->Show(progress.Labels(), progress.Rate()); },
                              [line, &progress](const std::string& name, DownloadStatus status,
                                                std::int64_t bytes, const std::string& reason) {
                                  line->FileEnded(name, status, bytes, progress.Rate(), reason);
                              }});
    }
    if (!progress.Start()) {
        return progress.Result();
    }
    progress.Advance();
    std::uint64_t nextTick = clock.TickMs() + DownloadProgress::kTickMs;
    while (progress.IsRunning()) {
        const std::uint64_t now = clock.TickMs();
        // The next file starts as soon as one ends, not at the next tick: waiting cost every
        // file up to 100 ms. The tick only measures and redraws.
        if (now < nextTick) {
            PumpTransfer(transfer, static_cast<int>(nextTick - now));
            progress.Advance();
            continue;
        }
        nextTick += DownloadProgress::kTickMs;
        if (nextTick <= now) {
            nextTick = now + DownloadProgress::kTickMs; // after a long pause, no burst of ticks
        }
        progress.Tick();
        if (!progress.IsRunning()) {
            break;
        }
        if (options.cancelRequested && options.cancelRequested()) {
            progress.Cancel();
        } else if (transfer.IsActive() && !transfer.IsComplete() &&
                   clock.TickMs() - progress.LastProgressTick() >= options.noProgressLimitMs) {
            progress.SkipFile(Format("no data for %llu seconds",
                                     static_cast<unsigned long long>(
                                         (clock.TickMs() - progress.LastProgressTick()) / 1000)));
        }
    }
    return progress.Result();
}

} // namespace ballotine

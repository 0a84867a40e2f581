#pragma once

#include "download/DownloadQueue.h"
#include "download/DownloadTransfer.h"
#include "platform/Clock.h"

#include <cstdint>
#include <functional>
#include <string>

namespace ballotine {

// The texts of the progress window, as the figures last set them. Until the first file starts
// they are the window's initial texts.
struct DownloadLabels {
    std::string fileGroup = "Download 1 of 17";
    std::string fileName;
    std::string fileBytes;
    std::string fileElapsed = "00:00:00";
    std::string fileRemaining = "00:00:00";
    std::string totalBytes;
    std::string totalElapsed = "00:00:00";
    std::string totalRemaining = "00:00:00";
    std::int64_t progressMaximum = 0; // KB
    std::int64_t progressPosition = 0;
};

// Works through the pending items of a queue one by one and keeps the figures a progress
// window shows: bytes, elapsed and remaining times and the rate. The data itself arrives
// through the transfer; whenever the transfer has done some work the view calls Advance, which
// ends a file that is over and starts the next at once. The 100 ms tick only measures and
// rewrites the figures. Views (the window, the command line's progress line) only display the
// labels and forward the user's commands.
class DownloadProgress {
public:
    enum class State { NotStarted, Running, Finished, Cancelled };
    static constexpr int kTickMs = 100;

    struct Listener {
        std::function<void()> labelsChanged;
        // A file ended: downloaded, failed to open or write, skipped or cancelled; `reason` says
        // why one failed.
        std::function<void(const std::string& name, DownloadStatus status, std::int64_t bytes,
                           const std::string& reason)>
            fileEnded;
    };

    DownloadProgress(DownloadQueue& queue, DownloadTransfer& transfer, const Clock& clock);
    ~DownloadProgress();
    DownloadProgress(const DownloadProgress&) = delete;
    DownloadProgress& operator=(const DownloadProgress&) = delete;

    void SetListener(Listener listener) { m_listener = std::move(listener); }

    // Opens the Internet handle and counts the pending items. False when no handle could be
    // opened: the run is then over, cancelled. The first file starts on the first Advance.
    bool Start();
    // The transfer may have moved: a file that is over is ended and the next one started (or
    // the run finished), without waiting for a tick.
    void Advance();
    // One 100 ms tick: Advance, and the figures every fifth.
    void Tick();
    // "Skip File": the file being fetched is given up and leaves the total.
    void SkipFile(const std::string& reason = "skipped");
    // "Cancel All": the file being fetched is given up and the run ends; later items stay
    // pending.
    void Cancel();

    State GetState() const { return m_state; }
    bool IsRunning() const { return m_state == State::Running; }
    DownloadRunResult Result() const;

    const DownloadLabels& Labels() const { return m_labels; }
    std::int64_t TotalSize() const { return m_totalSize; }
    std::int32_t FilesToDownload() const { return m_filesToDownload; }
    float Rate() const { return m_rate; }
    std::int64_t FileRemaining() const { return m_fileRemaining; }
    std::int64_t TotalRemaining() const { return m_totalRemaining; }
    // When a byte of the current file last arrived (or the file started).
    std::uint64_t LastProgressTick() const { return m_lastProgressTick; }
    const DownloadTransfer& Transfer() const { return m_transfer; }

    // "hh:mm:ss".
    static std::string FormatTime(std::int64_t seconds);

private:
    // The item being fetched, or the last one that was; null before the first and after the
    // last pending item.
    DownloadItem* Current();
    // Makes the current item, or the next after it, a pending one; false at the end of the
    // queue.
    bool NextPending();
    // The current item, when it still waits for its data.
    DownloadItem* CurrentPending();
    void StartCurrent();
    void EndCurrent(DownloadStatus status);
    void GiveUpCurrent(const std::string& reason);
    void Finish();
    void Measure(std::uint64_t now);
    void RefreshAll();
    void RefreshPeriodic();
    void SetFileFigureLabels();
    void LabelsChanged();
    void FileEnded(const std::string& name, DownloadStatus status, std::int64_t bytes,
                   const std::string& reason);

    DownloadQueue& m_queue;
    std::size_t m_current = 0;
    DownloadTransfer& m_transfer;
    const Clock& m_clock;
    Listener m_listener;
    DownloadLabels m_labels;

    State m_state = State::NotStarted;
    float m_rate = 6.0F;
    int m_countdown = 5;
    std::int64_t m_totalSize = 0;
    std::int32_t m_filesToDownload = 0;
    std::uint64_t m_totalStartTick = 0;
    std::uint64_t m_lastProgressTick = 0;
    std::int64_t m_measuredReceived = 0; // the run's bytes at the last measurement
    std::int64_t m_fileElapsed = 0;
    std::int64_t m_totalElapsed = 0;
    std::int64_t m_fileRemaining = 0;
    std::int64_t m_totalRemaining = 0;
};

} // namespace ballotine

#include "download/DownloadProgress.h"

#include "common/Text.h"

#include <algorithm>

namespace ballotine {

namespace {

constexpr int kTicksPerRefresh = 5;
constexpr std::int64_t kKilobyte = 1024;

// Whole seconds left for `bytesLeft` at `rate` KB/s; never negative.
std::int64_t SecondsLeft(std::int64_t bytesLeft, float rate) {
    if (rate <= 0.0F) {
        return 0;
    }
    const std::int64_t kilobytes = bytesLeft / kKilobyte;
    const auto seconds = static_cast<std::int64_t>(static_cast<double>(kilobytes) / rate);
    return seconds < 0 ? 0 : seconds;
}

std::int64_t SecondsBetween(std::uint64_t from, std::uint64_t to) {
    return static_cast<std::int64_t>(to - from) / 1000;
}

} // namespace

DownloadProgress::DownloadProgress(DownloadQueue& queue, DownloadTransfer& transfer,
                                   const Clock& clock)
    : m_queue(queue), m_transfer(transfer), m_clock(clock) {}

DownloadProgress::~DownloadProgress() {
    // The transfer outlives us and must not call back into a run that is gone.
    if (m_state == State::Running) {
        m_transfer.CloseFile();
        m_transfer.CloseInternet();
    }
}

std::string DownloadProgress::FormatTime(std::int64_t seconds) {
    return Format("%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>((seconds % 3600) / 60),
                  static_cast<long long>(seconds % 60));
}

bool DownloadProgress::Start() {
    if (m_state != State::NotStarted) {
        return m_state == State::Running;
    }
    m_rate = 6.0F;
    m_countdown = kTicksPerRefresh;
    if (!m_transfer.OpenInternet()) {
        Cancel();
        return false;
    }
    m_filesToDownload = 0;
    m_totalSize = 0;
    m_transfer.ResetCounters();
    for (const DownloadItem& item : m_queue) {
        if (item.status == DownloadStatus::Pending) {
            ++m_filesToDownload;
            if (item.size > 0) {
                m_totalSize += item.size;
            }
        }
    }
    m_labels.progressMaximum = m_totalSize / kKilobyte;
    m_labels.progressPosition = 0;
    m_current = 0;
    m_totalElapsed = 0;
    m_totalRemaining = 0;
    m_totalStartTick = m_clock.TickMs();
    m_measuredReceived = 0;
    m_state = State::Running;
    return true;
}

DownloadRunResult DownloadProgress::Result() const {
    switch (m_state) {
    case State::NotStarted:
        return DownloadRunResult::NotRun;
    case State::Cancelled:
        return DownloadRunResult::Cancelled;
    case State::Running:
    case State::Finished:
        break;
    }
    return DownloadRunResult::WorkedThrough;
}

void DownloadProgress::Advance() {
    while (m_state == State::Running) {
        if (m_transfer.IsActive()) {
            switch (m_transfer.ReadChunk()) {
            case ReadOutcome::Received:
                m_lastProgressTick = m_clock.TickMs();
                return;
            case ReadOutcome::EndOfData:
                EndCurrent(DownloadStatus::Downloaded);
                break;
            case ReadOutcome::FileFailed:
                EndCurrent(DownloadStatus::Failed);
                break;
            case ReadOutcome::ReadFailed:
            case ReadOutcome::Waiting:
                return;
            }
        }
        if (!NextPending()) {
            Finish();
            return;
        }
        StartCurrent();
    }
}

void DownloadProgress::Tick() {
    if (m_state != State::Running) {
        return;
    }
    if (--m_countdown == 0) {
        m_countdown = kTicksPerRefresh;
    }
    Advance();
    if (m_state != State::Running) {
        return;
    }
    const std::uint64_t now = m_clock.TickMs();
    m_fileElapsed = SecondsBetween(m_transfer.FileStartTick(), now);
    m_totalElapsed = SecondsBetween(m_totalStartTick, now);
    if (m_countdown == kTicksPerRefresh) {
        if (m_transfer.TotalReceived() != m_measuredReceived) {
            Measure(now);
        }
        RefreshPeriodic();
    }
}

void DownloadProgress::SkipFile(const std::string& reason) {
    const DownloadItem* current = CurrentPending();
    if (m_state != State::Running || current == nullptr) {
        return; // nothing is being fetched
    }
    if (m_transfer.IsComplete()) {
        EndCurrent(DownloadStatus::Downloaded); // it arrived whole before the click was seen
        return;
    }
    const bool active = m_transfer.IsActive();
    const std::int64_t size = active ? m_transfer.FileSize() : current->size;
    const std::int64_t received = active ? m_transfer.FileReceived() : 0;
    // Only a size that was counted leaves the total.
    if (size > 0) {
        m_totalSize += received - size;
        m_labels.progressMaximum = m_totalSize / kKilobyte;
        LabelsChanged();
    }
    GiveUpCurrent(reason);
}

void DownloadProgress::Cancel() {
    if (m_state == State::Finished || m_state == State::Cancelled) {
        return;
    }
    if (m_transfer.IsComplete()) {
        EndCurrent(DownloadStatus::Downloaded);
    } else {
        GiveUpCurrent("cancelled");
    }
    m_transfer.CloseInternet();
    m_state = State::Cancelled;
}

DownloadItem* DownloadProgress::Current() {
    return m_current < m_queue.size() ? &m_queue[m_current] : nullptr;
}

DownloadItem* DownloadProgress::CurrentPending() {
    DownloadItem* current = Current();
    return current != nullptr && current->status == DownloadStatus::Pending ? current : nullptr;
}

bool DownloadProgress::NextPending() {
    while (m_current < m_queue.size() && m_queue[m_current].status != DownloadStatus::Pending) {
        ++m_current;
    }
    return m_current < m_queue.size();
}

void DownloadProgress::StartCurrent() {
    m_fileElapsed = 0;
    m_fileRemaining = 0;
    m_lastProgressTick = m_clock.TickMs();
    DownloadItem& item = *Current();
    if (!m_transfer.StartFile(item, [this] { RefreshAll(); })) {
        item.status = DownloadStatus::Failed;
        item.failure = "cannot begin a download";
        FileEnded(item.name, DownloadStatus::Failed, 0, item.failure);
    }
}

// A file that ends between two refreshes is measured too: its record shows the rate it had.
void DownloadProgress::EndCurrent(DownloadStatus status) {
    const std::uint64_t now = m_clock.TickMs();
    if (m_transfer.TotalReceived() != m_measuredReceived) {
        Measure(now);
    }
    const std::string reason =
        status == DownloadStatus::Failed ? m_transfer.FailureReason() : std::string();
    if (DownloadItem* current = Current()) {
        current->status = status;
        current->failure = reason;
    }
    const std::int64_t received = m_transfer.FileReceived();
    m_transfer.CloseFile();
    FileEnded(m_transfer.CurrentName(), status, received, reason);
}

// Only an item still waiting for its data is marked: the run may rest on one that is finished
// or was never selected.
void DownloadProgress::GiveUpCurrent(const std::string& reason) {
    DownloadItem* current = CurrentPending();
    if (current == nullptr) {
        m_transfer.CloseFile();
        return;
    }
    const std::int64_t received = m_transfer.IsActive() ? m_transfer.FileReceived() : 0;
    current->status = DownloadStatus::Failed;
    current->failure = reason;
    m_transfer.CloseFile();
    FileEnded(current->name, DownloadStatus::Failed, received, reason);
}

void DownloadProgress::Finish() {
    m_transfer.CloseInternet();
    m_state = State::Finished;
}

// The average rate over the whole run so far, all files together. A run younger than a
// millisecond counts as one: a small file on a fast link ends before the clock moves.
void DownloadProgress::Measure(std::uint64_t now) {
    const std::uint64_t elapsedMs = std::max<std::uint64_t>(now - m_totalStartTick, 1);
    const std::int64_t received = m_transfer.TotalReceived();
    m_measuredReceived = received;
    m_rate = static_cast<float>(static_cast<double>(received) /
                                (static_cast<double>(elapsedMs) * 0.001) / 1024.0);
    m_totalRemaining = SecondsLeft(m_totalSize - received, m_rate);
    m_fileRemaining = SecondsLeft(m_transfer.FileSize() - m_transfer.FileReceived(), m_rate);
}

void DownloadProgress::SetFileFigureLabels() {
    if (m_transfer.FileSize() >= 0) {
        m_labels.fileBytes =
            Format("%lld of %lld", static_cast<long long>(m_transfer.FileReceived()),
                   static_cast<long long>(m_transfer.FileSize()));
        m_labels.fileElapsed = FormatTime(m_fileElapsed);
        m_labels.fileRemaining = FormatTime(m_fileRemaining);
    } else {
        m_labels.fileBytes = Format("%lld", static_cast<long long>(m_transfer.FileReceived()));
    }
}

void DownloadProgress::RefreshAll() {
    m_labels.fileName = m_transfer.CurrentName();
    SetFileFigureLabels();
    if (m_transfer.FileSize() < 0) {
        m_labels.fileElapsed = "Not Available";
        m_labels.fileRemaining = "Not Available";
    }
    m_labels.totalBytes = Format("%lld of %lld", static_cast<long long>(m_transfer.TotalReceived()),
                                 static_cast<long long>(m_totalSize));
    m_labels.totalElapsed = FormatTime(m_totalElapsed);
    m_labels.totalRemaining = FormatTime(m_totalRemaining);
    m_labels.fileGroup = Format("Download %i of %i", m_transfer.FilesStarted(), m_filesToDownload);
    LabelsChanged();
}

void DownloadProgress::RefreshPeriodic() {
    SetFileFigureLabels();
    m_labels.progressPosition = m_transfer.TotalReceived() / kKilobyte;
    m_labels.totalBytes =
        Format("%lld of %lld (%.2f Kb/Sec)", static_cast<long long>(m_transfer.TotalReceived()),
               static_cast<long long>(m_totalSize), static_cast<double>(m_rate));
    m_labels.totalElapsed = FormatTime(m_totalElapsed);
    m_labels.totalRemaining = FormatTime(m_totalRemaining);
    LabelsChanged();
}

void DownloadProgress::FileEnded(const std::string& name, DownloadStatus status, std::int64_t bytes,
                                 const std::string& reason) {
    if (m_listener.fileEnded) {
        m_listener.fileEnded(name, status, bytes, reason);
    }
}

void DownloadProgress::LabelsChanged() {
    if (m_listener.labelsChanged) {
        m_listener.labelsChanged();
    }
}

} // namespace ballotine

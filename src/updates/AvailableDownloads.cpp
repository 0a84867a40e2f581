#include "updates/AvailableDownloads.h"

#include "common/Text.h"

namespace ballotine {

std::size_t AvailableDownloads::Append(DownloadItem item) {
    item.status = DownloadStatus::None;
    m_firstByLowerTitle.emplace(ToLowerAscii(item.name), m_queue.size());
    m_queue.push_back(std::move(item));
    return m_queue.size() - 1;
}

void AvailableDownloads::Clear() {
    m_queue.clear();
    m_firstByLowerTitle.clear();
}

std::optional<std::size_t> AvailableDownloads::FindByTitle(std::string_view title) const {
    const auto found = m_firstByLowerTitle.find(ToLowerAscii(title));
    return found == m_firstByLowerTitle.end() ? std::nullopt : std::optional(found->second);
}

void AvailableDownloads::SetStatus(std::size_t index, DownloadStatus status) {
    if (index < m_queue.size()) {
        m_queue[index].status = status;
    }
}

} // namespace ballotine

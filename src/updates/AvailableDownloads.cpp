#include "updates/AvailableDownloads.h"

#include "common/Text.h"

namespace ballotine {

std::int32_t AvailableDownloads::Append(const DownloadItem& item) {
    if (!m_queue.Append(item.name, item.url, item.altUrl, item.localPath, item.size, item.version,
                        item.packageKey, item.fullPackage)) {
        return -1;
    }
    const std::int32_t index = m_queue.GetCount() - 1;
    m_firstByLowerTitle.emplace(ToLowerAscii(item.name), index);
    return index;
}

void AvailableDownloads::Clear() {
    m_queue.Clear();
    m_firstByLowerTitle.clear();
}

std::int32_t AvailableDownloads::FindByTitle(std::string_view title) const {
    const auto found = m_firstByLowerTitle.find(ToLowerAscii(title));
    return found == m_firstByLowerTitle.end() ? -1 : found->second;
}

void AvailableDownloads::SetStatus(std::int32_t index, DownloadStatus status) {
    if (m_queue.MoveTo(static_cast<std::size_t>(index))) {
        m_queue.SetStatus(status);
    }
}

} // namespace ballotine

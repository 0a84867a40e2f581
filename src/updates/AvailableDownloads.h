#pragma once

#include "download/DownloadQueue.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace ballotine {

// The download queue of every package the catalogue lists, with an index by title beside it:
// the tree finds a package's item by its title, and with thousands of packages a scan of the
// queue per tree item would not do. The first item of a title wins.
//
// The program owns one; it is refilled at every opening of the update list and stays filled
// after the dialog closes. Items are added and removed only here, so the index stays true;
// the downloader and the installer change statuses through Queue().
class AvailableDownloads {
public:
    DownloadQueue& Queue() { return m_queue; }
    const DownloadQueue& Queue() const { return m_queue; }
    std::size_t Count() const { return m_queue.size(); }
    const DownloadItem& At(std::size_t index) const { return m_queue[index]; }

    // Appends an item (not selected); returns its position.
    std::size_t Append(DownloadItem item);
    void Clear();

    // The position of the first item whose name equals `title` without regard to case.
    std::optional<std::size_t> FindByTitle(std::string_view title) const;
    void SetStatus(std::size_t index, DownloadStatus status);

private:
    DownloadQueue m_queue;
    std::unordered_map<std::string, std::size_t> m_firstByLowerTitle;
};

} // namespace ballotine

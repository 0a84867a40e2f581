#pragma once

#include "common/Text.h"
#include "download/DownloadQueue.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace ballotine::test {

// An item to fetch from `url` into `localPath`; pending unless told otherwise.
inline DownloadItem Item(std::string name, std::string url, std::string localPath,
                         std::int64_t size = -1, DownloadStatus status = DownloadStatus::Pending) {
    DownloadItem item;
    item.name = std::move(name);
    item.url = std::move(url);
    item.localPath = std::move(localPath);
    item.size = size;
    item.status = status;
    return item;
}

// The first item whose name equals `name` without regard to case; the test fails without one.
inline DownloadItem& ItemNamed(DownloadQueue& queue, std::string_view name) {
    for (DownloadItem& item : queue) {
        if (EqualsNoCase(item.name, name)) {
            return item;
        }
    }
    ADD_FAILURE() << "no item " << name;
    static DownloadItem none;
    return none;
}

// The statuses in queue order: N none, P pending, D downloaded, F failed, I installed.
inline std::string StatusLetters(const DownloadQueue& queue) {
    std::string letters;
    for (const DownloadItem& item : queue) {
        letters += "NPDFI"[static_cast<std::size_t>(item.status)];
    }
    return letters;
}

} // namespace ballotine::test

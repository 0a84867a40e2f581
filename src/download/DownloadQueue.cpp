#include "download/DownloadQueue.h"

#include "common/Text.h"

#include <new>

namespace ballotine {

namespace {

const DownloadItem kNoItem{};

} // namespace

bool DownloadQueue::Append(std::string_view name, std::string_view url, std::string_view altUrl,
                           std::string_view localPath, std::int64_t size, std::int32_t version,
                           std::string_view packageKey, bool fullPackage) {
    try {
        DownloadItem item;
        item.name = name;
        item.packageKey = packageKey;
        item.url = url;
        item.altUrl = altUrl;
        item.localPath = localPath;
        item.version = version;
        item.size = size;
        item.fullPackage = fullPackage;
        m_items.push_back(std::move(item));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void DownloadQueue::Clear() {
    m_items.clear();
    m_cursor.reset();
}

void DownloadQueue::Rewind() {
    if (m_items.empty()) {
        m_cursor.reset();
    } else {
        m_cursor = 0;
    }
}

bool DownloadQueue::Advance() {
    if (!m_cursor || *m_cursor + 1 >= m_items.size()) {
        return false;
    }
    ++*m_cursor;
    return true;
}

bool DownloadQueue::FindByName(std::string_view name) {
    for (std::size_t index = 0; index < m_items.size(); ++index) {
        if (EqualsNoCase(m_items[index].name, name)) {
            m_cursor = index;
            return true;
        }
    }
    return false;
}

const DownloadItem* DownloadQueue::Current() const {
    return m_cursor ? &m_items[*m_cursor] : nullptr;
}

const std::string& DownloadQueue::GetName() const {
    const DownloadItem* item = Current();
    return item ? item->name : kNoItem.name;
}

const std::string& DownloadQueue::GetPackageKey() const {
    const DownloadItem* item = Current();
    return item ? item->packageKey : kNoItem.packageKey;
}

const std::string& DownloadQueue::GetUrl() const {
    const DownloadItem* item = Current();
    return item ? item->url : kNoItem.url;
}

const std::string& DownloadQueue::GetAltUrl() const {
    const DownloadItem* item = Current();
    return item ? item->altUrl : kNoItem.altUrl;
}

const std::string& DownloadQueue::GetLocalPath() const {
    const DownloadItem* item = Current();
    return item ? item->localPath : kNoItem.localPath;
}

std::int64_t DownloadQueue::GetSize() const {
    const DownloadItem* item = Current();
    return item ? item->size : 0;
}

std::int32_t DownloadQueue::GetVersion() const {
    const DownloadItem* item = Current();
    return item ? item->version : 0;
}

DownloadStatus DownloadQueue::GetStatus() const {
    const DownloadItem* item = Current();
    return item ? item->status : StatusNone;
}

bool DownloadQueue::IsFullPackage() const {
    const DownloadItem* item = Current();
    return item ? item->fullPackage : false;
}

void DownloadQueue::SetStatus(DownloadStatus status) {
    if (m_cursor) {
        m_items[*m_cursor].status = status;
    }
}

} // namespace ballotine

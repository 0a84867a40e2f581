#include "download/DownloadQueue.h"

#include "common/Text.h"

#include <new>

namespace ballotine {

namespace {

const std::string kNone;

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

bool DownloadQueue::MoveTo(std::size_t index) {
    if (index >= m_items.size()) {
        return false;
    }
    m_cursor = index;
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

template <typename Field>
const Field& DownloadQueue::CurrentField(Field DownloadItem::*field, const Field& none) const {
    const DownloadItem* item = Current();
    return item ? item->*field : none;
}

const std::string& DownloadQueue::GetName() const {
    return CurrentField(&DownloadItem::name, kNone);
}
const std::string& DownloadQueue::GetPackageKey() const {
    return CurrentField(&DownloadItem::packageKey, kNone);
}
const std::string& DownloadQueue::GetUrl() const {
    return CurrentField(&DownloadItem::url, kNone);
}
const std::string& DownloadQueue::GetAltUrl() const {
    return CurrentField(&DownloadItem::altUrl, kNone);
}
const std::string& DownloadQueue::GetLocalPath() const {
    return CurrentField(&DownloadItem::localPath, kNone);
}
std::int64_t DownloadQueue::GetSize() const {
    return CurrentField(&DownloadItem::size, {});
}
std::int32_t DownloadQueue::GetVersion() const {
    return CurrentField(&DownloadItem::version, {});
}
DownloadStatus DownloadQueue::GetStatus() const {
    return CurrentField(&DownloadItem::status, StatusNone);
}
bool DownloadQueue::IsFullPackage() const {
    return CurrentField(&DownloadItem::fullPackage, {});
}

void DownloadQueue::SetStatus(DownloadStatus status) {
    if (m_cursor) {
        m_items[*m_cursor].status = status;
    }
}

} // namespace ballotine

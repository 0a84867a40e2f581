#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

// What became of an item; the only channel between catalogue, downloader and installer.
enum DownloadStatus : std::int32_t {
    StatusNone = 0,       // not selected
    StatusPending = 1,    // selected, waits for download
    StatusDownloaded = 2, // arrived completely
    StatusFailed = 3,     // no usable file
    StatusInstalled = 99, // the installer placed it
};

struct DownloadItem {
    std::string name;
    std::string packageKey;
    std::string url;
    std::string altUrl; // "N/A" in any case: no alternate
    std::string localPath;
    std::int32_t version = 0;
    std::int64_t size = -1; // bytes; -1 when not given
    DownloadStatus status = StatusNone;
    bool fullPackage = false;
};

// The list of files to fetch and install, walked through one shared cursor: every accessor
// works on the item under the cursor, and a walk leaves the cursor where it ended. Texts are
// kept whole, whatever their length.
class DownloadQueue {
public:
    // Argument order as callers know it: size before version, packageKey and fullPackage last.
    bool Append(std::string_view name, std::string_view url, std::string_view altUrl,
                std::string_view localPath, std::int64_t size, std::int32_t version,
                std::string_view packageKey, bool fullPackage);
    void Clear();

    void Rewind();
    // Moves to the next item; false (cursor unchanged) on the last item or with no cursor.
    bool Advance();
    // Makes the first item whose name matches without regard to case current; false, cursor
    // unchanged, when none matches.
    bool FindByName(std::string_view name);

    std::int32_t GetCount() const { return static_cast<std::int32_t>(m_items.size()); }
    bool HasCurrent() const { return m_cursor.has_value(); }
    // For owners that keep their own index of the items: an item by position, and the cursor
    // moved there (false, cursor unchanged, when out of range).
    const DownloadItem& At(std::size_t index) const { return m_items[index]; }
    bool MoveTo(std::size_t index);

    // The current item's fields; empty texts and zeros with no current item.
    const std::string& GetName() const;
    const std::string& GetPackageKey() const;
    const std::string& GetUrl() const;
    const std::string& GetAltUrl() const;
    const std::string& GetLocalPath() const;
    std::int64_t GetSize() const;
    std::int32_t GetVersion() const;
    DownloadStatus GetStatus() const;
    bool IsFullPackage() const;
    // Does nothing with no current item.
    void SetStatus(DownloadStatus status);

private:
    const DownloadItem* Current() const;
    template <typename Field>
    const Field& CurrentField(Field DownloadItem::*field, const Field& none) const;

    std::vector<DownloadItem> m_items;
    std::optional<std::size_t> m_cursor;
};

} // namespace ballotine

#include "updates/CatalogueTree.h"

#include "common/Text.h"
#include "updates/AvailableDownloads.h"
#include "updates/VersionTable.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace ballotine {

namespace {

constexpr std::size_t kCaptionLength = 64;

// The categories whose check state is passed on to their packages, in the order the refresh
// visits them; "Ballotine Updates" is not one of them.
constexpr std::array<Category, 4> kCheckableCategories = {
    Category::NewMaps, Category::DownloadableMaps, Category::FullMapUpdates,
    Category::EntityUpdates};

// The order the refresh redraws the packages in.
constexpr std::array<Category, 5> kRedrawOrder = {
    Category::BallotineUpdates, Category::NewMaps, Category::DownloadableMaps,
    Category::FullMapUpdates, Category::EntityUpdates};

const char* CategoryText(Category category) {
    switch (category) {
    case Category::BallotineUpdates:
        return "These are updates to the Ballotine which you should download...";
    case Category::NewMaps:
        return "These are the list of new maps you can download...";
    case Category::FullMapUpdates:
        return "These are the list of new updates/fixes for maps you already have ...";
    case Category::DownloadableMaps:
        return "These are the list of maps which you can download...";
    case Category::EntityUpdates:
        break;
    }
    return "These are the list of entities updates for either\nmaps you already have or for maps "
           "you can download...";
}

// The length of the UTF-8 sequence that starts with `lead`; 0 when it cannot start one.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

// The byte offsets at which the characters of a valid UTF-8 text start; nothing (an empty
// list) when the text is not valid UTF-8.
std::vector<std::size_t> Utf8Starts(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = SequenceLength(static_cast<unsigned char>(text[at]));
        if (length == 0 || at + length > text.size()) {
            return {};
        }
        for (std::size_t next = at + 1; next < at + length; ++next) {
            if ((static_cast<unsigned char>(text[next]) & 0xC0) != 0x80) {
                return {};
            }
        }
        starts.push_back(at);
        at += length;
    }
    return starts;
}

} // namespace

std::string_view CategoryLabel(Category category) {
    switch (category) {
    case Category::BallotineUpdates:
        return "Ballotine Updates";
    case Category::NewMaps:
        return "New Maps";
    case Category::EntityUpdates:
        return "Entity Updates";
    case Category::FullMapUpdates:
        return "Full Map Updates";
    case Category::DownloadableMaps:
        return "Downloadable Maps";
    }
    return {};
}

CatalogueTree::CatalogueTree(const AvailableDownloads& downloads) : m_downloads(downloads) {
    for (const Category category : kCategories) {
        m_categories[Index(category)].label = CategoryLabel(category);
    }
}

const CatalogueNode& CatalogueTree::Node(NodeId id) const {
    return id.IsCategory() ? m_categories[Index(id.category)]
                           : m_packages[Index(id.category)][static_cast<std::size_t>(id.child)];
}

CatalogueNode& CatalogueTree::MutableNode(NodeId id) {
    return const_cast<CatalogueNode&>(std::as_const(*this).Node(id));
}

std::int32_t CatalogueTree::PackageCount() const {
    std::size_t count = 0;
    for (const auto& packages : m_packages) {
        count += packages.size();
    }
    return static_cast<std::int32_t>(count);
}

void CatalogueTree::AddPackage(Category category, std::size_t queueIndex) {
    CatalogueNode node;
    node.queueIndex = queueIndex;
    node.label = m_downloads.At(queueIndex).name;
    m_packages[Index(category)].push_back(std::move(node));
}

void CatalogueTree::LabelSharedTitles() {
    std::unordered_map<std::string, int> titles;
    for (const auto& packages : m_packages) {
        for (const CatalogueNode& package : packages) {
            ++titles[ToLowerAscii(m_downloads.At(*package.queueIndex).name)];
        }
    }
    std::unordered_set<std::string> labels;
    for (auto& packages : m_packages) {
        for (CatalogueNode& package : packages) {
            const DownloadItem& item = m_downloads.At(*package.queueIndex);
            if (titles[ToLowerAscii(item.name)] < 2) {
                continue;
            }
            // A record's map and entity packages share their key; their files differ.
            package.label = item.name + " (" + item.packageKey + ")";
            if (!labels.insert(ToLowerAscii(package.label)).second) {
                package.label =
                    item.name + " (" + item.packageKey + ", " + FileNameOf(item.url) + ")";
            }
        }
    }
}

void CatalogueTree::SortPackages() {
    LabelSharedTitles();
    for (auto& packages : m_packages) {
        std::stable_sort(packages.begin(), packages.end(),
                         [](const CatalogueNode& a, const CatalogueNode& b) {
                             return CompareNoCase(a.label, b.label) < 0;
                         });
    }
}

void CatalogueTree::ToggleCheck(NodeId id) {
    CatalogueNode& node = MutableNode(id);
    node.checked = !node.checked;
    m_dirty = true;
}

void CatalogueTree::SetChecked(NodeId id, bool checked) {
    if (Node(id).checked != checked) {
        ToggleCheck(id);
    }
}

void CatalogueTree::SetMark(NodeId id, bool checked) {
    CatalogueNode& node = MutableNode(id);
    if (node.markedChecked != checked) {
        node.markedChecked = checked;
        m_redrawn.push_back(id);
    }
}

void CatalogueTree::PassOnCategoryCheck(Category category) {
    const bool checked = !m_categoryChecked[Index(category)];
    m_categoryChecked[Index(category)] = checked;
    m_categories[Index(category)].passedOn = true;
    SetMark({category, -1}, checked);
    for (CatalogueNode& package : m_packages[Index(category)]) {
        package.checked = checked;
    }
}

bool CatalogueTree::RefreshCheckMarks() {
    if (!m_dirty) {
        return false;
    }
    for (const Category category : kCheckableCategories) {
        if (m_categories[Index(category)].checked != m_categoryChecked[Index(category)]) {
            PassOnCategoryCheck(category);
        }
    }
    for (const Category category : kRedrawOrder) {
        const auto& packages = m_packages[Index(category)];
        for (std::size_t child = 0; child < packages.size(); ++child) {
            SetMark({category, static_cast<std::int32_t>(child)}, packages[child].checked);
        }
    }
    UpdateSelectionTotals();
    m_dirty = false;
    return true;
}

std::vector<NodeId> CatalogueTree::TakeRedrawn() {
    return std::exchange(m_redrawn, {});
}

void CatalogueTree::UpdateSelectionTotals() {
    m_selectedCount = 0;
    m_selectedBytes = 0;
    // Categories are not packages, whatever their labels, so only packages are counted.
    for (const auto& packages : m_packages) {
        for (const CatalogueNode& package : packages) {
            if (!package.queueIndex || !package.checked) {
                continue;
            }
            ++m_selectedCount;
            const std::int64_t size = m_downloads.At(*package.queueIndex).size;
            if (size > 0) {
                m_selectedBytes += size;
            }
        }
    }
    m_statusText = Format("  Total Files Selected:%i of %i files                          "
                          "Total Download Size: %lld bytes",
                          m_selectedCount, static_cast<int>(m_downloads.Count()),
                          static_cast<long long>(m_selectedBytes));
}

void CatalogueTree::ApplyCheckStates(AvailableDownloads& downloads) const {
    for (const auto& packages : m_packages) {
        for (const CatalogueNode& package : packages) {
            if (package.queueIndex) {
                downloads.SetStatus(*package.queueIndex, package.checked ? DownloadStatus::Pending
                                                                         : DownloadStatus::None);
            }
        }
    }
}

ItemDetails CatalogueTree::Details(NodeId id) const {
    const CatalogueNode& node = Node(id);
    if (id.IsCategory() || !node.queueIndex) {
        const Category category = id.IsCategory() ? id.category : Category::EntityUpdates;
        return {std::string(CategoryLabel(category)), CategoryText(category)};
    }
    const DownloadItem& item = m_downloads.At(*node.queueIndex);
    std::string text = item.size > 0
                           ? Format("Version %i\nSize %lld bytes\n\n%s\n", item.version,
                                    static_cast<long long>(item.size), item.url.c_str())
                           : Format("Version %i\nSize N/A\n\n%s\n", item.version, item.url.c_str());
    return {DetailsCaption(item.name), std::move(text)};
}

std::string DetailsCaption(std::string_view name) {
    const std::vector<std::size_t> starts = Utf8Starts(name);
    const bool utf8 = !starts.empty();
    const std::size_t characters = utf8 ? starts.size() : name.size();
    if (characters < kCaptionLength) {
        return std::string(name);
    }
    const std::size_t cut = !utf8                          ? kCaptionLength
                            : characters == kCaptionLength ? name.size()
                                                           : starts[kCaptionLength];
    return std::string(name.substr(0, cut)) + "...";
}

} // namespace ballotine

#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine {

class AvailableDownloads;

// The five categories of the catalogue, in the order they are created and expanded.
enum class Category : int {
    BallotineUpdates = 0, // mod packages
    NewMaps,              // maps not present, added in the last five list revisions
    EntityUpdates,        // entity packages
    FullMapUpdates,       // map packages of maps that are present
    DownloadableMaps,     // the other maps not present
};
inline constexpr std::array<Category, 5> kCategories = {
    Category::BallotineUpdates, Category::NewMaps, Category::EntityUpdates,
    Category::FullMapUpdates, Category::DownloadableMaps};
std::string_view CategoryLabel(Category category);

struct CatalogueNode {
    std::string label;
    bool checked = false;
    // What the item's mark shows, as of the last refresh: checked or not.
    bool markedChecked = false;
    // A category whose check state has been passed on to its packages (its mark changes form).
    bool passedOn = false;
    // The package's own queue item; none for a category.
    std::optional<std::size_t> queueIndex;
};

// A category (child -1) or one of its packages, by position in the category's sorted list.
struct NodeId {
    Category category = Category::BallotineUpdates;
    std::int32_t child = -1;

    bool IsCategory() const { return child < 0; }
    bool operator==(const NodeId&) const = default;
};

struct ItemDetails {
    std::string caption; // the details frame's caption
    std::string text;    // the details text; "\n" are line breaks
};

// The catalogue tree as a plain model: five categories with the packages listed under them,
// each with a check state and the mark that shows it, and the selection state of the dialog
// (which categories' check states were last passed on to their children, whether a check
// change waits to be applied, and the selection total). The view mirrors it.
class CatalogueTree {
public:
    // The five categories, not checked, without packages. `downloads` must outlive the tree and
    // may not be cleared while the tree lists packages of it.
    explicit CatalogueTree(const AvailableDownloads& downloads);

    const CatalogueNode& Node(NodeId id) const;
    const std::vector<CatalogueNode>& Packages(Category category) const {
        return m_packages[Index(category)];
    }
    std::int32_t PackageCount() const;

    // Lists the package of queue item `queueIndex`, not checked, under a category, labelled
    // with its title. SortPackages puts the categories in order afterwards.
    void AddPackage(Category category, std::size_t queueIndex);
    // Labels the packages that share a title (without regard to case) with their keys too, so
    // each can be told apart and named, then sorts every category's packages by label without
    // regard to case, keeping the order in which equal labels were added.
    void SortPackages();

    // A double click: the item's check state flips; the marks follow at the next refresh.
    void ToggleCheck(NodeId id);
    // Sets a check state, as a double click would when it differs.
    void SetChecked(NodeId id, bool checked);
    // A check change waits for RefreshCheckMarks.
    bool IsDirty() const { return m_dirty; }
    // Passes a changed category's check state on to its packages, sets the marks and recounts.
    // Does nothing (false) unless a check change waits.
    bool RefreshCheckMarks();
    // The items whose marks changed since the last call, for the view to redraw.
    std::vector<NodeId> TakeRedrawn();

    // Counts the checked packages and their known sizes, and sets the status text and whether
    // "Download..." is enabled.
    void UpdateSelectionTotals();
    std::int32_t SelectedCount() const { return m_selectedCount; }
    std::int64_t SelectedBytes() const { return m_selectedBytes; }
    // Empty until the first count.
    const std::string& StatusText() const { return m_statusText; }
    bool DownloadEnabled() const { return m_selectedCount != 0; }
    // Each package's check state becomes its queue item's status: pending when checked, not
    // selected otherwise.
    void ApplyCheckStates(AvailableDownloads& downloads) const;

    // What the details pane shows for an item.
    ItemDetails Details(NodeId id) const;

private:
    static std::size_t Index(Category category) { return static_cast<std::size_t>(category); }
    CatalogueNode& MutableNode(NodeId id);
    void PassOnCategoryCheck(Category category);
    void LabelSharedTitles();
    void SetMark(NodeId id, bool checked);

    const AvailableDownloads& m_downloads;
    std::array<CatalogueNode, 5> m_categories;
    std::array<std::vector<CatalogueNode>, 5> m_packages;
    // The check state last passed on to each category's packages.
    std::array<bool, 5> m_categoryChecked{};
    bool m_dirty = false;
    std::vector<NodeId> m_redrawn;
    std::int32_t m_selectedCount = 0;
    std::int64_t m_selectedBytes = 0;
    std::string m_statusText;
};

// A frame caption of at most 64 characters: a longer name (64 or more) is cut after its 64th
// character and "..." appended. Characters are UTF-8 sequences when the name is valid UTF-8,
// else bytes.
std::string DetailsCaption(std::string_view name);

} // namespace ballotine

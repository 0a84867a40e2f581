#include "app/MapListWidget.h"

#include "app/Artwork.h"
#include "app/DisplayText.h"
#include "catalogue/MapList.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSignalBlocker>

namespace ballotine {

namespace {

constexpr int kColumnWidth = 100;
constexpr QSize kPreferredSize(170, 210);

// A map's row: its name and marker, with the marker's meaning as tooltip and description for
// assistive technology, answered from the state rather than stored with every row.
class MapItem final : public QTreeWidgetItem {
public:
    MapItem(const QString& name, MapState state)
        : QTreeWidgetItem({name}, UserType), m_state(state) {}

    MapState State() const { return m_state; }

    QVariant data(int column, int role) const override {
        if (role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole) {
            return MarkerMeaning(m_state);
        }
        return QTreeWidgetItem::data(column, role);
    }

private:
    MapState m_state;
};

} // namespace

MapListWidget::MapListWidget(const QString& columnCaption,
                             const std::array<QIcon, kMapStateCount>& markers, QWidget* parent)
    : QTreeWidget(parent), m_markers(markers) {
    setColumnCount(1);
    setHeaderLabels({columnCaption});
    setHeaderHidden(true);
    header()->setStretchLastSection(true);
    header()->setMinimumSectionSize(kColumnWidth);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setIconSize(QSize(kMarkerWidth, kMarkerHeight));
    setAllColumnsShowFocus(true);
}

void MapListWidget::ShowList(const MapList& list) {
    const QSignalBlocker blocker(this);
    const QSignalBlocker selectionBlocker(selectionModel());
    setUpdatesEnabled(false);
    clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(list.Count()));
    for (const MapEntry& entry : list.Entries()) {
        auto* item = new MapItem(ToDisplayText(entry.name), entry.state);
        item->setIcon(0, m_markers[static_cast<std::size_t>(entry.state)]);
        items.append(item);
    }
    addTopLevelItems(items);
    if (!m_filter.isEmpty()) {
        ApplyFilter(false);
    }
    QItemSelection selection;
    for (std::size_t i = 0; i < list.Count(); ++i) {
        if (list.At(i).selected) {
            const QModelIndex index = model()->index(static_cast<int>(i), 0);
            selection.select(index, index);
        }
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (const auto focused = list.Focused()) {
        selectionModel()->setCurrentIndex(model()->index(static_cast<int>(*focused), 0),
                                          QItemSelectionModel::NoUpdate);
    }
    setUpdatesEnabled(true);
}

void MapListWidget::CopySelectionTo(MapList& list) const {
    const int rows = topLevelItemCount();
    for (int row = 0; row < rows && static_cast<std::size_t>(row) < list.Count(); ++row) {
        const QTreeWidgetItem* item = topLevelItem(row);
        list.SetSelected(static_cast<std::size_t>(row), item->isSelected() && !item->isHidden());
    }
    const QModelIndex current = currentIndex();
    list.SetFocused(current.isValid() ? std::optional(static_cast<std::size_t>(current.row()))
                                      : std::nullopt);
}

void MapListWidget::SetFilter(const QString& text) {
    if (text == m_filter) {
        return;
    }
    // Typing on only narrows: rows hidden already stay hidden without a look.
    const bool narrower = !m_filter.isEmpty() && text.contains(m_filter, Qt::CaseInsensitive);
    m_filter = text;
    setUpdatesEnabled(false);
    ApplyFilter(narrower);
    setUpdatesEnabled(true);
}

void MapListWidget::ApplyFilter(bool narrower) {
    const int rows = topLevelItemCount();
    for (int row = 0; row < rows; ++row) {
        QTreeWidgetItem* item = topLevelItem(row);
        if (narrower && item->isHidden()) {
            continue;
        }
        const bool hide = !item->text(0).contains(m_filter, Qt::CaseInsensitive);
        if (hide != item->isHidden()) {
            item->setHidden(hide);
        }
    }
}

QSize MapListWidget::sizeHint() const {
    return kPreferredSize;
}

QStringList MapListWidget::Names() const {
    QStringList names;
    for (int row = 0; row < topLevelItemCount(); ++row) {
        names.append(topLevelItem(row)->text(0));
    }
    return names;
}

QStringList MapListWidget::VisibleNames() const {
    QStringList names;
    for (int row = 0; row < topLevelItemCount(); ++row) {
        if (!topLevelItem(row)->isHidden()) {
            names.append(topLevelItem(row)->text(0));
        }
    }
    return names;
}

MapState MapListWidget::StateAt(int row) const {
    return static_cast<const MapItem*>(topLevelItem(row))->State();
}

} // namespace ballotine

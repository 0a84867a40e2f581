#pragma once

#include "catalogue/MapState.h"

#include <QTreeWidget>
#include <array>

namespace ballotine {

class MapList;

// One of the main window's map lists: a report-style list with one column, no header, a
// marker per map and several selected entries. It mirrors a MapList; the user's selection and
// focus are copied back before the model acts on them.
class MapListWidget : public QTreeWidget {
    Q_OBJECT

public:
    MapListWidget(const QString& columnCaption, const std::array<QIcon, kMapStateCount>& markers,
                  QWidget* parent = nullptr);

    // Shows the list's entries, selection and focused entry.
    void ShowList(const MapList& list);
    // The view's selection and focused entry into the list (same entries, same order). Rows
    // the filter hides count as not selected, so a move takes only what the user sees.
    void CopySelectionTo(MapList& list) const;

    // Shows only the maps whose names contain `text` (any letter case); empty: every map.
    // The list behind the view keeps every map.
    void SetFilter(const QString& text);

    // Room for a column of names; the window may give it more.
    QSize sizeHint() const override;

    // The names, top to bottom, and those the filter lets through (for tests and the
    // screenshot).
    QStringList Names() const;
    QStringList VisibleNames() const;
    // The state shown by the marker of row `row`.
    MapState StateAt(int row) const;

private:
    // Hides the rows the filter does not let through; `narrower`: only shown rows can change.
    void ApplyFilter(bool narrower);

    std::array<QIcon, kMapStateCount> m_markers;
    QString m_filter;
};

} // namespace ballotine

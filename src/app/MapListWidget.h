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
    // The view's selection and focused entry into the list (same entries, same order).
    void CopySelectionTo(MapList& list) const;

    // Room for a column of names; the window may give it more.
    QSize sizeHint() const override;

    // The shown names, top to bottom (for tests and the screenshot).
    QStringList Names() const;
    // The state shown by the marker of row `row`.
    MapState StateAt(int row) const;

private:
    std::array<QIcon, kMapStateCount> m_markers;
};

} // namespace ballotine

#pragma once

#include "models/UpdateRoad.h"

#include <functional>
#include <string>

class QWidget;

namespace ballotine {

// What the main window hands the map settings window: where it opens and for which map.
struct MapSettingsOpening {
    QWidget* parent;
    std::string map;
};
// Opens the map settings window; the application gives one to the main window.
using MapSettingsOpener = std::function<void(const MapSettingsOpening& opening)>;

// What the main window hands the update list: where it opens and the selected mod's request.
struct UpdatesOpening {
    QWidget* parent;
    ResourceListRequest request;
};
// What the update list's run changed that the main window has to take in.
struct UpdatesOutcome {
    bool modInstalled = false; // the mod list is read anew
};
// Runs the update list; the application gives one to the main window.
using UpdatesOpener = std::function<UpdatesOutcome(const UpdatesOpening& opening)>;

} // namespace ballotine

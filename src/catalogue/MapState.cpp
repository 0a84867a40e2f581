#include "catalogue/MapState.h"

namespace ballotine {

std::string_view MapStateName(MapState state) {
    switch (state) {
    case MapState::Installed:
        return "Installed";
    case MapState::Configurable:
        return "Configurable";
    case MapState::NotDownloaded:
        return "NotDownloaded";
    }
    return "Installed";
}

} // namespace ballotine

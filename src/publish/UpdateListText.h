#pragma once

#include "updates/MapUpdateList.h"
#include "updates/ModUpdateList.h"

#include <cstdint>
#include <string>

namespace ballotine {

// A client takes a map update list of 256 bytes or less for a server's error page.
inline constexpr std::uint64_t kSmallestUsableMapList = 257;

// The map update list ("database.conf") the client's reader reads back as `list`: the revision
// line, ten lines per record, "#END#". A record offering no map or entity package says so with
// version 0 and "N/A" addresses. A list shorter than the client accepts gets a note after
// "#END#", where no reader looks.
std::string MapUpdateListText(const MapUpdateList& list);

// The mod update list ("modsupdate.cfg"): the address it is fetched from, seven lines per
// record, "#END#".
std::string ModUpdateListText(const ModUpdateList& list);

} // namespace ballotine

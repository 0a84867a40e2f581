#pragma once

#include "download/DownloadQueue.h"

#include <string>
#include <string_view>

namespace ballotine {

// Whether `url` is fetched from the web: its scheme, as libcurl reads it, is http or https (an
// address without a scheme counts as http, as libcurl takes it).
bool IsWebAddress(std::string_view url);

// The origin of the items a list names when the list itself was read from `listUrl`.
AddressOrigin OriginOfList(std::string_view listUrl);

// The text a user sees when an item's local address is refused.
std::string LocalAddressRefusal(std::string_view url);

} // namespace ballotine

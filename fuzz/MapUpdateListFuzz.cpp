// update.conf, the map update list a server sends.
#include "FuzzSupport.h"
#include "updates/MapUpdateList.h"

#include <sstream>

using namespace ballotine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in{std::string(fuzz::AsText(data, size))};
    const MapUpdateList list = ParseMapUpdateList(in);
    fuzz::CheckOnlyTheLastRecordIsCutShort(list);
    return 0;
}

// update.conf, the map update list a server sends.
#include "FuzzSupport.h"
#include "updates/MapUpdateList.h"

#include <sstream>

using namespace ballotine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in{std::string(fuzz::AsText(data, size))};
    const MapUpdateList list = ParseMapUpdateList(in);
    for (std::size_t i = 0; i + 1 < list.records.size(); ++i) {
        if (!list.records[i].complete) {
            fuzz::Violated("a record cut short did not end the list");
        }
    }
    return 0;
}

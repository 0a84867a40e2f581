// modsupdate.cfg, the mod update list a server sends.
#include "FuzzSupport.h"
#include "updates/ModUpdateList.h"

#include <sstream>

using namespace ballotine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in{std::string(fuzz::AsText(data, size))};
    const ModUpdateList list = ParseModUpdateList(in);
    fuzz::CheckOnlyTheLastRecordIsCutShort(list);
    return 0;
}

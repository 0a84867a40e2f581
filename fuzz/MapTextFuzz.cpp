// A map's description file (maps/MAP.txt) for the "Map Details" pane.
#include "FuzzSupport.h"
#include "catalogue/MapDetails.h"

#include <sstream>

using namespace ballotine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in{std::string(fuzz::AsText(data, size))};
    const MapDescription description = ReadMapDescription(in);
    if (description.caption.size() > 4095 || description.text.size() > 4095) {
        fuzz::Violated("a description longer than its limit");
    }
    return 0;
}

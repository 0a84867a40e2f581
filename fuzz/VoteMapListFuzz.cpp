// A vote map list file (.VML) the user picks with "Load MapList...".
#include "FuzzSupport.h"
#include "votemap/VoteMapListFile.h"

using namespace ballotine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::Scratch::Get().Write("list.VML", fuzz::AsText(data, size));
    const VoteMapListReadResult result = ReadVoteMapListFile(path);
    if (result.status != VoteMapListStatus::Ok && !result.content.mapNames.empty()) {
        fuzz::Violated("a refused list still gave maps");
    }
    return 0;
}

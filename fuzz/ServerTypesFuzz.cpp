// servertypes.conf of the mod's working folder, and the size list it ranks.
#include "FuzzSupport.h"
#include "mapsettings/ServerTypeTable.h"

using namespace ballotine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Scratch& scratch = fuzz::Scratch::Get();
    scratch.Write("servertypes.conf", fuzz::AsText(data, size));
    ServerTypeTable table;
    table.LoadServerTypes(scratch.Folder());
    for (const ServerType& type : table.Types()) {
        if (type.key.size() > kServerTypeKeyLength ||
            type.displayName.size() > kServerTypeNameLength) {
            fuzz::Violated("a server type longer than its limit");
        }
    }
    const std::vector<std::string> files = {"map.16.ref", "MAP.32.REF", "map.x.ref",
                                            "map..ref",   "map.ref",    "other.16.ref"};
    const std::vector<ServerSizeRow> rows = RankServerSizes(table, "map", files);
    if (rows.size() > files.size()) {
        fuzz::Violated("more sizes than reference files");
    }
    return 0;
}

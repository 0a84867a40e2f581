#include "demo/DemoInstallation.h"
#include "demo/DemoParts.h"
#include "demo/DemoWriter.h"
#include "kit/VoteHall.h"
#include "platform/FileSystem.h"
#include "votemap/VoteMapCompile.h"
#include "votemap/VoteMapKeywords.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ballotine::demo {

namespace {

constexpr std::string_view kTemplate = "Half-Life/Ballotine/tfc/Entities/vote.ref";
constexpr std::string_view kVoteMap = "Half-Life/tfc/maps/vote.bsp";
constexpr std::string_view kVoteEntities = "Half-Life/tfc/maps/vote.ent";

// The maps the demo's vote map was compiled with, at the window's start values.
const std::vector<std::string> kCompiledMaps = {"lakeside", "well"};
constexpr std::int32_t kCompiledPlayers = 12;
constexpr std::int32_t kCompiledThugs = 2;
constexpr std::int32_t kCompiledWalls = 1;

} // namespace

// The kit's template and hall, compiled as the program compiles: the template filled into
// vote.ent, and that text as the hall's entities.
void WriteDemoVoteMap(DemoWriter& writer, const DemoLayout& /*layout*/) {
    writer.Text(kTemplate, kit::VoteTemplate());
    const std::string templatePath = (writer.Root() / kTemplate).string();
    const std::string entityTextPath = (writer.Root() / kVoteEntities).string();
    const auto keywords =
        BuildVoteMapKeywords(kCompiledMaps, kCompiledPlayers, kCompiledThugs, kCompiledWalls);
    if (!WriteVoteEntityText(templatePath, entityTextPath, keywords)) {
        writer.Fail("cannot write " + entityTextPath);
        return;
    }
    const auto entityText = ReadWholeFile(entityTextPath);
    if (!entityText) {
        writer.Fail("cannot read " + entityTextPath);
        return;
    }
    std::string error;
    const std::optional<std::string> map = kit::WriteVoteHall(*entityText, error);
    if (!map) {
        writer.Fail("cannot make the vote map: " + error);
        return;
    }
    writer.Bytes(kVoteMap, *map);
}

} // namespace ballotine::demo

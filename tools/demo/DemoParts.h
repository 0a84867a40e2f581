#pragma once

namespace ballotine::demo {

class DemoWriter;
struct DemoLayout;

// Each part writes one area of the demo; WriteDemoInstallation runs them in order.

// The game folder with its mods, the working folder with mods.cfg, the registry stand-in.
void WriteDemoGame(DemoWriter& writer, const DemoLayout& layout);

// The tfc mod's maps: vote sprites, map files, descriptions and one map's entity settings.
void WriteDemoMaps(DemoWriter& writer, const DemoLayout& layout);

// The tfc mod's version record (config.conf) and install mappings (mappings.conf).
void WriteDemoInstallerFiles(DemoWriter& writer, const DemoLayout& layout);

// The tfc mod's vote map: its entity template, the vote map compiled from it with two maps
// and that compile's entity text.
void WriteDemoVoteMap(DemoWriter& writer, const DemoLayout& layout);

// The tfc mod's server sizes (servertypes.conf) and two maps' entity reference files and
// templates.
void WriteDemoSettings(DemoWriter& writer, const DemoLayout& layout);

// The update server below server/, published from its source folder server-source/: the tfc
// mod's map update list with its map, entity and vote map data packages, and the mod update
// list with packages for tfc and valve.
void WriteDemoUpdateServer(DemoWriter& writer, const DemoLayout& layout);

} // namespace ballotine::demo

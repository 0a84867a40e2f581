#include "demo/DemoInstallation.h"
#include "demo/DemoParts.h"
#include "demo/DemoWriter.h"

namespace ballotine::demo {

void WriteDemoInstallerFiles(DemoWriter& writer, const DemoLayout& /*layout*/) {
    // No versions recorded yet: the first look at the updates marks the maps on disk.
    writer.Text("Half-Life/Ballotine/tfc/config.conf", "#TFC Header V1.0 - DO NOT MODIFY\n#END#");
    // Map files and their descriptions go to the maps folder, wads to the mod's folder where
    // the game looks for them; a package's sound and model folders land in the mod (their
    // default), sprites too; entity settings go to the working folder.
    writer.Text("Half-Life/Ballotine/tfc/mappings.conf", "Where the files of a map package go.\n"
                                                         "#FILES#\n"
                                                         "bsp tfc\\maps\n"
                                                         "txt tfc\\maps\n"
                                                         "res tfc\\maps\n"
                                                         "wad tfc\n"
                                                         "#DIRS#\n"
                                                         "valve @\n"
                                                         "Entities \\Ballotine\\tfc\n"
                                                         "#END#");
}

} // namespace ballotine::demo

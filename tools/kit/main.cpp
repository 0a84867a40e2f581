#include "kit/KitFiles.h"
#include "kit/KitSprites.h"

#include <iostream>
#include <string>

// ballotine-kit OUTDIR: writes the vote map kit (vote.bsp, vote.ref, vote.spr, blank.spr and
// the plan vote-plan.svg) into OUTDIR. ballotine-kit --plan MAP.bsp OUT.svg: draws any map's
// plan.
int main(int argc, char** argv) {
    const std::string first = argc > 1 ? argv[1] : "";
    std::string error;
    if (argc == 4 && first == "--plan") {
        if (!ballotine::kit::WritePlan(argv[2], argv[3], error)) {
            std::cerr << "ballotine-kit: " << error << "\n";
            return 1;
        }
        return 0;
    }
    if (argc != 2 || first == "--help" || first.starts_with("-")) {
        std::cerr << "Usage: ballotine-kit OUTDIR\n"
                     "       ballotine-kit --plan MAP.bsp OUT.svg\n"
                     "Writes the vote map kit into OUTDIR: vote.bsp and the entity template\n"
                     "vote.ref that fits it, the sprites vote.spr and blank.spr, and the plan\n"
                     "vote-plan.svg drawn from the written map. --plan draws any map's plan.\n";
        return first == "--help" ? 0 : 2;
    }
    if (!ballotine::kit::WriteKit(first, ballotine::kit::DrawKitSprites(), error)) {
        std::cerr << "ballotine-kit: " << error << "\n";
        return 1;
    }
    return 0;
}

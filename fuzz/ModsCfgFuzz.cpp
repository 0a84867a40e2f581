// mods.cfg of the working folder, read as the program starts.
#include "FuzzSupport.h"
#include "catalogue/ModListFile.h"
#include "catalogue/Session.h"

using namespace ballotine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Scratch& scratch = fuzz::Scratch::Get();
    scratch.Write("Ballotine/mods.cfg", fuzz::AsText(data, size));
    scratch.Write("Ballotine/tfc/servertypes.conf", ""); // a mod whose working folder exists
    Session session;
    session.paths.installDir = scratch.Path().string();
    ComputeWorkDir(session.paths);
    fuzz::SilentPrompter prompter;
    if (LoadModList(session, prompter) &&
        session.selector.Entries().size() > session.mods.records.size()) {
        fuzz::Violated("the selector offers more mods than the file holds");
    }
    return 0;
}

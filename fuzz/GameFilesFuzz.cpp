// The game's own files that tell where it is and what its mods are: Steam's
// libraryfolders.vdf and a mod's liblist.gam. Both come from outside the program.
#include "FuzzSupport.h"
#include "catalogue/ModFolders.h"
#include "catalogue/SteamLibraries.h"

#include <algorithm>

using namespace ballotine;

namespace {

bool HasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    const std::vector<std::filesystem::path> libraries = ParseLibraryFolders(text);
    if (libraries.size() > kMostLibraries) {
        fuzz::Violated("more libraries than the limit");
    }
    for (const std::filesystem::path& library : libraries) {
        if (!library.is_absolute() || HasControlCharacter(library.string())) {
            fuzz::Violated("a library path that is relative or holds a control character");
        }
    }
    const fuzz::Scratch& scratch = fuzz::Scratch::Get();
    scratch.Write("mymod/liblist.gam", text);
    const std::string title = ReadModTitle(scratch.Path() / "mymod");
    if (title.empty() || title.size() > kLongestModTitle || HasControlCharacter(title)) {
        fuzz::Violated("a mod title that is empty, too long or holds a control character");
    }
    return 0;
}

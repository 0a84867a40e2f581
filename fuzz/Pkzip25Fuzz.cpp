// pkzip25's walk of a downloaded archive, extracting into a scratch folder: nothing may land
// outside the target folder, a refused archive leaves it as it was, and says why in one line.
#include "FuzzSupport.h"
#include "pkzip25/Extractor.h"

#include <filesystem>

using namespace ballotine;

namespace {

// Everything in the scratch folder other than the archive and the target.
bool SomethingOutsideTarget(const std::filesystem::path& scratch) {
    for (const auto& entry : std::filesystem::directory_iterator(scratch)) {
        const std::string name = entry.path().filename().string();
        if (name != "package.zip" && name != "target") {
            return true;
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Scratch& scratch = fuzz::Scratch::Get();
    const std::string archive = scratch.Write("package.zip", fuzz::AsText(data, size));
    scratch.Remove("target");
    scratch.Write("target/kept.txt", "kept");
    std::string reason;
    const bool extracted = pkzip25::ExtractArchive({archive, scratch.Folder() + "target/"}, reason);
    if (!extracted && reason.empty()) {
        fuzz::Violated("a refused archive without a reason");
    }
    if (reason.find('\n') != std::string::npos) {
        fuzz::Violated("a reason of more than one line");
    }
    if (SomethingOutsideTarget(scratch.Path())) {
        fuzz::Violated("the archive wrote outside the target folder");
    }
    std::size_t left = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(scratch.Path() / "target")) {
        ++left;
    }
    if (!extracted && left != 1) {
        fuzz::Violated("a refused archive changed the target folder");
    }
    return 0;
}

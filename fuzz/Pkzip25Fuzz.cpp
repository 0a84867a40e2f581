// pkzip25's walk of a downloaded archive, extracting into a scratch folder: nothing may land
// outside the target folder, a refused archive leaves it as it was, and no run leaves its
// work files behind.
#include "FuzzSupport.h"
#include "pkzip25/Extractor.h"
#include "pkzip25/WorkRecord.h"

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace ballotine;
namespace fs = std::filesystem;

namespace {

// Small enough that an input does not take seconds to write, big enough for every check.
constexpr std::uint64_t kMaxTotal = 16 << 20;

// Everything in the scratch folder other than the archive and the target.
bool SomethingOutsideTarget(const fs::path& scratch) {
    for (const auto& entry : fs::directory_iterator(scratch)) {
        const std::string name = entry.path().filename().string();
        if (name != "package.zip" && name != "target") {
            return true;
        }
    }
    return false;
}

bool WorkFilesLeft(const fs::path& target) {
    std::error_code error;
    for (fs::recursive_directory_iterator it(target, error), end; !error && it != end;
         it.increment(error)) {
        if (it->path().filename().string().starts_with(pkzip25::kWorkNamePrefix)) {
            return true;
        }
    }
    return false;
}

// The target holds what the input found there, and only that.
bool AsItWas(const fs::path& target) {
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(target)) {
        ++entries;
    }
    std::ifstream kept(target / "kept.txt", std::ios::binary);
    const std::string content{std::istreambuf_iterator<char>(kept), {}};
    return entries == 1 && fs::is_regular_file(fs::symlink_status(target / "kept.txt")) &&
           content == "kept";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Scratch& scratch = fuzz::Scratch::Get();
    const std::string archive = scratch.Write("package.zip", fuzz::AsText(data, size));
    scratch.Remove("target");
    scratch.Write("target/kept.txt", "kept");
    std::string reason;
    const bool extracted =
        pkzip25::ExtractArchive({archive, scratch.Folder() + "target/", kMaxTotal}, {}, reason);
    if (!extracted && reason.empty()) {
        fuzz::Violated("a refused archive without a reason");
    }
    if (reason.find('\n') != std::string::npos) {
        fuzz::Violated("a reason of more than one line");
    }
    if (SomethingOutsideTarget(scratch.Path())) {
        fuzz::Violated("the archive wrote outside the target folder");
    }
    if (WorkFilesLeft(scratch.Path() / "target")) {
        fuzz::Violated("a run left its work files behind");
    }
    if (!extracted && !AsItWas(scratch.Path() / "target")) {
        fuzz::Violated("a refused archive changed the target folder");
    }
    return 0;
}

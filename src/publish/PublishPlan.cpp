#include "publish/PublishPlan.h"

#include "common/Text.h"
#include "publish/Sha256.h"

#include <algorithm>

namespace ballotine {

std::string PackagePlan::Identity() const {
    Sha256 hash;
    for (const PackageFile& file : files) {
        hash.Update(file.name);
        hash.Update(std::string_view("\0", 1));
        hash.Update(file.digest);
        hash.Update("\n");
    }
    return Sha256::ToHex(hash.Finish());
}

void PackagePlan::Add(PackageFile file) {
    const bool known = std::any_of(files.begin(), files.end(), [&](const PackageFile& other) {
        return EqualsNoCase(other.name, file.name);
    });
    if (known) {
        return;
    }
    const auto at = std::upper_bound(
        files.begin(), files.end(), file.name,
        [](const std::string& name, const PackageFile& other) { return name < other.name; });
    files.insert(at, std::move(file));
}

} // namespace ballotine

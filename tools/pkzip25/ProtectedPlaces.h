#pragma once

#include "pkzip25/EntryPath.h"

#include <string>
#include <string_view>
#include <vector>

namespace ballotine::pkzip25 {

// Folders of the target an archive may not write into (-protect=FOLDER), but for the files
// some patterns allow (-allow=PATTERN): the installer keeps its own tools and settings, which
// sit in the folder a mod package unpacks into, out of the package's reach. Both are
// "/"- or "\"-separated below the target and compare without regard to letter case; a
// pattern's components are wildcards ("*", "?").
class ProtectedPlaces {
public:
    void Protect(std::string_view folder);
    void Allow(std::string_view pattern);

    // Why the entry may not be written: it lies in (or is) a protected folder and no pattern
    // allows it. A folder entry is allowed on the way to an allowed file. Empty when it may.
    std::string WhyRefused(const EntryPath& path) const;

private:
    bool Allowed(const EntryPath& path) const;

    std::vector<std::vector<std::string>> m_protected;
    std::vector<std::vector<std::string>> m_allowed;
};

} // namespace ballotine::pkzip25

#include "install/InstallMappings.h"

#include "catalogue/WorkingPaths.h"
#include "common/LineReader.h"
#include "common/LineScanner.h"
#include "common/Text.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace ballotine {

namespace {

enum class Section { BeforeFiles, Files, Dirs };

const InstallMapping* FindMapping(const std::vector<InstallMapping>& table, std::string_view key) {
    for (const InstallMapping& mapping : table) {
        if (EqualsNoCase(mapping.key, key)) {
            return &mapping;
        }
    }
    return nullptr;
}

std::string FileTarget(std::string_view target, const std::string& installDir) {
    if (target == "@") {
        return WithTrailingSeparator(installDir);
    }
    return WithTrailingSeparator(JoinPath(installDir, ToNativeSeparators(target)));
}

std::string DirectoryTarget(std::string_view target, const std::string& installDir) {
    if (target == "@") {
        return installDir;
    }
    if (target == "*") {
        // A game installed below a "Sierra" folder keeps such folders beside that folder.
        const std::size_t sierra = installDir.find("Sierra");
        return sierra == std::string::npos ? installDir : installDir.substr(0, sierra);
    }
    // The target carries its own leading backslash.
    return installDir + ToNativeSeparators(target);
}

} // namespace

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    const bool folderEnds = !path.empty() && path.back() == kSeparator;
    const bool nameStarts = !name.empty() && name.front() == kSeparator;
    if (folderEnds && nameStarts) {
        name.remove_prefix(1);
    } else if (!folderEnds && !nameStarts && !path.empty()) {
        path += kSeparator;
    }
    path += name;
    return path;
}

std::optional<std::string> InstallMappings::MapFile(std::string_view name) const {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return std::nullopt;
    }
    const InstallMapping* mapping = FindMapping(files, name.substr(dot + 1));
    if (mapping == nullptr) {
        return std::nullopt;
    }
    return mapping->target + std::string(name);
}

std::optional<std::string> InstallMappings::MapDirectory(std::string_view name) const {
    const InstallMapping* mapping = FindMapping(dirs, name);
    if (mapping == nullptr) {
        return std::nullopt;
    }
    return JoinPath(mapping->target, name);
}

bool LoadMappings(InstallMappings& mappings, const WorkingPaths& paths) {
    mappings.files.clear();
    mappings.dirs.clear();
    if (paths.modWorkDir.empty()) {
        return false;
    }
    auto in = OpenForReading(paths.modWorkDir + kMappingsFileName);
    if (!in) {
        return false;
    }
    Section section = Section::BeforeFiles;
    std::string line;
    while (ReadLine(*in, line)) {
        if (section == Section::BeforeFiles) {
            if (line.starts_with("#FILES#")) {
                section = Section::Files;
            }
            continue;
        }
        if (line.starts_with("#")) {
            if (section == Section::Files && line.starts_with("#DIRS#")) {
                section = Section::Dirs;
                continue;
            }
            break;
        }
        LineScanner scanner(line);
        const auto key = scanner.Word();
        const auto target = scanner.Word();
        if (!key || !target) {
            continue; // a line without both words maps nothing
        }
        if (section == Section::Files) {
            mappings.files.push_back({*key, FileTarget(*target, paths.installDir)});
        } else {
            mappings.dirs.push_back({*key, DirectoryTarget(*target, paths.installDir)});
        }
    }
    return true;
}

} // namespace ballotine

#include "publish/PublishConfig.h"

#include "common/LineReader.h"
#include "publish/PublishNames.h"

#include <algorithm>

namespace ballotine {

namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

class ConfigReader {
public:
    explicit ConfigReader(std::string& error) : m_error(error) {}

    bool Line(int number, std::string_view line) {
        m_number = number;
        line = Trimmed(line);
        if (line.empty() || line.front() == '#') {
            return true;
        }
        if (line.front() == '[') {
            return Section(line);
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            return Fail("expected NAME = VALUE or [MOD FOLDER], found '" + Shown(line) + "'");
        }
        return Setting(Trimmed(line.substr(0, equals)), Trimmed(line.substr(equals + 1)));
    }

    // What can be judged only once every line was read.
    bool Finish() {
        for (const ModSettings& mod : m_config.mods) {
            if (mod.packageTitle.has_value() != mod.packageFolder.has_value()) {
                m_number = mod.line;
                return Fail("[" + mod.folder + "] needs both package and package-folder for a " +
                            "mod package");
            }
        }
        return true;
    }

    PublishConfig Take() { return std::move(m_config); }

private:
    bool Fail(const std::string& text) {
        m_error = "line " + std::to_string(m_number) + ": " + text;
        return false;
    }

    bool Section(std::string_view line) {
        if (!line.ends_with(']')) {
            return Fail("a section header is [MOD FOLDER]");
        }
        const std::string folder(Trimmed(line.substr(1, line.size() - 2)));
        if (!IsPublishableName(folder)) {
            return Fail("'" + Shown(folder) + "' is not a mod folder name (letters, digits and " +
                        "_-.+()!~, at most 63)");
        }
        if (m_config.Find(folder) != nullptr) {
            return Fail("[" + folder + "] appears twice");
        }
        m_config.mods.push_back(ModSettings{folder, m_number, {}, {}, {}, {}});
        return true;
    }

    bool Setting(std::string_view name, std::string_view value) {
        if (value.empty()) {
            return Fail(std::string(name) + " has no value");
        }
        if (name == "mirror") {
            return TopLevel(name) && Address(value, m_config.mirror);
        }
        if (m_config.mods.empty()) {
            return Fail("'" + Shown(name) + "' belongs in a mod's section ([MOD FOLDER] first)");
        }
        ModSettings& mod = m_config.mods.back();
        if (name == "title") {
            return Once(name, mod.title) && Title(value, mod.title);
        }
        if (name == "package") {
            return Once(name, mod.packageTitle) && Title(value, mod.packageTitle);
        }
        if (name == "package-folder") {
            return Once(name, mod.packageFolder) && Folder(value, mod.packageFolder);
        }
        if (name.starts_with("map ") || name.starts_with("entities ")) {
            return KeyTitle(name, value, mod);
        }
        return Fail("unknown setting '" + Shown(name) +
                    "' (mirror, title, map KEY, entities KEY, package, package-folder)");
    }

    bool TopLevel(std::string_view name) {
        return m_config.mods.empty() ||
               Fail(std::string(name) + " is set for the whole server, before the first section");
    }

    bool Once(std::string_view name, const std::optional<std::string>& slot) {
        return !slot ||
               Fail(std::string(name) + " is set twice in [" + m_config.mods.back().folder + "]");
    }

    bool Title(std::string_view value, std::optional<std::string>& slot) {
        slot = CleanTitle(value);
        return slot || Fail("a title is one line of at most 511 bytes without control characters");
    }

    bool Address(std::string_view value, std::optional<std::string>& slot) {
        if (slot) {
            return Fail("mirror is set twice");
        }
        slot = CleanAddress(value);
        return slot || Fail("'" + Shown(value) + "' is not an address (scheme://...)");
    }

    bool Folder(std::string_view value, std::optional<std::string>& slot) {
        std::string folder(value);
        while (folder.size() > 1 && folder.ends_with('/')) {
            folder.pop_back();
        }
        const std::vector<std::string_view> parts = PathComponents(folder);
        const bool plain = !folder.empty() && folder.front() != '/' &&
                           std::all_of(parts.begin(), parts.end(), [](std::string_view part) {
                               return !part.empty() && part != "." && part != ".." &&
                                      part.find('\\') == std::string_view::npos &&
                                      CleanTitle(part) == part;
                           });
        if (!plain) {
            return Fail("package-folder is a folder below SOURCE, written as a/b");
        }
        slot = folder;
        return true;
    }

    bool KeyTitle(std::string_view name, std::string_view value, ModSettings& mod) {
        const bool map = name.starts_with("map ");
        const std::string key(Trimmed(name.substr(map ? 4 : 9)));
        if (!IsPublishableName(key)) {
            return Fail("'" + Shown(key) + "' is not a map name that can be published");
        }
        KeySettings& settings = mod.keys[ToLowerAscii(key)];
        if (settings.key.empty()) {
            settings = KeySettings{key, m_number, {}, {}};
        }
        std::optional<std::string>& title = map ? settings.mapTitle : settings.entityTitle;
        if (title) {
            return Fail(std::string(map ? "map " : "entities ") + key + " is set twice");
        }
        return Title(value, title);
    }

    std::string& m_error;
    PublishConfig m_config;
    int m_number = 0;
};

} // namespace

const KeySettings* ModSettings::FindKey(std::string_view key) const {
    const auto it = keys.find(ToLowerAscii(key));
    return it == keys.end() ? nullptr : &it->second;
}

const ModSettings* PublishConfig::Find(std::string_view folder) const {
    for (const ModSettings& mod : mods) {
        if (EqualsNoCase(mod.folder, folder)) {
            return &mod;
        }
    }
    return nullptr;
}

std::optional<PublishConfig> ParsePublishConfig(std::istream& in, std::string& error) {
    ConfigReader reader(error);
    std::string line;
    for (int number = 1; ReadLine(in, line); ++number) {
        if (!reader.Line(number, line)) {
            return std::nullopt;
        }
    }
    if (!reader.Finish()) {
        return std::nullopt;
    }
    return reader.Take();
}

} // namespace ballotine

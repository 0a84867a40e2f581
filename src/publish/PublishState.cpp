#include "publish/PublishState.h"

#include "common/LineReader.h"
#include "common/Text.h"
#include "publish/PublishNames.h"

#include <algorithm>
#include <charconv>
#include <sstream>
#include <tuple>

namespace ballotine {

namespace {

constexpr const char* kHeader = "#Ballotine publish state V1";
constexpr const char* kEnd = "#END#";

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

template <typename Number>
bool ReadNumber(const std::string& text, Number& value) {
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && at == end && value >= 0;
}

bool IsIdentity(const std::string& text) {
    return text == "-" || (text.size() == 64 && std::all_of(text.begin(), text.end(), [](char c) {
                               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
                           }));
}

bool IsStoredPath(const std::string& path) {
    const std::vector<std::string_view> parts = PathComponents(path);
    return !parts.empty() && !path.ends_with('/') &&
           std::all_of(parts.begin(), parts.end(), IsPublishableName);
}

bool ReadMod(const std::vector<std::string>& w, PublishState& state) {
    ModState mod;
    if (w.size() != 5 || !IsPublishableName(w[1]) || !ReadNumber(w[2], mod.revision) ||
        !ReadNumber(w[3], mod.packageVersion) || !IsIdentity(w[4]) || state.FindMod(w[1])) {
        return false;
    }
    mod.folder = w[1];
    mod.packageIdentity = w[4];
    state.mods.push_back(mod);
    return true;
}

bool ReadKey(const std::vector<std::string>& w, PublishState& state) {
    KeyState key;
    int listed = 0;
    if (w.size() != 9 || !IsPublishableName(w[1]) || !IsPublishableName(w[2]) ||
        !ReadNumber(w[3], key.addedRevision) || !ReadNumber(w[4], key.mapVersion) ||
        !IsIdentity(w[5]) || !ReadNumber(w[6], key.entityVersion) || !IsIdentity(w[7]) ||
        !ReadNumber(w[8], listed) || listed > 1 || state.FindKey(w[1], w[2])) {
        return false;
    }
    key.mod = w[1];
    key.key = w[2];
    key.mapIdentity = w[5];
    key.entityIdentity = w[7];
    key.listed = listed == 1;
    state.keys.push_back(key);
    return true;
}

bool ReadFileRecord(const std::vector<std::string>& w, PublishState& state) {
    FileState file;
    if (w.size() != 4 || !IsStoredPath(w[1]) || !ReadNumber(w[2], file.size) || !IsIdentity(w[3]) ||
        state.FindFile(w[1])) {
        return false;
    }
    file.path = w[1];
    file.identity = w[3];
    state.files.push_back(file);
    return true;
}

} // namespace

ModState* PublishState::FindMod(std::string_view folder) {
    for (ModState& mod : mods) {
        if (EqualsNoCase(mod.folder, folder)) {
            return &mod;
        }
    }
    return nullptr;
}

KeyState* PublishState::FindKey(std::string_view mod, std::string_view key) {
    for (KeyState& entry : keys) {
        if (EqualsNoCase(entry.mod, mod) && EqualsNoCase(entry.key, key)) {
            return &entry;
        }
    }
    return nullptr;
}

const FileState* PublishState::FindFile(std::string_view path) const {
    for (const FileState& file : files) {
        if (file.path == path) {
            return &file;
        }
    }
    return nullptr;
}

std::optional<PublishState> ParsePublishState(std::istream& in, std::string& error) {
    PublishState state;
    std::string line;
    if (!ReadLine(in, line) || line != kHeader) {
        error = "line 1: not a publish state (expected \"" + std::string(kHeader) + "\")";
        return std::nullopt;
    }
    for (int number = 2; ReadLine(in, line); ++number) {
        if (line == kEnd) {
            return state;
        }
        if (line.empty() && in.peek() == std::char_traits<char>::eof()) {
            break; // the line end of a file cut short
        }
        const std::vector<std::string> words = Words(line);
        const std::string kind = words.empty() ? "" : words.front();
        const bool read = (kind == "mod" && ReadMod(words, state)) ||
                          (kind == "map" && ReadKey(words, state)) ||
                          (kind == "file" && ReadFileRecord(words, state));
        if (!read) {
            error = "line " + std::to_string(number) + ": cannot read '" + Shown(line) + "'";
            return std::nullopt;
        }
    }
    error = "it ends before " + std::string(kEnd) + " (cut short?)";
    return std::nullopt;
}

std::string SerializePublishState(PublishState state) {
    std::sort(state.mods.begin(), state.mods.end(), [](const ModState& a, const ModState& b) {
        return LessNoCase{}(a.folder, b.folder);
    });
    std::sort(state.keys.begin(), state.keys.end(), [](const KeyState& a, const KeyState& b) {
        const int mod = CompareNoCase(a.mod, b.mod);
        return mod != 0 ? mod < 0 : LessNoCase{}(a.key, b.key);
    });
    std::sort(state.files.begin(), state.files.end(),
              [](const FileState& a, const FileState& b) { return a.path < b.path; });
    std::string text = std::string(kHeader) + "\n";
    for (const ModState& mod : state.mods) {
        text += Format("mod %s %d %d %s\n", mod.folder.c_str(), mod.revision, mod.packageVersion,
                       mod.packageIdentity.c_str());
    }
    for (const KeyState& key : state.keys) {
        text += Format("map %s %s %d %d %s %d %s %d\n", key.mod.c_str(), key.key.c_str(),
                       key.addedRevision, key.mapVersion, key.mapIdentity.c_str(),
                       key.entityVersion, key.entityIdentity.c_str(), key.listed ? 1 : 0);
    }
    for (const FileState& file : state.files) {
        text += Format("file %s %llu %s\n", file.path.c_str(),
                       static_cast<unsigned long long>(file.size), file.identity.c_str());
    }
    return text + kEnd + "\n";
}

} // namespace ballotine

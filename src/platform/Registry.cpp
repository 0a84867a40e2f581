#include "platform/Registry.h"

#include "common/LineReader.h"
#include "common/Text.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace ballotine {
namespace fs = std::filesystem;

RegistryFile RegistryFile::Load(const fs::path& file) {
    const auto text = ReadWholeFile(file);
    return text ? Parse(*text) : RegistryFile{};
}

RegistryFile RegistryFile::Parse(std::string_view text) {
    RegistryFile registry;
    std::istringstream in{std::string(text)};
    std::string line;
    Section* current = nullptr;
    while (ReadLine(in, line)) {
        const std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == ';' || line[start] == '#') {
            continue;
        }
        const std::string_view content = std::string_view(line).substr(start);
        if (content.front() == '[') {
            const std::size_t close = content.rfind(']');
            const std::string_view key = close == std::string_view::npos || close == 0
                                             ? content.substr(1)
                                             : content.substr(1, close - 1);
            registry.m_sections.push_back(Section{std::string(key), {}});
            current = &registry.m_sections.back();
            continue;
        }
        const std::size_t equals = content.find('=');
        if (current == nullptr || equals == std::string_view::npos) {
            continue;
        }
        current->values.push_back(RegistryValue{std::string(content.substr(0, equals)),
                                                std::string(content.substr(equals + 1))});
    }
    return registry;
}

std::size_t RegistryFile::FindSection(std::string_view key) const {
    for (std::size_t i = 0; i < m_sections.size(); ++i) {
        if (EqualsNoCase(m_sections[i].key, key)) {
            return i;
        }
    }
    return kNoSection;
}

bool RegistryFile::HasKey(std::string_view key) const {
    return FindSection(key) != kNoSection;
}

std::vector<RegistryValue> RegistryFile::Values(std::string_view key) const {
    const std::size_t index = FindSection(key);
    return index == kNoSection ? std::vector<RegistryValue>{} : m_sections[index].values;
}

void RegistryFile::SetValue(std::string_view key, std::string_view name, std::string_view data) {
    std::size_t index = FindSection(key);
    if (index == kNoSection) {
        m_sections.push_back(Section{std::string(key), {}});
        index = m_sections.size() - 1;
    }
    std::vector<RegistryValue>& values = m_sections[index].values;
    const auto named = [name](const RegistryValue& value) {
        return EqualsNoCase(value.name, name);
    };
    const auto first = std::find_if(values.begin(), values.end(), named);
    if (first == values.end()) {
        values.push_back(RegistryValue{std::string(name), std::string(data)});
        return;
    }
    first->data = std::string(data);
    values.erase(std::remove_if(first + 1, values.end(), named), values.end());
}

std::string RegistryFile::Serialize() const {
    std::string text;
    for (const Section& section : m_sections) {
        if (!text.empty()) {
            text += "\n";
        }
        text += "[" + section.key + "]\n";
        for (const RegistryValue& value : section.values) {
            text += value.name + "=" + value.data + "\n";
        }
    }
    return text;
}

fs::path DefaultRegistryPath() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    fs::path base;
    if (configHome != nullptr && configHome[0] == '/') {
        base = configHome;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home != nullptr ? home : "/") / ".config";
    }
    return base / "Ballotine" / "registry.conf";
}

} // namespace ballotine

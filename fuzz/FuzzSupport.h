#pragma once

#include "platform/Prompter.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace ballotine::fuzz {

// A folder of the fuzzing process's own, below the system's temporary folder, where a target
// writes its input as the file the reader expects. Made on first use, removed at exit.
class Scratch {
public:
    static Scratch& Get();
    ~Scratch();
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // The folder's path with a trailing separator, as the core's folder strings are.
    std::string Folder() const { return m_path.string() + "/"; }
    // Writes `bytes` to `relative` (making its folders) and returns the file's path.
    std::string Write(std::string_view relative, std::string_view bytes) const;
    // Removes `relative` and everything below it.
    void Remove(std::string_view relative) const;

private:
    Scratch();
    std::filesystem::path m_path;
};

// The input as the bytes of a text file.
inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Answers every question No and forgets every message: a reader's warnings are not findings.
class SilentPrompter : public Prompter {
public:
    void ShowMessage(std::string_view) override {}
    bool AskYesNo(std::string_view) override { return false; }
    std::optional<std::string> ChooseFileToOpen(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> ChooseFileToSave(const FileDialogRequest&) override { return {}; }
};

// Stops the process as a finding: a reader broke a promise its header makes.
[[noreturn]] void Violated(const char* what);

// An update list's promise: a record cut short by the end of the file is its last one.
template <typename List>
void CheckOnlyTheLastRecordIsCutShort(const List& list) {
    for (std::size_t i = 0; i + 1 < list.records.size(); ++i) {
        if (!list.records[i].complete) {
            Violated("a record cut short did not end the list");
        }
    }
}

} // namespace ballotine::fuzz

#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ballotine::demo {

// Writes the demo's files below one root, remembering the first failure so the parts of the
// generator can write without checking every step.
class DemoWriter {
public:
    explicit DemoWriter(std::filesystem::path root) : m_root(std::move(root)) {}

    const std::filesystem::path& Root() const { return m_root; }
    // `relative` uses "/" separators; missing folders are created.
    void Folder(std::string_view relative);
    void Text(std::string_view relative, std::string_view content);
    void Bytes(std::string_view relative, std::string_view content);
    // Copies a file (a built tool) to `relative`, keeping it executable.
    void CopyProgram(const std::filesystem::path& from, std::string_view relative);

    bool Ok() const { return m_error.empty(); }
    const std::string& Error() const { return m_error; }
    void Fail(std::string message);

private:
    std::filesystem::path m_root;
    std::string m_error;
};

} // namespace ballotine::demo

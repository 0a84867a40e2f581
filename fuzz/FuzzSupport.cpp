#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace ballotine::fuzz {
namespace fs = std::filesystem;

Scratch& Scratch::Get() {
    static Scratch scratch;
    return scratch;
}

Scratch::Scratch() {
    std::string pattern = (fs::temp_directory_path() / "ballotine-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        Violated("cannot create a scratch folder");
    }
    m_path = pattern;
}

Scratch::~Scratch() {
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

std::string Scratch::Write(std::string_view relative, std::string_view bytes) const {
    const fs::path path = m_path / relative;
    std::error_code ignored;
    fs::create_directories(path.parent_path(), ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.good()) {
        Violated("cannot write the input into the scratch folder");
    }
    return path.string();
}

void Scratch::Remove(std::string_view relative) const {
    std::error_code ignored;
    fs::remove_all(m_path / relative, ignored);
}

void Violated(const char* what) {
    std::fprintf(stderr, "fuzz target: %s\n", what);
    std::abort();
}

} // namespace ballotine::fuzz

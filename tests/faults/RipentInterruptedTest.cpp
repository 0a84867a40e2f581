#include "platform/FileSystem.h"
#include "ripent/LumpTable.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace ballotine {
namespace {
namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

constexpr std::int64_t kBigLump = 64 << 20;

// A valid map whose lump 1 is 64 MB of zeros (a sparse file, quick to make) and whose entity
// lump is small: an import has to copy all of it.
void WriteBigMap(const fs::path& path) {
    const std::string entities = "{\n\"classname\" \"worldspawn\"\n}\n";
    ripent::BspHeader header;
    header.lumps[0] = {ripent::kHeaderSize, static_cast<std::int64_t>(entities.size()) + 1};
    const std::int64_t second = ripent::AlignedTo4(header.lumps[0].End());
    header.lumps[1] = {second, kBigLump};
    for (int i = 2; i < ripent::kLumpCount; ++i) {
        header.lumps[static_cast<std::size_t>(i)] = {second + kBigLump, 0};
    }
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << ripent::EncodeHeader(header) << entities << '\0';
    out.close();
    fs::resize_file(path, static_cast<std::uintmax_t>(second + kBigLump));
}

// The map's bytes, compared without holding two 64 MB copies.
std::size_t Fingerprint(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string chunk(1 << 20, '\0');
    std::size_t hash = 0;
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
        hash = hash * 31 + std::hash<std::string_view>{}(std::string_view(
                               chunk.data(), static_cast<std::size_t>(in.gcount())));
    }
    return hash;
}

// `ripent -import base`, started without waiting; SIGXFSZ as the defaults have it.
pid_t StartImport(const std::string& base) {
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGXFSZ);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    const std::string program = test::BuiltProgram("ripent").string();
    std::vector<char*> argv = {const_cast<char*>(program.c_str()), const_cast<char*>("-import"),
                               const_cast<char*>(base.c_str()), nullptr};
    pid_t pid = -1;
    const int spawned =
        posix_spawn(&pid, program.c_str(), nullptr, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    EXPECT_EQ(spawned, 0);
    return pid;
}

int WaitFor(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

// The file the tool writes before it takes the map's place: beside the map, named after it.
std::optional<fs::path> TemporaryBeside(const fs::path& map) {
    for (const auto& entry : fs::directory_iterator(map.parent_path())) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("." + map.filename().string())) {
            return entry.path();
        }
    }
    return std::nullopt;
}

class RipentInterrupted : public testing::Test {
protected:
    void SetUp() override {
        WriteBigMap(map);
        WriteFile(maps / "big.ent", "{\n\"classname\" \"worldspawn\"\n\"message\" \"new\"\n}\n");
        fingerprint = Fingerprint(map);
    }
    // The map as the rest of the system sees it afterwards: unchanged, the only map of the
    // folder, and importable again.
    void ExpectMapUnchangedAndUsable() {
        EXPECT_EQ(Fingerprint(map), fingerprint);
        std::vector<std::string> found;
        for (const FolderEntry& entry : FindFiles((maps / "*.bsp").string())) {
            found.push_back(entry.name);
        }
        EXPECT_EQ(found, std::vector<std::string>{"big.bsp"}) << "no half-written map";
        const pid_t again = StartImport(base);
        const int status = WaitFor(again);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        EXPECT_NE(Fingerprint(map), fingerprint) << "a later import goes through";
    }

    test::TempDir dir;
    fs::path maps = dir.Path() / "maps";
    fs::path map = maps / "big.bsp";
    std::string base = (maps / "big").string();
    std::size_t fingerprint = 0;
};

TEST_F(RipentInterrupted, KilledWhileWritingTheMap) {
    bool killedMidWrite = false;
    for (int attempt = 0; attempt < 5 && !killedMidWrite; ++attempt) {
        const pid_t pid = StartImport(base);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        std::optional<fs::path> temporary;
        std::error_code error;
        while (std::chrono::steady_clock::now() < deadline) {
            temporary = TemporaryBeside(map);
            if (temporary && fs::file_size(*temporary, error) > (1 << 20) && !error) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        ::kill(pid, SIGKILL);
        const int status = WaitFor(pid);
        killedMidWrite = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        if (!killedMidWrite) {
            WriteBigMap(map); // it finished first: start over
        }
    }
    ASSERT_TRUE(killedMidWrite);
    ASSERT_TRUE(TemporaryBeside(map).has_value()) << "the kill left the half-written copy";
    ExpectMapUnchangedAndUsable();
}

TEST_F(RipentInterrupted, KilledByTheFileSizeLimit) {
    pid_t pid = -1;
    {
        const test::FileSizeLimit full(8 << 20); // inherited; the child dies of SIGXFSZ
        pid = StartImport(base);
    }
    const int status = WaitFor(pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    ExpectMapUnchangedAndUsable();
}

} // namespace
} // namespace ballotine

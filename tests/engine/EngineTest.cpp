#include "support/BareGame.h"
#include "support/DemoFixture.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace ballotine {
namespace {
namespace fs = std::filesystem;

// How many engines run at once: each spends most of its ~3.5 s waiting.
constexpr unsigned kEnginesAtOnce = 6;

std::string LoadmapScript() {
    const char* given = std::getenv("BALLOTINE_LOADMAP");
    return given != nullptr && *given != '\0' ? given : BALLOTINE_LOADMAP;
}

// Runs a program with these arguments (no shell), its output and messages into `log`.
int RunProgram(const std::vector<std::string>& args, const fs::path& log) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int started = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (started != 0 || ::waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The maps to load: the kit's, two vote maps compiled on the demo with the built command
// line, every demo map, and every map the demo's update server delivers.
class EngineLoadsOurMaps : public testing::Test {
protected:
    void SetUp() override {
        m_loadmap = LoadmapScript();
        if (m_loadmap.empty()) {
            GTEST_SKIP() << "no engine given: set BALLOTINE_LOADMAP or -DBALLOTINE_LOADMAP to the "
                            "engine's loadmap script";
        }
        ASSERT_EQ(::access(m_loadmap.c_str(), X_OK), 0) << m_loadmap << " cannot be run";
    }

    // Copies a map under a name of its own into the folder of maps to load.
    void Keep(const fs::path& map, const std::string& name) {
        fs::copy_file(map, m_maps.Path() / (name + ".bsp"), fs::copy_options::overwrite_existing);
    }

    void Cli(const std::vector<std::string>& words, const fs::path& registry = {}) {
        std::vector<std::string> args = {
            test::BuiltProgram("ballotine-cli").string(), "--registry",
            (registry.empty() ? m_demo.Layout().registryFile : registry).string(), "--yes"};
        args.insert(args.end(), words.begin(), words.end());
        const fs::path log = m_logs.Path() / "cli.log";
        ASSERT_EQ(RunProgram(args, log), 0) << test::ReadFile(log);
    }

    // Every map of the demo's maps folder that is not kept already as it is.
    void KeepEveryDemoMap(const std::string& prefix) {
        for (const auto& entry : fs::directory_iterator(m_demo.Game("tfc/maps"))) {
            const std::string name = entry.path().stem().string();
            const fs::path before = m_maps.Path() / ("demo_" + name + ".bsp");
            if (entry.path().extension() == ".bsp" && name != "vote" &&
                !(fs::exists(before) && test::ReadFile(before) == test::ReadFile(entry.path()))) {
                Keep(entry.path(), prefix + name);
            }
        }
    }

    std::string m_loadmap;
    test::DemoFixture m_demo;
    test::TempDir m_maps;
    test::TempDir m_logs;
};

TEST_F(EngineLoadsOurMaps, TheKitCompiledVoteMapsAndEveryDemoMap) {
    Keep(fs::path(BALLOTINE_KIT_DIR) / "vote.bsp", "kit_vote");
    Keep(m_demo.Game("tfc/maps/vote.bsp"), "demo_vote");
    KeepEveryDemoMap("demo_");
    ASSERT_NO_FATAL_FAILURE(Cli({"compile", "lakeside", "skyline"}));
    Keep(m_demo.Game("tfc/maps/vote.bsp"), "vote_2_maps");
    // The demo lists ten maps; six more vote pictures make sixteen to choose.
    const std::vector<std::string> more = {"ridgeline",      "summit",
                                           "the_thirteenth", "map_14",
                                           "map_fifteen",    "a_map_whose_name_takes_up_31_ch"};
    for (const std::string& name : more) {
        fs::copy_file(m_demo.Game("tfc/sprites/vote/2fort.spr"),
                      m_demo.Game("tfc/sprites/vote/" + name + ".spr"));
    }
    std::vector<std::string> sixteen = {"compile",    "2fort",     "well",       "rock2",
                                        "ballot_bay", "lakeside",  "canalworks", "harbourside",
                                        "skyline",    "frostfall", "quarry"};
    sixteen.insert(sixteen.end(), more.begin(), more.end());
    ASSERT_NO_FATAL_FAILURE(Cli(sixteen));
    Keep(m_demo.Game("tfc/maps/vote.bsp"), "vote_16_maps");
    ASSERT_NO_FATAL_FAILURE(Cli({"updates", "--all"}));
    KeepEveryDemoMap("updated_");

    std::vector<fs::path> maps;
    for (const auto& entry : fs::directory_iterator(m_maps.Path())) {
        maps.push_back(entry.path());
    }
    std::sort(maps.begin(), maps.end());
    ASSERT_GE(maps.size(), 14u) << "the kit's, the demo's and two compiled vote maps, five demo "
                                   "maps, their updates and the new ones";
    std::vector<int> results(maps.size(), -1);
    std::atomic<std::size_t> next = 0;
    std::vector<std::thread> engines;
    for (unsigned i = 0; i < kEnginesAtOnce; ++i) {
        engines.emplace_back([&] {
            for (std::size_t k = next++; k < maps.size(); k = next++) {
                const fs::path log = m_logs.Path() / (maps[k].stem().string() + ".log");
                results[k] = RunProgram({m_loadmap, "-s", maps[k].string()}, log);
            }
        });
    }
    for (std::thread& engine : engines) {
        engine.join();
    }
    for (std::size_t k = 0; k < maps.size(); ++k) {
        const std::string log = test::ReadFile(m_logs.Path() / (maps[k].stem().string() + ".log"));
        const std::string last = log.substr(log.rfind('\n', log.size() - 2) + 1);
        std::cout << maps[k].filename().string() << ": " << last;
        EXPECT_EQ(results[k], 0) << maps[k].filename() << "\n" << log;
    }
}

// A game as Steam leaves it, set up by init, compiles a vote map the engine loads.
TEST_F(EngineLoadsOurMaps, AVoteMapCompiledOnAGameThatInitSetUp) {
    const test::BareGame game;
    ASSERT_NO_FATAL_FAILURE(Cli({"locate", game.Dir().string()}, game.Registry()));
    ASSERT_NO_FATAL_FAILURE(Cli({"init"}, game.Registry()));
    ASSERT_NO_FATAL_FAILURE(Cli({"compile", "alpine", "badlands", "canyon"}, game.Registry()));
    const fs::path log = m_logs.Path() / "bare.log";
    EXPECT_EQ(RunProgram({m_loadmap, "-s", game.Game("tfc/maps/vote.bsp")}, log), 0)
        << test::ReadFile(log);
}

} // namespace
} // namespace ballotine

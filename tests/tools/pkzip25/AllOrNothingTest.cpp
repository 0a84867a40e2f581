// The target is exactly as it was after any failure, and the run after a killed one puts it
// back: each change of a run is failed, or the run killed there, in turn; and the run that
// failed is killed at each change of its undoing.
#include "ToolRun.h"
#include "TreeSnapshot.h"
#include "ZipBuilder.h"
#include "pkzip25/Extractor.h"
#include "pkzip25/FileDescriptor.h"
#include "pkzip25/KilledRuns.h"
#include "pkzip25/RecordFile.h"
#include "pkzip25/WorkRecord.h"

#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ballotine::test {
namespace {
namespace fs = std::filesystem;
using pkzip25::Change;

constexpr int kKilled = 77;
constexpr std::size_t kNever = static_cast<std::size_t>(-1);

// Runs `work` in a child process; its exit status.
int InChild(const std::function<int()>& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(work());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// What another run does first: undo (or finish) what a killed one left.
void CleanUpAsTheNextRun(const fs::path& target) {
    std::size_t cleaned = 0;
    std::string reason;
    EXPECT_TRUE(pkzip25::CleanUpKilledRuns(target, {}, cleaned, reason)) << reason;
}

// An archive that changes a game folder in every way a run can: a file replaced, a link
// replaced by a file, files added to a folder that is there and to new ones, an empty folder
// made. The target is there, or made by the run with a parent.
class AllOrNothing : public testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ZipBuilder()
            .File("existing.txt", "new content")
            .File("sub/new.txt", "added")
            .Folder("empty/")
            .File("fresh/deeper/x.txt", "in new folders")
            .File("lnk", "a file where a link was")
            .Save(m_archive);
    }

    void Reset() const {
        fs::remove_all(m_base);
        fs::create_directories(m_base);
        if (GetParam()) {
            WriteFile(m_target / "existing.txt", "old content");
            WriteFile(m_target / "sub/keep.txt", "kept");
            fs::create_symlink("existing.txt", m_target / "lnk");
        }
    }

    // A run that fails the change numbered `failing` and is killed at `killing`.
    bool Run(std::size_t failing, std::size_t killing, std::vector<Change>* changes = nullptr) {
        std::size_t count = 0;
        std::string reason;
        const bool extracted = pkzip25::ExtractArchive({m_archive, m_target.string()},
                                                       {{},
                                                        [&](Change change, std::string_view) {
                                                            if (count == killing) {
                                                                ::_exit(kKilled);
                                                            }
                                                            if (changes != nullptr) {
                                                                changes->push_back(change);
                                                            }
                                                            return count++ != failing;
                                                        }},
                                                       reason);
        EXPECT_EQ(extracted || Lines(reason) != 0, extracted) << reason;
        m_count = count;
        return extracted;
    }

    // The target as it was. A run stopped before its record was written, or after it was
    // removed, may leave the target's own new folders, empty: the record lives in the target.
    void ExpectAsBefore(const TreeSnapshot& before, bool targetFoldersMayStay) const {
        TreeSnapshot now = SnapshotOf(m_base);
        for (const std::string folder : {"new/game", "new"}) {
            const auto inside = now.lower_bound(folder + "/");
            if (targetFoldersMayStay && !GetParam() &&
                (inside == now.end() || !inside->first.starts_with(folder + "/"))) {
                now.erase(folder);
            }
        }
        EXPECT_EQ(now, before);
    }

    TempDir m_dir;
    fs::path m_base = m_dir.Path() / "base";
    fs::path m_target = GetParam() ? m_base / "game" : m_base / "new/game";
    std::size_t m_count = 0; // the changes the last run was asked for

    std::string m_archive = m_dir / "pack.zip";
};

TEST_P(AllOrNothing, EveryFailureOrKillLeavesTheTargetAsItWasOrAsExtracted) {
    std::vector<Change> changes;
    Reset();
    ASSERT_TRUE(Run(kNever, kNever, &changes));
    const TreeSnapshot extracted = SnapshotOf(m_base, false);
    const auto record = std::find(changes.begin(), changes.end(), Change::WriteRecord);
    const std::size_t written = static_cast<std::size_t>(record - changes.begin());
    // The record's third write says every file has its name: past it only clean-up is left.
    const std::size_t committed = static_cast<std::size_t>(
        std::find(std::find(record + 1, changes.end(), Change::WriteRecord) + 1, changes.end(),
                  Change::WriteRecord) -
        changes.begin());
    ASSERT_LT(committed, changes.size());
    const std::size_t targetFolders = GetParam() ? 0 : 2;

    for (std::size_t step = 0; step < changes.size(); ++step) {
        SCOPED_TRACE("change " + std::to_string(step));
        Reset();
        const TreeSnapshot before = SnapshotOf(m_base);
        const bool done = Run(step, kNever);
        EXPECT_EQ(done, step > committed);
        if (done) {
            CleanUpAsTheNextRun(m_target); // what clean-up was left
            EXPECT_EQ(SnapshotOf(m_base, false), extracted);
        } else {
            EXPECT_EQ(SnapshotOf(m_base), before);
        }
        // Killed here, or failed here and killed at each change of the undoing.
        const std::size_t last = done ? step : m_count - 1;
        for (std::size_t killing = step; killing <= last; ++killing) {
            SCOPED_TRACE("killed at " + std::to_string(killing));
            Reset();
            const TreeSnapshot again = SnapshotOf(m_base);
            const bool failed = killing != step;
            ASSERT_EQ(InChild([&] { return Run(failed ? step : kNever, killing) ? 0 : 1; }),
                      kKilled);
            CleanUpAsTheNextRun(m_target);
            if (!failed && step > committed) {
                EXPECT_EQ(SnapshotOf(m_base, false), extracted);
            } else {
                ExpectAsBefore(again,
                               step <= written || (failed && killing + targetFolders > last));
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Target, AllOrNothing, testing::Bool(),
                         [](const auto& param) { return param.param ? "Existing" : "Made"; });

// A record is only taken for a killed run's once nobody holds it.
TEST(Pkzip25Runs, ARecordStillHeldIsLeftAlone) {
    TempDir dir;
    WriteFile(dir.Path() / "new.txt", "a running extraction's file");
    const pkzip25::FileDescriptor root(::open(dir.Path().c_str(), O_RDONLY | O_DIRECTORY));
    pkzip25::WorkRecord record{"0123456789abcdef", {}, {}, {{"", "new.txt", false}}, {}};
    auto held = std::make_unique<pkzip25::RecordFile>();
    std::string reason;
    ASSERT_TRUE(held->Create(root.Get(), pkzip25::RecordName(record.id),
                             pkzip25::EncodePlan(record) +
                                 pkzip25::EncodeStage(pkzip25::WorkRecord::Stage::Renaming),
                             {}, reason))
        << reason;
    const TreeSnapshot running = SnapshotOf(dir.Path());
    CleanUpAsTheNextRun(dir.Path());
    EXPECT_EQ(SnapshotOf(dir.Path()), running);

    held.reset(); // its run is gone: the file it renamed into a free name goes with it
    CleanUpAsTheNextRun(dir.Path());
    EXPECT_TRUE(SnapshotOf(dir.Path()).empty());
}

// Failures the system makes, through the program: a full disk at three sizes, a folder it
// may not write.
TEST(Pkzip25Runs, AFullDiskOrAReadOnlyFolderChangesNothing) {
    const auto prepare = [](const TempDir& dir) {
        WriteFile(dir.Path() / "target/existing.txt", "old content");
        WriteFile(dir.Path() / "target/sub/keep.txt", "kept");
        ZipBuilder()
            .File("existing.txt", "new content")
            .File("fresh/a.txt", std::string(3000, 'a'))
            .File("sub/new.txt", std::string(20000, 'n'))
            .Stored()
            .Save(dir / "pack.zip");
    };
    // Into a folder the run makes: not even the work record fits, the second file does not,
    // the third does not. The limit's signal stays at its default: the program must not die
    // of it.
    for (const std::string blocks : {"0", "1", "8"}) { // of 512 bytes
        TempDir dir;
        prepare(dir);
        const TreeSnapshot before = SnapshotOf(dir.Path() / "target");
        const ToolRun run = Extract(dir, "target/made/", "ulimit -f " + blocks + ";");
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(blocks == "0" || (Lines(run.errors) == 1 &&
                                      run.errors.find("File too large") != std::string::npos))
            << run.errors;
        EXPECT_EQ(SnapshotOf(dir.Path() / "target"), before) << blocks;
    }

    // Root may write anywhere: the run then goes as another user.
    TempDir dir;
    prepare(dir);
    constexpr uid_t kNobody = 65534;
    const bool asRoot = ::geteuid() == 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir.Path())) {
        ASSERT_TRUE(!asRoot || ::lchown(entry.path().c_str(), kNobody, kNobody) == 0);
    }
    ASSERT_TRUE(!asRoot || ::chown(dir.Path().c_str(), kNobody, kNobody) == 0);
    fs::permissions(dir.Path() / "target/sub", fs::perms::owner_read | fs::perms::owner_exec);
    const TreeSnapshot before = SnapshotOf(dir.Path() / "target");
    EXPECT_EQ(InChild([&] {
                  if (asRoot && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
                      return 3;
                  }
                  std::string reason;
                  return pkzip25::ExtractArchive({dir / "pack.zip", dir / "target"}, {}, reason) ||
                                 reason.find("Permission denied") == std::string::npos
                             ? 2
                             : 1;
              }),
              1);
    EXPECT_EQ(SnapshotOf(dir.Path() / "target"), before);
}

// The next run of the program itself finds what a killed run left, says so, and goes on:
// into a target that was there, and into one the killed run made, named relatively.
TEST(Pkzip25Runs, TheProgramUndoesAKilledRunBeforeItsOwnWork) {
    for (const std::string target : {"target/", "made/game/"}) {
        SCOPED_TRACE(target);
        TempDir dir;
        const bool existed = target == "target/";
        if (existed) {
            WriteFile(dir.Path() / target / "existing.txt", "old content");
        }
        ZipBuilder().File("existing.txt", "half").File("other.txt", "half").Save(dir / "half.zip");
        ASSERT_EQ(InChild([&] {
                      std::string reason;
                      const auto killAtRename = [](Change change, std::string_view) {
                          return change == Change::Rename ? (::_exit(kKilled), false) : true;
                      };
                      return ::chdir(dir.Path().c_str()) == 0 &&
                             pkzip25::ExtractArchive({"half.zip", target}, {{}, killAtRename},
                                                     reason);
                  }),
                  kKilled);

        ZipBuilder().File("added.txt", "from the next package").Save(dir / "pack.zip");
        const ToolRun run = Extract(dir, target);
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.errors.find("cleaned up after 1 killed run in"), std::string::npos)
            << run.errors;
        TreeSnapshot expected = {{"added.txt", "33188: from the next package"}};
        if (existed) {
            expected["existing.txt"] = "33188: old content";
        }
        EXPECT_EQ(SnapshotOf(dir.Path() / target, false), expected);
    }
}

} // namespace
} // namespace ballotine::test

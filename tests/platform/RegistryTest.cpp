#include "platform/Registry.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace ballotine {
namespace {

TEST(Registry, SectionsAreKeysAndLinesAreValues) {
    const RegistryFile registry =
        RegistryFile::Parse("; by hand\n[hkey_local_machine\\SOFTWARE\\valve\\half-life]\r\n"
                            "Language=english\n  # a comment\nInstallPath=/games/Half Life=1\n\n"
                            "[HKEY_LOCAL_MACHINE\\Software\\Other]\nx=y\n");
    const auto values = registry.Values(kGameRegistryKey);
    ASSERT_EQ(values.size(), 2u) << "key paths ignore case";
    EXPECT_EQ(values[0].name, "Language");
    EXPECT_EQ(values[1].name, "InstallPath");
    EXPECT_EQ(values[1].data, "/games/Half Life=1") << "data runs to the end of the line";
    EXPECT_FALSE(registry.HasKey("HKEY_LOCAL_MACHINE\\Software\\Valve"));
}

// Found by fuzzing: the reader takes the last InstallPath of the key, so setting only the
// first left a located game unused.
TEST(Registry, SettingAValueNamedTwiceLeavesOnlyTheNewOne) {
    RegistryFile registry = RegistryFile::Parse("[A]\nkeep=1\n"
                                                "[HKEY_LOCAL_MACHINE\\Software\\Valve\\Half-Life]\n"
                                                "InstallPath=/old\nother=x\ninstallpath=/older\n");
    registry.SetValue(kGameRegistryKey, kInstallPathValue, "/new");
    const RegistryFile reread = RegistryFile::Parse(registry.Serialize());
    EXPECT_EQ(reread.Values("A").at(0).data, "1") << "other keys are written back";
    const auto values = reread.Values(kGameRegistryKey);
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].name + "=" + values[0].data, "InstallPath=/new");
    EXPECT_EQ(values[1].name, "other");
}

TEST(Registry, DefaultPathFollowsAnAbsoluteXdgConfigHome) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string restore = saved ? saved : "";
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(DefaultRegistryPath(), "/cfg/Ballotine/registry.conf");
    setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_TRUE(DefaultRegistryPath().string().ends_with("/.config/Ballotine/registry.conf"));
    saved ? setenv("XDG_CONFIG_HOME", restore.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
}

} // namespace
} // namespace ballotine

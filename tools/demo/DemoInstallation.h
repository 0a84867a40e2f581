#pragma once

#include <filesystem>
#include <string>

namespace ballotine::demo {

// Where the parts of a demo installation lie below its root.
struct DemoLayout {
    std::filesystem::path root;
    std::filesystem::path gameDir;      // root/Half-Life: the game folder (InstallPath)
    std::filesystem::path configHome;   // root/config: XDG_CONFIG_HOME for the program
    std::filesystem::path registryFile; // root/config/Ballotine/registry.conf
    std::filesystem::path serverDir;    // root/server: the update server's content
    std::filesystem::path sourceDir;    // root/server-source: what the server is published from
    std::filesystem::path toolsFolder;  // where the built tools (ripent, pkzip25) are taken from

    explicit DemoLayout(const std::filesystem::path& demoRoot,
                        const std::filesystem::path& tools = {});
    // "file://" address of a path below the server folder ("" for the folder itself).
    std::string ServerUrl(const std::string& relative = "") const;
};

// Writes a complete demo installation below `layout.root`. A root that exists must be empty or
// hold an earlier demo (it is then written anew); anything else is refused, so a mistyped path
// never wipes a user's files. False with `error` set when it cannot be written.
bool WriteDemoInstallation(const DemoLayout& layout, std::string& error);

} // namespace ballotine::demo

#include "demo/DemoInstallation.h"

#include "common/Text.h"
#include "demo/DemoParts.h"
#include "demo/DemoWriter.h"

#include <cctype>
#include <string_view>
#include <system_error>

namespace ballotine::demo {
namespace fs = std::filesystem;

namespace {

constexpr const char* kMarker = ".ballotine-demo";

bool PrepareRoot(const fs::path& root, std::string& error) {
    std::error_code code;
    if (fs::exists(root, code)) {
        if (!fs::is_directory(root, code)) {
            error = root.string() + " exists and is not a folder";
            return false;
        }
        const bool empty = fs::is_empty(root, code);
        if (!empty && !fs::exists(root / kMarker, code)) {
            error =
                root.string() + " is not empty and holds no earlier demo; refusing to write there";
            return false;
        }
        for (const auto& entry : fs::directory_iterator(root, code)) {
            fs::remove_all(entry.path(), code);
            if (code) {
                error = "cannot clear " + entry.path().string() + ": " + code.message();
                return false;
            }
        }
    }
    fs::create_directories(root, code);
    if (code) {
        error = "cannot create " + root.string() + ": " + code.message();
        return false;
    }
    return true;
}

} // namespace

DemoLayout::DemoLayout(const fs::path& demoRoot, const fs::path& tools)
    : root(fs::absolute(demoRoot).lexically_normal()), gameDir(root / "Half-Life"),
      configHome(root / "config"), registryFile(configHome / "Ballotine" / "registry.conf"),
      serverDir(root / "server"), sourceDir(root / "server-source"), toolsFolder(tools) {}

std::string DemoLayout::ServerUrl(const std::string& relative) const {
    // A demo in a folder whose name holds blanks or quotes still has addresses that are
    // addresses: such bytes are written as %XX.
    std::string url = "file://";
    for (const char c : serverDir.string()) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain =
            std::isalnum(byte) != 0 || std::string_view("/-._~").find(c) != std::string_view::npos;
        url += plain ? std::string(1, c) : Format("%%%02X", byte);
    }
    if (!relative.empty()) {
        url += "/" + relative;
    }
    return url;
}

bool WriteDemoInstallation(const DemoLayout& layout, std::string& error) {
    if (!PrepareRoot(layout.root, error)) {
        return false;
    }
    DemoWriter writer(layout.root);
    writer.Text(kMarker, "This folder was written by ballotine-demo and is rewritten by it.\n");
    WriteDemoGame(writer, layout);
    WriteDemoMaps(writer, layout);
    WriteDemoInstallerFiles(writer, layout);
    WriteDemoVoteMap(writer, layout);
    WriteDemoSettings(writer, layout);
    WriteDemoUpdateServer(writer, layout);
    if (!writer.Ok()) {
        error = writer.Error();
        return false;
    }
    return true;
}

} // namespace ballotine::demo

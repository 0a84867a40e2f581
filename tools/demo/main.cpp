#include "demo/DemoInstallation.h"
#include "platform/Paths.h"

#include <filesystem>
#include <iostream>
#include <string>

// ballotine-demo DIR: writes the demo installation into DIR and prints where its parts are.
int main(int argc, char** argv) {
    if (argc != 2 || std::string(argv[1]) == "--help") {
        std::cerr << "Usage: ballotine-demo DIR\n"
                     "Writes a demo Half-Life installation with a TFC mod, the Ballotine working\n"
                     "folder and an update server into DIR (empty, or an earlier demo).\n";
        return argc == 2 ? 0 : 2;
    }
    const ballotine::demo::DemoLayout layout(argv[1], ballotine::ProgramFolder());
    std::string error;
    if (!ballotine::demo::WriteDemoInstallation(layout, error)) {
        std::cerr << "ballotine-demo: " << error << "\n";
        return 1;
    }
    std::cout << "Game\t" << layout.gameDir.string() << "\n"
              << "Registry\t" << layout.registryFile.string() << "\n"
              << "ConfigHome\t" << layout.configHome.string() << "\n"
              << "Server\t" << layout.serverDir.string() << "\n"
              << "ServerSource\t" << layout.sourceDir.string() << "\n";
    if (!std::filesystem::exists(layout.gameDir / "Ballotine" / "ripent")) {
        std::cerr << "ballotine-demo: no ripent beside this program; compiling will fail\n";
    }
    return 0;
}

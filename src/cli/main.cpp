#include "cli/CliMain.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return ballotine::RunCli(args, std::cout, std::cerr, std::cin, ::isatty(STDIN_FILENO) != 0);
}

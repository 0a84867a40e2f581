#include "BuildInfo.h"
#include "ripent/Ripent.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args == std::vector<std::string>{"--version"}) {
        std::cout << "ripent " << ballotine::kVersion << '\n';
        return ballotine::ripent::kExitOk;
    }
    return ballotine::ripent::RunRipent(args, std::cout, std::cerr);
}

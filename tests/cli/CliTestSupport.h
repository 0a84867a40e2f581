#pragma once

#include "support/DemoFixture.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace ballotine::test {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs ballotine-cli in-process with the given arguments (no terminal on input).
CliRun RunCliWith(const std::vector<std::string>& args, const std::string& input = "");

// The words of `line` split at spaces, '' standing for an empty word.
std::vector<std::string> Words(std::string_view line);

// The built program run by the shell with these (quoted) arguments: its standard output and
// exit status, its messages dropped.
CliRun RunBuiltCli(const std::string& arguments);

// Puts the built zip tool first on the PATH, as it is beside the installed program, for the
// commands that install packages.
void PutBuiltZipToolOnPath();

// ballotine-cli on a fresh demo installation, whose registry file every run is given.
class CliOnDemo : public ::testing::Test {
protected:
    explicit CliOnDemo(std::string_view folderName = "demo") : demo(folderName) {}
    CliRun Run(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--registry", demo.Layout().registryFile.string()});
        return RunCliWith(args);
    }
    std::string Registry() const { return "'" + demo.Layout().registryFile.string() + "'"; }
    std::string Maps(const std::string& file) const { return demo.Game("tfc/maps/" + file); }
    std::string WorkFile(const std::string& file) const {
        return demo.Game("Ballotine/tfc/" + file);
    }

    DemoFixture demo;
};

} // namespace ballotine::test

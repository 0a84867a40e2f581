#include "ripent/Ripent.h"

#include "bsp/BspFile.h"
#include "common/Text.h"
#include "platform/FileSystem.h"
#include "ripent/EntityText.h"
#include "ripent/ReplacingFile.h"

#include <optional>

namespace ballotine::ripent {

namespace {

constexpr const char* kUsage =
    "Usage: ripent -import PATH\n"
    "       ripent -export PATH\n"
    "       ripent --help | --version\n"
    "\n"
    "-import  writes the entity text PATH.ent into the map PATH.bsp (BSP version 30)\n"
    "-export  writes the entities of the map PATH.bsp to PATH.ent\n"
    "\n"
    "PATH may end in .bsp or .ent. Nothing is printed on success. A map that is refused,\n"
    "or entity text the game could not load, is named on one line and nothing is changed.\n";

enum class Mode { None, Import, Export, Help };

struct Request {
    Mode mode = Mode::None;
    std::string path;
};

// Nothing, with `error` set, when the words do not make one request.
std::optional<Request> ParseArguments(const std::vector<std::string>& args, std::string& error) {
    Request request;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-help" || arg == "-h") {
            return Request{Mode::Help, {}};
        }
        if (arg == "-import" || arg == "-export") {
            if (request.mode != Mode::None) {
                error = "give only one of -import and -export";
                return std::nullopt;
            }
            request.mode = arg == "-import" ? Mode::Import : Mode::Export;
        } else if (arg.starts_with('-')) {
            error = "unknown option " + arg;
            return std::nullopt;
        } else if (!request.path.empty()) {
            error = "give only one PATH";
            return std::nullopt;
        } else {
            request.path = arg;
        }
    }
    if (request.mode == Mode::None || request.path.empty()) {
        error = "give -import PATH or -export PATH (ripent --help shows how)";
        return std::nullopt;
    }
    return request;
}

std::string Refusal(const std::string& path, std::string_view reason) {
    return path + ": " + std::string(reason);
}

} // namespace

std::string MapBasePath(std::string_view path) {
    if (EndsWithNoCase(path, ".bsp") || EndsWithNoCase(path, ".ent")) {
        path.remove_suffix(4);
    }
    return std::string(path);
}

namespace {

std::optional<bsp::BspFile> OpenMap(const std::string& mapPath, std::string& reason) {
    std::optional<std::ifstream> stream = OpenForReading(mapPath);
    if (!stream) {
        reason = "cannot be read";
        return std::nullopt;
    }
    return bsp::BspFile::Open(std::move(*stream), reason);
}

} // namespace

bool ImportEntities(const std::string& base, std::string& error) {
    const std::string mapPath = base + ".bsp";
    const std::string textPath = base + ".ent";
    std::string reason;
    std::optional<bsp::BspFile> map = OpenMap(mapPath, reason);
    if (!map) {
        error = Refusal(mapPath, reason);
        return false;
    }
    const std::optional<std::string> content = ReadWholeFile(textPath);
    if (!content) {
        error = Refusal(textPath, "cannot be read");
        return false;
    }
    const std::optional<std::string> lump = MakeEntityLump(*content, reason);
    if (!lump) {
        error = Refusal(textPath, reason);
        return false;
    }
    std::optional<ReplacingFile> out = ReplacingFile::Open(mapPath, reason);
    if (!out) {
        error = Refusal(mapPath, reason);
        return false;
    }
    const auto write = [&](std::string_view bytes) { return out->Write(bytes); };
    if (!map->WriteWithEntities(write, *lump, reason) || !out->Commit()) {
        error = Refusal(mapPath, reason.empty() ? "cannot be written" : reason);
        return false;
    }
    return true;
}

bool ExportEntities(const std::string& base, std::string& error) {
    const std::string mapPath = base + ".bsp";
    const std::string textPath = base + ".ent";
    std::string reason;
    std::optional<bsp::BspFile> map = OpenMap(mapPath, reason);
    std::optional<std::string> lump;
    if (!map || !(lump = map->ReadLump(bsp::kEntityLump, reason))) {
        error = Refusal(mapPath, reason);
        return false;
    }
    std::optional<ReplacingFile> out = ReplacingFile::Open(textPath, reason);
    if (!out) {
        error = Refusal(textPath, reason);
        return false;
    }
    if (!out->Write(EntityTextOfLump(*lump)) || !out->Commit()) {
        error = Refusal(textPath, "cannot be written");
        return false;
    }
    return true;
}

int RunRipent(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string error;
    const std::optional<Request> request = ParseArguments(args, error);
    if (!request) {
        err << "ripent: " << error << "\n";
        return kExitUsage;
    }
    if (request->mode == Mode::Help) {
        out << kUsage;
        return kExitOk;
    }
    const std::string base = MapBasePath(request->path);
    const bool done =
        request->mode == Mode::Import ? ImportEntities(base, error) : ExportEntities(base, error);
    if (!done) {
        err << "ripent: " << error << "\n";
        return kExitRefused;
    }
    return kExitOk;
}

} // namespace ballotine::ripent

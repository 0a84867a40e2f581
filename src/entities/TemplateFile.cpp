#include "entities/TemplateFile.h"

#include "common/LineReader.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"

namespace ballotine {

bool FillTemplateFile(const std::string& templatePath, const std::string& outputPath,
                      const std::function<bool(std::string& line)>& fill) {
    if (outputPath.empty()) {
        return false;
    }
    auto templateFile = OpenForReading(templatePath);
    if (!templateFile) {
        return false;
    }
    AtomicFile output(outputPath);
    if (!output.IsOpen()) {
        return false;
    }
    std::string line;
    while (ReadLine(*templateFile, line)) {
        if (!fill(line)) {
            return false;
        }
        line += '\n';
        output.Write(line);
    }
    // A template that stopped being readable part-way must not become a cut output.
    return !templateFile->bad() && output.Commit();
}

} // namespace ballotine

#pragma once

#include <functional>
#include <string>

namespace ballotine {

// Writes a template into a new text file line by line: each line, read as every text file is,
// is passed through `fill` and written with a line feed. The output is replaced whole or not
// at all; false, with an earlier output left as it was, when the template cannot be read to
// its end, `fill` refuses a line (returns false) or the output cannot be written.
bool FillTemplateFile(const std::string& templatePath, const std::string& outputPath,
                      const std::function<bool(std::string& line)>& fill);

} // namespace ballotine

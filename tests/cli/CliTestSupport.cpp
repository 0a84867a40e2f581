#include "CliTestSupport.h"

#include "cli/CliMain.h"

#include <sstream>

namespace ballotine::test {

CliRun RunCliWith(const std::vector<std::string>& args, const std::string& input) {
    std::ostringstream out;
    std::ostringstream err;
    std::istringstream in(input);
    CliRun run;
    run.status = RunCli(args, out, err, in, false);
    run.out = out.str();
    run.err = err.str();
    return run;
}

} // namespace ballotine::test

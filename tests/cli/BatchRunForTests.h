#pragma once

#include <istream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/app/CliRunner.h"
#include "tests/support/FixtureTables.h"

namespace soten::test {

// What one run of soten-cli gave.
struct BatchRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs soten-cli on the fixture tables with `args` as they are and `in` as
// its standard input.
inline BatchRun RunBatch(const std::vector<std::string>& args, std::istream& in) {
    std::ostringstream out;
    std::ostringstream err;
    BatchRun run;
    run.status = cli::RunCli(args, in, out, err, FixtureTables());
    run.out = out.str();
    run.err = err.str();
    return run;
}

inline BatchRun RunBatch(const std::vector<std::string>& args, const std::string& input) {
    std::istringstream in(input);
    return RunBatch(args, in);
}

}  // namespace soten::test

// Runs the export inside the test process, for loops over many inputs and for
// checking that a run leaves no file descriptor open.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "run_program.hpp"

namespace fixture {

struct InProcessRun {
  RunResult result;
  int descriptors_left_open = 0;  // descriptors open after the run less those before
};

// Calls export_run with the arguments (program name excluded) in folder, with standard
// output and error captured. Changes the working directory for the call.
InProcessRun run_in_process(const std::filesystem::path& folder,
                            const std::vector<std::string>& arguments);

}  // namespace fixture

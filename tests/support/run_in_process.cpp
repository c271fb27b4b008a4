// Runs the export inside the test process, for loops over many inputs and for
// checking that a run leaves no file descriptor open.
#include "run_in_process.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

#include "export/export_run.hpp"
#include "table_builder.hpp"

namespace fixture {
namespace {

int count_open_descriptors() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    ++count;
  }
  return count;
}

// Points descriptor at a file for as long as the object lives.
struct Redirect {
  Redirect(int descriptor, const std::filesystem::path& path) : descriptor(descriptor) {
    saved = dup(descriptor);
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (saved < 0 || file < 0 || dup2(file, descriptor) < 0) throw std::runtime_error("redirect");
    close(file);
  }
  ~Redirect() {
    dup2(saved, descriptor);
    close(saved);
  }
  Redirect(const Redirect&) = delete;
  Redirect& operator=(const Redirect&) = delete;
  int descriptor;
  int saved;
};

}  // namespace

InProcessRun run_in_process(const std::filesystem::path& folder,
                            const std::vector<std::string>& arguments) {
  TempFolder capture;
  const std::filesystem::path previous = std::filesystem::current_path();
  std::vector<const char*> argv{"invoice-export"};
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  argv.push_back(nullptr);

  InProcessRun run;
  std::fflush(stdout);
  std::fflush(stderr);
  {
    const Redirect out(1, capture.path / "stdout");
    const Redirect err(2, capture.path / "stderr");
    std::filesystem::current_path(folder);
    const int before = count_open_descriptors();
    run.result.status = invoice_export::export_run(static_cast<int>(argv.size()) - 1, argv.data());
    run.descriptors_left_open = count_open_descriptors() - before;
    std::fflush(stdout);
    std::fflush(stderr);
    std::filesystem::current_path(previous);
  }
  run.result.out = read_file(capture.path / "stdout");
  run.result.err = read_file(capture.path / "stderr");
  return run;
}

}  // namespace fixture

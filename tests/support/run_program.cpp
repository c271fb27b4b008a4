// Runs the invoice-export program in a folder and collects what it did.
#include "run_program.hpp"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <stdexcept>

#include "table_builder.hpp"

namespace fixture {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "invoice-export-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

RunResult run_invoice_export(const std::filesystem::path& folder,
                             const std::vector<std::string>& arguments) {
  TempFolder capture;
  const std::string out_path = (capture.path / "stdout").string();
  const std::string err_path = (capture.path / "stderr").string();

  // INVOICE_EXPORT_PROGRAM in the environment names another build of the program, and
  // INVOICE_EXPORT_WRAPPER a command (with its options, split at spaces) to run it under.
  std::vector<std::string> argv_strings;
  if (const char* wrapper = std::getenv("INVOICE_EXPORT_WRAPPER")) {
    std::istringstream words(wrapper);
    for (std::string word; words >> word;) argv_strings.push_back(word);
  }
  const char* program = std::getenv("INVOICE_EXPORT_PROGRAM");
  argv_strings.push_back(program != nullptr ? program : INVOICE_EXPORT_PROGRAM);
  argv_strings.insert(argv_strings.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : argv_strings) argv.push_back(argument.data());
  argv.push_back(nullptr);

  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 || chdir(folder.c_str()) != 0) {
      _exit(127);
    }
    execv(argv[0], argv.data());
    _exit(127);
  }
  int wait_status = 0;
  if (waitpid(child, &wait_status, 0) != child) throw std::runtime_error("waitpid failed");

  RunResult result;
  result.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
  result.out = read_file(out_path);
  result.err = read_file(err_path);
  return result;
}

}  // namespace fixture

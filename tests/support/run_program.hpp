// Runs the invoice-export program in a folder and collects what it did.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace fixture {

struct RunResult {
  int status = -1;  // exit status, or -1 if the program did not exit normally
  std::string out;  // standard output
  std::string err;  // standard error
};

// Runs the program under test with the given arguments (program name excluded) in
// folder, and waits for it.
RunResult run_invoice_export(const std::filesystem::path& folder,
                             const std::vector<std::string>& arguments);

// A fresh empty folder, removed with everything in it when the object goes.
struct TempFolder {
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::filesystem::path path;
};

}  // namespace fixture

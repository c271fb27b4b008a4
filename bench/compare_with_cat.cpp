// Times the export against its I/O floor, cat of the same three tables, side by side.
// Usage: compare_with_cat PROGRAM DATA_FOLDER N...
// For each N, DATA_FOLDER/N holds the tables of an invoice with N positions. After one
// warm-up of each, the two commands run alternately (A B A B ...) for the rounds, so
// that both see the same machine state:
//   A: PROGRAM out.txt          B: cat dfaktura.dbf dpozycja.dbf dtowar.dbf > copy.bin
// Prints per N the median wall times, the median of the per-round ratios A/B,
// nanoseconds per position for A and A's peak resident memory.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Sample {
  double seconds;
  long peak_kib;
};

// Runs argv in folder with standard output to output_path, standard error to
// /dev/null, and returns its wall time and peak resident memory.
Sample run(const std::string& folder, const std::vector<std::string>& arguments,
           const std::string& output_path) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    const int out = open(output_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int null = open("/dev/null", O_WRONLY);
    if (out < 0 || null < 0 || dup2(out, 1) < 0 || dup2(null, 2) < 0 ||
        chdir(folder.c_str()) != 0) {
      _exit(127);
    }
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "compare_with_cat: %s failed in %s\n", arguments[0].c_str(),
                 folder.c_str());
    std::exit(1);
  }
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  return {elapsed.count(), usage.ru_maxrss};
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: compare_with_cat PROGRAM DATA_FOLDER N...\n");
    return 2;
  }
  const std::string program = argv[1];
  const std::string data = argv[2];
  std::printf("%10s %7s %12s %12s %7s %12s %12s\n", "positions", "rounds", "export ms", "cat ms",
              "ratio", "ns/position", "peak KiB");
  for (int i = 3; i < argc; ++i) {
    const long positions = std::atol(argv[i]);
    const std::string folder = data + "/" + argv[i];
    // Many rounds where a run takes a millisecond, five where it takes a second.
    const int rounds = static_cast<int>(std::clamp(2000000L / positions, 5L, 400L));
    const std::vector<std::string> export_command = {program, "out.txt"};
    const std::vector<std::string> cat_command = {"/bin/cat", "dfaktura.dbf", "dpozycja.dbf",
                                                  "dtowar.dbf"};
    const std::string null = "/dev/null";
    const std::string copy = folder + "/copy.bin";

    run(folder, export_command, null);  // warm-up: tables into the page cache
    run(folder, cat_command, copy);
    std::vector<double> export_times, cat_times, ratios;
    long peak_kib = 0;
    for (int round = 0; round < rounds; ++round) {
      const Sample a = run(folder, export_command, null);
      const Sample b = run(folder, cat_command, copy);
      export_times.push_back(a.seconds);
      cat_times.push_back(b.seconds);
      ratios.push_back(a.seconds / b.seconds);
      peak_kib = std::max(peak_kib, a.peak_kib);
    }
    const double export_median = median(export_times);
    std::printf("%10ld %7d %12.3f %12.3f %7.2f %12.1f %12ld\n", positions, rounds,
                export_median * 1e3, median(cat_times) * 1e3, median(ratios),
                export_median * 1e9 / static_cast<double>(positions), peak_kib);
    std::fflush(stdout);
  }
  return 0;
}

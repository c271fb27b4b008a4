// The program's console messages. Like the invoice file, every line ends with CR LF.
#include "export/console.hpp"

#include <cstdio>

namespace invoice_export {
namespace {

void put(std::FILE* stream, std::string_view text) {
  // A console that cannot take a message has nowhere to report it either.
  (void)std::fwrite(text.data(), 1, text.size(), stream);
}

}  // namespace

void report_missing_argument() {
  put(stdout,
      "Brak parametru - nazwa pliku wyj\x9e"
      "ciowego");
}

void report_cannot_open(std::string_view file_name) {
  put(stdout, "Niemozliwe otwarcie ");
  put(stdout, file_name);
  put(stdout, "\r\n");
}

void report_failure(std::string_view problem, std::string_view file_name) {
  put(stderr, problem);
  put(stderr, " ");
  put(stderr, file_name);
  put(stderr, "\r\n");
}

void report_output_is_table(std::string_view output_path, std::string_view table_name) {
  put(stderr, "Plik wyjsciowy ");
  put(stderr, output_path);
  put(stderr, " to tabela ");
  put(stderr, table_name);
  put(stderr, "\r\n");
}

}  // namespace invoice_export

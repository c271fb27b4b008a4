// The program's console messages. Like the invoice file, every line ends with CR LF.
#pragma once

#include <string_view>

namespace invoice_export {

// Standard output, with no line end: "Brak parametru - nazwa pliku wyj", the byte 0x9E
// (s with acute accent in the Mazovia code page) and "ciowego".
void report_missing_argument();

// Standard output: "Niemozliwe otwarcie <name>".
void report_cannot_open(std::string_view file_name);

// Standard error: "<problem> <name>", for failures that have no message on standard
// output, so that a calling script sees why the exit status is 1.
void report_failure(std::string_view problem, std::string_view file_name);

// The problems report_failure names.
constexpr std::string_view kWriteFailed = "Blad zapisu";
constexpr std::string_view kTableIncomplete = "Niepelna tabela";
constexpr std::string_view kHeaderDamaged = "Uszkodzony naglowek";
constexpr std::string_view kNoRecord = "Brak rekordu w";
constexpr std::string_view kOutOfMemory = "Brak pamieci na tabele";

// Standard error: "Plik wyjsciowy <path> to tabela <table>".
void report_output_is_table(std::string_view output_path, std::string_view table_name);

}  // namespace invoice_export

// One run of the program: from the command line to the exit status.
#pragma once

namespace invoice_export {

constexpr int kExitWritten = 0;  // the whole invoice reached the file
constexpr int kExitFailed = 1;   // anything else; a message says what

// Writes the invoice file named by the first argument from the tables dfaktura.dbf,
// dpozycja.dbf and dtowar.dbf in the working directory. Further arguments are ignored.
int export_run(int argc, const char* const* argv);

}  // namespace invoice_export

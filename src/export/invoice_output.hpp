// The invoice text file: bytes collected in a large buffer and written in blocks, with
// every failure remembered so that the run can tell a complete file from a cut one.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "table/table_file.hpp"

namespace invoice_export {

constexpr std::size_t kOutputBufferSize = std::size_t{64} * 1024;
constexpr std::string_view kLineEnd = "\r\n";

struct InvoiceOutput {
  table::FilePtr stream;
  std::array<char, kOutputBufferSize> buffer{};
  std::size_t used = 0;
  bool failed = false;  // a block could not be written; nothing more is attempted
};

// Creates the file, or cuts an existing one to length 0. Opened as bytes: the line
// ends are written explicitly.
bool open_invoice_output(InvoiceOutput& output, const char* path);

// Appends text when the buffer is full: writes the buffer out first.
void put_overflowing(InvoiceOutput& output, std::string_view text);

// Appends text; the common case, text that fits in what is left of the buffer, is a
// copy and nothing more.
inline void put(InvoiceOutput& output, std::string_view text) {
  if (text.size() <= output.buffer.size() - output.used) {
    // std::copy, unlike memcpy, may be given the null pointer of an empty text.
    std::copy(text.begin(), text.end(), output.buffer.data() + output.used);
    output.used += text.size();
    return;
  }
  put_overflowing(output, text);
}

inline void put_line(InvoiceOutput& output, std::string_view text) {
  put(output, text);
  put(output, kLineEnd);
}

// Writes what is buffered and closes the file. True only if every byte reached the
// file and the close succeeded.
bool finish_invoice_output(InvoiceOutput& output);

}  // namespace invoice_export

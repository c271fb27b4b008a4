// The invoice text file: bytes collected in a large buffer and written in blocks, with
// every failure remembered so that the run can tell a complete file from a cut one.
#include "export/invoice_output.hpp"

#include <algorithm>
#include <cstdio>

namespace invoice_export {
namespace {

// After a failed write the buffer is only emptied: nothing more reaches the file.
void write_buffer(InvoiceOutput& output) {
  if (output.used != 0 && !output.failed &&
      std::fwrite(output.buffer.data(), 1, output.used, output.stream.get()) != output.used) {
    output.failed = true;
  }
  output.used = 0;
}

}  // namespace

bool open_invoice_output(InvoiceOutput& output, const char* path) {
  output.stream.reset(std::fopen(path, "wb"));
  output.used = 0;
  output.failed = false;
  if (!output.stream) return false;
  // Blocks go straight to the file; the stream's own buffer would only copy them again.
  (void)std::setvbuf(output.stream.get(), nullptr, _IONBF, 0);
  return true;
}

void put_overflowing(InvoiceOutput& output, std::string_view text) {
  while (!text.empty() && !output.failed) {
    const std::size_t room = output.buffer.size() - output.used;
    const std::size_t count = std::min(room, text.size());
    std::copy_n(text.data(), count, output.buffer.data() + output.used);
    output.used += count;
    text.remove_prefix(count);
    if (output.used == output.buffer.size()) write_buffer(output);
  }
}

bool finish_invoice_output(InvoiceOutput& output) {
  if (!output.stream) return false;
  write_buffer(output);
  const bool written = !output.failed && std::fflush(output.stream.get()) == 0 &&
                       std::ferror(output.stream.get()) == 0;
  // The stream is closed exactly once here, whatever happened before.
  const bool closed = std::fclose(output.stream.release()) == 0;
  return written && closed;
}

}  // namespace invoice_export

// The [Naglowek] section: invoice number, dates and payment method.
#include "export/header_section.hpp"

#include <string_view>

#include "table/field_access.hpp"

namespace invoice_export {
namespace {

// A dBASE date YYYYMMDD is written YY.MM.DD: bytes 2 to 7 of the field's text, read as
// if the text were filled out with spaces to eight bytes, so that a blank, short or
// missing date shows spaces rather than leftovers of another field.
void put_date_line(InvoiceOutput& output, std::string_view key, std::string_view text) {
  const auto byte = [text](std::size_t index) { return index < text.size() ? text[index] : ' '; };
  const char date[] = {byte(2), byte(3), '.', byte(4), byte(5), '.', byte(6), byte(7)};
  put(output, key);
  put_line(output, {date, sizeof date});
}

// The payment word for the first byte of the payment method; empty for any other.
std::string_view payment_word(std::string_view method) {
  if (method.empty()) return {};
  switch (method.front()) {
    case 'C':
      return "czek";
    case 'G':
      return "gotowka";
    case 'P':
      return "przelew";
    default:
      return {};
  }
}

}  // namespace

void write_header_section(InvoiceOutput& output, const table::TableFile& invoice,
                          std::span<const char> record) {
  const auto fields = table::table_fields(invoice);
  const auto text = [&](std::string_view name) {
    return table::field_string(record, table::locate_field(fields, name), table::MAX_FIELD_TEXT);
  };

  put_line(output, "[Naglowek]");
  put(output, "Nr=");
  put(output, text("NR_WEWN"));
  put(output, "/");
  put_line(output, text("NR_WEWN_R"));
  put_date_line(output, "DataWyst=", text("DATA"));
  put_date_line(output, "DataSprzed=", text("DAT_S"));
  put(output, "Platnosc=");
  put_line(output, payment_word(text("SPOS_ZAPL")));
  put_date_line(output, "Termin=", text("TERMIN"));
}

}  // namespace invoice_export

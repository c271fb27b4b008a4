// The [PozN] sections, one per invoice line.
#include "export/position_sections.hpp"

#include <charconv>
#include <cstdint>
#include <string_view>

#include "export/console.hpp"
#include "export/input_table.hpp"
#include "export/unit_price.hpp"
#include "table/field_access.hpp"

namespace invoice_export {
namespace {

// Where the fields of a position lie. Every record of a table has the same layout,
// so the names are looked up once per table rather than once per record.
struct PositionFields {
  table::FieldLocation name;            // goods TOWAR
  table::FieldLocation barcode;         // goods KOD_KRESKI
  table::FieldLocation unit;            // goods JM
  table::FieldLocation vat_rate;        // goods PODA_OBRO
  table::FieldLocation classification;  // goods NAZWISKO
  table::FieldLocation quantity;        // positions ILOSC
  table::FieldLocation line_value;      // positions WART_ZL
};

PositionFields locate_position_fields(const table::TableFile& positions,
                                      const table::TableFile& goods) {
  const auto goods_fields = table::table_fields(goods);
  const auto positions_fields = table::table_fields(positions);
  return {
      .name = table::locate_field(goods_fields, "TOWAR"),
      .barcode = table::locate_field(goods_fields, "KOD_KRESKI"),
      .unit = table::locate_field(goods_fields, "JM"),
      .vat_rate = table::locate_field(goods_fields, "PODA_OBRO"),
      .classification = table::locate_field(goods_fields, "NAZWISKO"),
      .quantity = table::locate_field(positions_fields, "ILOSC"),
      .line_value = table::locate_field(positions_fields, "WART_ZL"),
  };
}

void put_decimal(InvoiceOutput& output, std::int64_t number) {
  char digits[24];
  auto* const end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  put(output, {digits, static_cast<std::size_t>(end - digits)});
}

void write_position_section(InvoiceOutput& output, std::int64_t number,
                            const PositionFields& fields, std::span<const char> position,
                            std::span<const char> goods) {
  const auto text = [](std::span<const char> record, table::FieldLocation field) {
    return table::field_string(record, field, table::MAX_FIELD_TEXT);
  };

  // Each line end goes out together with the key of the next line.
  put(output, "[Poz");
  put_decimal(output, number);
  put(output, "]\r\nNazwa=");
  put(output, text(goods, fields.name));
  put(output, "\r\nSymbol=");
  put(output, text(goods, fields.barcode));
  put(output, "\r\nJedn=");
  put(output, text(goods, fields.unit));
  put(output, "\r\nIlosc=");
  put(output, text(position, fields.quantity));

  // No guard against a zero quantity: the price then reads 1.#INF, -1.#INF or -1.#IND,
  // which the importing side knows.
  const double line_value = table::field_real(position, fields.line_value, 1);
  const double quantity = table::field_real(position, fields.quantity, 1);
  UnitPriceBuffer price;
  put(output, "\r\nCenaNetto=");
  put(output, format_unit_price(line_value / quantity, price));
  put(output, "\r\nVat=");
  put_decimal(output, table::field_long(goods, fields.vat_rate, 1));
  put(output, " %\r\nPKWIU=");
  put_line(output, text(goods, fields.classification));
}

}  // namespace

bool write_position_sections(InvoiceOutput& output) {
  if (output.failed) return false;
  InputTable positions;
  if (!open_input_table(positions, kPositionsTableName)) return false;
  InputTable goods;
  if (!open_input_table(goods, kGoodsTableName)) return false;

  // Only the positions table's count is consulted; the goods table just has to keep
  // up with it.
  const std::int32_t position_count = positions.file.header.record_count;
  const PositionFields fields = locate_position_fields(positions.file, goods.file);
  for (std::int32_t index = 0; index < position_count; ++index) {
    if (output.failed) return false;
    if (!table::read_record_chunk(positions.file, positions.chunk)) {
      report_failure(kTableIncomplete, positions.name);
      return false;
    }
    if (!table::read_record_chunk(goods.file, goods.chunk)) {
      report_failure(kTableIncomplete, goods.name);
      return false;
    }
    write_position_section(output, std::int64_t{index} + 1, fields,
                           table::record_view(positions.chunk), table::record_view(goods.chunk));
  }
  return !output.failed;
}

}  // namespace invoice_export

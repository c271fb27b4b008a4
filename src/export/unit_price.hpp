// The net unit price as the invoice writes it: fixed notation, exactly four decimals.
#pragma once

#include <array>
#include <string_view>

namespace invoice_export {

// Room for the largest double written in full: a sign, 309 integer digits, a carry,
// the full stop and four decimals.
using UnitPriceBuffer = std::array<char, 320>;

// Formats value into buffer and returns the text:
//   - zero of either sign: "0.0000";
//   - infinity: "1.#INF" or "-1.#INF"; not a number: "-1.#IND";
//   - anything else: the value rounded half away from zero to 17 significant digits,
//     then half away from zero at the fourth decimal, digits past the 17th significant
//     one counting as 0; a minus for every negative value, even one that rounds to
//     -0.0000. No exponent form: 1e300 is written with all its 301 integer digits.
std::string_view format_unit_price(double value, UnitPriceBuffer& buffer);

}  // namespace invoice_export

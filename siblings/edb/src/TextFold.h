// Case folding of 16-bit text for names and sorted records: per unit, Unicode's simple mappings, through the
// C library's built-in C.UTF-8 tables so that the process's own locale does not matter.
#pragma once

#include <string>
#include <string_view>

namespace lxedb {

char16_t UpperUnit(char16_t unit);
char16_t LowerUnit(char16_t unit);

// Upper-cased text as big-endian bytes: byte order then follows the folded units' order.
std::string FoldedKey(std::u16string_view text);

} // namespace lxedb

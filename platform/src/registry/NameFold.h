// Case folding of registry names: names compare without regard to case, per 16-bit unit, and are stored as
// given. Units are mapped to upper case with Unicode's simple mapping (so "Ä" matches "ä" and "Ж" matches
// "ж"); surrogates and units whose upper case lies outside the 16-bit range compare as they are.
#pragma once

#include <string>
#include <string_view>

namespace cehost::registry {

// The folded name as big-endian bytes, so that a byte-wise comparison orders names by their folded units.
std::string FoldedNameKey(std::u16string_view name);

// Raw UTF-16 units as bytes (host order) and back, for storing names exactly as given.
std::string NameBytes(std::u16string_view name);
std::u16string NameFromBytes(const void* bytes, size_t byteCount);

} // namespace cehost::registry

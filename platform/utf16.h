#pragma once
// UTF-16 text of the Windows interfaces (registry, version resources) and Windows-1252 text.
#include <string>
#include <string_view>

namespace quorvel {

// Windows-1252 bytes to UTF-16. Every byte has a character (the five bytes that Windows-1252
// leaves undefined keep their own code, as Windows converts them).
std::u16string Utf16De1252(std::string_view texto);
// UTF-16 to Windows-1252 bytes. A character that Windows-1252 cannot hold, and a surrogate
// pair as a whole, becomes '?'.
std::string Utf16Para1252(std::u16string_view texto);

}  // namespace quorvel

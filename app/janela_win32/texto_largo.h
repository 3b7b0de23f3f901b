#pragma once
// Windows-1252 texts of the core as the Win32 calls take them: UTF-16, every line break (a lone
// CR as the core writes them, a lone LF, or CR LF) made CR LF, as edit fields, labels and
// message boxes break lines. And back: the text of a field as Windows-1252.
#include <string>

#include "platform/utf16.h"

namespace quorvel::win32 {

inline std::wstring Largo(const std::string& texto1252) {
    const std::u16string u = Utf16De1252(texto1252);
    std::wstring r;
    r.reserve(u.size() + 8);
    for (std::size_t i = 0; i < u.size(); ++i) {
        const char16_t c = u[i];
        if (c == u'\r' || c == u'\n') {
            r += L"\r\n";
            if (c == u'\r' && i + 1 < u.size() && u[i + 1] == u'\n') ++i;
        } else {
            r += static_cast<wchar_t>(c);
        }
    }
    return r;
}

inline std::string De1252Largo(const std::wstring& largo) {
    return Utf16Para1252(std::u16string(largo.begin(), largo.end()));
}

}  // namespace quorvel::win32

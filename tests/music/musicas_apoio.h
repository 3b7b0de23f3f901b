#pragma once
// Tagged MP3 files for the music registration and music table tests: a short tone encoded by
// lame, tagged by mutagen with the frames asked for (the system's own frames TRIT, TEST, TVOC,
// TGRA ... included).
#include <cstdio>
#include <map>
#include <string>

#include "apoio/audio_amostras.h"

namespace quorvel::teste {

// A Python text literal of a Windows-1252 text (the bytes used here are Latin-1 letters).
inline std::string LiteralPython(const std::string& texto) {
    std::string s = "u\"";
    for (unsigned char c : texto) {
        if (c >= 0x80 || c == '"' || c == '\\') {
            char t[8];
            std::snprintf(t, sizeof t, "\\u%04x", c);
            s += t;
        } else {
            s += static_cast<char>(c);
        }
    }
    return s + "\"";
}

// The mutagen script that gives a file an ID3v2.3 tag holding exactly these text frames.
inline std::string ScriptTag(const std::map<std::string, std::string>& quadros) {
    std::string s =
        "t = m.ID3()\n"
        "def quadro(ident, texto):\n"
        "    classe = getattr(m, ident, None) or type(ident, (m.TextFrame,), {})\n"
        "    return classe(encoding=0, text=texto)\n";
    for (const auto& [id, texto] : quadros) s += "t.add(quadro(\"" + id + "\", " + LiteralPython(texto) + "))\n";
    return s + "t.save(sys.argv[1], v2_version=3)\n";
}

// An MP3 of one second at the host path, tagged with the frames (no tag when there are none).
inline void Mp3ComTag(const std::string& caminhoHost, const std::map<std::string, std::string>& quadros) {
    GerarMp3(caminhoHost, 1, "-b 64", 22050, 1);
    if (!quadros.empty()) Python(ScriptTag(quadros), caminhoHost);
}

}  // namespace quorvel::teste

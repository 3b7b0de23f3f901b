#include "music/gravar_tag.h"

#include <cstdint>

#include "platform/arquivos.h"
#include "platform/texto.h"

namespace quorvel {

namespace {

// Empties the record at the end of GravarTag, also when it ends with an error.
struct LimparAoSair {
    ArquivoAudio& audio;
    ~LimparAoSair() { audio.LimparTag(); }
};

}  // namespace

TID3v2 TagParaGravar(const ArquivoAudio& audio, const ValoresTag& v) {
    const TextosQuadros& r = audio.InfoAudio().Frames;
    // The frames the record holds replace those of the tag only when the record holds the
    // file's texts; otherwise the file's own frames stay.
    const bool doRegistro = audio.RegistroComTag();
    TID3v2 t = audio.TagDoArquivo();
    for (int slot = 0; slot < TID3v2::TotalFrames; ++slot) {
        const std::string& valor = !v[slot].empty() ? v[slot] : r[slot];
        if (v[slot].empty() && !(doRegistro && TID3v2::Quadros[slot].registro >= 0)) continue;
        if (slot != TID3v2::SlotTrack)
            t.Definir(slot, valor);
        else if (!valor.empty())
            t.SetTrack(static_cast<uint16_t>(TextoParaInteiro(valor)));
    }
    t.Definir(TID3v2::SlotTCAD, "S");
    return t;
}

ResultadoTag GravarTag(ArquivoAudio& audio, const ValoresTag& v, bool sincronizar) {
    LimparAoSair limpar{audio};
    const std::string& caminho = audio.Caminho();
    if (caminho.empty() || !ArquivoExiste(caminho)) return {ResultadoTag::Modo::NaoGravada, "o arquivo n\xE3o existe"};
    return ResultadoDoModo(TagParaGravar(audio, v).SaveToFile(caminho, sincronizar));
}

ResultadoTag ResultadoDoModo(ResultadoTag::Modo modo) {
    if (modo == ResultadoTag::Modo::NaoGravada) return {modo, "n\xE3o foi poss\xEDvel gravar o arquivo"};
    return {modo, ""};
}

}  // namespace quorvel

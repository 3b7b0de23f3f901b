// Target of the audio information record and the tag rewrite, as music registration uses them:
// the input is read as a WAV file and as an MP3 file, and the MP3 file then gets its tag
// rewritten with the values registration passes.
//
// Kept apart from the readers' targets: it is written against the record's interface (the
// ArquivoAudio that LerInfoAudio returns and GravarTag takes), the one thing here to adapt when
// that interface changes.
#include <cstring>
#include <string>

#include "alvos/alvos.h"
#include "alvos/rascunho.h"
#include "audio/id3v2.h"
#include "music/gravar_tag.h"
#include "music/info_audio.h"
#include "platform/erros.h"

namespace quorvel::fuzz {

int AlvoInfoAudio(const uint8_t* dados, size_t tamanho) {
    const char* const alvo = "info_audio";
    const std::string entrada(reinterpret_cast<const char*>(dados), tamanho);

    const std::string wav = GravarRascunho("registro.wav", entrada);
    LerInfoAudio(wav);

    const std::string mp3 = GravarRascunho("registro.mp3", entrada);
    ArquivoAudio audio = LerInfoAudio(mp3);
    // Registration's values: title, artist, composer, the hit flag "N" and the extension. A long
    // composer now and then makes the new tag outgrow 4,096 bytes.
    ValoresTag valores;
    valores[TID3v2::SlotTitle] = "T\xEDtulo";
    valores[TID3v2::SlotArtist] = "Artista";
    valores[TID3v2::SlotComposer] = tamanho % 7 == 0 ? std::string(4200, 'c') : "Compositor";
    valores[TID3v2::SlotTSUC] = "N";
    valores[TID3v2::SlotTEXT] = ".mp3";
    try {
        GravarTag(audio, valores);
    } catch (const ErroConversao&) {
        // A track text that is no number: registration goes on, and the file must be untouched.
        if (LerRascunho(mp3) != entrada) Falha(alvo, "a failed rewrite changed the file");
        return 0;
    }

    const std::string depois = LerRascunho(mp3);
    if (depois == entrada) {
        if (tamanho >= 10) Falha(alvo, "the tag was not written");
        return 0;
    }
    if (!LerRascunho(mp3 + "~").empty()) Falha(alvo, "a temporary file stayed behind");
    const auto* cab = reinterpret_cast<const unsigned char*>(depois.data());
    if (depois.size() < 10 || depois.compare(0, 6, std::string("ID3\x03\0\0", 6)) != 0)
        Falha(alvo, "the written tag has no version 2.3 header");
    const int32_t novo = TID3v2::TagSize(cab, static_cast<int64_t>(depois.size()));
    const int32_t antigo = tamanho >= 10 && entrada.compare(0, 3, "ID3") == 0
                               ? TID3v2::TagSize(dados, static_cast<int64_t>(tamanho))
                               : 0;
    if (novo <= 0 || depois.compare(static_cast<size_t>(novo), std::string::npos, entrada,
                                    static_cast<size_t>(antigo), std::string::npos) != 0)
        Falha(alvo, "the audio after the tag changed");
    TID3v2 relido;
    if (!relido.ReadFromFile(mp3) || relido.Texto(TID3v2::SlotTitle) != valores[TID3v2::SlotTitle] || relido.Texto(TID3v2::SlotTCAD) != "S" ||
        relido.Texto(TID3v2::SlotTSUC) != "N")
        Falha(alvo, "the written tag does not hold the given values");
    return 0;
}

}  // namespace quorvel::fuzz

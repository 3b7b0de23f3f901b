#pragma once
// The rewrite of an MP3 file's ID3v2 tag from given values and the file's audio information.
#include <string>

#include "music/info_audio.h"

namespace quorvel {

// The frame values GravarTag takes, by slot (the track number as text). An empty value means
// "take it from the record" (or, when the record holds nothing of the file's tag, keep the
// file's own frame).
using ValoresTag = TextosQuadros;

// How a tag was written: inside the file (the new tag fits the room of the old one), through a
// new copy of the file renamed over it, or not at all (and why).
struct ResultadoTag {
    using Modo = TID3v2::Gravacao;
    Modo modo = Modo::NaoGravada;
    std::string motivo;  // why it was not written
};

// Rewrites the ID3v2 tag of the audio's MP3 file, starting from the tag as the audio read it,
// then empties the audio's record. Raises ErroConversao when the track number is not an integer
// (nothing is saved then). The file is written whole or not at all, and flushed to the disk
// unless `sincronizar` is false (a copy of this run, flushed later with the others).
ResultadoTag GravarTag(ArquivoAudio& audio, const ValoresTag& valores, bool sincronizar = true);

// How a save wrote, told as GravarTag tells it (why a tag was not written).
ResultadoTag ResultadoDoModo(ResultadoTag::Modo modo);

// The tag GravarTag saves: the file's tag as the audio read it, with the given values and, where
// a value is empty, the record's. Raises ErroConversao when the track number is not an integer.
TID3v2 TagParaGravar(const ArquivoAudio& audio, const ValoresTag& valores);

}  // namespace quorvel

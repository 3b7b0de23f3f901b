#pragma once
// The rewrite of an MP3 file's ID3v2 tag from given values and the file's audio information.
#include <string>

#include "music/info_audio.h"

namespace quorvel {

// The 27 frame values GravarTag takes, in its order. An empty value means "take it from the
// record" (or, when the record holds nothing of the file's tag, keep the file's own frame).
struct ValoresTag {
    std::string TIT2, TPE1, TCOM, TALB, TYER, Faixa, TIDM, TCON, TEST, TRIT, TLAN, TGRA, TVOC,
        TSUC, TTPE, TPIN, TPFI, TEXT, COMM, TINT, TCAR, TVIN, TMXI, TMXF, TRFI, TRFF, TPMI;
};

// Rewrites the ID3v2 tag of the audio's MP3 file, starting from the tag as the audio read it,
// then empties the audio's record. Raises ErroConversao when the track number is not an integer
// (nothing is saved then). The file is written whole or not at all.
void GravarTag(ArquivoAudio& audio, const ValoresTag& valores);

}  // namespace quorvel

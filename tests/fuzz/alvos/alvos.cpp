#include "alvos/alvos.h"

namespace quorvel::fuzz {

const std::vector<Alvo>& Alvos() {
    static const std::vector<Alvo> alvos = {
        {"id3v1", AlvoId3v1},           {"id3v2", AlvoId3v2},
        {"mpeg", AlvoMpeg},             {"wav", AlvoWav},
        {"info_audio", AlvoInfoAudio},  {"ini", AlvoIni},
        {"registro", AlvoRegistro},     {"versao_pe", AlvoVersaoPe},
        {"checkpoint", AlvoCheckpoint}, {"duracao", AlvoDuracao},
    };
    return alvos;
}

}  // namespace quorvel::fuzz

#pragma once
// The plan of one music row: the 2009 row read once, and what its copy and registration will do
// with it: the file's 2010 folder and name and whether it is copied, the folder as the station's
// computers reach it, a network folder that leaves the row out, the file that is registered and
// tagged, and the tag's values. The run carries the plan out (ConverterTabelaMusicas with
// CopiarArquivoMusica and CadastrarMusica); the forecast reports it and carries nothing out.
#include <cstdint>
#include <string>

#include "db/ib_query.h"
#include "migration/relocacao.h"
#include "music/gravar_tag.h"

namespace quorvel {

// The 2009 music row.
struct LinhaMusica {
    int32_t codigo = 0;
    std::string titulo, interprete, compositor;
    int32_t genero = 0;
    std::string drive, dispositivo, extensao;

    std::string Identificacao() const { return interprete + " - " + titulo; }
};

// The row under the cursor of the 2009 music query.
LinhaMusica LerLinhaMusica(TIBQuery& origem);

struct PlanoMusica {
    LinhaMusica linha;
    DestinoMusica destino;  // the 2010 folder and name; the copy: Copiado when it will be made
    std::string caminho;    // the folder as the station's computers reach it ("\\SRV01\D\Musicas\")
    bool pastaDeRede = false;  // a network folder reached through the host: left out, no record
    std::string completo;      // caminho + the file name: the file registered and tagged
    std::string extensao;      // of `completo`, with its dot (".mp3")
    bool reescreveTag = false; // an MP3: its ID3v2 tag is rewritten with ValoresTagMusica

    // The value the music record's "success" column and the tag's TSUC frame take.
    static inline const std::string Sucesso{"N"};
};

// The registration's part of the plan for a music file already placed: `destino` names its 2010
// folder and name, `servidor` is the host part of the administration database's location.
PlanoMusica PlanejarCadastro(const LinhaMusica& linha, DestinoMusica destino, const std::string& servidor);

// The whole plan of a 2009 row: where its file goes (nothing is touched) and its registration.
PlanoMusica PlanejarMusica(const LinhaMusica& linha, const std::string& pasta2010, const std::string& servidor);

// The values the music's rewritten tag takes from its 2009 row.
ValoresTag ValoresTagMusica(const PlanoMusica& plano);

}  // namespace quorvel

#pragma once
// The cached-update datasets through which music registration inserts folders, lookup rows and
// music records into the 2010 audio database, with their update objects. The core owns one set
// for as long as it lives; every dataset works on the audio connection and its transaction.
#include <cstdint>
#include <optional>

#include "db/ib_conexao.h"
#include "db/ib_query.h"
#include "music/nomes_completos.h"

namespace quorvel {

struct DatasetsCadastro {
    DatasetsCadastro(TIBDatabase& base, TIBTransaction& transacao);
    DatasetsCadastro(const DatasetsCadastro&) = delete;
    DatasetsCadastro& operator=(const DatasetsCadastro&) = delete;

    TIBQuery Q_Pastas, Q_Musicas, Q_SubGenero, Q_Ritmo, Q_Vocal, Q_Gravadora, Q_Idioma;
    TIBUpdateSQL Up_Pastas, Up_Musicas, Up_SubGenero, Up_Ritmo, Up_Vocal, Up_Gravadora, Up_Idioma;

    // The code found by the last successful BuscarCodigo, read right after the call.
    int32_t CodigoEncontrado = 0;

    // The 2009 code of the music being posted through Q_Musicas: its after-post handler writes it
    // into MUS_CODIGO_ANTIGO between the insert and the commit, so that the row and its 2009 code
    // become durable in one commit. Empty outside a registration's post.
    std::optional<int32_t> CodigoAntigoDoPost;

    // The full names of the 2010 musics, held while the music table is migrated (see
    // MusicaDuplicada).
    NomesCompletos NomesMusicas;

    TIBDatabase& Base() { return base_; }
    TIBTransaction& Transacao() { return transacao_; }

private:
    TIBDatabase& base_;
    TIBTransaction& transacao_;
};

}  // namespace quorvel

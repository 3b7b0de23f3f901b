#pragma once
// Music registration: one relocated audio file becomes its folder row, the lookup rows its tag
// names, and its music record in the 2010 audio database, which also keeps the music's 2009 code
// in MUS_CODIGO_ANTIGO. For an MP3 file the ID3v2 tag is rewritten on the way.
#include <cstdint>
#include <string>

#include "migration/ambiente.h"
#include "music/cadastro_datasets.h"

namespace quorvel {

// Registers the music file `arquivo` in the folder `pasta` through the registration datasets (the
// run gives the host part of the administration database's location and shows the messages).
// Skips it, with a message, when its folder is a network path reached through the host; skips it
// silently when a record with its name exists. Any failure rolls the audio transaction back
// (retaining) and is dropped: this never raises.
void CadastrarMusica(AmbienteMigracao& ambiente, DatasetsCadastro& cad, const std::string& pasta,
                     const std::string& arquivo, const std::string& titulo, const std::string& interprete,
                     const std::string& compositor, int32_t genero, int32_t codigoAntigo);

// Reads the file's audio information, rewrites its tag (MP3), resolves the lookups and inserts
// the music record with its 2009 code, in one commit. Raises on database failures.
void GravarMusica(DatasetsCadastro& cad, const std::string& caminhoCompleto, const std::string& arquivo,
                  const std::string& titulo, const std::string& interprete, const std::string& compositor,
                  const std::string& extensao, const std::string& pasta, int32_t genero, int32_t codigoAntigo);

// The duplicate test of a music file: is there a music, with any code other than 0, whose full
// name equals the file name without its last four characters (the dot and a three-letter
// extension), as it is or upper-cased by the locale's rules? Asks the database, or the names held
// in memory while the music table is migrated, which answer alike.
bool MusicaDuplicada(DatasetsCadastro& cad, const std::string& arquivo);

// Seconds rounded to the nearest whole second, an exact half to the even neighbour. Raises when
// the value does not fit a 32-bit integer.
int32_t ArredondarSegundos(double segundos);

// The width of the name column of the lookup tables.
inline constexpr int LarguraNomeCadastro = 20;

// The name a tag text resolves to in a lookup table: upper-cased by the locale's rules, stripped
// of blanks and control characters at both ends, and cut to the name column's width.
std::string NomeDeCadastro(const std::string& texto);

}  // namespace quorvel

#pragma once
// Music registration: one relocated audio file becomes its folder row, the lookup rows its tag
// names, and its music record in the 2010 audio database, which also keeps the music's 2009 code
// in MUS_CODIGO_ANTIGO. For an MP3 file the ID3v2 tag is rewritten on the way.
#include <cstdint>
#include <string>

#include "migration/ambiente.h"
#include "migration/relocacao.h"
#include "music/cadastro_datasets.h"
#include "music/gravar_tag.h"
#include "music/plano_musica.h"
#include <vector>

namespace quorvel {

// Carries out the registration the plan describes, through the registration datasets (the run
// shows the messages). Skips the music, with a message, when its folder is a network path reached
// through the host; skips it silently when a record with its name exists. Any failure rolls the
// audio transaction back (retaining) and is dropped: this never raises. When `copias` holds the
// file as a copy of this run not yet flushed, its tag is written without a flush of its own (the
// copies are flushed together); any other file's tag is flushed as it is written.
void CadastrarMusica(AmbienteMigracao& ambiente, DatasetsCadastro& cad, const PlanoMusica& plano,
                     const PastasDestino* copias = nullptr);

// What a registration did on the way, for the run's report (filled also when it fails later).
struct EventosCadastro {
    ResultadoTag tag{ResultadoTag::Modo::NaoGravada, "o arquivo n\xE3o \xE9 MP3"};
    std::vector<std::string> cadastrosCriados;  // "TB_Ritmo: SAMBA (c\xF3digo 3)"
};

// Reads the file's audio information, rewrites its tag (MP3; flushed to the disk when
// `sincronizarTag`), resolves the lookups and inserts the music record with its 2009 code, in one
// commit. Raises on database failures.
void GravarMusica(DatasetsCadastro& cad, const PlanoMusica& plano, EventosCadastro* eventos = nullptr,
                  bool sincronizarTag = true);

// A text as a string literal between double quotes (a quote inside written twice): how the
// duplicate test places a file name's stem into its statement.
std::string LiteralNomeCompleto(const std::string& radical);
// The stem a music file name is compared with MUS_NOMECOMPLETO by: the name without its last four
// characters (the dot and a three-letter extension).
std::string RadicalDoArquivo(const std::string& arquivo);

// A lookup a music's tag names: the table, its code and name fields, and the name it resolves to.
struct NomeCadastro {
    const char* tabela;
    const char* campoCodigo;
    const char* campoNome;
    std::string texto;  // the tag's text
    std::string nome;   // NomeDeCadastro of it
};
// The lookups of the file's tag, in the order registration resolves them (none without an MPEG
// reader; texts that resolve to no name are left out).
std::vector<NomeCadastro> NomesDeCadastro(const ArquivoAudio& audio);

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

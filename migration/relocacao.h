#pragma once
// Relocation of audio files from the 2009 folder layout into the 2010 layout.
//
// The 2009 installation keeps jingles as "C:\Comercial\<device>.<ext>" and music files as
// "<drive>\Musicas\<device>.<ext>"; the 2010 installation keeps them by readable names: jingles in
// the 2010 folder's "\Vinhetas\", music from drive C: in the 2010 folder's "\Musicas\", music from
// any other drive beside the old file in that drive's "\Musicas\". Files are copied, never moved.
#include <functional>
#include <set>
#include <string>
#include <unordered_set>

namespace quorvel {

// The text with each of \ / : * ? " < > | replaced by one space (same length, nothing trimmed).
std::string RemoverCaracteresInvalidos(const std::string& texto);

// Copies `origem` to `destino` and returns the path it went to. Kind "V" (a jingle, any letter
// case) never overwrites: a taken destination gets the first free numbered name ("_1", "_2", ...
// before the extension), the path first cut to 38 characters plus the extension when it is
// longer than 42. Any other kind ("M", music) always copies to `destino`, replacing what is there.
// The destination folder is created when missing. Raises Erro when the copy cannot be made.
std::string CopiarArquivoUnico(const std::string& tipo, const std::string& origem, const std::string& destino);

// What became of one relocated file, for the run's report.
struct CopiaArquivo {
    enum class Situacao { Copiado, Ausente, Falhou } situacao = Situacao::Ausente;
    std::string origem;    // the 2009 file
    std::string desejado;  // the 2010 path it was meant for
    std::string destino;   // the path it went to (a numbered name when the wished one was taken)
    std::string erro;      // why the copy failed
};

// The path CopiarArquivoUnico copies to, `ocupado` telling whether a path is taken.
std::string EscolherDestino(const std::string& tipo, const std::string& destino,
                            const std::function<bool(const std::string&)>& ocupado);

// A jingle's 2009 file, and the 2010 path it is meant for (before a collision numbers it).
std::string OrigemVinheta(const std::string& dispositivo, const std::string& extensao);
std::string DestinoVinheta(const std::string& pasta2010, const std::string& nome, const std::string& extensao);

// What shows a relocation's failure message (the run's message box, information icon).
using AvisoRelocacao = std::function<void(const std::string& texto)>;

// The folders a table's relocation writes into. Each is cleared of the temporary files that a
// killed run of the program left there (LimparTemporariosAbandonados: only the program's own,
// never a user's file) the first time a row of the table leads to it, before anything is copied
// or tagged there.
//
// It also keeps the files this run copied there and has not flushed to the disk: a copy needs no
// flush of its own (after a power cut the next run copies it again), nor does a tag written into
// such a copy; they are all flushed at once (SincronizarCopias) before a checkpoint names their
// rows as done, and when the table ends.
class PastasDestino {
public:
    void Preparar(const std::string& pasta);

    void Copiado(const std::string& caminho);
    bool CopiaPendente(const std::string& caminho) const;
    // Raises Erro ("Unable to write to <file>") when the system reports a failure.
    void SincronizarCopias();

private:
    std::set<std::string> preparadas_;
    std::unordered_set<std::string> copias_;  // host paths
};

// The relocation of a jingle's file, without touching any file: from
// "C:\Comercial\<dispositivo>.<extensao>" to "<2010 folder>\Vinhetas\<nome>.<extensao>"
// (sanitised); Copiado when the 2009 file exists, Ausente otherwise. With `ocupado` the numbered
// name a collision would give is chosen now (the forecast); without it the copy chooses it.
CopiaArquivo PlanejarArquivoVinheta(const std::string& pasta2010, const std::string& dispositivo,
                                    const std::string& nome, const std::string& extensao,
                                    const std::function<bool(const std::string&)>& ocupado = {});

// Carries out a jingle's planned copy into the 2010 folder's "\Vinhetas\" (prepared first), to
// the wished name or the first free numbered one, which `copia.destino` then holds; a failed copy
// turns it to Falhou and is reported with a message, and the row goes on. Never raises.
void CopiarArquivoVinheta(CopiaArquivo& copia, const std::string& pasta2010, PastasDestino& pastas,
                          const AvisoRelocacao& avisar);

// Where a music file goes in the 2010 layout: the 2010 folder's "\Musicas\" for drive "C:"
// (exactly, upper case), the drive's own "\Musicas\" for any other; the name is artist + " - " +
// title + "." + extension, sanitised.
struct DestinoMusica {
    std::string pasta;
    std::string arquivo;
    CopiaArquivo copia;  // what became of the file
};

// Where a music file goes and whether its 2009 file is there (Copiado: it would be copied;
// Ausente), without touching any file.
DestinoMusica PlanejarArquivoMusica(const std::string& pasta2010, const std::string& drive,
                                    const std::string& dispositivo, const std::string& interprete,
                                    const std::string& titulo, const std::string& extensao);

// Carries out the copy PlanejarArquivoMusica planned: the 2009 file to its 2010 folder and name,
// replacing a file of that name; its folder is prepared also when there is nothing to copy. A
// failed copy turns the plan's copy to Falhou and is reported with a message. Never raises.
void CopiarArquivoMusica(DestinoMusica& destino, PastasDestino& pastas, const AvisoRelocacao& avisar);

}  // namespace quorvel

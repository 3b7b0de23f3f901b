#pragma once
// The file work of the next music, done ahead on a thread of its own while the current music is
// registered (its database work, and its commit waiting for the disk): the copy of its 2009 file
// into a temporary file beside its 2010 name and, for an MP3 whose new tag will not fit in the
// room of the old one, the rewritten file too. Nothing is put in place ahead: when its row comes,
// the copy is renamed into place (as the copy itself ends) and, when registration writes exactly
// the tag made ahead into that very file, the rewritten file is renamed over it (as the rewrite
// itself ends). Whatever does not match what the row does, or was changed meanwhile (replaced,
// resized or written at a later time; the current row's own file is never read ahead), is thrown
// away and the row copies and rewrites as it always does. What is not used is removed; a killed
// run's leftovers carry the temporary files' mark, which the next run clears.
//
//   AntecipacaoMusicas antecipacao;
//   antecipacao.Pedir({origem, destino, valores}, arquivoDaLinhaAtual);   // while this row registers
//   ConverterArquivoMusica(..., &antecipacao);                             // the next row: in place
//   GravarTag(audio, valores, sincronizar, &antecipacao);
#include <future>
#include <memory>
#include <optional>
#include <string>

#include "migration/relocacao.h"
#include "music/gravar_tag.h"
#include "platform/arquivos.h"

namespace quorvel {

// One music file to make ahead.
struct PedidoAntecipacao {
    std::string origem;              // the 2009 file
    std::string destino;             // its 2010 path
    std::optional<ValoresTag> tag;   // the new tag's values, for an MP3
};

class AntecipacaoMusicas : public CopiasAntecipadas, public ReescritasProntas {
public:
    AntecipacaoMusicas();
    ~AntecipacaoMusicas() override;  // waits for the work under way; removes what was not used
    AntecipacaoMusicas(const AntecipacaoMusicas&) = delete;
    AntecipacaoMusicas& operator=(const AntecipacaoMusicas&) = delete;

    // Starts making `pedido` ahead, throwing away what was made ahead before and not put in
    // place. `emUso` is the file the caller may write meanwhile (the current row's 2010 file):
    // nothing is made from it. Nothing is started when the 2010 folder is short of room (the
    // files made ahead never take the room that the current row's own writes need).
    void Pedir(PedidoAntecipacao pedido, const std::string& emUso);

    bool PorNoLugar(const std::string& origem, const std::string& destino) override;
    bool Substituir(const std::string& caminho, const std::string& tag, bool sincronizar) override;

    // How many copies and rewrites made ahead were put in place, for the tests.
    int CopiasUsadas() const { return copiasUsadas_; }
    int ReescritasUsadas() const { return reescritasUsadas_; }

private:
    struct Feito;
    // The work of the thread: reads only the 2009 file, writes only new temporary files.
    static std::unique_ptr<Feito> Fazer(PedidoAntecipacao pedido, std::optional<IdentidadeArquivo> emUso);
    std::unique_ptr<Feito> Receber();

    std::future<std::unique_ptr<Feito>> emCurso_;
    std::unique_ptr<Feito> colocado_;  // a copy put in place whose rewrite may still come
    int copiasUsadas_ = 0;
    int reescritasUsadas_ = 0;
};

}  // namespace quorvel

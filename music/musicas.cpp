#include "music/musicas.h"

#include <optional>
#include <vector>

#include "migration/codigo_antigo.h"
#include "migration/copia_tabela.h"
#include "migration/relatorio_copia.h"
#include "migration/relatorio_texto.h"
#include "migration/relocacao.h"
#include "music/antecipacao.h"
#include "music/cadastro_musica.h"
#include "platform/caminhos.h"

namespace quorvel {

namespace {

// The fields of a music row that place its file.
struct ArquivoDaLinha {
    std::string interprete, titulo, extensao, dispositivo, drive;
};

ArquivoDaLinha LerArquivoDaLinha(TIBQuery& origem) {
    ArquivoDaLinha a;
    a.interprete = origem.FieldByName("mus_interprete").AsString();
    a.titulo = origem.FieldByName("mus_nome").AsString();
    a.extensao = origem.FieldByName("mus_extensao").AsString();
    a.dispositivo = origem.FieldByName("mus_dispositivo").AsString();
    a.drive = origem.FieldByName("mus_drive").AsString();
    return a;
}

std::string LerCompositor(TIBQuery& origem) { return origem.FieldByName("mus_compositor").AsString(); }

// The rows of the table, read once before the first, so that each row can have the next row's
// file made ahead while it registers.
class LinhasSeguintes {
public:
    struct Linha {
        ArquivoDaLinha arquivo;
        std::string compositor;
    };

    // Reads every row from the cursor's first on, then puts the cursor back on the first.
    void Ler(TIBQuery& origem) {
        linhas_.clear();
        proxima_ = 0;
        for (; !origem.Eof(); origem.Next()) {
            try {
                linhas_.push_back(Linha{LerArquivoDaLinha(origem), LerCompositor(origem)});
            } catch (const std::exception&) {
                linhas_.emplace_back();  // that row fails when it comes; nothing is made ahead for it
            }
        }
        origem.First();
    }

    // Called at each row, in order: the row after it, when it was read.
    const Linha* Seguinte() {
        ++proxima_;
        return proxima_ < linhas_.size() && linhas_[proxima_] ? &*linhas_[proxima_] : nullptr;
    }

private:
    std::vector<std::optional<Linha>> linhas_;
    size_t proxima_ = 0;
};

struct ContextoMusicas {
    PastasDestino pastas;  // the music folders, cleared of a killed run's leftovers once
    LinhasSeguintes seguintes;
    AntecipacaoMusicas antecipacao;
};

// Starts making the next row's file ahead, into a folder the run already writes to.
void AnteciparSeguinte(AmbienteMigracao& ambiente, ContextoMusicas& contexto, const std::string& emUso) {
    const LinhasSeguintes::Linha* seguinte = contexto.seguintes.Seguinte();
    if (!seguinte) return;
    const ArquivoDaLinha& a = seguinte->arquivo;
    const DestinoMusica d =
        PlanejarArquivoMusica(ambiente.Pasta2010(), a.drive, a.dispositivo, a.interprete, a.titulo, a.extensao);
    if (d.copia.situacao != CopiaArquivo::Situacao::Copiado || !contexto.pastas.Preparada(d.pasta)) return;
    const std::string caminho = d.pasta + d.arquivo;
    contexto.antecipacao.Pedir(
        {d.copia.origem, caminho, ValoresDaMusica(a.titulo, a.interprete, seguinte->compositor, ExtrairExtensao(caminho))},
        emUso);
}

// The music rows write nothing themselves: each one relocates its file and hands it to music
// registration, which never raises. What can fail here is reading the 2009 row.
void ProcessarMusica(AmbienteMigracao& ambiente, DatasetsCadastro& cadastro, ContextoMusicas& contexto,
                     TIBQuery& origem) {
    const ArquivoDaLinha a = LerArquivoDaLinha(origem);
    ambiente.Relatorio().IdentificarLinha(a.interprete + " - " + a.titulo);
    const DestinoMusica destino = ConverterArquivoMusica(
        ambiente.Pasta2010(), [&](const std::string& texto) { ambiente.Mensagem(texto, TipoMensagem::Informacao); },
        contexto.pastas, a.drive, a.dispositivo, a.interprete, a.titulo, a.extensao, &contexto.antecipacao);
    RelatarCopia(ambiente.Relatorio(), destino.copia, NotaMusicaSemArquivo());
    AnteciparSeguinte(ambiente, contexto, destino.pasta + destino.arquivo);

    const std::string compositor = LerCompositor(origem);
    const int32_t genero = origem.FieldByName("gen_codigo").AsInteger();
    const int32_t codigo = origem.FieldByName("mus_codigo").AsInteger();
    CadastrarMusica(ambiente, cadastro, destino.pasta, destino.arquivo, a.titulo, a.interprete, compositor, genero,
                    codigo, &contexto.pastas, &contexto.antecipacao);
}

}  // namespace

void ConverterTabelaMusicas(AmbienteMigracao& ambiente, BasesComCadastro& bases, const TabelaMigracao& entrada) {
    DescricaoCopia d;
    d.destino = BaseDestino::Audio;
    d.mensagemFalha = "N\xE3o foi poss\xEDvel inserir o m\xFAsica c\xF3" "digo: ";
    // The column that keeps every music's 2009 code for the play-log migration. It is committed
    // at once, so that a registration that fails and rolls back cannot take it away again.
    // The musics already in the table (after a resume) are read once for the duplicate test.
    ContextoMusicas contexto;
    d.antesDasLinhas = [&ambiente, &bases, &contexto] {
        if (!ExisteCodigoAntigo(bases)) {
            TIBQuery& alvo = bases.QueryConverteAudio;
            alvo.Close();
            alvo.SQL.SetText("ALTER TABLE TB_MUSICAS ADD MUS_CODIGO_ANTIGO INTEGER");
            alvo.ExecSQL();
            bases.Transaction_Audio.CommitRetaining();
            ambiente.Relatorio().Registrar(Ocorrencia::ColunaAdicionada, "MUS_CODIGO_ANTIGO em TB_MUSICAS");
        }
        bases.CadastroMusicas.NomesMusicas.Carregar(bases.DB_Audio, bases.Transaction_Audio);
        contexto.seguintes.Ler(bases.QueryConverte2009);
    };
    d.processarLinha = [&ambiente, &bases, &contexto](TIBQuery& origem, TIBQuery&) {
        ProcessarMusica(ambiente, bases.CadastroMusicas, contexto, origem);
    };
    d.sincronizarArquivos = [&contexto] { contexto.pastas.SincronizarCopias(); };
    // The names live as long as the copy: whatever ends it, the next one reads them again.
    struct Descarte {
        NomesCompletos& nomes;
        ~Descarte() { nomes.Descartar(); }
    } descarte{bases.CadastroMusicas.NomesMusicas};
    CopiarTabela(ambiente, bases, entrada, d);
}

}  // namespace quorvel

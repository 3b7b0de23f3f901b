#include "music/musicas.h"

#include "migration/codigo_antigo.h"
#include "migration/copia_tabela.h"
#include "migration/relatorio_copia.h"
#include "migration/relatorio_texto.h"
#include "migration/relocacao.h"
#include "music/cadastro_musica.h"
#include "music/plano_musica.h"

namespace quorvel {

namespace {

// The music rows write nothing themselves: each one's plan relocates its file and hands it to
// music registration, which never raises. What can fail here is reading the 2009 row.
void ProcessarMusica(AmbienteMigracao& ambiente, DatasetsCadastro& cadastro, PastasDestino& pastas,
                     TIBQuery& origem) {
    PlanoMusica plano = PlanejarMusica(LerLinhaMusica(origem), ambiente.Pasta2010(), ambiente.EstadoRun().Servidor);
    ambiente.Relatorio().IdentificarLinha(plano.linha.Identificacao());
    CopiarArquivoMusica(plano.destino, pastas,
                        [&](const std::string& texto) { ambiente.Mensagem(texto, TipoMensagem::Informacao); });
    RelatarCopia(ambiente.Relatorio(), plano.destino.copia, NotaMusicaSemArquivo());
    CadastrarMusica(ambiente, cadastro, plano, &pastas);
}

}  // namespace

void ConverterTabelaMusicas(AmbienteMigracao& ambiente, BasesComCadastro& bases, const TabelaMigracao& entrada) {
    DescricaoCopia d;
    d.destino = BaseDestino::Audio;
    d.mensagemFalha = "N\xE3o foi poss\xEDvel inserir o m\xFAsica c\xF3" "digo: ";
    // The column that keeps every music's 2009 code for the play-log migration. It is committed
    // at once, so that a registration that fails and rolls back cannot take it away again.
    // The musics already in the table (after a resume) are read once for the duplicate test.
    d.antesDasLinhas = [&ambiente, &bases] {
        if (!ExisteCodigoAntigo(bases)) {
            TIBQuery& alvo = bases.QueryConverteAudio;
            alvo.Close();
            alvo.SQL.SetText("ALTER TABLE TB_MUSICAS ADD MUS_CODIGO_ANTIGO INTEGER");
            alvo.ExecSQL();
            bases.Transaction_Audio.CommitRetaining();
            ambiente.Relatorio().Registrar(Ocorrencia::ColunaAdicionada, "MUS_CODIGO_ANTIGO em TB_MUSICAS");
        }
        bases.CadastroMusicas.NomesMusicas.Carregar(bases.DB_Audio, bases.Transaction_Audio);
    };
    PastasDestino pastas;  // the music folders, cleared of a killed run's leftovers once
    d.processarLinha = [&ambiente, &bases, &pastas](TIBQuery& origem, TIBQuery&) {
        ProcessarMusica(ambiente, bases.CadastroMusicas, pastas, origem);
    };
    d.sincronizarArquivos = [&pastas] { pastas.SincronizarCopias(); };
    // The names live as long as the copy: whatever ends it, the next one reads them again.
    struct Descarte {
        NomesCompletos& nomes;
        ~Descarte() { nomes.Descartar(); }
    } descarte{bases.CadastroMusicas.NomesMusicas};
    CopiarTabela(ambiente, bases, entrada, d);
}

}  // namespace quorvel

#include "migration/ecad.h"

#include <exception>
#include <memory>

#include "migration/codigo_antigo.h"
#include "migration/copia_tabela.h"
#include "migration/relatorio.h"
#include "migration/relatorio_texto.h"
#include "platform/erros.h"

namespace quorvel {

namespace {

const char* const InsercaoEcad =
    "INSERT INTO TB_ECAD (   eca_codigo, eca_data, eca_hora, mus_codigo) VALUES (   gen_id(GEN_ECAD, 1), "
    ":pEca_data, :pEca_hora, :pMus_codigo )";

// What the play-log copy keeps while its rows run: the statement that looks up the 2010 code of
// a 2009 music, on the audio database in its transaction, and whether the insert text is set.
struct CopiaEcad {
    RelatorioExecucao* relatorio = nullptr;
    std::unique_ptr<TIBQuery> busca;
    bool insercaoPosta = false;
};

// The 2010 code of the music whose 2009 code is `codigoAntigo`; 0 when none has it. When several
// have it, the first row the database returns is taken.
int32_t CodigoMusica2010(TIBQuery& busca, int32_t codigoAntigo) {
    busca.Close();
    busca.SQL.SetText("SELECT mus_codigo FROM tb_musicas WHERE mus_codigo_antigo = " + std::to_string(codigoAntigo));
    busca.Open();
    const int32_t codigo = busca.Eof() ? 0 : busca.FieldByName("mus_codigo").AsInteger();
    busca.Close();
    return codigo;
}

const char* const IndiceCodigoAntigo = "IX_MUS_CODIGO_ANTIGO";

bool ExisteIndiceCodigoAntigo(BasesExecucao& bases) {
    TIBQuery consulta(&bases.DB_Audio);
    consulta.SetTransaction(&bases.Transaction_Audio);
    consulta.SQL.SetText(std::string("SELECT COUNT(*) TOTAL FROM RDB$INDICES WHERE RDB$INDEX_NAME = '") +
                         IndiceCodigoAntigo + "'");
    consulta.Open();
    return consulta.FieldByName("TOTAL").AsInteger() > 0;
}

// Runs a statement that changes the schema on the audio target statement and commits it, so
// that it takes effect for the statements that follow.
void ExecutarDefinicao(BasesExecucao& bases, const std::string& texto) {
    TIBQuery& alvo = bases.QueryConverteAudio;
    alvo.Close();
    alvo.SQL.SetText(texto);
    alvo.ExecSQL();
    bases.Transaction_Audio.CommitRetaining();
}

void ProcessarEcad(CopiaEcad& copia, TIBQuery& origem, TIBQuery& alvo) {
    alvo.Close();
    if (!copia.insercaoPosta) {
        alvo.SQL.SetText(InsercaoEcad);
        copia.insercaoPosta = true;
    }
    alvo.ParamByName("pEca_data").SetDataType(TipoCampo::Data);
    alvo.ParamByName("pEca_hora").SetDataType(TipoCampo::Texto);
    alvo.ParamByName("pMus_codigo").SetDataType(TipoCampo::Inteiro);
    alvo.ParamByName("pEca_data").SetAsDateTime(origem.FieldByName("eca_data").AsDateTime());
    alvo.ParamByName("pEca_hora").SetAsString(origem.FieldByName("eca_hora").AsString());

    const int32_t codigoAntigo = origem.FieldByName("mus_codigo").AsInteger();
    const int32_t codigo = CodigoMusica2010(*copia.busca, codigoAntigo);
    alvo.ParamByName("pMus_codigo").SetAsInteger(codigo);
    // A play of a music that has no 2010 record is left out; so is a row the database rejects.
    // Only those rows are named in the report (a log has millions of rows).
    RelatorioExecucao& relatorio = *copia.relatorio;
    if (codigo <= 0) {
        relatorio.IdentificarLinha(IdentificacaoEcad(origem, codigoAntigo));
        relatorio.DeixarLinha(MotivoMusicaNaoEncontrada(codigoAntigo));
        return;
    }
    try {
        alvo.ExecSQL();
    } catch (const std::exception& e) {
        alvo.Close();
        relatorio.IdentificarLinha(IdentificacaoEcad(origem, codigoAntigo));
        relatorio.FalharLinha(std::string("inclus\xE3o recusada: ") + e.what());
    }
}

}  // namespace

std::string IdentificacaoEcad(TIBQuery& origem, int32_t codigoMusica) {
    return origem.FieldByName("eca_data").AsString() + " " + origem.FieldByName("eca_hora").AsString() +
           ", m\xFAsica " + std::to_string(codigoMusica);
}

void ConverterTabelaEcad(AmbienteMigracao& ambiente, BasesExecucao& bases, const TabelaMigracao& entrada) {
    auto copia = std::make_shared<CopiaEcad>();
    copia->relatorio = &ambiente.Relatorio();

    DescricaoCopia d;
    d.destino = BaseDestino::Audio;
    d.mensagemFalha = "N\xE3o foi poss\xEDvel inserir o ECAD c\xF3" "digo: ";
    // Without the 2009 codes of the musics the log cannot be translated: the run ends here,
    // before anything is deleted.
    d.antesDeComecar = [&ambiente, &bases] {
        if (ExisteCodigoAntigo(bases)) return;
        ambiente.Mensagem("O campo MUS_CODIGO_ANTIGO n\xE3o existe na tabela TB_MUSICAS da vers\xE3o 2010. Verifique.",
                          TipoMensagem::Informacao);
        throw AbortoSilencioso();
    };
    // Every row looks its music up by the 2009 code: without an index each lookup reads the whole
    // music table, which makes a large log take hours. The index lives as long as the column.
    d.antesDasLinhas = [&bases, copia] {
        if (!ExisteIndiceCodigoAntigo(bases))
            ExecutarDefinicao(bases, std::string("CREATE INDEX ") + IndiceCodigoAntigo +
                                         " ON TB_MUSICAS (MUS_CODIGO_ANTIGO)");
        copia->busca = std::make_unique<TIBQuery>(&bases.DB_Audio);
        copia->busca->SetTransaction(&bases.Transaction_Audio);
    };
    d.processarLinha = [copia](TIBQuery& origem, TIBQuery& alvo) { ProcessarEcad(*copia, origem, alvo); };
    // The whole log is copied: the 2009 codes have served their purpose. The drop is committed at
    // once, so that it does not hang on a later table's commit (which may never come: work left
    // uncommitted at the end of a run is rolled back).
    d.aoTerminar = [&ambiente, &bases, copia] {
        copia->busca.reset();
        if (ExisteIndiceCodigoAntigo(bases))
            ExecutarDefinicao(bases, std::string("DROP INDEX ") + IndiceCodigoAntigo);
        ExecutarDefinicao(bases, "ALTER TABLE TB_MUSICAS DROP MUS_CODIGO_ANTIGO");
        ambiente.Relatorio().Registrar(Ocorrencia::ColunaRemovida, "MUS_CODIGO_ANTIGO de TB_MUSICAS");
    };
    CopiarTabela(ambiente, bases, entrada, d);
}

}  // namespace quorvel

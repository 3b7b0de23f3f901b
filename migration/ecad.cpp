#include "migration/ecad.h"

#include <exception>
#include <memory>
#include <unordered_map>

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

// What the play-log copy keeps while its rows run: the 2010 code of every 2009 music code, read
// once, and the insert's parameters and the source's columns, found once.
struct CopiaEcad {
    RelatorioExecucao* relatorio = nullptr;
    std::unordered_map<int32_t, int32_t> codigos;
    TParam* data = nullptr;
    TParam* hora = nullptr;
    TParam* musica = nullptr;
    TField* origemData = nullptr;
    TField* origemHora = nullptr;
    TField* origemMusica = nullptr;
};

// The 2010 code of every 2009 code kept in MUS_CODIGO_ANTIGO. The lookup of one code,
// "SELECT mus_codigo FROM tb_musicas WHERE mus_codigo_antigo = <code>", takes the first row the
// database returns; the database returns the rows of a table in the order in which it stores
// them, with or without an index on the column, and so does this reading of the whole table: the
// first row read for a code is the one the lookup would take.
void LerCodigos(BasesExecucao& bases, CopiaEcad& copia) {
    TIBQuery q(&bases.DB_Audio);
    q.SetTransaction(&bases.Transaction_Audio);
    q.SQL.SetText("SELECT mus_codigo_antigo, mus_codigo FROM tb_musicas");
    q.Open();
    TField& antigo = q.Fields(0);
    TField& codigo = q.Fields(1);
    copia.codigos.clear();
    for (; !q.Eof(); q.Next())
        if (!antigo.IsNull()) copia.codigos.emplace(antigo.AsInteger(), codigo.AsInteger());
}

const char* const IndiceCodigoAntigo = "IX_MUS_CODIGO_ANTIGO";

// An index on MUS_CODIGO_ANTIGO that an earlier version of the program made for its lookups.
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
    if (!copia.data) {
        // The insert text is set once: its parameters then stay the same objects, and every row
        // sets their types and values anew. The source columns stay while the source is open.
        alvo.SQL.SetText(InsercaoEcad);
        copia.data = &alvo.ParamByName("pEca_data");
        copia.hora = &alvo.ParamByName("pEca_hora");
        copia.musica = &alvo.ParamByName("pMus_codigo");
        copia.origemData = &origem.FieldByName("eca_data");
        copia.origemHora = &origem.FieldByName("eca_hora");
        copia.origemMusica = &origem.FieldByName("mus_codigo");
    }
    copia.data->SetDataType(TipoCampo::Data);
    copia.hora->SetDataType(TipoCampo::Texto);
    copia.musica->SetDataType(TipoCampo::Inteiro);
    copia.data->SetAsDateTime(copia.origemData->AsDateTime());
    copia.hora->SetAsString(copia.origemHora->AsString());

    // A NULL code reads as 0, looked up like any other.
    const int32_t codigoAntigo = copia.origemMusica->AsInteger();
    const auto achado = copia.codigos.find(codigoAntigo);
    const int32_t codigo = achado == copia.codigos.end() ? 0 : achado->second;
    copia.musica->SetAsInteger(codigo);
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
    // Every row translates its music's code: the codes are read once, not looked up row by row.
    d.antesDasLinhas = [&bases, copia] { LerCodigos(bases, *copia); };
    d.processarLinha = [copia](TIBQuery& origem, TIBQuery& alvo) { ProcessarEcad(*copia, origem, alvo); };
    // The whole log is copied: the 2009 codes have served their purpose. The drop is committed at
    // once, so that it does not hang on a later table's commit (which may never come: work left
    // uncommitted at the end of a run is rolled back).
    d.aoTerminar = [&ambiente, &bases, copia] {
        copia->codigos.clear();
        if (ExisteIndiceCodigoAntigo(bases))
            ExecutarDefinicao(bases, std::string("DROP INDEX ") + IndiceCodigoAntigo);
        ExecutarDefinicao(bases, "ALTER TABLE TB_MUSICAS DROP MUS_CODIGO_ANTIGO");
        ambiente.Relatorio().Registrar(Ocorrencia::ColunaRemovida, "MUS_CODIGO_ANTIGO de TB_MUSICAS");
    };
    CopiarTabela(ambiente, bases, entrada, d);
}

}  // namespace quorvel

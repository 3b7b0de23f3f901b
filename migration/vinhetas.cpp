#include "migration/vinhetas.h"

#include <exception>
#include <memory>

#include "migration/copia_tabela.h"
#include "migration/duracao.h"
#include "migration/plano_vinheta.h"
#include "migration/relatorio_copia.h"
#include "migration/relatorio_texto.h"
#include "migration/relocacao.h"
#include "platform/caminhos.h"

namespace quorvel {

namespace {

const char* const InsercaoVinheta =
    "INSERT INTO TB_VINHETAS (   vin_codigo, vin_nome, vin_tempo, vin_tipo, vin_arquivo, cav_codigo, vin_segundos ) "
    "VALUES (   gen_id(GEN_VINHETAS, 1), :pVin_nome, :pVin_tempo, :pVin_tipo, :pVin_arquivo, :pCav_codigo, "
    ":pVin_segundos )";

// What the jingle copy keeps from row to row.
struct CopiaVinhetas {
    std::string pasta2010;     // read once: the window's controls are disabled during a run
    std::string nomeArquivo;   // the 2010 file name last computed (shown when a row fails)
    bool insercaoPosta = false;
    PastasDestino pastas;      // the jingle folder, cleared of a killed run's leftovers once
};

// Whole seconds of a mm:ss text; 0 when the text is not a duration.
int32_t SegundosDaVinheta(const std::string& tempo) {
    try {
        return TempoParaSegundos(tempo);
    } catch (const std::exception&) {
        return 0;
    }
}

void ProcessarVinheta(AmbienteMigracao& ambiente, CopiaVinhetas& copia, TIBQuery& origem, TIBQuery& alvo) {
    PlanoVinheta plano = PlanejarVinheta(LerLinhaVinheta(origem), copia.pasta2010);
    RelatorioExecucao& relatorio = ambiente.Relatorio();
    relatorio.IdentificarLinha(plano.linha.nome);
    CopiarArquivoVinheta(plano.copia, copia.pasta2010, copia.pastas,
                         [&](const std::string& texto) { ambiente.Mensagem(texto, TipoMensagem::Informacao); });
    RelatarCopia(relatorio, plano.copia, NotaVinhetaSemArquivo(plano.copia.destino));
    copia.nomeArquivo = plano.Arquivo();

    // The statement text is set once for the table; every row declares and binds every parameter.
    alvo.Close();
    if (!copia.insercaoPosta) {
        alvo.SQL.SetText(InsercaoVinheta);
        copia.insercaoPosta = true;
    }
    alvo.ParamByName("pVin_nome").SetDataType(TipoCampo::Texto);
    alvo.ParamByName("pVin_tempo").SetDataType(TipoCampo::Texto);
    alvo.ParamByName("pVin_tipo").SetDataType(TipoCampo::Texto);
    alvo.ParamByName("pVin_arquivo").SetDataType(TipoCampo::Texto);
    alvo.ParamByName("pCav_codigo").SetDataType(TipoCampo::Inteiro);
    alvo.ParamByName("pVin_segundos").SetDataType(TipoCampo::Inteiro);

    for (const ValorVinheta& v : ValoresVinheta(plano)) alvo.ParamByName(v.parametro).SetAsString(v.valor);
    alvo.ParamByName("pCav_codigo").SetAsInteger(0);
    alvo.ParamByName("pVin_segundos").SetAsInteger(SegundosDaVinheta(plano.linha.tempo));
    alvo.ExecSQL();
}

}  // namespace

std::string NomeSemExtensao(const std::string& arquivo) {
    return arquivo.size() > 4 ? arquivo.substr(0, arquivo.size() - 4) : std::string();
}

void ConverterTabelaVinhetas(AmbienteMigracao& ambiente, BasesExecucao& bases, const TabelaMigracao& entrada) {
    auto copia = std::make_shared<CopiaVinhetas>();

    DescricaoCopia d;
    d.destino = BaseDestino::Audio;
    d.colunasOrigem = ColunasOrigemVinheta;
    d.mensagemFalha = "Erro ao converter o dispositivo: ";
    d.antesDasLinhas = [&ambiente, copia] { copia->pasta2010 = ambiente.Pasta2010(); };
    d.processarLinha = [&ambiente, copia](TIBQuery& origem, TIBQuery& alvo) {
        ProcessarVinheta(ambiente, *copia, origem, alvo);
    };
    d.sincronizarArquivos = [copia] { copia->pastas.SincronizarCopias(); };
    d.textoFalha = [copia](TIBQuery& origem) {
        return "Erro ao converter o dispositivo: " + origem.FieldByName("vin_dispositivo").AsString() +
               "\r\rArquivo: " + copia->nomeArquivo;
    };
    CopiarTabela(ambiente, bases, entrada, d);
}

}  // namespace quorvel

#include "migration/previsao.h"

#include <exception>

#include "migration/codigo_antigo.h"
#include "migration/ecad.h"
#include "migration/relatorio_copia.h"
#include "migration/relatorio_texto.h"
#include "migration/plano_vinheta.h"
#include "migration/relocacao.h"
#include "migration/vinhetas.h"
#include "platform/arquivos.h"
#include "platform/caminhos.h"
#include "platform/texto.h"

namespace quorvel {

namespace {

constexpr int TipoSmallint = 7;

// A statement of its own on a database, for the metadata and row reads of the forecast.
struct ConsultaLeitura {
    ConsultaLeitura(TIBDatabase& base, TIBTransaction& transacao, const std::string& texto) {
        q.SetDatabase(&base);
        q.SetTransaction(&transacao);
        q.SQL.SetText(texto);
        q.Open();
    }
    TIBQuery q;
};

// The target column a parameter fills: "pAge_nome" fills AGE_NOME.
std::string ColunaDoParametro(const char* parametro) { return MaiusculasAscii(std::string(parametro).substr(1)); }

}  // namespace

std::map<std::string, ColunaDestino> ColunasDestino(TIBDatabase& base, TIBTransaction& transacao,
                                                   const std::string& tabela) {
    ConsultaLeitura l(base, transacao,
              "SELECT RF.RDB$FIELD_NAME NOME, F.RDB$FIELD_TYPE TIPO, F.RDB$FIELD_LENGTH LARGURA, "
              "RF.RDB$NULL_FLAG NULO_COLUNA, F.RDB$NULL_FLAG NULO_DOMINIO, RF.RDB$DEFAULT_SOURCE PADRAO_COLUNA, "
              "F.RDB$DEFAULT_SOURCE PADRAO_DOMINIO FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F "
              "ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE WHERE RF.RDB$RELATION_NAME = '" + MaiusculasAscii(tabela) + "'");
    std::map<std::string, ColunaDestino> colunas;
    for (; !l.q.Eof(); l.q.Next()) {
        ColunaDestino c;
        c.tipo = l.q.FieldByName("TIPO").AsInteger();
        c.largura = l.q.FieldByName("LARGURA").AsInteger();
        c.naoNulo = l.q.FieldByName("NULO_COLUNA").AsInteger() == 1 || l.q.FieldByName("NULO_DOMINIO").AsInteger() == 1;
        c.temPadrao = !l.q.FieldByName("PADRAO_COLUNA").IsNull() || !l.q.FieldByName("PADRAO_DOMINIO").IsNull();
        colunas[ApararFim(l.q.FieldByName("NOME").AsString())] = c;
    }
    return colunas;
}

std::vector<std::string> GatilhosDaTabela(TIBDatabase& base, TIBTransaction& transacao, const std::string& tabela) {
    ConsultaLeitura l(base, transacao,
              "SELECT RDB$TRIGGER_NAME NOME FROM RDB$TRIGGERS WHERE RDB$RELATION_NAME = '" + MaiusculasAscii(tabela) +
                  "' AND (RDB$SYSTEM_FLAG IS NULL OR RDB$SYSTEM_FLAG = 0) ORDER BY 1");
    std::vector<std::string> nomes;
    for (; !l.q.Eof(); l.q.Next()) nomes.push_back(ApararFim(l.q.FieldByName("NOME").AsString()));
    return nomes;
}

std::string TextoNaoCabe(const std::string& coluna, const std::string& valor, const ColunaDestino& destino) {
    if (!destino.Texto() || valor.size() <= static_cast<size_t>(destino.largura)) return "";
    return "o texto de " + coluna + " tem " + std::to_string(valor.size()) + " caracteres, a coluna 2010 tem " +
           std::to_string(destino.largura) + ": \"" + valor + "\"";
}

bool PrevisaoExecucao::Retoma(const TabelaMigracao& entrada) const {
    return MaiusculasAscii(estado.SeqTabela) == entrada.tabela;
}

bool PrevisaoExecucao::ArquivoOcupado(const std::string& caminho) const {
    return arquivosCriados.count(MaiusculasLocal(caminho)) > 0 || ArquivoExiste(caminho);
}

void PrevisaoExecucao::CriarArquivo(const std::string& caminho) { arquivosCriados.insert(MaiusculasLocal(caminho)); }

void PercorrerOrigem(PrevisaoExecucao& p, const TabelaMigracao& entrada, const DescricaoCopia& descricao,
                     const std::function<void(TIBQuery& origem)>& linha, const std::function<void()>& aoComecar) {
    TIBQuery& origem = p.bases.QueryConverte2009;
    origem.Close();
    origem.SQL.SetText(ConsultaOrigem(entrada, descricao, p.Retoma(entrada) ? p.codigoRetomada : ""));
    origem.Open();
    origem.Last();
    p.relatorio.IniciarTabela(entrada.tabela, origem.RecordCount());
    if (aoComecar) aoComecar();
    origem.First();
    for (; !origem.Eof() && !p.parou; origem.Next()) {
        p.relatorio.IniciarLinha(origem.FieldByName(entrada.colunaChave).AsLargeInt());
        try {
            linha(origem);
        } catch (const std::exception& e) {
            p.relatorio.PararNaLinha(e.what());
            p.parou = true;
        }
        p.relatorio.ConcluirLinha();
    }
}

void PreverCopia(PrevisaoExecucao& p, const TabelaMigracao& entrada, const DescricaoCopia& descricao,
                 const char* colunaChaveMantida) {
    const bool adm = descricao.destino == BaseDestino::Adm;
    TIBDatabase& base = adm ? p.bases.DB_Adm : p.bases.DB_Audio;
    TIBTransaction& transacao = p.bases.Transacao(descricao.destino);
    const auto colunas = ColunasDestino(base, transacao, entrada.tabela);

    // A NOT NULL column without a default that the insert does not fill rejects every row.
    std::set<std::string> preenchidas = {MaiusculasAscii(entrada.colunaChave)};
    for (const auto& m : descricao.mapeamento) preenchidas.insert(ColunaDoParametro(m.parametro));
    std::string semValor;
    for (const auto& [nome, c] : colunas)
        if (c.naoNulo && !c.temPadrao && !preenchidas.count(nome)) semValor = nome;

    // The keys already in a table that keeps the 2009 keys and is resumed, not emptied.
    std::set<int64_t> chavesExistentes;
    if (colunaChaveMantida && p.Retoma(entrada)) {
        ConsultaLeitura l(base, transacao, std::string("SELECT ") + colunaChaveMantida + " FROM " + entrada.tabela);
        for (; !l.q.Eof(); l.q.Next()) chavesExistentes.insert(l.q.Fields(0).AsLargeInt());
    }

    PercorrerOrigem(p, entrada, descricao, [&](TIBQuery& origem) {
        if (*descricao.colunaIdentificacao)
            p.relatorio.IdentificarLinha(origem.FieldByName(descricao.colunaIdentificacao).AsString());
        std::string motivo;
        if (!semValor.empty()) motivo = "a coluna 2010 " + semValor + " \xE9 NOT NULL e a inclus\xE3o n\xE3o lhe d\xE1 valor";
        if (motivo.empty() && colunaChaveMantida &&
            chavesExistentes.count(origem.FieldByName(colunaChaveMantida).AsLargeInt()))
            motivo = std::string("a chave ") + colunaChaveMantida + " j\xE1 existe na tabela 2010";
        for (const auto& m : descricao.mapeamento) {
            if (!motivo.empty()) break;
            const std::string coluna = ColunaDoParametro(m.parametro);
            const auto c = colunas.find(coluna);
            if (c == colunas.end()) {
                motivo = "a tabela 2010 n\xE3o tem a coluna " + coluna;
            } else if (m.leitura == Leitura::Texto) {
                motivo = TextoNaoCabe(coluna, origem.FieldByName(m.coluna).AsString(), c->second);
            } else if (m.leitura == Leitura::Inteiro && c->second.tipo == TipoSmallint) {
                const int32_t v = origem.FieldByName(m.coluna).AsInteger();
                if (v < -32768 || v > 32767)
                    motivo = "o valor " + std::to_string(v) + " de " + coluna + " n\xE3o cabe num SMALLINT";
            }
        }
        if (motivo.empty()) return;
        p.relatorio.PararNaLinha(motivo);
        p.parou = true;
    });
}

void PreverEcad(PrevisaoExecucao& p, const TabelaMigracao& entrada) {
    if (!p.colunaCodigoAntigo) {
        const std::string texto =
            "O campo MUS_CODIGO_ANTIGO n\xE3o existe na tabela TB_MUSICAS da vers\xE3o 2010. Verifique.";
        p.relatorio.Registrar(Ocorrencia::Mensagem, texto);
        p.parou = true;
        return;
    }
    // Without the music copy in this run the play log translates through the codes an earlier
    // run left.
    std::set<int32_t> conhecidas = p.musicasCadastradas;
    if (!p.musicasMarcadas) {
        ConsultaLeitura l(p.bases.DB_Audio, p.bases.Transaction_Audio,
                  std::string("SELECT DISTINCT ") + ColunaCodigoAntigo + " FROM TB_MUSICAS WHERE " + ColunaCodigoAntigo +
                      " IS NOT NULL");
        for (; !l.q.Eof(); l.q.Next()) conhecidas.insert(l.q.Fields(0).AsInteger());
    }
    const auto colunas = ColunasDestino(p.bases.DB_Audio, p.bases.Transaction_Audio, entrada.tabela);
    DescricaoCopia d;
    PercorrerOrigem(p, entrada, d, [&](TIBQuery& origem) {
        const int32_t codigo = origem.FieldByName("mus_codigo").AsInteger();
        p.relatorio.IdentificarLinha(IdentificacaoEcad(origem, codigo));
        if (!conhecidas.count(codigo)) {
            p.relatorio.DeixarLinha(MotivoMusicaNaoEncontrada(codigo));
            return;
        }
        const auto c = colunas.find("ECA_HORA");
        const std::string motivo =
            c == colunas.end() ? "" : TextoNaoCabe("ECA_HORA", origem.FieldByName("eca_hora").AsString(), c->second);
        if (!motivo.empty()) p.relatorio.FalharLinha("inclus\xE3o recusada: " + motivo);
    });
    if (!p.parou) {
        p.relatorio.Registrar(Ocorrencia::ColunaRemovida, std::string(ColunaCodigoAntigo) + " de TB_MUSICAS");
        p.colunaCodigoAntigo = false;
    }
}

void PreverVinhetas(PrevisaoExecucao& p, const TabelaMigracao& entrada) {
    const auto colunas = ColunasDestino(p.bases.DB_Audio, p.bases.Transaction_Audio, entrada.tabela);
    DescricaoCopia d;
    d.colunasOrigem = ColunasOrigemVinheta;
    PercorrerOrigem(p, entrada, d, [&](TIBQuery& origem) {
        const PlanoVinheta plano = PlanejarVinheta(LerLinhaVinheta(origem), p.pasta2010,
                                                   [&p](const std::string& c) { return p.ArquivoOcupado(c); });
        p.relatorio.IdentificarLinha(plano.linha.nome);
        if (plano.copia.situacao == CopiaArquivo::Situacao::Copiado) p.CriarArquivo(plano.copia.destino);
        RelatarCopia(p.relatorio, plano.copia, NotaVinhetaSemArquivo(plano.copia.destino));

        for (const ValorVinheta& v : ValoresVinheta(plano)) {
            const auto c = colunas.find(v.coluna);
            const std::string motivo = c == colunas.end() ? "" : TextoNaoCabe(v.coluna, v.valor, c->second);
            if (motivo.empty()) continue;
            p.relatorio.PararNaLinha(motivo);
            p.parou = true;
            return;
        }
    });
}

}  // namespace quorvel

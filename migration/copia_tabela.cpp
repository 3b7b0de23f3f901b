#include "migration/copia_tabela.h"

#include <exception>

#include "migration/relatorio.h"
#include "platform/erros.h"
#include "platform/texto.h"

namespace quorvel {

namespace {

TipoCampo TipoDoParametro(Leitura leitura) {
    switch (leitura) {
        case Leitura::Texto: return TipoCampo::Texto;
        case Leitura::Inteiro: return TipoCampo::Inteiro;
        case Leitura::Data: return TipoCampo::Data;
        case Leitura::Blob: return TipoCampo::Blob;
    }
    return TipoCampo::Texto;
}

// The key of the row under the cursor, in decimal digits.
int64_t ChaveAtual(TIBQuery& origem, const TabelaMigracao& entrada) {
    return origem.FieldByName(entrada.colunaChave).AsLargeInt();
}

// The checkpoint code after a row: the key under the cursor, which is the next row to copy or
// the row that failed. After the table's last row the cursor cannot advance and still shows
// that row, already copied: the code is then the key just past it, so a resume copies nothing
// twice.
std::string CodigoDoCheckpoint(TIBQuery& origem, const TabelaMigracao& entrada) {
    const int64_t chave = ChaveAtual(origem, entrada);
    return std::to_string(origem.Eof() ? chave + 1 : chave);
}

// One parameter of the insert with the source column that fills it, both found by name once
// for all the rows of a table.
struct Vinculo {
    TField* campo;
    TParam* parametro;
    Leitura leitura;
};

std::vector<Vinculo> ResolverMapeamento(TIBQuery& origem, TIBQuery& alvo, const std::vector<Mapeamento>& mapeamento) {
    std::vector<Vinculo> vinculos;
    vinculos.reserve(mapeamento.size());
    for (const auto& m : mapeamento)
        vinculos.push_back({&origem.FieldByName(m.coluna), &alvo.ParamByName(m.parametro), m.leitura});
    return vinculos;
}

// Declares the parameter types and binds the values of the current source row by the reading rules.
void Vincular(const std::vector<Vinculo>& vinculos) {
    for (const auto& v : vinculos) v.parametro->SetDataType(TipoDoParametro(v.leitura));
    for (const auto& v : vinculos) {
        switch (v.leitura) {
            case Leitura::Texto: v.parametro->SetAsString(v.campo->AsString()); break;
            case Leitura::Inteiro: v.parametro->SetAsInteger(v.campo->AsInteger()); break;
            case Leitura::Data: v.parametro->SetAsDateTime(v.campo->AsDateTime()); break;
            case Leitura::Blob: v.parametro->SetAsBlob(v.campo->AsString()); break;
        }
    }
}

// The row that stopped the run, with what names it and the database's or reader's message.
void RelatarParada(RelatorioExecucao& relatorio, TIBQuery& origem, const DescricaoCopia& descricao,
                   const std::string& motivo) {
    if (*descricao.colunaIdentificacao) {
        try {
            relatorio.IdentificarLinha(origem.FieldByName(descricao.colunaIdentificacao).AsString());
        } catch (const std::exception&) {
        }
    }
    relatorio.PararNaLinha(motivo);
}

}  // namespace

std::string ConsultaOrigem(const TabelaMigracao& entrada, const DescricaoCopia& descricao,
                           const std::string& codigo) {
    std::string texto = "SELECT " + descricao.colunasOrigem + " FROM " + entrada.tabela;
    if (!codigo.empty()) texto += std::string(" WHERE ") + entrada.colunaChave + " >= " + codigo;
    return texto + " ORDER BY " + entrada.colunaChave;
}

void CopiarTabela(AmbienteMigracao& ambiente, BasesExecucao& bases, const TabelaMigracao& entrada,
                  const DescricaoCopia& descricao) {
    EstadoExecucao& estado = ambiente.EstadoRun();
    estado.RegistroAtual = 0;
    ambiente.AtualizarProgresso();
    if (!ambiente.TabelaMarcada(entrada.numero - 1)) return;

    if (descricao.antesDeComecar) descricao.antesDeComecar();

    TIBQuery& alvo = bases.Alvo(descricao.destino);
    TIBTransaction& transacao = bases.Transacao(descricao.destino);
    TIBQuery& origem = bases.QueryConverte2009;

    origem.Close();
    if (MaiusculasAscii(estado.SeqTabela) != entrada.tabela) {
        alvo.Close();
        alvo.SQL.SetText(std::string("DELETE FROM ") + entrada.tabela);
        alvo.ExecSQL();
        transacao.CommitRetaining();
        origem.SQL.SetText(ConsultaOrigem(entrada, descricao, ""));
    } else {
        origem.SQL.SetText(ConsultaOrigem(entrada, descricao, ambiente.CodigoRetomada()));
    }
    origem.Open();
    origem.Last();

    RelatorioExecucao& relatorio = ambiente.Relatorio();
    relatorio.IniciarTabela(entrada.tabela, origem.RecordCount());
    estado.TabelaAtual = entrada.tabela;
    ambiente.DefinirMaximoAtual(origem.RecordCount());
    ambiente.AtualizarProgresso();
    origem.First();

    if (descricao.antesDasLinhas) descricao.antesDasLinhas();

    bool insercaoPosta = false;
    std::vector<Vinculo> vinculos;
    for (;;) {
        if (origem.Eof()) {
            transacao.CommitRetaining();
            if (descricao.sincronizarArquivos) descricao.sincronizarArquivos();
            if (descricao.aoTerminar) descricao.aoTerminar();
            return;
        }
        try {
            relatorio.IniciarLinha(ChaveAtual(origem, entrada));
            if (descricao.processarLinha) {
                descricao.processarLinha(origem, alvo);
            } else {
                // The insert text is set at the first row only: setting the same text again
                // would only parse it again (the statement stays prepared, the parameters stay
                // the same objects), and every row sets the type and value of every parameter.
                // The source columns stay the same objects while the source query is open.
                alvo.Close();
                if (!insercaoPosta) {
                    alvo.SQL.SetText(descricao.insercao);
                    vinculos = ResolverMapeamento(origem, alvo, descricao.mapeamento);
                    insercaoPosta = true;
                }
                Vincular(vinculos);
                alvo.ExecSQL();
            }
            origem.Next();
            relatorio.ConcluirLinha();
            ++estado.RegistroAtual;
            ++estado.RegistroGeral;
            ambiente.AtualizarProgresso();
        } catch (const AbortoSilencioso&) {
            throw;
        } catch (const std::exception& falha) {
            estado.Interrompido = true;
            RelatarParada(relatorio, origem, descricao, falha.what());
            std::string texto;
            try {
                texto = descricao.textoFalha ? descricao.textoFalha(origem)
                                             : descricao.mensagemFalha + std::to_string(ChaveAtual(origem, entrada));
            } catch (const std::exception& e) {
                texto = descricao.mensagemFalha + e.what();
            }
            ambiente.Mensagem(texto, TipoMensagem::Informacao);
        }
        if (estado.CommitSolicitado) {
            transacao.CommitRetaining();
            if (descricao.sincronizarArquivos) descricao.sincronizarArquivos();
            ambiente.GravarSequencia(entrada.tabela, CodigoDoCheckpoint(origem, entrada));
            estado.CommitSolicitado = false;
        }
        if (estado.Interrompido) {
            transacao.CommitRetaining();
            if (descricao.sincronizarArquivos) descricao.sincronizarArquivos();
            ambiente.GravarSequencia(entrada.tabela, CodigoDoCheckpoint(origem, entrada));
            estado.ParadaGravada = true;
            return;
        }
    }
}

}  // namespace quorvel

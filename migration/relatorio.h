#pragma once
// The report of a run: what became of every source row and every audio file. The migrations
// tell it, one call per outcome, as it happens; the detail lines go straight to the report's
// file, and only the counters the summary needs are kept, so a run of millions of rows costs no
// memory here. At the end the summary is appended and the file takes its final name.
//
// The same report, written in the conditional, is the forecast of the pre-flight check: what a
// run would meet.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quorvel {

class Arquivo;

// What happened, to a row, a file, a tag, a lookup or the schema.
enum class Ocorrencia {
    LinhaDeixada,      // a row left out, the run going on
    LinhaFalhou,       // a row the database or a reader rejected, the run going on
    LinhaParou,        // the row that failed and stopped the run
    ArquivoCopiado,
    ArquivoRenomeado,  // copied under a numbered name: the wished one was taken
    ArquivoAusente,    // the 2009 file does not exist
    ArquivoFalhou,     // the copy failed
    TagNoLugar,        // tag rewritten inside the file
    TagNovoArquivo,    // tag rewritten through a new copy of the file
    TagNaoGravada,
    PastaCriada,
    CadastroCriado,    // a row of a lookup table
    NomeCortado,       // a text longer than its 2010 column
    ColunaAdicionada,
    ColunaRemovida,
    Mensagem,          // a message box shown during the run
    Observacao,        // a note that fits none of the above
    Quantidade
};

inline constexpr int QuantidadeOcorrencias = static_cast<int>(Ocorrencia::Quantidade);

// The rows of one table.
struct ContagemTabela {
    std::string tabela;
    int64_t naOrigem = 0;  // rows the source query returned
    int64_t lidas = 0;     // rows taken up: copied + left out + failed
    int64_t copiadas = 0;
    int64_t deixadas = 0;
    int64_t falhas = 0;
};

// What the end of a run tells the operator about its report.
struct ResumoRelatorio {
    std::string caminho;    // the report's file ("" when no file was asked for)
    bool gravado = false;   // whether the file was written
    bool previsao = false;  // a forecast, not a run
    std::vector<ContagemTabela> tabelas;
    int64_t ocorrencias[QuantidadeOcorrencias] = {};
    std::string texto;      // the summary as the file ends with it (CRLF lines)

    int64_t Quantas(Ocorrencia o) const { return ocorrencias[static_cast<int>(o)]; }
    int64_t LinhasDeixadas() const;
    int64_t LinhasComFalha() const;
    // Files that did not arrive: missing or failed to copy.
    int64_t ArquivosProblema() const { return Quantas(Ocorrencia::ArquivoAusente) + Quantas(Ocorrencia::ArquivoFalhou); }
    bool HaPerdas() const { return LinhasDeixadas() + LinhasComFalha() + ArquivosProblema() > 0; }
};

class RelatorioExecucao {
public:
    explicit RelatorioExecucao(bool previsao = false);
    ~RelatorioExecucao();
    RelatorioExecucao(const RelatorioExecucao&) = delete;
    RelatorioExecucao& operator=(const RelatorioExecucao&) = delete;

    // Starts a report: the file is written under a temporary name beside `caminho` until
    // Encerrar. An empty path keeps the counters only. False when the file cannot be created
    // (the counters are still kept).
    bool Abrir(const std::string& caminho, const std::vector<std::string>& cabecalho);
    bool Aberto() const { return ativo_; }
    // Also hands every detail line (without its line end) to `eco`, file or no file.
    void DefinirEco(std::function<void(const std::string&)> eco) { eco_ = std::move(eco); }

    // A table's copy begins, its source query having returned `naOrigem` rows.
    void IniciarTabela(const std::string& tabela, int64_t naOrigem);
    // A source row is taken up. Until it is concluded, what is told belongs to it.
    void IniciarLinha(int64_t chave);
    // What names the current row for a person (a music's artist and title, ...).
    void IdentificarLinha(const std::string& identificacao);
    // The current row's outcome; a row not marked is copied. A row is marked once: the first
    // mark holds.
    void DeixarLinha(const std::string& motivo);
    void FalharLinha(const std::string& motivo);
    void PararNaLinha(const std::string& motivo);
    void ConcluirLinha();

    // Any other event; `texto` is its detail (paths, names, the reason).
    void Registrar(Ocorrencia ocorrencia, const std::string& texto);

    // Appends the summary with the run's ending and gives the file its final name.
    ResumoRelatorio Encerrar(const std::string& desfecho);

    const ResumoRelatorio& Parcial() const { return resumo_; }

private:
    void Escrever(const std::string& linha);
    ContagemTabela* Atual();

    bool previsao_;
    bool ativo_ = false;
    std::function<void(const std::string&)> eco_;
    std::string caminho_, temporario_;
    std::unique_ptr<Arquivo> arquivo_;
    int64_t posicao_ = 0;
    bool falhaEscrita_ = false;
    ResumoRelatorio resumo_;

    bool linhaAberta_ = false;
    int64_t chave_ = 0;
    std::string identificacao_;
    enum class Destino { Copiada, Deixada, Falhou } destino_ = Destino::Copiada;
};

}  // namespace quorvel

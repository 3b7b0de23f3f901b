#include "migration/relatorio.h"

#include "migration/relatorio_texto.h"
#include "platform/arquivos.h"

namespace quorvel {

namespace {

// The report is written under this name beside its final one until the run ends: a report cut
// short by a crash is still there to read, and a finished one appears whole.
constexpr const char* SufixoParcial = ".parcial";

}  // namespace

int64_t ResumoRelatorio::LinhasDeixadas() const {
    int64_t total = 0;
    for (const auto& t : tabelas) total += t.deixadas;
    return total;
}

int64_t ResumoRelatorio::LinhasComFalha() const {
    int64_t total = 0;
    for (const auto& t : tabelas) total += t.falhas;
    return total;
}

RelatorioExecucao::RelatorioExecucao(bool previsao) : previsao_(previsao) { resumo_.previsao = previsao; }

RelatorioExecucao::~RelatorioExecucao() = default;

bool RelatorioExecucao::Abrir(const std::string& caminho, const std::vector<std::string>& cabecalho) {
    resumo_ = ResumoRelatorio{};
    resumo_.previsao = previsao_;
    resumo_.caminho = caminho;
    ativo_ = true;
    falhaEscrita_ = false;
    posicao_ = 0;
    arquivo_.reset();
    caminho_ = caminho;
    if (!caminho.empty()) {
        temporario_ = caminho + SufixoParcial;
        arquivo_ = Arquivo::Abrir(temporario_, Arquivo::Modo::Criar);
        if (!arquivo_) falhaEscrita_ = true;
    }
    for (const auto& linha : cabecalho) Escrever(linha);
    Escrever("");
    return !falhaEscrita_;
}

void RelatorioExecucao::Escrever(const std::string& linha) {
    if (eco_) eco_(linha);
    if (!arquivo_ || falhaEscrita_) return;
    const std::string texto = linha + "\r\n";
    if (!arquivo_->GravarEm(posicao_, texto.data(), texto.size())) {
        falhaEscrita_ = true;
        return;
    }
    posicao_ += static_cast<int64_t>(texto.size());
}

ContagemTabela* RelatorioExecucao::Atual() { return resumo_.tabelas.empty() ? nullptr : &resumo_.tabelas.back(); }

void RelatorioExecucao::IniciarTabela(const std::string& tabela, int64_t naOrigem) {
    if (!ativo_) return;
    resumo_.tabelas.push_back({tabela, naOrigem});
    Escrever(CabecalhoTabela(tabela, naOrigem));
}

void RelatorioExecucao::IniciarLinha(int64_t chave) {
    if (!ativo_) return;
    if (linhaAberta_) ConcluirLinha();
    linhaAberta_ = true;
    chave_ = chave;
    identificacao_.clear();
    destino_ = Destino::Copiada;
    if (auto* t = Atual()) ++t->lidas;
}

void RelatorioExecucao::IdentificarLinha(const std::string& identificacao) { identificacao_ = identificacao; }

void RelatorioExecucao::DeixarLinha(const std::string& motivo) {
    if (!linhaAberta_ || destino_ != Destino::Copiada) return;
    destino_ = Destino::Deixada;
    Registrar(Ocorrencia::LinhaDeixada, motivo);
}

void RelatorioExecucao::FalharLinha(const std::string& motivo) {
    if (!linhaAberta_ || destino_ != Destino::Copiada) return;
    destino_ = Destino::Falhou;
    Registrar(Ocorrencia::LinhaFalhou, motivo);
}

void RelatorioExecucao::PararNaLinha(const std::string& motivo) {
    if (!linhaAberta_) {  // the row could not even be taken up (its key unreadable)
        Registrar(Ocorrencia::LinhaParou, motivo);
        return;
    }
    // A row already told as left out or failed is the same row: the stop is what counts.
    destino_ = Destino::Falhou;
    Registrar(Ocorrencia::LinhaParou, motivo);
    ConcluirLinha();
}

void RelatorioExecucao::ConcluirLinha() {
    if (!linhaAberta_) return;
    linhaAberta_ = false;
    auto* t = Atual();
    if (!t) return;
    switch (destino_) {
        case Destino::Copiada: ++t->copiadas; break;
        case Destino::Deixada: ++t->deixadas; break;
        case Destino::Falhou: ++t->falhas; break;
    }
}

void RelatorioExecucao::Registrar(Ocorrencia ocorrencia, const std::string& texto) {
    if (!ativo_) return;
    ++resumo_.ocorrencias[static_cast<int>(ocorrencia)];
    Escrever(LinhaOcorrencia(ocorrencia, previsao_, linhaAberta_, chave_, identificacao_, texto));
}

ResumoRelatorio RelatorioExecucao::Encerrar(const std::string& desfecho) {
    if (!ativo_) return resumo_;
    // A row left open by an error that ended the run failed with it, unless it was told already.
    if (linhaAberta_) {
        if (destino_ == Destino::Copiada)
            PararNaLinha(desfecho);
        else
            ConcluirLinha();
    }
    resumo_.texto = TextoResumo(resumo_, desfecho);
    ativo_ = false;
    if (arquivo_) {
        Escrever("");
        if (!falhaEscrita_ && posicao_ >= 0) {
            const std::string& texto = resumo_.texto;
            if (arquivo_->GravarEm(posicao_, texto.data(), texto.size()))
                posicao_ += static_cast<int64_t>(texto.size());
            else
                falhaEscrita_ = true;
        }
        if (!arquivo_->Sincronizar()) falhaEscrita_ = true;
        arquivo_.reset();
        resumo_.gravado = !falhaEscrita_ && RenomearArquivo(temporario_, caminho_);
    }
    return resumo_;
}

}  // namespace quorvel

#include "apoio/operador_roteirizado.h"

namespace quorvel::teste {

std::vector<MensagemVista> OperadorRoteirizado::Mensagens() const {
    std::lock_guard<std::mutex> t(mutex_);
    return mensagens_;
}

std::vector<std::string> OperadorRoteirizado::TextosMensagens() const {
    std::vector<std::string> r;
    for (const auto& m : Mensagens()) r.push_back(m.texto);
    return r;
}

std::vector<QuadroProgresso> OperadorRoteirizado::Quadros() const {
    std::lock_guard<std::mutex> t(mutex_);
    return quadros_;
}

void OperadorRoteirizado::MarcarSo(std::initializer_list<int> indices) {
    marcadas.fill(false);
    for (int i : indices) marcadas[static_cast<size_t>(i)] = true;
}

bool OperadorRoteirizado::TabelaMarcada(int indice) {
    std::lock_guard<std::mutex> t(mutex_);
    return marcadas.at(static_cast<size_t>(indice));
}

void OperadorRoteirizado::MarcarTabela(int indice, bool marcada) {
    std::lock_guard<std::mutex> t(mutex_);
    marcadas.at(static_cast<size_t>(indice)) = marcada;
}

void OperadorRoteirizado::Mensagem(const std::string& titulo, const std::string& texto, TipoMensagem tipo) {
    std::lock_guard<std::mutex> t(mutex_);
    mensagens_.push_back({titulo, texto, tipo});
}

bool OperadorRoteirizado::Perguntar(const std::string& titulo, const std::string& texto) {
    std::lock_guard<std::mutex> t(mutex_);
    perguntas.push_back(titulo + "|" + texto);
    return respostaPergunta;
}

void OperadorRoteirizado::MostrarProgresso(const QuadroProgresso& quadro) {
    {
        std::lock_guard<std::mutex> t(mutex_);
        quadros_.push_back(quadro);
    }
    if (aoAtualizar) aoAtualizar(quadro);
}

void OperadorRoteirizado::MostrarEstado(EstadoControles estado, bool continuar) {
    std::lock_guard<std::mutex> t(mutex_);
    if (estado == EstadoControles::Parado) {
        pararCommitDesabilitados = true;
        return;
    }
    habilitado = estado == EstadoControles::Ocioso;
    continuarHabilitado = continuar;
    pararCommitDesabilitados = habilitado;
}

void OperadorRoteirizado::MostrarRelatorio(const ResumoRelatorio& resumo) {
    std::lock_guard trava(mutex_);
    relatorios_.push_back(resumo);
}

std::vector<ResumoRelatorio> OperadorRoteirizado::Relatorios() const {
    std::lock_guard trava(mutex_);
    return relatorios_;
}

}  // namespace quorvel::teste

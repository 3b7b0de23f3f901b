#pragma once
// A scripted operator for tests of the core: it answers the question as told, records every
// message, refresh and enabling change, and lets a test act at a chosen refresh (press
// "Parar processo" or "Commit" after a given row, for example).
#include <array>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "app/nucleo/operador.h"

namespace quorvel::teste {

struct MensagemVista {
    std::string titulo;
    std::string texto;
    TipoMensagem tipo;
};

class OperadorRoteirizado : public PortaOperador {
public:
    OperadorRoteirizado() { marcadas.fill(true); }

    // What the operator has set.
    std::array<bool, 10> marcadas{};
    std::string pasta2009, pasta2010;
    bool respostaPergunta = false;
    // Called at every progress refresh, on the thread that asks for it.
    std::function<void(const QuadroProgresso&)> aoAtualizar;

    // What the operator saw.
    std::vector<MensagemVista> Mensagens() const;
    std::vector<std::string> TextosMensagens() const;
    std::vector<std::string> perguntas;
    std::vector<QuadroProgresso> Quadros() const;
    int focos2009 = 0, focos2010 = 0;
    bool habilitado = true, continuarHabilitado = false, pararCommitDesabilitados = false;

    void MarcarSo(std::initializer_list<int> indices);

    bool TabelaMarcada(int indice) override;
    void MarcarTabela(int indice, bool marcada) override;
    std::string Pasta2009() override { return pasta2009; }
    std::string Pasta2010() override { return pasta2010; }
    void FocarPasta2009() override { ++focos2009; }
    void FocarPasta2010() override { ++focos2010; }
    void Mensagem(const std::string& titulo, const std::string& texto, TipoMensagem tipo) override;
    bool Perguntar(const std::string& titulo, const std::string& texto) override;
    void MostrarProgresso(const QuadroProgresso& quadro) override;
    void MostrarEstado(EstadoControles estado, bool continuarOferecido) override;
    void MostrarRelatorio(const ResumoRelatorio& resumo) override;
    // The reports' summaries the core handed over, in order.
    std::vector<ResumoRelatorio> Relatorios() const;

private:
    mutable std::mutex mutex_;
    std::vector<MensagemVista> mensagens_;
    std::vector<QuadroProgresso> quadros_;
    std::vector<ResumoRelatorio> relatorios_;
};

}  // namespace quorvel::teste

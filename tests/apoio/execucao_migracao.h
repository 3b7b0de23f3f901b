#pragma once
// Whole runs through the core, the fixture of every test of a run: a test installation, a
// scripted operator with both folders filled in, and helpers to start, continue and inspect runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "apoio/instalacao_teste.h"
#include "apoio/operador_roteirizado.h"
#include "app/nucleo/nucleo.h"
#include "platform/arquivos.h"

namespace quorvel::teste {

inline const char* const kSucesso = "Atualiza\xE7\xE3o realizada com sucesso.";
inline const char* const kInterrompida = "Atualiza\xE7\xE3o foi interrompida.";

class ExecucaoMigracao : public ::testing::Test {
protected:
    void SetUp() override {
        operador.pasta2009 = inst.Pasta2009();
        operador.pasta2010 = inst.Pasta2010();
        NovoNucleo();
    }

    // A new program start (the checkpoint is read again at the next run).
    void NovoNucleo() {
        nucleo.reset();
        nucleo = std::make_unique<NucleoQuorvel>(operador);
        nucleo->DefinirPastaPrograma(inst.PastaPrograma());
    }

    // Presses "Atualizar" (or "Continuar processo") and waits for the worker's end.
    bool Rodar(bool continuar = false) {
        const bool iniciou = nucleo->ExecutarAcao([&] {
            continuar ? nucleo->Continuar() : nucleo->Atualizar();
        });
        nucleo->AguardarTrabalhador();
        return iniciou;
    }

    std::string Seq() const { return LerHost(inst.ArquivoSeqHost()); }

    // Writes a file below a drive of the test installation: GravarNaUnidade('c', "Comercial/V1.mp3", ...).
    void GravarNaUnidade(char drive, const std::string& relativo, const std::string& conteudo) const {
        const std::filesystem::path p = std::filesystem::path(inst.unidades.Unidade(drive)) / relativo;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << conteudo;
    }
    std::string LerDaUnidade(char drive, const std::string& relativo) const {
        return LerHost(inst.unidades.Unidade(drive) + "/" + relativo);
    }
    bool ExisteNaUnidade(char drive, const std::string& relativo) const {
        return std::filesystem::exists(std::filesystem::path(inst.unidades.Unidade(drive)) / relativo);
    }

    // The progress picture of `tabela` furthest on (the next copiers reset the row counter
    // while the table's name is still shown).
    QuadroProgresso UltimoQuadroDe(const std::string& tabela) const {
        QuadroProgresso ultimo;
        for (const auto& q : operador.Quadros())
            if (q.tabelaAtual == tabela && q.registroAtual >= ultimo.registroAtual) ultimo = q;
        return ultimo;
    }

    InstalacaoTeste inst;
    OperadorRoteirizado operador;
    std::unique_ptr<NucleoQuorvel> nucleo;
};

}  // namespace quorvel::teste

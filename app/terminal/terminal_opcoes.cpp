#include "app/terminal/terminal_opcoes.h"

#include <optional>
#include <string_view>

#include "platform/erros.h"
#include "platform/texto.h"

namespace quorvel {

namespace {

std::string LegendasValidas() {
    std::string lista;
    for (const auto& entrada : SequenciaMigradores) {
        if (!lista.empty()) lista += ", ";
        lista += entrada.legenda;
    }
    return lista;
}

std::array<bool, QuantidadeTabelas> LerTabelas(const std::string& lista) {
    std::array<bool, QuantidadeTabelas> marcadas{};
    std::size_t inicio = 0;
    while (inicio <= lista.size()) {
        std::size_t fim = lista.find(',', inicio);
        if (fim == std::string::npos) fim = lista.size();
        const std::string legenda = Aparar(std::string_view(lista).substr(inicio, fim - inicio));
        if (!legenda.empty()) {
            const int indice = IndiceDaLegenda(legenda);
            if (indice < 0)
                throw Erro("unknown table in --tabelas: \"" + legenda + "\" (the tables are " + LegendasValidas() +
                           ")");
            marcadas[indice] = true;
        }
        inicio = fim + 1;
    }
    return marcadas;
}

}  // namespace

OpcoesTerminal LerOpcoesTerminal(int argc, char** argv) {
    OpcoesTerminal opcoes;
    opcoes.tabelas.fill(true);
    for (int i = 0; i < argc; ++i) {
        std::string argumento = Utf8Para1252(argv[i]);
        std::optional<std::string> valorJunto;
        if (argumento.rfind("--", 0) == 0) {
            const auto igual = argumento.find('=');
            if (igual != std::string::npos) {
                valorJunto = argumento.substr(igual + 1);
                argumento.resize(igual);
            }
        }
        auto valor = [&]() -> std::string {
            if (valorJunto) return *valorJunto;
            if (i + 1 >= argc) throw Erro("option " + argumento + " needs a value");
            return Utf8Para1252(argv[++i]);
        };
        auto semValor = [&] {
            if (valorJunto) throw Erro("option " + argumento + " takes no value");
        };

        if (argumento == "--pasta-2009") {
            opcoes.pasta2009 = valor();
        } else if (argumento == "--pasta-2010") {
            opcoes.pasta2010 = valor();
        } else if (argumento == "--tabelas") {
            opcoes.tabelas = LerTabelas(valor());
        } else if (argumento == "--relatorio") {
            opcoes.relatorio = valor();
            if (opcoes.relatorio.empty()) throw Erro("option --relatorio needs a file name");
        } else if (argumento == "--verificar") {
            semValor();
            opcoes.verificar = true;
        } else if (argumento == "--continuar") {
            semValor();
            opcoes.continuar = true;
        } else if (argumento == "--sim") {
            semValor();
            opcoes.sim = true;
        } else if (argumento == "--help" || argumento == "-h") {
            opcoes.ajuda = true;
        } else if (!argumento.empty() && argumento[0] == '-') {
            throw Erro("unknown option " + argumento);
        } else {
            throw Erro("unexpected argument \"" + argumento + "\"");
        }
    }
    return opcoes;
}

}  // namespace quorvel

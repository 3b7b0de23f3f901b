#include "apoio/relatorio_lido.h"

#include <algorithm>
#include <sstream>

namespace quorvel::teste {

namespace {

const std::string kCodigo = " c\xF3" "digo 2009 ";

}  // namespace

RelatorioLido LerRelatorio(const std::string& conteudo) {
    RelatorioLido r;
    std::string tabela;
    bool noResumo = false;
    size_t inicio = 0;
    while (inicio < conteudo.size()) {
        size_t fim = conteudo.find('\n', inicio);
        if (fim == std::string::npos) fim = conteudo.size();
        std::string linha = conteudo.substr(inicio, fim - inicio);
        if (linha.empty() || linha.back() != '\r')
            r.crlf = false;
        else
            linha.pop_back();
        inicio = fim + 1;

        if (linha.rfind("RESUMO", 0) == 0) noResumo = true;
        if (noResumo) {
            r.linhasResumo.push_back(linha);
            std::istringstream campos(linha);
            std::string nome;
            ContagemLida c;
            if (linha.rfind("TB_", 0) == 0 && campos >> nome >> c.lidas >> c.copiadas >> c.deixadas >> c.falhas >> c.naoLidas)
                r.contagens[nome] = c;
            continue;
        }
        if (linha.rfind("== ", 0) == 0) {
            tabela = linha.substr(3, linha.find(':') - 3);
            continue;
        }
        if (linha.rfind("  [", 0) != 0) continue;
        ItemRelatorio item;
        item.tabela = tabela;
        const size_t fecha = linha.find(']');
        item.rotulo = linha.substr(3, fecha - 3);
        std::string resto = linha.substr(fecha + 1);
        if (resto.rfind(kCodigo, 0) == 0) {
            size_t pos = kCodigo.size();
            size_t usados = 0;
            item.chave = std::stoll(resto.substr(pos), &usados);
            resto = resto.substr(pos + usados);
        }
        item.texto = resto;
        r.itens.push_back(item);
    }
    return r;
}

std::vector<ItemRelatorio> Itens(const RelatorioLido& r, std::vector<std::string> rotulos) {
    std::vector<ItemRelatorio> saida;
    for (const auto& i : r.itens)
        if (rotulos.empty() || std::find(rotulos.begin(), rotulos.end(), i.rotulo) != rotulos.end()) saida.push_back(i);
    return saida;
}

}  // namespace quorvel::teste

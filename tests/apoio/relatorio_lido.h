#pragma once
// A run report read back for comparison: its detail lines as (table, label, 2009 key, text) and
// the counters of its summary table, so that tests compare reports item by item.
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace quorvel::teste {

struct ItemRelatorio {
    std::string tabela;  // the table section it stands in ("" before the first)
    std::string rotulo;  // between the brackets, e.g. "DEIXADA DE FORA"
    int64_t chave = -1;  // the 2009 key of the row it belongs to; -1 for none
    std::string texto;   // the rest of the line (the row's identification and the detail)
    auto Chave() const { return std::tie(tabela, rotulo, chave, texto); }
    bool operator<(const ItemRelatorio& o) const { return Chave() < o.Chave(); }
    bool operator==(const ItemRelatorio& o) const { return Chave() == o.Chave(); }
};

struct ContagemLida {
    int64_t lidas = 0, copiadas = 0, deixadas = 0, falhas = 0, naoLidas = 0;
    bool operator==(const ContagemLida&) const = default;
};

struct RelatorioLido {
    bool crlf = true;  // every line ended with CR LF
    std::vector<ItemRelatorio> itens;
    std::map<std::string, ContagemLida> contagens;  // by table, from the summary
    std::vector<std::string> linhasResumo;          // the summary's lines
};

// Reads the report text (Windows-1252, as written).
RelatorioLido LerRelatorio(const std::string& conteudo);

// The items whose label is one of `rotulos` (all when empty).
std::vector<ItemRelatorio> Itens(const RelatorioLido& r, std::vector<std::string> rotulos = {});

}  // namespace quorvel::teste

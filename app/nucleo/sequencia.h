#pragma once
// The fixed sequence of the ten table migrators. Everything that walks the tables in order (the
// run, the record counts, continue, mark/unmark all, the terminal's --tabelas) uses this table.
#include <array>
#include <string>

namespace quorvel {

struct EntradaSequencia {
    int numero;               // 1..10, the order in which the migrators run
    const char* checkBox;     // name of the check box (CheckTB_Agenda)
    const char* legenda;      // its caption ("Agenda")
    const char* tabela;       // table name as stored in the checkpoint file ("TB_AGENDA")
    const char* colunaChave;  // key column ("age_codigo")
};

inline constexpr int QuantidadeTabelas = 10;
extern const std::array<EntradaSequencia, QuantidadeTabelas> SequenciaMigradores;

// Index (0..9) of the entry whose table name equals `tabela` without regard to case of a-z;
// -1 when none.
int IndiceDaTabela(const std::string& tabela);
// Index of the entry whose caption equals `legenda` without regard to case; -1 when none.
int IndiceDaLegenda(const std::string& legenda);

}  // namespace quorvel

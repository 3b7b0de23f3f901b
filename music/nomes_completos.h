#pragma once
// The full names (MUS_NOMECOMPLETO) of the 2010 musics held in memory while the music table is
// migrated, so that the duplicate test of each music costs the same whatever the library's size.
// It answers exactly as the duplicate test's statement does: the database compares the names in
// SQL dialect 1 without a character set, byte for byte, a shorter text being padded with blanks
// (so trailing blanks do not count), and a NULL name equals nothing.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "db/ib_conexao.h"

namespace quorvel {

class NomesCompletos {
public:
    // Reads the name and code of every music of TB_MUSICAS in the transaction.
    void Carregar(TIBDatabase& base, TIBTransaction& transacao);
    // Forgets every name; the duplicate test goes back to the database.
    void Descartar();
    bool Carregado() const { return carregado_; }

    // A music committed with this name and code.
    void Acrescentar(int32_t codigo, const std::string& nome);
    // True when a music with a code other than `codigoExcluido` has the name `valor` or `valor`
    // upper-cased by the locale's rules.
    bool Contem(const std::string& valor, int32_t codigoExcluido) const;

private:
    bool ContemExato(const std::string& valor, int32_t codigoExcluido) const;
    bool carregado_ = false;
    std::unordered_map<std::string, std::vector<int32_t>> codigos_;
};

}  // namespace quorvel

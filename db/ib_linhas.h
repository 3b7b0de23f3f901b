#pragma once
// The rows a statement has fetched, kept packed: each row is one run of bytes in large blocks
// (a kind byte per column, then the value: integers and dates in 4 or 8 bytes, texts with their
// length), so that a buffered row costs little more than its data. A whole source table is held
// this way while it is copied.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "db/ib_valores.h"

namespace quorvel {

class LinhasCompactas {
public:
    // A row is written column by column between Comecar and Terminar.
    void Comecar();
    void Nulo();
    void Inteiro(int64_t valor);
    void Decimal(double valor);
    void Data(const DataHora& valor);
    void Texto(const char* dados, size_t tamanho);
    void Terminar();

    size_t Quantidade() const { return linhas_.size(); }
    // The values of row `linha` (one per column written), reusing the vector's texts.
    void Ler(size_t linha, std::vector<Valor>& valores) const;
    void Limpar();

private:
    char* Reservar(size_t tamanho);
    std::string montagem_;
    std::vector<std::unique_ptr<char[]>> blocos_, grandes_;
    size_t livre_ = 0;      // bytes left in the last block
    char* proximo_ = nullptr;
    std::vector<const char*> linhas_;
};

}  // namespace quorvel

#pragma once
// A failure reported by the database client library or the server, with the server's own text.
#include <cstdint>
#include <string>

#include "platform/erros.h"

namespace quorvel {

class ErroBanco : public Erro {
public:
    ErroBanco(const std::string& mensagem, int64_t codigo) : Erro(mensagem), codigo_(codigo) {}
    int64_t Codigo() const { return codigo_; }   // the first error code of the status vector
private:
    int64_t codigo_;
};

}  // namespace quorvel

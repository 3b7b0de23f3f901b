#pragma once
// A failure reported by the database client library or the server, with the server's own text.
#include <cstdint>
#include <string>

#include "platform/erros.h"

namespace quorvel {

class ErroBanco : public Erro {
public:
    ErroBanco(const std::string& mensagem, int sqlcode, int64_t codigo)
        : Erro(mensagem), sqlcode_(sqlcode), codigo_(codigo) {}
    int SQLCode() const { return sqlcode_; }     // the SQLCODE of the failure
    int64_t Codigo() const { return codigo_; }   // the first error code of the status vector
private:
    int sqlcode_;
    int64_t codigo_;
};

}  // namespace quorvel

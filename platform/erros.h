#pragma once
// Error kinds of the whole program.
//
// Erro carries a message text in Windows-1252; every failure that the operator may see is one.
// AbortoSilencioso ends an action that has already told the operator why it cannot go on (or that
// the operator cancelled); it unwinds to where the action began and is dropped there unseen.
#include <stdexcept>
#include <string>

namespace quorvel {

class Erro : public std::runtime_error {
public:
    explicit Erro(const std::string& mensagem) : std::runtime_error(mensagem) {}
    const std::string mensagem() const { return what(); }
};

// A conversion of text to a number failed (StrToInt, StrToFloat and the duration texts).
class ErroConversao : public Erro {
public:
    using Erro::Erro;
};

class AbortoSilencioso : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

// The text of the standard error report: a full stop is appended when the last character's
// code is above that of '.'.
std::string TextoRelatorioErro(const std::string& mensagem);

}  // namespace quorvel

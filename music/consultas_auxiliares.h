#pragma once
// The small look-ups of music registration on the audio database: duplicate test, code of a
// named row, code of a folder, and the insert of a new lookup row.
#include <cstdint>
#include <string>

#include "music/cadastro_datasets.h"

namespace quorvel {

// True when `tabela` has a row, with a key other than `codigo`, whose `campo` equals `valor`
// as it is or upper-cased by the locale's rules. `valor` goes into the statement as written: the
// caller supplies the quotes of a string literal.
// The condition of that test: "WHERE ((campo = valor) or (campo = VALOR)) and chave <> codigo".
std::string CondicaoDuplicado(const std::string& campoChave, const std::string& campo, const std::string& valor,
                              int32_t codigo);

bool RegistroDuplicado(DatasetsCadastro& cad, const std::string& tabela, const std::string& campoChave,
                       const std::string& campo, const std::string& valor, int32_t codigo);

// Looks for the row of `tabela` whose upper-cased `campoNome` equals `nome` (a-z upper-cased).
// On true, cad.CodigoEncontrado holds its `campoCodigo`.
bool BuscarCodigo(DatasetsCadastro& cad, const std::string& tabela, const std::string& campoCodigo,
                  const std::string& campoNome, const std::string& nome);

// The code of the folder row for the path (compared upper-cased), 0 when there is none.
int32_t CodigoPasta(DatasetsCadastro& cad, const std::string& caminho);

// Appends a row holding `nome` in `campoNome` to the lookup dataset, writes it and commits. The
// new row stays current, so the dataset's key field holds its new code.
void IncluirCadastro(DatasetsCadastro& cad, TIBQuery& dataset, const std::string& campoNome, const std::string& nome);

}  // namespace quorvel

#pragma once
// The checkpoint file Seq.ini beside the program (in the user's state folder for a program
// installed in a system folder, see platform/pasta_estado.h): the table whose migration was
// stopped or committed and the key of its first source row not yet copied.
//
//   [SEQ]
//   sTabela=TB_MUSICAS
//   sCodigo=1234
//
// It is written by the migrators (a commit request or a stop) and read at the start of a run. It
// is never deleted; a run that ends in success empties it when it copied the table it names
// to the end, so that nothing is left to resume.
#include <functional>
#include <string>

#include "migration/estado_execucao.h"

namespace quorvel {

inline constexpr const char* NomeArquivoSeq = "Seq.ini";
inline constexpr const char* SecaoSeq = "SEQ";
inline constexpr const char* ChaveSeqTabela = "sTabela";
inline constexpr const char* ChaveSeqCodigo = "sCodigo";

// The checkpoint path for a program folder: the folder with a final backslash, then "Seq.ini".
std::string CaminhoArquivoSeq(const std::string& pastaPrograma);

// Reads both keys into estado.SeqTabela and estado.SeqCodigo from the file at
// estado.ArquivoSeq; a missing file, section or key reads as empty text.
void LerSequencia(EstadoExecucao& estado);

// Writes sTabela := tabela, then sCodigo := codigo, in section SEQ of the file at `arquivoSeq`,
// creating the folder, the file and the section when missing and keeping everything else in
// the file.
// Raises Erro "Unable to write to <path>" when the file cannot be written.
void GravarSequencia(const std::string& arquivoSeq, const std::string& tabela, const std::string& codigo);
inline void GravarSequencia(const EstadoExecucao& estado, const std::string& tabela, const std::string& codigo) {
    GravarSequencia(estado.ArquivoSeq, tabela, codigo);
}

// After a run that ended in success: when the checkpoint names a table that the run copied to
// its end (`concluida` tells, by table name as the file holds it), both keys are emptied. The
// file stays, holding no code: the next start asks nothing and a continuation resumes no table.
// A checkpoint of a table the run did not copy stays as it is. Raises Erro "Unable to write to
// <path>" when the file cannot be written.
void EsvaziarSequenciaConcluida(const std::string& arquivoSeq,
                                const std::function<bool(const std::string& tabela)>& concluida);

// Whether a file exists at the checkpoint path, whatever it holds.
bool ExisteSequencia(const std::string& arquivoSeq);

// Whether the code is the decimal text of an integer: an optional minus sign followed by 1 to 18
// digits, nothing else (no blanks, no plus sign).
bool CodigoSequenciaValido(const std::string& codigo);

// The code, checked before it is placed into a statement text (the record count and the resume
// query of the checkpoint table). Raises Erro naming the file and the code when the code is not
// a decimal integer, the empty text included.
const std::string& ValidarCodigoSequencia(const std::string& arquivoSeq, const std::string& codigo);

}  // namespace quorvel

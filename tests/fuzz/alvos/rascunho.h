#pragma once
// Scratch files of the fuzz targets. The readers take file names, so a target writes its input to
// a file of a folder of its own process: below $QUORVEL_FUZZ_PASTA when set (scripts/fuzz.sh
// points it at a folder it removes afterwards), otherwise below /dev/shm (memory, so millions of
// inputs cost no disk writes) or the system's temporary folder. The folder goes away when the
// process ends normally.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace quorvel::fuzz {

// The host path of a file named `nome` in this process's scratch folder (created on first use).
std::string CaminhoRascunho(const std::string& nome);

// Writes the bytes to the scratch file `nome` (replacing it) and returns its path.
std::string GravarRascunho(const std::string& nome, const uint8_t* dados, size_t tamanho);
std::string GravarRascunho(const std::string& nome, const std::string& conteudo);

// The whole content of a host file; empty when it cannot be read.
std::string LerRascunho(const std::string& caminho);

// A broken promise of a reader: prints the target, the rule and the detail, then aborts, so that
// libFuzzer keeps the input. After LancarFalhas(true) it raises FalhaAlvo instead, so that the
// regression replay can name the input and go on with the next one.
[[noreturn]] void Falha(const char* alvo, const char* regra, const std::string& detalhe = {});

class FalhaAlvo : public std::logic_error {
public:
    using std::logic_error::logic_error;
};
void LancarFalhas(bool lancar);

}  // namespace quorvel::fuzz

#pragma once
// Steps of the tests made by Linux tools (sox, lame, twolame, python3-mutagen, MinGW's binutils),
// recorded on Linux and replayed on Windows, where the test programs run under Wine without them.
//
// Linux: the step runs. With $QUORVEL_GRAVAR_FERRAMENTAS naming a folder, its output and the file
// it made or changed are also kept there under the step's key.
// Windows: with $QUORVEL_FERRAMENTAS_GRAVADAS naming such a folder, the step is replayed from it:
// the file is written as the tool left it and the tool's output is returned. A step without a
// recording raises std::runtime_error.
//
// The key is the step's description (the tool and its options, no paths) and, for a step that
// reads the file, the file's content before it: a file that the code under test wrote otherwise
// on Windows finds no recording, and the test fails there.
#include <functional>
#include <string>

namespace quorvel::teste {

// Runs or replays the step that `executar` performs on the host file `arquivo`; returns its output.
std::string PassoDeFerramenta(const std::string& descricao, const std::string& arquivo, bool leArquivo,
                              const std::function<std::string()>& executar);

// Whether the tools' steps can be run here (Linux) or replayed (Windows with recordings).
bool FerramentasDisponiveis();

}  // namespace quorvel::teste

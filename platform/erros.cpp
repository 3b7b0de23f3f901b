#include "platform/erros.h"

namespace quorvel {

std::string TextoRelatorioErro(const std::string& mensagem) {
    if (!mensagem.empty() && static_cast<unsigned char>(mensagem.back()) > static_cast<unsigned char>('.'))
        return mensagem + ".";
    return mensagem;
}

}  // namespace quorvel

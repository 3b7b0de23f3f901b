#include "db/versao_arquivo.h"

#include "platform/versao_pe.h"

namespace quorvel {

namespace {

// The value names in the order of the texts of TFileVersionData.
constexpr const char* NomesValores[10] = {
    "CompanyName",    "FileDescription",  "FileVersion", "InternalName",   "LegalCopyright",
    "LegalTradeMarks", "OriginalFilename", "ProductName", "ProductVersion", "Comments",
};
constexpr size_t TamanhoMaximoTexto = 255;

}  // namespace

void TFileVersionData::WorkFileName(const std::string& arquivo) {
    workFileName_ = arquivo;
    for (std::string& texto : textos_) texto.clear();
    if (arquivo.empty()) return;
    const std::optional<std::string> bloco = LerInformacaoVersao(arquivo);
    if (!bloco) return;
    for (int i = 0; i < 10; ++i) {
        const std::optional<std::string> valor =
            ConsultarTextoVersao(*bloco, std::string("\\StringFileInfo\\040904E4\\") + NomesValores[i]);
        if (valor) textos_[i] = valor->substr(0, TamanhoMaximoTexto);
    }
}

std::string VersaoArquivo(const std::string& arquivo) {
    TFileVersionData dados;
    dados.WorkFileName(arquivo);
    return dados.FileDescription() + " " + dados.FileVersion();
}

}  // namespace quorvel

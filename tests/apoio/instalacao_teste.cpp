#include "apoio/instalacao_teste.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace quorvel::teste {

InstalacaoTeste::InstalacaoTeste() {
    // C:\Dados is the folder of the test databases.
    fs::create_directory_symlink(bases.Pasta(), unidades.Unidade('c') + "/Dados");
    const std::string d = unidades.Unidade('d');
    fs::create_directories(d + "/Quorvel2009");
    fs::create_directories(d + "/Quorvel2010");
    fs::create_directories(PastaPrograma());
    std::ofstream(d + "/Quorvel2009/Base.ini", std::ios::binary) << "C:\\Dados\\BASE2009.FDB\r\n";
    std::ofstream(d + "/Quorvel2010/BaseAudio.ini", std::ios::binary)
        << "[BANCO]\r\ncaminho=C:\\Dados\\AUDIO.FDB\r\n";
    std::ofstream(d + "/Quorvel2010/BaseAdm.ini", std::ios::binary) << "[BANCO]\r\ncaminho=C:\\Dados\\ADM.FDB\r\n";
}

void InstalacaoTeste::GravarSeq(const std::string& conteudo) const {
    std::ofstream(ArquivoSeqHost(), std::ios::binary) << conteudo;
}

}  // namespace quorvel::teste

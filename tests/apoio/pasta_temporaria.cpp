#include "apoio/pasta_temporaria.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

namespace quorvel::teste {

#ifdef _WIN32

// A new folder of a random name in the temporary folder, written with backslashes.
PastaTemporaria::PastaTemporaria() {
    std::random_device aleatorio;
    for (int tentativa = 0; tentativa < 100; ++tentativa) {
        char nome[32];
        std::snprintf(nome, sizeof nome, "quorvel-teste-%08x", static_cast<unsigned>(aleatorio()));
        const fs::path p = fs::temp_directory_path() / nome;
        if (fs::create_directory(p)) {
            caminho_ = p.string();
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

#else

PastaTemporaria::PastaTemporaria() {
    std::string modelo = (fs::temp_directory_path() / "quorvel-teste-XXXXXX").string();
    std::vector<char> buf(modelo.begin(), modelo.end());
    buf.push_back('\0');
    if (!::mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed");
    caminho_ = buf.data();
}

#endif

PastaTemporaria::~PastaTemporaria() {
    std::error_code ec;
    // Give back write permission that a test may have taken, so everything can be removed.
    for (auto it = fs::recursive_directory_iterator(caminho_, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(caminho_, ec);
}

std::string PastaTemporaria::Gravar(const std::string& relativo, const std::string& conteudo) const {
    const fs::path p = fs::path(caminho_) / relativo;
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << conteudo;
    return p.string();
}

#ifdef _WIN32

// Windows has no drive folder: the drives are plain folders here, reached by their host paths.
UnidadesTemporarias::UnidadesTemporarias() {
    unidades_ = raiz_.Caminho() + "\\unidades";
    fs::create_directories(unidades_);
}

UnidadesTemporarias::~UnidadesTemporarias() = default;

std::string UnidadesTemporarias::Unidade(char letra) const {
    const std::string p = unidades_ + "\\" + static_cast<char>(std::tolower(static_cast<unsigned char>(letra)));
    fs::create_directories(p);
    return p;
}

#else

UnidadesTemporarias::UnidadesTemporarias() {
    unidades_ = raiz_.Caminho() + "/unidades";
    fs::create_directories(unidades_);
    if (const char* v = std::getenv("QUORVEL_UNIDADES")) {
        tinhaAnterior_ = true;
        anterior_ = v;
    }
    ::setenv("QUORVEL_UNIDADES", unidades_.c_str(), 1);
}

UnidadesTemporarias::~UnidadesTemporarias() {
    if (tinhaAnterior_) ::setenv("QUORVEL_UNIDADES", anterior_.c_str(), 1);
    else ::unsetenv("QUORVEL_UNIDADES");
}

std::string UnidadesTemporarias::Unidade(char letra) const {
    const std::string p = unidades_ + "/" + static_cast<char>(std::tolower(static_cast<unsigned char>(letra)));
    fs::create_directories(p);
    return p;
}

#endif

std::string LerHost(const std::string& caminhoHost) {
    std::ifstream f(caminhoHost, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

}  // namespace quorvel::teste

#ifndef _WIN32

#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "apoio/pasta_temporaria.h"
#include "platform/indice_pastas.h"
#include "platform/texto.h"

using namespace quorvel;
namespace fs = std::filesystem;

namespace {

// What a plain scan of the folder gives for a name: the reference the index must always agree with.
std::string Varredura(const std::string& pasta, const std::string& nome) {
    std::vector<std::string> achados;
    if (DIR* d = ::opendir(pasta.c_str())) {
        while (dirent* e = ::readdir(d)) {
            const std::string entrada = e->d_name;
            if (entrada != "." && entrada != ".." && MaiusculasLocal(Utf8Para1252(entrada)) == MaiusculasLocal(nome))
                achados.push_back(entrada);
        }
        ::closedir(d);
    }
    std::sort(achados.begin(), achados.end());
    return achados.empty() ? std::string() : achados.front();
}

void Criar(const std::string& caminho) { std::ofstream(caminho) << "x"; }

}  // namespace

// Every change made to a folder after it was indexed is seen by the next lookup, exactly as a
// scan would see it: new names, removed names, renames in and out, and a case variant that sorts
// before the name already there.
TEST(IndicePastas, AcompanhaCadaMudancaDaPasta) {
    teste::PastaTemporaria t;
    const std::string p = t.Caminho() + "/Musicas";
    fs::create_directories(p);
    fs::create_directories(t.Caminho() + "/fora");
    Criar(p + "/Artista - T\xC3\xADtulo.mp3");  // UTF-8 on disk
    Criar(p + "/outra.mp3");
    const std::vector<std::string> nomes = {"ARTISTA - T\xCDTULO.MP3", "artista - t\xEDtulo.mp3", "OUTRA.MP3",
                                            "Nova.mp3", "nova.MP3", "x.~qv12345678", "Vinda.mp3", "nada"};
    auto conferir = [&](const char* passo) {
        for (const auto& n : nomes) EXPECT_EQ(EntradaSemCaixa(p, n), Varredura(p, n)) << passo << ": " << n;
    };
    conferir("inicio");
    EXPECT_EQ(EntradaSemCaixa(p, "ARTISTA - T\xCDTULO.MP3"), "Artista - T\xC3\xADtulo.mp3");
    EXPECT_EQ(EntradaSemCaixa(p, "Nova.mp3"), "");

    Criar(p + "/nova.mp3");
    conferir("criado");
    EXPECT_EQ(EntradaSemCaixa(p, "NOVA.MP3"), "nova.mp3");
    Criar(p + "/Nova.mp3");  // sorts before "nova.mp3": the first in byte order wins
    conferir("variante");
    EXPECT_EQ(EntradaSemCaixa(p, "nova.mp3"), "Nova.mp3");
    fs::remove(p + "/Nova.mp3");
    conferir("variante removida");
    EXPECT_EQ(EntradaSemCaixa(p, "nova.mp3"), "nova.mp3");
    fs::rename(p + "/outra.mp3", t.Caminho() + "/fora/outra.mp3");
    conferir("levado para fora");
    Criar(t.Caminho() + "/fora/vinda.mp3");
    fs::rename(t.Caminho() + "/fora/vinda.mp3", p + "/vinda.mp3");
    conferir("trazido de fora");
    fs::rename(p + "/vinda.mp3", p + "/x.~qv12345678");
    conferir("renomeado dentro");
    EXPECT_EQ(EntradaSemCaixa(p, "X.~QV12345678"), "x.~qv12345678");
    EXPECT_EQ(EntradaSemCaixa(p, "vinda.mp3"), "");

    // Many files written by another thread between lookups, as a run fills a folder.
    std::thread([&] {
        for (int i = 0; i < 300; ++i) Criar(p + "/m" + std::to_string(i) + ".mp3");
    }).join();
    for (int i = 0; i < 300; i += 37) EXPECT_EQ(EntradaSemCaixa(p, "M" + std::to_string(i) + ".MP3"), "m" + std::to_string(i) + ".mp3");
}

// The index belongs to the folder, not to its path: a folder moved away and another made at the
// same path answer for the new one; a folder removed has no entries.
TEST(IndicePastas, PastaTrocadaOuRemovida) {
    teste::PastaTemporaria t;
    const std::string p = t.Caminho() + "/Comercial";
    fs::create_directories(p);
    Criar(p + "/V0001.mp3");
    EXPECT_EQ(EntradaSemCaixa(p, "v0001.MP3"), "V0001.mp3");

    fs::rename(t.Caminho(), t.Caminho() + ".velha");  // a parent renamed: no event reaches the folder
    fs::create_directories(p);
    Criar(p + "/v0001.mp3");
    EXPECT_EQ(EntradaSemCaixa(p, "V0001.MP3"), "v0001.mp3");
    fs::remove_all(t.Caminho() + ".velha");

    fs::remove_all(p);
    EXPECT_EQ(EntradaSemCaixa(p, "V0001.MP3"), "");
    fs::create_directories(p);
    EXPECT_EQ(EntradaSemCaixa(p, "V0001.MP3"), "");
    Criar(p + "/V0001.MP3");
    EXPECT_EQ(EntradaSemCaixa(p, "v0001.mp3"), "V0001.MP3");
}

#endif

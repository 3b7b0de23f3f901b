// The next music's file made ahead on another thread: used only when it is exactly what the row
// itself would make, and never leaving anything of its own behind.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "apoio/audio_amostras.h"
#include "apoio/pasta_temporaria.h"
#include "music/antecipacao.h"
#include "music/cadastro_musica.h"
#include "music/info_audio.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using teste::LerHost;

// An MPEG stream of hand-made 128 kbit/s frames, `quadros` long.
std::string Fluxo(int quadros, char marca) {
    std::string f;
    for (int i = 0; i < quadros; ++i) f += std::string("\xFF\xFB\x90\x64", 4) + std::string(413, static_cast<char>(marca + i % 7));
    return f;
}

class Antecipacao : public ::testing::Test {
protected:
    teste::UnidadesTemporarias unidades;
    const std::string pasta2010 = "D:\\R";
    std::vector<std::string> mensagens;
    AvisoRelocacao avisar = [this](const std::string& t) { mensagens.push_back(t); };
    PastasDestino pastas;

    std::string Musicas2009() const { return unidades.Unidade('c') + "/Musicas/"; }
    std::string Musicas2010() const { return unidades.Unidade('d') + "/R/Musicas/"; }

    void Antes() {
        fs::create_directories(Musicas2009());
        fs::create_directories(Musicas2010());
        pastas.Preparar(pasta2010 + "\\Musicas\\");
    }
    // A 2009 music: without a tag its new tag rewrites the file; with a 2,000-byte tag it is
    // written in place.
    void Fonte(const std::string& dispositivo, bool comTag, char marca = 'a') {
        const std::string tag =
            comTag ? teste::TagID3v2Manual(3, 0, teste::QuadroManual("TIT2", std::string(1, '\0') + "Velho"), 1900) : "";
        teste::GravarBytes(Musicas2009() + dispositivo + ".mp3", tag + Fluxo(300, marca));
    }
    PedidoAntecipacao Pedido(const std::string& dispositivo, const std::string& interprete, const std::string& titulo) {
        const DestinoMusica d = PlanejarArquivoMusica(pasta2010, "C:", dispositivo, interprete, titulo, "mp3");
        return {d.copia.origem, d.pasta + d.arquivo, ValoresDaMusica(titulo, interprete, "Comp", ".mp3")};
    }
    // What a row does with its file: the copy, then the new tag (without a flush, as for a copy).
    ResultadoTag Linha(AntecipacaoMusicas* a, const std::string& dispositivo, const std::string& interprete,
                       const std::string& titulo) {
        const DestinoMusica d =
            ConverterArquivoMusica(pasta2010, avisar, pastas, "C:", dispositivo, interprete, titulo, "mp3", a);
        EXPECT_EQ(d.copia.situacao, CopiaArquivo::Situacao::Copiado);
        ArquivoAudio audio(d.pasta + d.arquivo);
        audio.LerInfoAudio();
        return GravarTag(audio, *ValoresDaMusica(titulo, interprete, "Comp", ".mp3"), false, a);
    }
    // Replaces a file by another one with these bytes, as an editor saving it would.
    static void Substituir(const std::string& caminho, const std::string& bytes) {
        teste::GravarBytes(caminho + ".novo", bytes);
        fs::rename(caminho + ".novo", caminho);
    }
    std::set<std::string> Nomes2010() const {
        std::set<std::string> n;
        for (const auto& e : fs::directory_iterator(Musicas2010())) n.insert(e.path().filename().string());
        return n;
    }
    mode_t Modo(const std::string& nome) const {
        struct stat st {};
        ::stat((Musicas2010() + nome).c_str(), &st);
        return st.st_mode & 07777;
    }
};

TEST_F(Antecipacao, MadeAheadTheFilesAreThoseTheRowMakes) {
    Antes();
    Fonte("M1", false);
    Fonte("M2", true, 'k');
    ::chmod((Musicas2009() + "M1.mp3").c_str(), 0444);
    // Each row on its own...
    ASSERT_EQ(Linha(nullptr, "M1", "Ana", "Luz").modo, ResultadoTag::Modo::NovoArquivo);
    ASSERT_EQ(Linha(nullptr, "M2", "Beto", "Mar").modo, ResultadoTag::Modo::NoLugar);
    const std::string luz = LerHost(Musicas2010() + "Ana - Luz.mp3"), mar = LerHost(Musicas2010() + "Beto - Mar.mp3");
    const mode_t modoLuz = Modo("Ana - Luz.mp3"), modoMar = Modo("Beto - Mar.mp3");
    fs::remove(Musicas2010() + "Ana - Luz.mp3");
    fs::remove(Musicas2010() + "Beto - Mar.mp3");

    // ...and with the file made ahead: the copy and the rewrite, or the copy only when the tag
    // goes in place.
    AntecipacaoMusicas a;
    a.Pedir(Pedido("M1", "Ana", "Luz"), "");
    EXPECT_EQ(Linha(&a, "M1", "Ana", "Luz").modo, ResultadoTag::Modo::NovoArquivo);
    EXPECT_EQ(a.CopiasUsadas(), 1);
    EXPECT_EQ(a.ReescritasUsadas(), 1);
    a.Pedir(Pedido("M2", "Beto", "Mar"), unidades.Unidade('d') + "/R/Musicas/Ana - Luz.mp3");
    EXPECT_EQ(Linha(&a, "M2", "Beto", "Mar").modo, ResultadoTag::Modo::NoLugar);
    EXPECT_EQ(a.CopiasUsadas(), 2);
    EXPECT_EQ(a.ReescritasUsadas(), 1);

    EXPECT_EQ(LerHost(Musicas2010() + "Ana - Luz.mp3"), luz);
    EXPECT_EQ(LerHost(Musicas2010() + "Beto - Mar.mp3"), mar);
    EXPECT_EQ(Modo("Ana - Luz.mp3"), modoLuz);
    EXPECT_EQ(Modo("Beto - Mar.mp3"), modoMar);
    EXPECT_EQ(Nomes2010(), (std::set<std::string>{"Ana - Luz.mp3", "Beto - Mar.mp3"}));
    EXPECT_TRUE(mensagens.empty());
}

TEST_F(Antecipacao, WhatChangedMeanwhileIsMadeAgainByTheRow) {
    Antes();
    Fonte("M1", false);
    Fonte("M2", false, 'k');
    AntecipacaoMusicas a;
    // The 2009 file is replaced while or after it is copied ahead: the 2010 file is made from
    // the new one (by the row, or ahead when the thread read it after the change).
    a.Pedir(Pedido("M1", "Ana", "Luz"), "");
    Substituir(Musicas2009() + "M1.mp3", Fluxo(300, 'x'));
    Linha(&a, "M1", "Ana", "Luz");
    EXPECT_EQ(LerHost(Musicas2010() + "Ana - Luz.mp3").substr(4096), LerHost(Musicas2009() + "M1.mp3"));
    const int copias = a.CopiasUsadas(), reescritas = a.ReescritasUsadas();

    // The copy is put in place, then grows before the tag is written: the tag is written into
    // the changed file.
    a.Pedir(Pedido("M2", "Beto", "Mar"), "");
    const DestinoMusica d = ConverterArquivoMusica(pasta2010, avisar, pastas, "C:", "M2", "Beto", "Mar", "mp3", &a);
    EXPECT_EQ(a.CopiasUsadas(), copias + 1);
    const std::string caminho = Musicas2010() + "Beto - Mar.mp3";
    const std::string alterado = LerHost(caminho) + Fluxo(1, 'q');
    teste::GravarBytes(caminho, alterado);
    ArquivoAudio audio(d.pasta + d.arquivo);
    audio.LerInfoAudio();
    EXPECT_EQ(GravarTag(audio, *ValoresDaMusica("Mar", "Beto", "Comp", ".mp3"), false, &a).modo,
              ResultadoTag::Modo::NovoArquivo);
    EXPECT_EQ(a.ReescritasUsadas(), reescritas);
    EXPECT_EQ(LerHost(caminho).substr(4096), alterado);

    // Another row than the one made ahead: nothing of it is used, nothing of it stays.
    a.Pedir(Pedido("M1", "Ana", "Luz"), "");
    fs::remove(Musicas2010() + "Beto - Mar.mp3");
    Linha(&a, "M2", "Beto", "Mar");
    EXPECT_EQ(a.CopiasUsadas(), copias + 1);
    EXPECT_EQ(Nomes2010(), (std::set<std::string>{"Ana - Luz.mp3", "Beto - Mar.mp3"}));
}

TEST_F(Antecipacao, NothingIsMadeFromTheFileInUseAndNothingStaysBehind) {
    Antes();
    Fonte("M1", false);
    {
        AntecipacaoMusicas a;
        // The file the current row may still write is the 2009 file of the next one.
        a.Pedir(Pedido("M1", "Ana", "Luz"), "C:\\Musicas\\M1.mp3");
        Linha(&a, "M1", "Ana", "Luz");
        EXPECT_EQ(a.CopiasUsadas(), 0);
    }
    fs::remove(Musicas2010() + "Ana - Luz.mp3");
    // Made ahead and never asked for: gone when the table ends, also while still being made.
    teste::GravarBytes(Musicas2009() + "M9.mp3", Fluxo(60000, 'z'));
    {
        AntecipacaoMusicas a;
        a.Pedir(Pedido("M1", "Ana", "Luz"), "");
    }
    {
        AntecipacaoMusicas a;
        a.Pedir(Pedido("M9", "Caio", "Sol"), "");
    }
    EXPECT_TRUE(Nomes2010().empty());
    EXPECT_EQ(LerHost(Musicas2009() + "M1.mp3").size(), 300u * 417);
}

}  // namespace
}  // namespace quorvel

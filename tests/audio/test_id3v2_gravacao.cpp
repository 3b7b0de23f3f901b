// Writing ID3v2.3 tags: the exact bytes in place and rewritten, read back by mutagen, and the
// rewrite's safety against failures and interruptions.
#include <gtest/gtest.h>
#include <signal.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <random>

#include "apoio/audio_amostras.h"
#include "apoio/pasta_temporaria.h"
#include "audio/id3v2.h"
#include "platform/arquivos.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using teste::LerBytes;
using teste::QuadroManual;
using teste::TagID3v2Manual;

// The frames of a v2.3 tag as this writer lays them out, built here independently.
std::string Quadro(const char* id, const std::string& texto) {
    const uint32_t n = static_cast<uint32_t>(texto.size() + 1);
    std::string q = id;
    q += static_cast<char>(n >> 24);
    q += static_cast<char>(n >> 16);
    q += static_cast<char>(n >> 8);
    q += static_cast<char>(n);
    q += std::string(3, '\0');
    return q + texto;
}

std::string Cabecalho(uint32_t tamanho) {
    const uint32_t c = tamanho - 10;
    std::string h = "ID3\x03";
    h += std::string(2, '\0');
    h += static_cast<char>((c >> 21) & 0x7F);
    h += static_cast<char>((c >> 14) & 0x7F);
    h += static_cast<char>((c >> 7) & 0x7F);
    h += static_cast<char>(c & 0x7F);
    return h;
}

std::string Audio(size_t n, unsigned semente = 7) {
    std::mt19937 g(semente);
    std::string a(n, '\0');
    for (auto& c : a) c = static_cast<char>(g());
    return a;
}

class ID3v2Gravacao : public ::testing::Test {
protected:
    teste::PastaTemporaria pasta;
    const std::string audio = Audio(20000);
    std::string Arquivo(const std::string& nome, const std::string& conteudo) {
        const std::string caminho = pasta.Caminho() + "/" + nome;
        teste::GravarBytes(caminho, conteudo);
        return caminho;
    }
    // An old tag with one title frame, `total` bytes long.
    std::string TagAntiga(int total, uint8_t flags = 0) {
        const std::string q = QuadroManual("TIT2", std::string(1, '\0') + "Antigo");
        const int rodape = (flags & 0x10) ? 10 : 0;
        std::string t = TagID3v2Manual(3, flags, q, total - 10 - rodape - static_cast<int>(q.size()));
        if (rodape) t += "3DI" + t.substr(3, 7);
        return t;
    }
    TID3v2 Exemplo() {
        TID3v2 t;
        t.Definir(TID3v2::SlotTitle, "Novo titulo");
        t.Definir(TID3v2::SlotArtist, "Artista \xC9");
        t.SetTrack(5);
        t.Definir(TID3v2::SlotComment, "Nota");
        t.Definir(TID3v2::SlotLink, "http://radio.example/");
        t.Definir(TID3v2::SlotTEST, "Pagode");
        t.Definir(TID3v2::SlotTCAD, "S");
        return t;
    }
    std::string QuadrosExemplo() {
        return Quadro("TIT2", "Novo titulo") + Quadro("TPE1", "Artista \xC9") + Quadro("TRCK", "5") +
               Quadro("COMM", std::string("eng\0", 4) + "Nota") +
               Quadro("WXXX", std::string(1, '\0') + "http://radio.example/") + Quadro("TEST", "Pagode") +
               Quadro("TCAD", "S");
    }
};

TEST_F(ID3v2Gravacao, NoLugarPreencheExatamenteATagAntiga) {
    const std::string arquivo = Arquivo("a.mp3", TagAntiga(2000) + audio);
    EXPECT_EQ(Exemplo().PreverGravacao(arquivo), TID3v2::NoLugar);
    ASSERT_EQ(Exemplo().SaveToFile(arquivo), TID3v2::NoLugar);
    const std::string quadros = QuadrosExemplo();
    const std::string esperado =
        Cabecalho(2000) + quadros + std::string(2000 - 10 - quadros.size(), '\0') + audio;
    EXPECT_EQ(LerBytes(arquivo), esperado);
}

TEST_F(ID3v2Gravacao, NoLugarSobreTagComRodapeEAte4096) {
    std::string arquivo = Arquivo("r.mp3", TagAntiga(1000, 0x10) + audio);
    ASSERT_TRUE(Exemplo().SaveToFile(arquivo));
    const std::string quadros = QuadrosExemplo();
    EXPECT_EQ(LerBytes(arquivo), Cabecalho(1000) + quadros + std::string(990 - quadros.size(), '\0') + audio);

    arquivo = Arquivo("4096.mp3", TagAntiga(4096) + audio);
    ASSERT_TRUE(Exemplo().SaveToFile(arquivo));
    EXPECT_EQ(LerBytes(arquivo).size(), 4096 + audio.size());
}

TEST_F(ID3v2Gravacao, TagAntigaGrandeReescreveCom4096Bytes) {
    const std::string arquivo = Arquivo("g.mp3", TagAntiga(5000) + audio);
    EXPECT_EQ(Exemplo().PreverGravacao(arquivo), TID3v2::NovoArquivo);
    ASSERT_EQ(Exemplo().SaveToFile(arquivo), TID3v2::NovoArquivo);
    const std::string bytes = LerBytes(arquivo);
    const std::string quadros = QuadrosExemplo();
    EXPECT_EQ(bytes.size(), 5000 + audio.size() - 904);
    EXPECT_EQ(bytes, Cabecalho(4096) + quadros + std::string(4086 - quadros.size(), '\0') + audio);
    EXPECT_FALSE(fs::exists(arquivo + "~"));

    // One byte more than 4,096 is rewritten too; a tag with its footer skips the footer.
    const std::string r = Arquivo("4097.mp3", TagAntiga(4097, 0x10) + audio);
    ASSERT_EQ(Exemplo().SaveToFile(r), TID3v2::NovoArquivo);
    EXPECT_EQ(LerBytes(r), bytes);
}

// Left for the caller to flush, the file gets the same bytes, in place and rewritten alike.
TEST_F(ID3v2Gravacao, SemSincronizarGravaOsMesmosBytes) {
    for (int antiga : {2000, 5000}) {
        const std::string a = Arquivo("a" + std::to_string(antiga) + ".mp3", TagAntiga(antiga) + audio);
        const std::string b = Arquivo("b" + std::to_string(antiga) + ".mp3", TagAntiga(antiga) + audio);
        ASSERT_TRUE(Exemplo().SaveToFile(a));
        ASSERT_TRUE(Exemplo().SaveToFile(b, false));
        EXPECT_EQ(LerBytes(a), LerBytes(b));
        EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(b).parent_path()), fs::directory_iterator()),
                  std::distance(fs::directory_iterator(fs::path(a).parent_path()), fs::directory_iterator()));
    }
}

TEST_F(ID3v2Gravacao, SemTagCresce4096EGuardaOID3v1) {
    const std::string v1 = teste::BlocoID3v1("T", "A", "B", "2000", "c", 1, 2);
    const std::string arquivo = Arquivo("s.mp3", audio + v1);
    ASSERT_TRUE(Exemplo().SaveToFile(arquivo));
    const std::string bytes = LerBytes(arquivo);
    ASSERT_EQ(bytes.size(), 4096 + audio.size() + 128);
    EXPECT_EQ(bytes.substr(4096), audio + v1);
}

TEST_F(ID3v2Gravacao, CamposVaziosSoCabecalhoEZeros) {
    const TID3v2 vazio;
    std::string arquivo = Arquivo("v.mp3", audio);
    ASSERT_TRUE(vazio.SaveToFile(arquivo));
    EXPECT_EQ(LerBytes(arquivo), Cabecalho(4096) + std::string(4086, '\0') + audio);

    arquivo = Arquivo("v2.mp3", TagAntiga(300) + audio);
    ASSERT_TRUE(vazio.SaveToFile(arquivo));
    EXPECT_EQ(LerBytes(arquivo), Cabecalho(300) + std::string(290, '\0') + audio);
}

TEST_F(ID3v2Gravacao, QuadrosMaioresQue4096FicamSemPreenchimento) {
    TID3v2 t;
    for (int slot = TID3v2::SlotTRIT; slot <= TID3v2::SlotTPMI; ++slot) t.Definir(slot, std::string(300, 'x'));
    const std::string arquivo = Arquivo("grande.mp3", TagAntiga(3000) + audio);
    ASSERT_TRUE(t.SaveToFile(arquivo));
    const int esperado = 10 + 19 * 311;
    const std::string bytes = LerBytes(arquivo);
    EXPECT_EQ(bytes.size(), esperado + audio.size());
    EXPECT_EQ(bytes.substr(0, 10), Cabecalho(esperado));
    EXPECT_EQ(bytes.substr(esperado), audio);
}

TEST_F(ID3v2Gravacao, TamanhoAlemDoArquivoDeixaOCabecalhoAntigoAposATag) {
    const std::string antigo = TagID3v2Manual(3, 0, "", 0, 1000000);
    const std::string arquivo = Arquivo("alem.mp3", antigo + audio);
    ASSERT_TRUE(Exemplo().SaveToFile(arquivo));
    const std::string bytes = LerBytes(arquivo);
    ASSERT_EQ(bytes.size(), 4096 + antigo.size() + audio.size());
    EXPECT_EQ(bytes.substr(4096), antigo + audio);
}

// A comment or link longer than the reader keeps of a frame (500 bytes, encoding byte and
// prefixes included) is written whole; reading it back gives its first bytes only.
TEST_F(ID3v2Gravacao, ComentarioELinkLongosGravadosInteiros) {
    TID3v2 t;
    const std::string comentario(496, 'c');
    const std::string link(499, 'l');
    t.Definir(TID3v2::SlotComment, comentario);
    t.Definir(TID3v2::SlotLink, link);
    const std::string arquivo = Arquivo("longos.mp3", audio);
    ASSERT_TRUE(t.SaveToFile(arquivo));
    const std::string quadros = Quadro("COMM", std::string("eng\0", 4) + comentario) +
                                Quadro("WXXX", std::string(1, '\0') + link);
    EXPECT_EQ(LerBytes(arquivo), Cabecalho(4096) + quadros + std::string(4086 - quadros.size(), '\0') + audio);
    TID3v2 relido;
    ASSERT_TRUE(relido.ReadFromFile(arquivo));
    EXPECT_EQ(relido.Texto(TID3v2::SlotComment), comentario.substr(0, 495));
    EXPECT_EQ(relido.Texto(TID3v2::SlotLink), link.substr(0, 498));
}

TEST_F(ID3v2Gravacao, MutagenLeOQueFoiEscritoEOsReservasNaoSaoCopiados) {
    QUORVEL_EXIGIR("sox", "lame", "mutagen");
    const std::string mp3 = pasta.Caminho() + "/m.mp3";
    teste::GerarMp3(mp3, 1, "-b 128");
    teste::Python(R"PY(
t = m.ID3()
t.add(m.TIT1(encoding=0, text="Grupo"))
t.add(m.TOPE(encoding=0, text="Original"))
t.add(m.TOAL(encoding=0, text="Album original"))
t.add(m.TDRC(encoding=0, text="2004-05-06"))
t.add(m.COMM(encoding=0, lang="eng", desc="", text="velho"))
t.save(sys.argv[1], v2_version=4)
)PY",
                  mp3);
    const std::string original = LerBytes(mp3);
    TID3v2 t;
    ASSERT_TRUE(t.ReadFromFile(mp3));
    const int32_t tamanhoAntigo = t.Size();
    t.SetTrack(12);
    t.Definir(TID3v2::SlotComposer, "Compositor \xE7");
    t.Definir(TID3v2::SlotTRIT, "Samba");
    ASSERT_TRUE(t.SaveToFile(mp3));

    const auto frames = teste::FramesMutagen(mp3);
    EXPECT_EQ(frames.at("#versao"), "2.3.0");
    EXPECT_EQ(frames.at("TIT2"), "Grupo");
    EXPECT_EQ(frames.at("TPE1"), "Original");
    EXPECT_EQ(frames.at("TALB"), "Album original");
    EXPECT_EQ(frames.at("TRCK"), "12");
    EXPECT_EQ(frames.at("COMM"), "velho");
    EXPECT_EQ(frames.at("TCOM"), "Compositor \xE7");
    EXPECT_EQ(frames.at("TRIT"), "Samba");
    EXPECT_EQ(frames.count("TIT1"), 0u);
    EXPECT_EQ(frames.count("TOPE"), 0u);
    EXPECT_EQ(frames.count("TOAL"), 0u);
    EXPECT_EQ(frames.count("TDRC") + frames.count("TYER"), 1u);  // mutagen shows TYER as TDRC
    // The audio after the tag is untouched.
    const std::string bytes = LerBytes(mp3);
    const int32_t tamanhoNovo = std::stoi(frames.at("#tamanho"));
    EXPECT_EQ(bytes.substr(tamanhoNovo), original.substr(tamanhoAntigo));

    // Our reader gets the same values back.
    TID3v2 relido;
    ASSERT_TRUE(relido.ReadFromFile(mp3));
    EXPECT_EQ(relido.TagVersion(), 3);
    EXPECT_EQ(relido.Texto(TID3v2::SlotYear), "2004");
    EXPECT_EQ(relido.Track(), 12);
    EXPECT_EQ(relido.Texto(TID3v2::SlotTRIT), "Samba");
    EXPECT_EQ(relido.Texto(TID3v2::SlotTRFI), "");
}

#ifdef _WIN32

TEST_F(ID3v2Gravacao, CaminhoComOutraCaixaEArquivoSomenteLeitura) {
    teste::UnidadesTemporarias unidades;
    const std::string host = unidades.Unidade('c') + "\\Musicas\\faixa.mp3";
    teste::GravarBytes(host, audio);
    ASSERT_TRUE(SetFileAttributesA(host.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(Exemplo().SaveToFile(unidades.Unidade('c') + "\\MUSICAS\\FAIXA.MP3"));
    EXPECT_EQ(LerBytes(host).substr(4096), audio);
    EXPECT_EQ(GetFileAttributesA(host.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN), 0u);
    size_t entradas = 0;
    for (const auto& e : fs::directory_iterator(unidades.Unidade('c') + "\\Musicas")) {
        (void)e;
        ++entradas;
    }
    EXPECT_EQ(entradas, 1u);  // no temporary file left behind
}

#else

TEST_F(ID3v2Gravacao, CaminhoDeUnidadeComOutraCaixaEArquivoSomenteLeitura) {
    teste::UnidadesTemporarias unidades;
    const std::string host = unidades.Unidade('c') + "/Musicas/faixa.mp3";
    teste::GravarBytes(host, audio);
    ::chmod(host.c_str(), 0440);
    ASSERT_TRUE(Exemplo().SaveToFile("C:\\MUSICAS\\FAIXA.MP3"));
    EXPECT_EQ(LerBytes(host).substr(4096), audio);
    struct stat st;
    ASSERT_EQ(::stat(host.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);  // read-only cleared, the rest kept
    size_t entradas = 0;
    for (const auto& e : fs::directory_iterator(unidades.Unidade('c') + "/Musicas")) {
        (void)e;
        ++entradas;
    }
    EXPECT_EQ(entradas, 1u);  // no temporary file left behind
}

#endif

TEST_F(ID3v2Gravacao, ArquivosDoUsuarioComNomesParecidosFicam) {
    // An editor's backup "NAME.mp3~" and a folder of that name are the user's: the rewrite's
    // temporary file takes a name of its own and leaves them as they were.
    const std::string arquivo = Arquivo("f.mp3", TagAntiga(5000) + audio);
    const std::string backup = Arquivo("f.mp3~", "copia do editor");
    const std::string outro = Arquivo("g.mp3", audio);
    fs::create_directory(outro + "~");
    ASSERT_TRUE(Exemplo().SaveToFile(arquivo));
    ASSERT_TRUE(Exemplo().SaveToFile(outro));
    EXPECT_EQ(LerBytes(arquivo).substr(4096), audio);
    EXPECT_EQ(LerBytes(outro).substr(4096), audio);
    EXPECT_EQ(LerBytes(backup), "copia do editor");
    EXPECT_TRUE(fs::is_directory(outro + "~"));
    EXPECT_EQ(std::distance(fs::directory_iterator(pasta.Caminho()), fs::directory_iterator()), 4);
}

TEST_F(ID3v2Gravacao, FalhasDeixamOOriginalIntacto) {
    // A file that does not exist, and one shorter than a header.
    EXPECT_EQ(Exemplo().SaveToFile(pasta.Caminho() + "/nada.mp3"), TID3v2::NaoGravada);
    EXPECT_EQ(Exemplo().PreverGravacao(pasta.Caminho() + "/nada.mp3"), TID3v2::NaoGravada);
    EXPECT_FALSE(fs::exists(pasta.Caminho() + "/nada.mp3"));
    const std::string curto = Arquivo("curto.mp3", "ID3");
    EXPECT_FALSE(Exemplo().SaveToFile(curto));
    EXPECT_EQ(LerBytes(curto), "ID3");
    EXPECT_EQ(std::distance(fs::directory_iterator(pasta.Caminho()), fs::directory_iterator()), 1);
}

#ifndef _WIN32

// Child processes with a file size limit or killed midway: POSIX only.
TEST_F(ID3v2Gravacao, DiscoCheioNoMeioDaReescritaNaoPerdeOAudio) {
    const std::string grande = Audio(2 << 20, 11);
    const std::string arquivo = Arquivo("cheio.mp3", grande);
    const pid_t filho = ::fork();
    ASSERT_GE(filho, 0);
    if (filho == 0) {
        // Writes beyond 1 MiB fail as on a full disk.
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limite = {1 << 20, 1 << 20};
        ::setrlimit(RLIMIT_FSIZE, &limite);
        const bool ok = Exemplo().SaveToFile(arquivo);
        ::_exit(ok ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(filho, &status, 0), filho);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the rewrite should have failed";
    EXPECT_EQ(LerBytes(arquivo), grande);
    // The temporary file is gone too.
    EXPECT_EQ(std::distance(fs::directory_iterator(pasta.Caminho()), fs::directory_iterator()), 1);
}

TEST_F(ID3v2Gravacao, InterrupcaoAQualquerMomentoDeixaOAntigoOuONovoInteiro) {
    const std::string grande = Audio(6 << 20, 13);
    const std::string arquivo = pasta.Caminho() + "/interrompido.mp3";
    const std::string quadros = QuadrosExemplo();
    const std::string novo = Cabecalho(4096) + quadros + std::string(4086 - quadros.size(), '\0') + grande;
    std::mt19937 g(5);
    int antigos = 0, novos = 0;
    for (int i = 0; i < 12; ++i) {
        teste::GravarBytes(arquivo, grande);
        const pid_t filho = ::fork();
        ASSERT_GE(filho, 0);
        if (filho == 0) {
            Exemplo().SaveToFile(arquivo);
            ::_exit(0);
        }
        ::usleep(g() % 40000);
        ::kill(filho, SIGKILL);
        int status = 0;
        ::waitpid(filho, &status, 0);
        const std::string depois = LerBytes(arquivo);
        if (depois == grande) ++antigos;
        else if (depois == novo) ++novos;
        else FAIL() << "file neither old nor new after an interruption (round " << i << ")";
    }
    RecordProperty("antigos", antigos);
    RecordProperty("novos", novos);
    // What the killed writers left is known as theirs and cleared; the file stays.
    LimparTemporariosAbandonados(pasta.Caminho());
    EXPECT_EQ(std::distance(fs::directory_iterator(pasta.Caminho()), fs::directory_iterator()), 1);
    ASSERT_TRUE(Exemplo().SaveToFile(arquivo) || LerBytes(arquivo) == novo);
}

#endif

}  // namespace
}  // namespace quorvel

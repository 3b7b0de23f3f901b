// Faults injected into real runs: the music folder filling up during a copy, a read-only 2010
// music at the tag rewrite, a 2009 file that vanishes after its copy, a checkpoint file that
// cannot be written and the database server going away in the middle of a table. Each run is a
// real one (the program in a child process where a private mount namespace or a server of the
// test's own is needed, the core in this process otherwise).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <netinet/in.h>
#include <arpa/inet.h>
#include <unistd.h>

#include <fcntl.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <thread>

#include "apoio/audio_amostras.h"
#include "apoio/bases_teste.h"
#include "apoio/execucao_migracao.h"
#include "apoio/instalacao_teste.h"
#include "platform/arquivos.h"
#include "platform/caminhos.h"
#include "servidor_proprio.h"
#include "test_terminal_processo.h"

namespace fs = std::filesystem;

namespace quorvel::teste {
namespace {

constexpr int kMusicas = 5;  // index of the music table in the sequence

bool Contem(const std::string& texto, const std::string& parte) { return texto.find(parte) != std::string::npos; }

// The names in a host folder.
std::set<std::string> Nomes(const std::string& pasta) {
    std::set<std::string> nomes;
    for (const auto& e : fs::directory_iterator(pasta)) nomes.insert(e.path().filename().string());
    return nomes;
}

// Whether this process may make mount namespaces (root, or a user namespace allowed).
bool PodeMontar() {
    return std::system("/usr/bin/unshare --mount --propagation private /bin/true >/dev/null 2>&1") == 0;
}

// The command line arguments of a run through the terminal front end.
std::vector<std::string> Args(const InstalacaoTeste& i, const std::vector<std::string>& extra) {
    std::vector<std::string> a{"--sem-janela", "--pasta-2009", i.Pasta2009(), "--pasta-2010", i.Pasta2010()};
    a.insert(a.end(), extra.begin(), extra.end());
    return a;
}

// The program run with `comandoMontagem` (a shell command on "$PASTA") first in a mount namespace
// of its own; afterwards that folder's contents are copied to `copia`, as they were inside.
ResultadoPrograma RodarComMontagem(const InstalacaoTeste& inst, const std::string& programa,
                                   const std::string& pasta, const std::string& comandoMontagem,
                                   const std::string& copia, const std::vector<std::string>& extra) {
    std::vector<std::string> args{"--mount",  "--propagation", "private", "/bin/sh", "-c",
                                  "PASTA=\"$1\"; COPIA=\"$2\"; shift 2; " + comandoMontagem +
                                      " || exit 99; \"$@\"; s=$?; mkdir -p \"$COPIA\" && cp -a \"$PASTA\"/. \"$COPIA\"; "
                                      "exit $s",
                                  "sh",       pasta,           copia,     programa};
    for (const auto& a : Args(inst, extra)) args.push_back(a);
    return RodarPrograma("/usr/bin/unshare", args, inst.unidades.Pasta());
}

const std::string kMensagemCopia = "Quorvel 2009-2010 [informação]: Não foi possível converter a música: ";

class FalhasNaExecucao : public ::testing::Test {
protected:
    void SetUp() override { QUORVEL_EXIGIR("lame", "mutagen"); }
    std::string Unidade(char letra) const { return inst.unidades.Unidade(letra); }
    InstalacaoTeste inst;
    std::string programa = CopiarPrograma(inst.PastaPrograma());
};

TEST_F(FalhasNaExecucao, PastaDeMusicasCheiaNoMeioDeUmaCopia) {
    if (!PodeMontar()) GTEST_SKIP() << "no mount namespace may be made here";
    inst.bases.Executar2009(
        "INSERT INTO TB_MUSICAS VALUES (1, 'Luz', 'Ana', NULL, 1, 'C:', 'M0001', 'mp3', NULL);\n"
        "INSERT INTO TB_MUSICAS VALUES (2, 'Mar', 'Beto', NULL, 1, 'C:', 'M0002', 'mp3', NULL);\n"
        "INSERT INTO TB_MUSICAS VALUES (3, 'Sol', 'Caio', NULL, 1, 'C:', 'M0003', 'mp3', NULL);\n");
    const std::string c = Unidade('c') + "/Musicas/";
    fs::create_directories(c);
    GerarMp3(c + "M0001.mp3", 1, "-b 64", 22050, 1);
    GerarMp3(c + "M0002.mp3", 20, "-b 128");  // about 320 KB: more than the folder has room for
    GerarMp3(c + "M0003.mp3", 1, "-b 64", 22050, 1);
    const std::string pasta = Unidade('d') + "/Quorvel2010/Musicas";
    fs::create_directories(pasta);
    const std::string copia = inst.unidades.Raiz().Caminho() + "/copia";

    const auto r = RodarComMontagem(inst, programa, pasta, "mount -t tmpfs -o size=160k quorvel-cheia \"$PASTA\"",
                                    copia, {"--tabelas", "Musicas"});
    ASSERT_NE(r.status, 99) << r.erros;
    // The failed copy is told as any other, and the run goes on to its end.
    EXPECT_EQ(r.status, 0) << r.erros;
    EXPECT_TRUE(Contem(r.erros, kMensagemCopia + "\"C:\\Musicas\\M0002.mp3\" para: "
                                                  "\"D:\\Quorvel2010\\Musicas\\Beto - Mar.mp3\""))
        << r.erros;
    EXPECT_FALSE(Contem(r.erros, "M0001")) << r.erros;
    EXPECT_FALSE(Contem(r.erros, "M0003")) << r.erros;
    EXPECT_TRUE(Contem(r.erros, "Atualização realizada com sucesso.")) << r.erros;
    // No part of the big file, no temporary file: the two small ones, whole behind their tags.
    EXPECT_EQ(Nomes(copia), (std::set<std::string>{"Ana - Luz.mp3", "Caio - Sol.mp3"}));
    for (const auto& [copiado, fonte] : {std::pair{"Ana - Luz.mp3", "M0001.mp3"}, {"Caio - Sol.mp3", "M0003.mp3"}}) {
        const std::string bytes = LerBytes(copia + "/" + copiado);
        ASSERT_GT(bytes.size(), 4096u) << copiado;
        EXPECT_EQ(bytes.substr(4096), LerBytes(c + fonte)) << copiado;
    }
    // Every row is registered; the music whose copy failed without anything of its file.
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT MUS_CODIGO_ANTIGO, MUS_SEGUNDOS FROM TB_MUSICAS ORDER BY 1"),
              (Linhas{{"1", "1"}, {"2", "0"}, {"3", "1"}}));
}

TEST_F(FalhasNaExecucao, MusicaSomenteLeituraNaGravacaoDaTag) {
    if (!PodeMontar()) GTEST_SKIP() << "no mount namespace may be made here";
    // Ana's 2009 file is read-only, and so is its copy; Caio's music is on D: with no 2009 file
    // left, an earlier copy waiting in D:\Musicas, a folder mounted read-only.
    inst.bases.Executar2009(
        "INSERT INTO TB_MUSICAS VALUES (1, 'Luz', 'Ana', NULL, 1, 'C:', 'M0001', 'mp3', NULL);\n"
        "INSERT INTO TB_MUSICAS VALUES (4, 'Sol', 'Caio', NULL, 1, 'D:', 'M0004', 'mp3', NULL);\n");
    const std::string c = Unidade('c') + "/Musicas/";
    const std::string somenteLeitura = Unidade('d') + "/Musicas";
    fs::create_directories(c);
    fs::create_directories(somenteLeitura);
    fs::create_directories(Unidade('d') + "/Quorvel2010/Musicas");
    GerarMp3(c + "M0001.mp3", 1, "-b 64", 22050, 1);
    ::chmod((c + "M0001.mp3").c_str(), 0444);
    GerarMp3(somenteLeitura + "/Caio - Sol.mp3", 2, "-b 64", 22050, 1);
    const std::string antes = LerBytes(somenteLeitura + "/Caio - Sol.mp3");
    const std::string copia = inst.unidades.Raiz().Caminho() + "/copia";

    const auto r = RodarComMontagem(
        inst, programa, somenteLeitura,
        "mount --bind \"$PASTA\" \"$PASTA\" && mount -o remount,bind,ro \"$PASTA\"", copia,
        {"--tabelas", "Musicas"});
    ASSERT_NE(r.status, 99) << r.erros;
    EXPECT_EQ(r.status, 0) << r.erros;
    EXPECT_TRUE(Contem(r.erros, "Atualização realizada com sucesso.")) << r.erros;
    // A read-only file is made writable and tagged, like a file with Windows' read-only attribute.
    const std::string ana = Unidade('d') + "/Quorvel2010/Musicas/Ana - Luz.mp3";
    EXPECT_EQ(FramesMutagen(ana).at("TIT2"), "Luz");
    EXPECT_EQ(LerBytes(ana).substr(4096), LerBytes(c + "M0001.mp3"));
    // A file that cannot be written at all stays as it was, with nothing left beside it; its
    // music is registered with what was read from it.
    EXPECT_EQ(LerBytes(somenteLeitura + "/Caio - Sol.mp3"), antes);
    EXPECT_EQ(Nomes(copia), std::set<std::string>{"Caio - Sol.mp3"});
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT MUS_CODIGO_ANTIGO, MUS_SEGUNDOS FROM TB_MUSICAS ORDER BY 1"),
              (Linhas{{"1", "1"}, {"4", "2"}}));
}

// Runs of the core in this process.
class FalhasNoNucleo : public ExecucaoMigracao {};

// Calls `acao` (in a thread of its own) for every file that appears in a host folder.
class VigiaPasta {
public:
    VigiaPasta(const std::string& pasta, std::function<void(const std::string&)> acao) : acao_(std::move(acao)) {
        fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        inotify_add_watch(fd_, pasta.c_str(), IN_CREATE | IN_MOVED_TO);
        fio_ = std::thread([this] {
            alignas(inotify_event) char buffer[4096];
            while (!fim_) {
                const ssize_t n = read(fd_, buffer, sizeof buffer);
                if (n <= 0) {
                    std::this_thread::sleep_for(std::chrono::microseconds(200));
                    continue;
                }
                for (char* p = buffer; p < buffer + n;) {
                    const auto* e = reinterpret_cast<const inotify_event*>(p);
                    if (e->len) acao_(e->name);
                    p += sizeof(inotify_event) + e->len;
                }
            }
        });
    }
    ~VigiaPasta() {
        fim_ = true;
        fio_.join();
        close(fd_);
    }

private:
    std::function<void(const std::string&)> acao_;
    int fd_;
    std::atomic<bool> fim_{false};
    std::thread fio_;
};

TEST_F(FalhasNoNucleo, ArquivoDe2009QueSomeDepoisDaCopia) {
    QUORVEL_EXIGIR("lame", "mutagen");
    inst.bases.Executar2009(
        "INSERT INTO TB_MUSICAS VALUES (1, 'Luz', 'Ana', NULL, 1, 'C:', 'M0001', 'mp3', NULL);\n"
        "INSERT INTO TB_MUSICAS VALUES (2, 'Mar', 'Beto', NULL, 1, 'C:', 'M0002', 'mp3', NULL);\n");
    const std::string c = inst.unidades.Unidade('c') + "/Musicas/";
    fs::create_directories(c);
    GerarMp3(c + "M0001.mp3", 1, "-b 64", 22050, 1);
    GerarMp3(c + "M0002.mp3", 2, "-b 64", 22050, 1);
    const std::string fonte = LerBytes(c + "M0001.mp3");
    const std::string pasta = inst.unidades.Unidade('d') + "/Quorvel2010/Musicas";
    fs::create_directories(pasta);
    operador.MarcarSo({kMusicas});
    std::atomic<bool> apagado{false};
    {
        // The moment Ana's copy begins, its 2009 file is deleted.
        VigiaPasta vigia(pasta, [&](const std::string& nome) {
            if (nome.rfind("Ana - Luz.mp3", 0) == 0 && !apagado.exchange(true)) fs::remove(c + "M0001.mp3");
        });
        ASSERT_TRUE(Rodar());
    }
    ASSERT_TRUE(apagado);
    EXPECT_FALSE(fs::exists(c + "M0001.mp3"));
    EXPECT_EQ(operador.TextosMensagens(), std::vector<std::string>{kSucesso});
    // The copy made from what was opened is whole and tagged; registration used the copy.
    const std::string ana = LerBytes(pasta + "/Ana - Luz.mp3");
    EXPECT_EQ(ana.substr(4096), fonte);
    EXPECT_EQ(FramesMutagen(pasta + "/Ana - Luz.mp3").at("TIT2"), "Luz");
    EXPECT_EQ(Nomes(pasta), (std::set<std::string>{"Ana - Luz.mp3", "Beto - Mar.mp3"}));
    EXPECT_EQ(inst.bases.ConsultarAudio("SELECT MUS_CODIGO_ANTIGO, MUS_SEGUNDOS FROM TB_MUSICAS ORDER BY 1"),
              (Linhas{{"1", "1"}, {"2", "2"}}));
}

TEST_F(FalhasNoNucleo, CheckpointQueNaoSeGravaTerminaComOErroEGuardaOQueFoiConfirmado) {
    std::string linhas;
    for (int i = 1; i <= 6; ++i)
        linhas += "INSERT INTO TB_AGENDA (AGE_CODIGO, AGE_NOME) VALUES (" + std::to_string(i) + ", 'Contato " +
                  std::to_string(i) + "');\n";
    inst.bases.Executar2009(linhas);
    // Seq.ini is a folder: no file can be put in its place.
    fs::create_directories(inst.ArquivoSeqHost());
    operador.MarcarSo({0, 4});
    operador.aoAtualizar = [&](const QuadroProgresso& q) {
        if (q.tabelaAtual == "TB_AGENDA" && q.registroAtual == 3) nucleo->Commit();
    };
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Erro);
    ASSERT_EQ(operador.Mensagens().size(), 1u) << ::testing::PrintToString(operador.TextosMensagens());
    EXPECT_EQ(operador.Mensagens()[0].tipo, TipoMensagem::Erro);
    EXPECT_EQ(operador.Mensagens()[0].texto, "Unable to write to " + inst.PastaPrograma() + "\\Seq.ini");
    // The commit before the write stands; the sequence ended there; nothing of the write is left.
    EXPECT_EQ(inst.bases.ConsultarAdm("SELECT COUNT(*) FROM TB_AGENDA"), (Linhas{{"3"}}));
    // Beside it only the run's report, which tells how the run ended.
    std::set<std::string> nomes = Nomes(inst.PastaPrograma());
    ASSERT_EQ(nomes.size(), 2u) << ::testing::PrintToString(nomes);
    EXPECT_EQ(nomes.count("Seq.ini"), 1u);
    EXPECT_EQ(nomes.begin()->rfind("Relatorio ", 0), 0u);
    EXPECT_NE(LerHost(CaminhoHost(nucleo->UltimoRelatorio().caminho)).find("Unable to write to "), std::string::npos);
    EXPECT_TRUE(fs::is_directory(inst.ArquivoSeqHost()));
}


// `n` rows of the broadcast log with keys 1..n, generated inside the database.
void GerarIrradiacao(const std::string& local, int n) { ExecutarSql(local, ScriptIrradiacao(n)); }

// The checkpoint code written in a Seq.ini text.
int CodigoSeq(const std::string& seq) {
    std::smatch m;
    if (!std::regex_search(seq, m, std::regex("sCodigo=(-?[0-9]+)"))) return -1;
    return std::stoi(m[1]);
}

TEST(ServidorQueCai, ParaAExecucaoSemPerderOConfirmadoEContinuarCompleta) {
    PastaTemporaria pasta;
    ServidorProprio servidor(pasta.Caminho(), 3061);
    if (!servidor.Pronto()) GTEST_SKIP() << "no Firebird server program or configuration (scripts/servidor-teste.sh)";
    constexpr int linhas = 60000;
    InstalacaoTeste inst, referencia;
    GerarIrradiacao(inst.bases.Local2009(), linhas);
    GerarIrradiacao(referencia.bases.Local2009(), linhas);
    const std::string programa = CopiarPrograma(inst.PastaPrograma());
    const std::vector<std::string> tabelas{"--tabelas", "Irradiacao"};
    const auto inteira = RodarPrograma(CopiarPrograma(referencia.PastaPrograma()), Args(referencia, tabelas),
                                       referencia.unidades.Pasta());
    ASSERT_EQ(inteira.status, 0) << inteira.erros;

    // The 2009 and audio databases through the test's own server, which the test stops; the
    // administration database through the tests' server.
    const std::string d = inst.unidades.Unidade('d');
    std::ofstream(d + "/Quorvel2009/Base.ini", std::ios::binary) << servidor.Local("C:\\Dados\\BASE2009.FDB") << "\r\n";
    std::ofstream(d + "/Quorvel2010/BaseAudio.ini", std::ios::binary)
        << "[BANCO]\r\ncaminho=" << servidor.Local("C:\\Dados\\AUDIO.FDB") << "\r\n";
    std::ofstream(d + "/Quorvel2010/BaseAdm.ini", std::ios::binary)
        << "[BANCO]\r\ncaminho=localhost:C:\\Dados\\ADM.FDB\r\n";
    const std::string audio = servidor.Local(inst.bases.ArquivoAudio());
    ASSERT_TRUE(servidor.Iniciar());

    int codigo = -1;
    {
        ProgramaFilho filho(programa, Args(inst, tabelas), inst.unidades.Pasta());
        ASSERT_TRUE(filho.EsperarTexto("Tabela: TB_IRRADIACAO", 120)) << filho.Saida() << filho.Erros();
        // A commit while the rows flow, then the server goes away.
        filho.Sinal(SIGUSR1);
        const auto inicio = std::chrono::steady_clock::now();
        while (!fs::exists(inst.ArquivoSeqHost()) && filho.Rodando() &&
               std::chrono::steady_clock::now() - inicio < std::chrono::seconds(60))
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        codigo = CodigoSeq(LerHost(inst.ArquivoSeqHost()));
        ASSERT_GT(codigo, 1) << LerHost(inst.ArquivoSeqHost()) << filho.Saida() << filho.Erros();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ASSERT_TRUE(filho.Rodando()) << "the run ended before the server went away";
        servidor.Parar();
        // The row being written fails with the migrator's message, the commit after it with the
        // database's error, which ends the sequence; the run is not reported as a success.
        EXPECT_NE(filho.Aguardar(120), 0) << filho.Erros();
        EXPECT_TRUE(Contem(filho.Erros(), "[informação]: Não foi possível inserir a irradiação código: "))
            << filho.Erros();
        EXPECT_TRUE(Contem(filho.Erros(), "Quorvel 2009-2010 [erro]: ")) << filho.Erros();
        EXPECT_FALSE(Contem(filho.Erros(), "realizada com sucesso")) << filho.Erros();
    }
    ASSERT_GT(codigo, 1);
    ASSERT_LT(codigo, linhas);

    // Back up: what was committed is there, no row more; the checkpoint is the commit's.
    ASSERT_TRUE(servidor.Iniciar());
    EXPECT_EQ(CodigoSeq(LerHost(inst.ArquivoSeqHost())), codigo);
    EXPECT_EQ(Consultar(audio, "SELECT COUNT(*), MAX(IRR_CODIGO) FROM TB_IRRADIACAO"),
              (Linhas{{std::to_string(codigo - 1), std::to_string(codigo - 1)}}));

    const auto resto = RodarPrograma(programa, Args(inst, {"--tabelas", "Irradiacao", "--continuar", "--sim"}),
                                     inst.unidades.Pasta());
    ASSERT_EQ(resto.status, 0) << resto.erros;
    const std::string consulta = "SELECT * FROM TB_IRRADIACAO ORDER BY IRR_CODIGO";
    const Linhas obtidas = Consultar(audio, consulta);
    const Linhas esperadas = referencia.bases.ConsultarAudio(consulta);
    EXPECT_EQ(obtidas.size(), esperadas.size());
    EXPECT_TRUE(obtidas == esperadas);
    servidor.Parar();
}

}  // namespace
}  // namespace quorvel::teste

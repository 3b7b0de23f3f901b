// Rows per second through the window against the terminal front end, on a real X server.
//
// The program starts its own Xvfb (a display number of its choosing, no TCP listener) and opens
// the window on it through Qt's xcb platform. A 2009 database gets `rows` generated rows of
// TB_IRRADIACAO and of TB_ECAD (the play log's musics already in the 2010 audio database, with
// their 2009 codes in MUS_CODIGO_ANTIGO, as a music copy leaves them). Each table is then copied
// alone, into a fresh 2010 audio database each time:
//   - through the window, driven from inside as an operator would: both folders typed, "Desmarcar
//     todos", the one table ticked, "Atualizar"; the time runs from the click to the moment the
//     closing message appears;
//   - through the terminal front end, the real program (quorvel2009_2010 --sem-janela --tabelas X),
//     its output in a file; the time is the wall clock of the process.
// From each time the time of a run with no table ticked, taken the same way, is subtracted: what
// remains is the copy with its refresh per row. Rates are wall clock (the window's painting is
// partly done by the X server, another process). Rounds alternate window and terminal runs so
// that a shared machine disturbs both alike; the best time of each counts.
//
// The window measures its own refreshes during the runs (the fastest run of each table): the
// hand-off (from the worker's queued call until the window's thread takes it up, and from the end
// of the refresh until the worker goes on), setting the widgets, painting (drawing the widgets;
// timed again into an image on a sample of the refreshes) and flushing (the rest of the toolkit's
// paint-and-flush call: the window's buffer and the X server, which must have read the previous
// picture before the next is drawn, and receives the new one). Also the processor time of the
// window's thread per refresh. The window's thread runs its event loop as in the program.
//
// Usage: bench_janela [rows [rounds]]   (default 100000 rows, 2 rounds). Prints both rates per
// table and "ratio: X" (window / terminal, TB_IRRADIACAO). With QUORVEL_BENCH_PINTAR_TUDO set,
// every refresh repaints the whole progress group (for comparison).
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "apoio/instalacao_teste.h"
#include "apoio_janela.h"
#include "app/janela/medicao_progresso.h"
#include "app/janela/quorvel2009_2010.h"
#include "platform/erros.h"

extern char** environ;

using namespace quorvel;
namespace fs = std::filesystem;

namespace {

using Relogio = std::chrono::steady_clock;

double Segundos(Relogio::time_point de, Relogio::time_point ate) {
    return std::chrono::duration<double>(ate - de).count();
}

// An Xvfb of our own for the life of the object; DISPLAY names it.
class ServidorX {
public:
    ServidorX() {
        int canal[2];
        if (pipe(canal) != 0) throw Erro("pipe failed");
        const std::string fd = std::to_string(canal[1]);
        std::vector<std::string> textos{"Xvfb", "-displayfd", fd, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"};
        std::vector<char*> argv;
        for (auto& t : textos) argv.push_back(t.data());
        argv.push_back(nullptr);
        pid_ = fork();
        if (pid_ == 0) {
            // The server ends with the benchmark, however the benchmark ends.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            close(canal[0]);
            const int nulo = open("/dev/null", O_WRONLY);
            dup2(nulo, 2);
            execvp("Xvfb", argv.data());
            _exit(127);
        }
        close(canal[1]);
        if (pid_ < 0) throw Erro("Cannot start Xvfb (package xvfb)");
        std::string numero;
        char c;
        while (read(canal[0], &c, 1) == 1 && c != '\n') numero += c;
        close(canal[0]);
        if (numero.empty()) throw Erro("Xvfb did not start (package xvfb)");
        setenv("DISPLAY", (":" + numero).c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        exibicao_ = ":" + numero;
    }
    ~ServidorX() {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    const std::string& Exibicao() const { return exibicao_; }

private:
    pid_t pid_ = 0;
    std::string exibicao_;
};

struct Tabela {
    const char* legenda;  // the check box caption and the --tabelas caption
    int indice;           // in the migrator sequence
    const char* nome;
};
const Tabela Irradiacao{"Irradiacao", 7, "TB_IRRADIACAO"};
const Tabela Ecad{"Ecad", 6, "TB_ECAD"};

constexpr int MusicasEcad = 1000;

void Gerar(teste::BasesTeste& bases, int linhas) {
    auto bloco = [&](const std::string& insercao, int n) {
        return "SET TERM ^ ;\nEXECUTE BLOCK AS DECLARE i INTEGER = 1; BEGIN\n  WHILE (i <= " + std::to_string(n) +
               ") DO BEGIN\n    " + insercao + ";\n    i = i + 1;\n  END\nEND^\nSET TERM ; ^\n";
    };
    // ": i" with a blank: the layer takes ":name" for a parameter, the PSQL parser takes both.
    bases.Executar2009(bloco("INSERT INTO TB_IRRADIACAO VALUES (: i, 'CT-' || MOD(: i, 5000), 'Cliente n\xFAmero ' || "
                             "MOD(: i, 300), '10:00', 'V' || : i, '00:30', 'C', '2009-03-01', '10:00:00')",
                             linhas));
    bases.Executar2009(bloco("INSERT INTO TB_ECAD VALUES (: i, '2009-05-01', '10:15:00', MOD(: i, " +
                                 std::to_string(MusicasEcad) + ") + 1)",
                             linhas));
}

// The 2010 audio databases a copy starts from: as the fixture makes it, and with the musics
// that the play log names (2010 codes 5001.., 2009 codes 1..).
struct Modelos {
    teste::BasesTeste simples, comMusicas;
    Modelos() {
        comMusicas.ExecutarAudio("ALTER TABLE TB_MUSICAS ADD MUS_CODIGO_ANTIGO INTEGER;");
        comMusicas.ExecutarAudio(
            "SET TERM ^ ;\nEXECUTE BLOCK AS DECLARE i INTEGER = 1; BEGIN\n  WHILE (i <= " +
            std::to_string(MusicasEcad) +
            ") DO BEGIN\n    INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOME, MUS_CODIGO_ANTIGO) VALUES (5000 + : i, "
            "'M\xFAsica ' || : i, : i);\n    i = i + 1;\n  END\nEND^\nSET TERM ; ^\n");
    }
    std::string Arquivo(const Tabela& t) const {
        return &t == &Ecad ? comMusicas.ArquivoAudio() : simples.ArquivoAudio();
    }
};

// A fresh audio database for the next run: a copy of the model, named in BaseAudio.ini.
// Returns its location for counting.
std::string NovaBaseAudio(const teste::InstalacaoTeste& inst, const std::string& modelo) {
    static int numero = 0;
    const std::string nome = "AUDIO_" + std::to_string(++numero) + ".FDB";
    fs::copy_file(modelo, inst.bases.Pasta() + "/" + nome, fs::copy_options::overwrite_existing);
    std::ofstream(inst.unidades.Unidade('d') + "/Quorvel2010/BaseAudio.ini", std::ios::binary)
        << "[BANCO]\r\ncaminho=C:\\Dados\\" << nome << "\r\n";
    return inst.bases.Pasta() + "/" + nome;
}

void ApagarBase(const std::string& arquivo) { fs::remove(arquivo); }

// Notes the moment the closing message box of the run appears, confirms it and ends the event
// loop that runs meanwhile.
class FimDaExecucao : public QObject {
public:
    explicit FimDaExecucao(QEventLoop& laco) : laco_(laco) {}
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() == QEvent::Show && !visto)
            if (auto* caixa = qobject_cast<QMessageBox*>(objeto)) {
                momento = Relogio::now();
                visto = true;
                texto = caixa->text();
                QTimer::singleShot(0, caixa, [caixa] { caixa->button(QMessageBox::Ok)->click(); });
                laco_.quit();
            }
        return false;
    }
    bool visto = false;
    QString texto;
    Relogio::time_point momento;

private:
    QEventLoop& laco_;
};

// One run through the window; seconds from "Atualizar" to the closing message.
double RodarJanela(const teste::InstalacaoTeste& inst, const Tabela* tabela, MedicaoProgresso* medicao) {
    auto janela = std::make_unique<TfrmQuorvel2009_2010>(inst.PastaPrograma());
    janela->show();
    if (!QTest::qWaitForWindowExposed(janela.get())) throw Erro("The window was not shown");
    QTest::keyClicks(janela->edEndereco2009, QString::fromStdString(inst.Pasta2009()));
    QTest::keyClicks(janela->edEndereco2010, QString::fromStdString(inst.Pasta2010()));
    QTest::mouseClick(janela->BDesmarcarTodos, Qt::LeftButton);
    if (tabela) QTest::mouseClick(janela->CheckTB[tabela->indice], Qt::LeftButton);
    QTest::qWait(100);
    janela->DefinirMedicao(medicao);
    janela->DefinirPintarTudo(std::getenv("QUORVEL_BENCH_PINTAR_TUDO") != nullptr);

    // The window's thread runs its event loop as in the program, waiting for events (not polling).
    QEventLoop laco;
    FimDaExecucao fim(laco);
    qApp->installEventFilter(&fim);
    QTimer::singleShot(3600 * 1000, &laco, &QEventLoop::quit);
    const auto inicio = Relogio::now();
    QTest::mouseClick(janela->BAtualizar, Qt::LeftButton);
    if (!fim.visto) laco.exec();
    qApp->removeEventFilter(&fim);
    if (!fim.visto) throw Erro("The run did not end");
    if (!teste::Esperar([&] { return !janela->Nucleo().TrabalhadorAtivo(); })) throw Erro("The worker did not end");
    janela->DefinirMedicao(nullptr);
    if (fim.texto != QString::fromUtf8("Atualização realizada com sucesso."))
        throw Erro("The run through the window ended with: " + fim.texto.toStdString());
    return Segundos(inicio, fim.momento);
}

// One run through the terminal front end; wall-clock seconds of the process.
double RodarTerminal(const teste::InstalacaoTeste& inst, const Tabela* tabela) {
    const std::string programa = inst.PastaPrograma() + "/quorvel2009_2010";
    std::vector<std::string> textos{programa,        "--sem-janela", "--pasta-2009", inst.Pasta2009(),
                                    "--pasta-2010",  inst.Pasta2010(), "--sim",       "--tabelas",
                                    tabela ? tabela->legenda : ""};
    std::vector<char*> argv;
    for (auto& t : textos) argv.push_back(t.data());
    argv.push_back(nullptr);
    const std::string saida = inst.PastaPrograma() + "/saida.txt";
    posix_spawn_file_actions_t acoes;
    posix_spawn_file_actions_init(&acoes);
    posix_spawn_file_actions_addopen(&acoes, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&acoes, 1, saida.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&acoes, 2, (saida + ".erros").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const auto inicio = Relogio::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &acoes, nullptr, argv.data(), environ) != 0) throw Erro("Cannot start " + programa);
    posix_spawn_file_actions_destroy(&acoes);
    int status = 0;
    waitpid(pid, &status, 0);
    const double segundos = Segundos(inicio, Relogio::now());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw Erro("The terminal run failed; see " + saida + ".erros");
    return segundos;
}

void ConferirCopia(const std::string& arquivo, const Tabela& t, int linhas) {
    const std::string total = teste::Consultar(arquivo, std::string("SELECT COUNT(*) FROM ") + t.nome)[0][0];
    if (total != std::to_string(linhas)) throw Erro(std::string(t.nome) + " holds " + total + " rows after its copy");
}

double Micro(double segundos, long long vezes) { return vezes ? segundos * 1e6 / static_cast<double>(vezes) : 0; }

}  // namespace

int main(int argc, char** argv) {
    const int linhas = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    const int rodadas = argc > 2 ? std::max(1, std::atoi(argv[2])) : 2;
    try {
        ServidorX servidorX;
        QApplication aplicacao(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        std::printf("X server: Xvfb %s, Qt platform %s\n", servidorX.Exibicao().c_str(),
                    QGuiApplication::platformName().toUtf8().constData());

        teste::InstalacaoTeste inst;
        teste::RegistroTeste registro(inst.unidades.Raiz(),
                                      teste::InstalarServidor(inst.unidades, "Firebird Server", "2.1.3.18185"));
        fs::copy_file(QUORVEL_PROGRAMA, inst.PastaPrograma() + "/quorvel2009_2010",
                      fs::copy_options::overwrite_existing);
        const auto geracao = Relogio::now();
        Gerar(inst.bases, linhas);
        Modelos modelos;
        std::printf("rows per table: %d (generated in %.1f s)\n", linhas, Segundos(geracao, Relogio::now()));
        std::fflush(stdout);

        const Tabela* tabelas[] = {&Irradiacao, &Ecad};
        double janelaVazia = 1e300, terminalVazio = 1e300;
        double janela[2] = {1e300, 1e300}, terminal[2] = {1e300, 1e300};
        MedicaoProgresso medicoes[2];
        for (int rodada = 0; rodada < rodadas; ++rodada) {
            std::string base = NovaBaseAudio(inst, modelos.Arquivo(Irradiacao));
            janelaVazia = std::min(janelaVazia, RodarJanela(inst, nullptr, nullptr));
            terminalVazio = std::min(terminalVazio, RodarTerminal(inst, nullptr));
            ApagarBase(base);
            for (int k = 0; k < 2; ++k) {
                const Tabela& t = *tabelas[k];
                MedicaoProgresso medicao;
                base = NovaBaseAudio(inst, modelos.Arquivo(t));
                const double s = RodarJanela(inst, &t, &medicao);
                ConferirCopia(base, t, linhas);
                ApagarBase(base);
                if (s < janela[k]) janela[k] = s, medicoes[k] = medicao;
                base = NovaBaseAudio(inst, modelos.Arquivo(t));
                const double st = RodarTerminal(inst, &t);
                terminal[k] = std::min(terminal[k], st);
                ConferirCopia(base, t, linhas);
                ApagarBase(base);
                std::printf("round %d %-14s window %.2f s, terminal %.2f s\n", rodada + 1, t.nome, s, st);
                std::fflush(stdout);
            }
        }
        std::printf("run with no table: window %.3f s, terminal %.3f s\n", janelaVazia, terminalVazio);
        double razao = 0;
        for (int k = 0; k < 2; ++k) {
            const double rj = linhas / std::max(1e-9, janela[k] - janelaVazia);
            const double rt = linhas / std::max(1e-9, terminal[k] - terminalVazio);
            std::printf("%-14s window %9.0f rows/s, terminal %9.0f rows/s, window / terminal %.3f\n",
                        tabelas[k]->nome, rj, rt, rj / rt);
            const MedicaoProgresso& m = medicoes[k];
            std::printf("  per refresh (%lld refreshes): hand-off %.1f us (to the window %.1f, back %.1f), "
                        "setting the widgets %.1f us, painting %.1f us, flushing %.1f us; processor time of the "
                        "window's thread %.1f us\n",
                        m.refrescos, Micro(m.entrega + m.retorno, m.refrescos), Micro(m.entrega, m.refrescos),
                        Micro(m.retorno, m.refrescos), Micro(m.definicao, m.refrescos),
                        Micro(m.Desenho(), m.refrescos), Micro(m.Descarga(), m.refrescos),
                        Micro(m.cpuJanela, m.refrescos));
            if (k == 0) razao = rj / rt;
        }
        std::printf("ratio: %.3f\n", razao);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_janela: %s\n", e.what());
        return 1;
    }
    return 0;
}

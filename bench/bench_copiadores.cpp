// Rows per second of the seven plain table copiers against the bare client-library loop.
//
// A 2009 database gets `rows` generated rows in each of the seven tables (one EXECUTE BLOCK per
// table). Each copier then runs alone through the terminal front end, the real program
// (quorvel2009_2010 --sem-janela --tabelas X), on embedded databases, into fresh 2010
// databases. A copier's time is the CPU time (user + system) of that run less the CPU time of a
// run with no table checked (start-up, connections, end of the run): what remains is the
// copy procedure itself, its progress refresh per row included. The bare loop (bench_apoio.h)
// runs in this process on fresh databases; its time is this process's CPU time. The embedded
// engine runs inside the measured process in both cases, so the two are comparable, and other
// programs on a shared machine do not disturb CPU time. Three rounds; the best of each counts.
// Wall-clock rates are printed beside.
//
// Usage: bench_copiadores [rows]   (default 100000). Prints each copier's rate, the bare loop's
// rate, and "ratio: X" (slowest copier's rate / bare loop's rate).
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "apoio/bases_teste.h"
#include "apoio/instalacao_teste.h"
#include "bench/bench_apoio.h"
#include "platform/erros.h"

extern char** environ;

using namespace quorvel;
using namespace quorvel::bench;
namespace fs = std::filesystem;

namespace {

struct Copiador {
    const char* legenda;  // the --tabelas caption
    const char* tabela;
    bool adm;             // the target is the administration database
    const char* linha;    // the INSERT of row :i in the 2009 table (": i" is the loop variable)
};

// ": i" with a blank: the layer takes ":name" for a parameter, the PSQL parser takes both.
const Copiador Copiadores[] = {
    {"Agenda", "TB_AGENDA", true,
     "INSERT INTO TB_AGENDA VALUES (: i, 'Contato n\xBA ' || : i, '11 5555-' || : i, NULL, '11 9' || : i, "
     "'Rua das Ac\xE1" "cias, ' || : i, 'S\xE3o Paulo', 'SP', '01234-000', 'contato' || : i || '@radio.example', "
     "NULL, MOD(: i, 28) + 1, MOD(: i, 12) + 1, NULL, 'skype' || : i, 'Observa\xE7\xE3o do contato ' || : i, "
     "'Centro')"},
    {"AvancoManual", "TB_AVANCOMANUAL", false,
     "INSERT INTO TB_AVANCOMANUAL VALUES (: i, '08:00:00', '09:00:00', 'S', 'N', 'S', 'N', 'S', 'N', 'S')"},
    {"PerfilBotoes", "TB_PERFILBOTOES", false,
     "INSERT INTO TB_PERFILBOTOES VALUES (: i, 'Perfil ' || : i, MOD(: i, 40))"},
    {"Botoneira", "TB_BOTONEIRA", false,
     "INSERT INTO TB_BOTONEIRA VALUES (: i, 'C:\\Vinhetas\\V' || : i || '.mp3', 'Bot\xE3o ' || : i, 'N', "
     "'F' || MOD(: i, 12), : i, MOD(: i, 50), 'V', NULL, MOD(: i, 10))"},
    {"Genero", "TB_GENERO", false, "INSERT INTO TB_GENERO VALUES (: i, 'G\xEAnero ' || : i)"},
    {"Irradiacao", "TB_IRRADIACAO", false,
     "INSERT INTO TB_IRRADIACAO VALUES (: i, 'CT-' || MOD(: i, 5000), 'Cliente n\xFAmero ' || MOD(: i, 300), "
     "'10:00', 'V' || : i, '00:30', 'C', '2009-03-01', '10:00:00')"},
    {"ProgAuto", "TB_PROGAUTO", false,
     "INSERT INTO TB_PROGAUTO VALUES (: i, '2009-01-01', '2009-12-31', '08:00', '09:00', "
     "CASE MOD(: i, 2) WHEN 0 THEN 'S' ELSE 'C' END, 'PA' || MOD(: i, 10))"},
};

void Gerar(teste::BasesTeste& bases, const Copiador& c, int linhas) {
    bases.Executar2009("SET TERM ^ ;\nEXECUTE BLOCK AS DECLARE i INTEGER = 1; BEGIN\n  WHILE (i <= " +
                       std::to_string(linhas) + ") DO BEGIN\n    " + c.linha +
                       ";\n    i = i + 1;\n  END\nEND^\nSET TERM ; ^\n");
}

// Runs the program to its end with its output in files; the CPU and wall-clock seconds.
Tempo RodarPrograma(const std::string& programa, const std::vector<std::string>& argumentos,
                    const std::string& saida) {
    std::vector<std::string> textos{programa};
    textos.insert(textos.end(), argumentos.begin(), argumentos.end());
    std::vector<char*> argv;
    for (auto& t : textos) argv.push_back(t.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t acoes;
    posix_spawn_file_actions_init(&acoes);
    posix_spawn_file_actions_addopen(&acoes, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&acoes, 1, saida.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&acoes, 2, (saida + ".erros").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const auto inicio = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &acoes, nullptr, argv.data(), environ) != 0)
        throw Erro("Cannot start " + programa);
    posix_spawn_file_actions_destroy(&acoes);
    int status = 0;
    rusage uso{};
    wait4(pid, &status, 0, &uso);
    const double parede = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw Erro("The run " + textos.back() + " failed; see " + saida + ".erros");
    auto segundos = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return {parede, segundos(uso.ru_utime) + segundos(uso.ru_stime)};
}

std::string Contar(const std::string& local, const std::string& tabela) {
    return teste::Consultar(local, "SELECT COUNT(*) FROM " + tabela)[0][0];
}

}  // namespace

int main(int argc, char** argv) {
    const int linhas = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    try {
        teste::InstalacaoTeste inst;
        const std::string programa = inst.PastaPrograma() + "/quorvel2009_2010";
        fs::copy_file(QUORVEL_PROGRAMA, programa, fs::copy_options::overwrite_existing);
        const Cronometro geracao;
        for (const auto& c : Copiadores) Gerar(inst.bases, c, linhas);
        std::printf("rows per table: %d (generated in %.1f s)\n", linhas, geracao.Parar().parede);
        std::fflush(stdout);

        const std::vector<std::string> base{"--sem-janela", "--pasta-2009", inst.Pasta2009(), "--pasta-2010",
                                            inst.Pasta2010(), "--sim"};
        const std::string saida = inst.PastaPrograma() + "/saida.txt";
        constexpr int quantidade = sizeof Copiadores / sizeof Copiadores[0];
        std::vector<Tempo> copias(quantidade, Tempo{1e300, 1e300});
        Tempo vazio{1e300, 1e300}, direto{1e300, 1e300};
        auto melhor = [](Tempo& m, const Tempo& t) {
            m.parede = std::min(m.parede, t.parede);
            m.cpu = std::min(m.cpu, t.cpu);
        };
        for (int rodada = 0; rodada < 3; ++rodada) {
            {
                teste::BasesTeste novas;
                melhor(direto, LoopDireto(novas.ArquivoAudio(), linhas));
            }
            {
                // Fresh 2010 databases for the round.
                teste::BasesTeste novas;
                fs::copy_file(novas.ArquivoAudio(), inst.bases.ArquivoAudio(), fs::copy_options::overwrite_existing);
                fs::copy_file(novas.ArquivoAdm(), inst.bases.ArquivoAdm(), fs::copy_options::overwrite_existing);
            }
            auto argumentos = base;
            argumentos.insert(argumentos.end(), {"--tabelas", ""});
            melhor(vazio, RodarPrograma(programa, argumentos, saida));
            for (int k = 0; k < quantidade; ++k) {
                const Copiador& c = Copiadores[k];
                argumentos = base;
                argumentos.insert(argumentos.end(), {"--tabelas", c.legenda});
                melhor(copias[k], RodarPrograma(programa, argumentos, saida));
                const std::string total =
                    Contar(c.adm ? inst.bases.LocalAdm() : inst.bases.LocalAudio(), c.tabela);
                if (total != std::to_string(linhas))
                    throw Erro(std::string(c.tabela) + " holds " + total + " rows after its copy");
            }
        }

        std::printf("start-up and end of a run with no table: %.3f s CPU, %.3f s wall clock\n", vazio.cpu,
                    vazio.parede);
        double menor = 1e300;
        for (int k = 0; k < quantidade; ++k) {
            const double cpu = std::max(1e-9, copias[k].cpu - vazio.cpu);
            const double parede = std::max(1e-9, copias[k].parede - vazio.parede);
            menor = std::min(menor, linhas / cpu);
            std::printf("%-16s %9.0f rows/s (wall clock %9.0f rows/s)\n", Copiadores[k].tabela, linhas / cpu,
                        linhas / parede);
        }
        std::printf("%-16s %9.0f rows/s (wall clock %9.0f rows/s)\n", "bare client loop", linhas / direto.cpu,
                    linhas / direto.parede);
        std::printf("ratio: %.2f\n", menor / (linhas / direto.cpu));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_copiadores: %s\n", e.what());
        return 1;
    }
    return 0;
}

#pragma once
// What the benchmark programs share: a stopwatch of wall-clock and process CPU time, running the
// program itself as a child process, plain client-library attachments, transactions and
// statements for the bare copies that are the yardsticks, and the bare client-library loop of the
// database layer: one prepared insert of broadcast-log rows, executed row after row in one
// transaction.
#include <fcntl.h>
#include <ibase.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sstream>
#include <string>
#include <vector>

#include "db/data_hora.h"
#include "platform/erros.h"

extern char** environ;

namespace quorvel::bench {

// Elapsed wall-clock and process CPU seconds of a loop (and, for a child process, its peak
// resident memory in bytes).
struct Tempo {
    double parede = 0, cpu = 0;
    long picoMemoria = 0;
};

class Cronometro {
public:
    Cronometro() : parede_(std::chrono::steady_clock::now()), cpu_(Cpu()) {}
    Tempo Parar() const {
        return {std::chrono::duration<double>(std::chrono::steady_clock::now() - parede_).count(),
                Cpu() - cpu_};
    }

private:
    static double Cpu() {
        timespec t;
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
    }
    std::chrono::steady_clock::time_point parede_;
    double cpu_;
};

inline const char* const Insercao =
    "INSERT INTO TB_IRRADIACAO (   irr_codigo, irr_contrato, irr_cliente, irr_break, "
    "irr_nomedispositivo,   irr_tempo, irr_tipo, irr_data, irr_hora, irr_arquivo ) VALUES (   "
    "gen_id(GEN_IRRADIACAO, 1), :pIrr_contrato, :pIrr_cliente, :pIrr_break, "
    ":pIrr_nomedispositivo,   :pIrr_tempo, :pIrr_tipo, :pIrr_data, :pIrr_hora, :pIrr_arquivo )";

// The values of row i, the same for both loops.
struct Valores {
    std::string contrato, cliente, brk, dispositivo, tempo, tipo, hora, arquivo;
    DataHora data;
    void De(int i) {
        char b[64];
        std::snprintf(b, sizeof b, "CT-%06d", i % 5000);
        contrato = b;
        std::snprintf(b, sizeof b, "Cliente n\xFAmero %d Com\xE9rcio Ltda", i % 300);
        cliente = b;
        std::snprintf(b, sizeof b, "%02d:%02d", (i / 60) % 24, i % 60);
        brk = b;
        hora = b;
        std::snprintf(b, sizeof b, "V%07d", i);
        dispositivo = b;
        arquivo = dispositivo + ".mp3";
        tempo = "00:30";
        tipo = (i % 2) ? "C" : "V";
        data = DataHora{40000 + i % 365, 0};
    }
};

inline void Verificar(const ISC_STATUS* st) {
    if (st[0] == 1 && st[1]) {
        char msg[512];
        const ISC_STATUS* p = st;
        fb_interpret(msg, sizeof msg, &p);
        throw Erro(msg);
    }
}

// A client-library attachment of SYSDBA.
inline isc_db_handle Conectar(const std::string& local) {
    ISC_STATUS_ARRAY st;
    isc_db_handle db = 0;
    const std::string dpb = std::string(1, isc_dpb_version1) + char(isc_dpb_user_name) + char(6) + "SYSDBA" +
                            char(isc_dpb_password) + char(9) + "quindorex";
    isc_attach_database(st, 0, local.c_str(), &db, static_cast<short>(dpb.size()), dpb.data());
    Verificar(st);
    return db;
}

// A transaction as the program starts them: read committed, record versions, no wait.
inline isc_tr_handle Iniciar(isc_db_handle& db) {
    ISC_STATUS_ARRAY st;
    isc_tr_handle tr = 0;
    const char tpb[] = {isc_tpb_version3, isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_nowait};
    isc_start_transaction(st, &tr, 1, &db, static_cast<unsigned short>(sizeof tpb), tpb);
    Verificar(st);
    return tr;
}

// A statement with its descriptor area.
struct Comando {
    isc_stmt_handle stmt = 0;
    std::vector<char> area;
    XSQLDA* da() { return reinterpret_cast<XSQLDA*>(area.data()); }
};

inline void Preparar(Comando& c, isc_db_handle& db, isc_tr_handle& tr, const std::string& texto) {
    ISC_STATUS_ARRAY st;
    isc_dsql_allocate_statement(st, &db, &c.stmt);
    Verificar(st);
    isc_dsql_prepare(st, &tr, &c.stmt, 0, texto.c_str(), 1, nullptr);
    Verificar(st);
}

// Describes the statement's input (`entrada`) or output columns into its area of `n` entries.
inline void Descrever(Comando& c, int n, bool entrada) {
    ISC_STATUS_ARRAY st;
    c.area.assign(XSQLDA_LENGTH(n), 0);
    c.da()->version = SQLDA_VERSION1;
    c.da()->sqln = static_cast<short>(n);
    if (entrada)
        isc_dsql_describe_bind(st, &c.stmt, 1, c.da());
    else
        isc_dsql_describe(st, &c.stmt, 1, c.da());
    Verificar(st);
}

// A statement text with its named parameters (":name") turned into positional markers, and the
// names in the markers' order.
inline std::string TextoPosicional(const std::string& texto, std::vector<std::string>* nomes = nullptr) {
    std::string posicional;
    for (size_t i = 0; i < texto.size(); ++i) {
        if (texto[i] != ':') {
            posicional += texto[i];
            continue;
        }
        size_t j = i + 1;
        while (j < texto.size() && (std::isalnum(static_cast<unsigned char>(texto[j])) || texto[j] == '_')) ++j;
        if (nomes) nomes->push_back(texto.substr(i + 1, j - i - 1));
        posicional += '?';
        i = j - 1;
    }
    return posicional;
}

// The program the benchmarks run: the build's own, or QUORVEL_BENCH_PROGRAMA (another build of
// it, for comparing two builds on the same data).
inline std::string ProgramaMedido() {
    if (const char* p = std::getenv("QUORVEL_BENCH_PROGRAMA")) return p;
#ifdef QUORVEL_PROGRAMA
    return QUORVEL_PROGRAMA;
#else
    throw Erro("No program to measure");
#endif
}

// Runs the program to its end with its output in files (standard error in `saida`.erros); its
// CPU and wall-clock seconds and its peak memory. QUORVEL_BENCH_PREFIXO puts a command before the
// program's (for example "valgrind --tool=callgrind").
inline Tempo RodarPrograma(const std::string& programa, const std::vector<std::string>& argumentos,
                    const std::string& saida) {
    std::vector<std::string> textos;
    if (const char* prefixo = std::getenv("QUORVEL_BENCH_PREFIXO")) {
        std::istringstream palavras(prefixo);
        for (std::string p; palavras >> p;) textos.push_back(p);
    }
    textos.push_back(programa);
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
    if (posix_spawnp(&pid, argv[0], &acoes, nullptr, argv.data(), environ) != 0)
        throw Erro("Cannot start " + programa);
    posix_spawn_file_actions_destroy(&acoes);
    int status = 0;
    rusage uso{};
    wait4(pid, &status, 0, &uso);
    const double parede = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw Erro("The run " + textos.back() + " failed; see " + saida + ".erros");
    auto segundos = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return {parede, segundos(uso.ru_utime) + segundos(uso.ru_stime), uso.ru_maxrss * 1024L};
}

inline Tempo LoopDireto(const std::string& local, int linhas) {
    ISC_STATUS_ARRAY st;
    isc_db_handle db = Conectar(local);
    isc_tr_handle tr = Iniciar(db);
    isc_stmt_handle stmt = 0;
    isc_dsql_allocate_statement(st, &db, &stmt);
    Verificar(st);
    const std::string posicional = TextoPosicional(Insercao);
    isc_dsql_prepare(st, &tr, &stmt, 0, posicional.c_str(), 1, nullptr);
    Verificar(st);
    const int n = 9;
    std::vector<char> area(XSQLDA_LENGTH(n));
    auto* in = reinterpret_cast<XSQLDA*>(area.data());
    in->version = SQLDA_VERSION1;
    in->sqln = n;
    isc_dsql_describe_bind(st, &stmt, 1, in);
    Verificar(st);
    std::vector<short> ind(n, 0);
    ISC_TIMESTAMP ts{};
    Valores v;
    auto texto_em = [&](int k, const std::string& s) {
        in->sqlvar[k].sqltype = SQL_TEXT | 1;
        in->sqlvar[k].sqllen = static_cast<short>(s.size());
        in->sqlvar[k].sqldata = const_cast<char*>(s.data());
        in->sqlvar[k].sqlind = &ind[k];
    };
    const Cronometro cronometro;
    for (int i = 0; i < linhas; ++i) {
        v.De(i);
        texto_em(0, v.contrato);
        texto_em(1, v.cliente);
        texto_em(2, v.brk);
        texto_em(3, v.dispositivo);
        texto_em(4, v.tempo);
        texto_em(5, v.tipo);
        ts.timestamp_date = v.data.dia + 15018;
        ts.timestamp_time = v.data.tempo;
        in->sqlvar[6].sqltype = SQL_TIMESTAMP | 1;
        in->sqlvar[6].sqllen = sizeof ts;
        in->sqlvar[6].sqldata = reinterpret_cast<char*>(&ts);
        in->sqlvar[6].sqlind = &ind[6];
        texto_em(7, v.hora);
        texto_em(8, v.arquivo);
        isc_dsql_execute(st, &tr, &stmt, 1, in);
        Verificar(st);
    }
    isc_commit_retaining(st, &tr);
    Verificar(st);
    const Tempo t = cronometro.Parar();
    isc_dsql_free_statement(st, &stmt, DSQL_drop);
    isc_rollback_transaction(st, &tr);
    isc_detach_database(st, &db);
    return t;
}

}  // namespace quorvel::bench

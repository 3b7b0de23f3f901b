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
// The bare loop inserts light rows and reads nothing, while a copier also reads every row and
// the contacts' rows carry a text blob each. So that the slowest copier can be judged against
// the same work, a bare client-library copy of TB_AGENDA (the contacts' fetch with their blobs
// and the same insert, prepared once) is measured too.
//
// Usage: bench_copiadores [rows [caption...]]   (default 100000 rows, all seven copiers). Prints
// each copier's rate, the bare loop's rate, and "ratio: X" (the slowest straight copier's rate /
// the bare loop's rate; the straight copiers are the six plain tables of the audio database, the
// contacts' copy being judged against its bare copy). For a profile, QUORVEL_BENCH_PREFIXO puts a command before the program's (for example
// "valgrind --tool=callgrind"); there is then one round only.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "apoio/bases_teste.h"
#include "apoio/instalacao_teste.h"
#include "bench/bench_apoio.h"
#include "migration/tabelas_diretas.h"
#include "platform/erros.h"
#include "platform/texto.h"

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
    return {parede, segundos(uso.ru_utime) + segundos(uso.ru_stime)};
}

// A client-library attachment of SYSDBA.
isc_db_handle Conectar(const std::string& local) {
    ISC_STATUS_ARRAY st;
    isc_db_handle db = 0;
    const std::string dpb = std::string(1, isc_dpb_version1) + char(isc_dpb_user_name) + char(6) + "SYSDBA" +
                            char(isc_dpb_password) + char(9) + "quindorex";
    isc_attach_database(st, 0, local.c_str(), &db, static_cast<short>(dpb.size()), dpb.data());
    Verificar(st);
    return db;
}

isc_tr_handle Iniciar(isc_db_handle& db) {
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

void Preparar(Comando& c, isc_db_handle& db, isc_tr_handle& tr, const std::string& texto) {
    ISC_STATUS_ARRAY st;
    isc_dsql_allocate_statement(st, &db, &c.stmt);
    Verificar(st);
    isc_dsql_prepare(st, &tr, &c.stmt, 0, texto.c_str(), 1, nullptr);
    Verificar(st);
}

void Descrever(Comando& c, int n, bool entrada) {
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

// The bare copy of TB_AGENDA: every source row fetched, its blob read whole, and inserted
// with the contacts' insert (positional markers), its blob written anew. NULL texts become empty
// texts and NULL integers 0, as the copier reads them. One transaction, committed at the end.
Tempo CopiaDiretaAgenda(const std::string& origem, const std::string& destino) {
    const DescricaoCopia& d = DescricaoAgenda();
    // The insert with positional markers, and the mapping's entries in the markers' order.
    std::string posicional;
    std::vector<const Mapeamento*> ordem;
    for (size_t i = 0; i < d.insercao.size(); ++i) {
        if (d.insercao[i] != ':') {
            posicional += d.insercao[i];
            continue;
        }
        size_t j = i + 1;
        while (j < d.insercao.size() && (std::isalnum(static_cast<unsigned char>(d.insercao[j])) || d.insercao[j] == '_'))
            ++j;
        const std::string nome = d.insercao.substr(i + 1, j - i - 1);
        for (const auto& m : d.mapeamento)
            if (nome == m.parametro) ordem.push_back(&m);
        posicional += '?';
        i = j - 1;
    }

    ISC_STATUS_ARRAY st;
    isc_db_handle dbOrigem = Conectar(origem), dbDestino = Conectar(destino);
    isc_tr_handle trOrigem = Iniciar(dbOrigem), trDestino = Iniciar(dbDestino);
    Comando leitura, insercao;
    Preparar(leitura, dbOrigem, trOrigem, "SELECT * FROM TB_AGENDA ORDER BY age_codigo");
    Descrever(leitura, 40, false);
    Preparar(insercao, dbDestino, trDestino, posicional);
    Descrever(insercao, static_cast<int>(ordem.size()), true);

    XSQLDA* saida = leitura.da();
    std::vector<std::vector<char>> dados(saida->sqld);
    std::vector<short> nulos(saida->sqld);
    std::vector<int> coluna(ordem.size(), -1);
    for (int k = 0; k < saida->sqld; ++k) {
        XSQLVAR& v = saida->sqlvar[k];
        dados[k].resize(static_cast<size_t>(v.sqllen) + 2);
        v.sqldata = dados[k].data();
        v.sqlind = &nulos[k];
        const std::string nome(v.aliasname, static_cast<size_t>(v.aliasname_length));
        for (size_t p = 0; p < ordem.size(); ++p)
            if (nome == MaiusculasAscii(ordem[p]->coluna)) coluna[p] = k;
    }
    XSQLDA* entrada = insercao.da();
    std::vector<std::string> textos(ordem.size());
    std::vector<ISC_LONG> inteiros(ordem.size());
    std::vector<ISC_QUAD> blobs(ordem.size());
    std::vector<short> nulosEntrada(ordem.size(), 0);

    const Cronometro cronometro;
    isc_dsql_execute(st, &trOrigem, &leitura.stmt, 1, nullptr);
    Verificar(st);
    for (;;) {
        const ISC_STATUS r = isc_dsql_fetch(st, &leitura.stmt, 1, saida);
        if (r == 100) break;
        Verificar(st);
        for (size_t p = 0; p < ordem.size(); ++p) {
            XSQLVAR& de = saida->sqlvar[coluna[p]];
            XSQLVAR& para = entrada->sqlvar[p];
            para.sqlind = &nulosEntrada[p];
            const bool nulo = nulos[coluna[p]] < 0;
            switch (de.sqltype & ~1) {
                case SQL_VARYING: {
                    const auto tamanho = *reinterpret_cast<short*>(de.sqldata);
                    textos[p].assign(nulo ? "" : std::string(de.sqldata + 2, static_cast<size_t>(tamanho)));
                    break;
                }
                case SQL_TEXT: textos[p].assign(nulo ? "" : std::string(de.sqldata, static_cast<size_t>(de.sqllen))); break;
                case SQL_LONG: inteiros[p] = nulo ? 0 : *reinterpret_cast<ISC_LONG*>(de.sqldata); break;
                case SQL_BLOB: {
                    textos[p].clear();
                    if (nulo) break;
                    isc_blob_handle blob = 0;
                    isc_open_blob2(st, &dbOrigem, &trOrigem, &blob, reinterpret_cast<ISC_QUAD*>(de.sqldata), 0, nullptr);
                    Verificar(st);
                    // The blob's length first, then exactly that many bytes: asking for a
                    // segment past the end costs the client library an exception.
                    const char pedido[] = {isc_info_blob_total_length};
                    char info[32];
                    isc_blob_info(st, &blob, sizeof pedido, pedido, sizeof info, info);
                    Verificar(st);
                    long restante = 0;
                    if (info[0] == isc_info_blob_total_length) {
                        const short n = static_cast<short>(isc_vax_integer(info + 1, 2));
                        restante = isc_vax_integer(info + 3, n);
                    }
                    char segmento[8192];
                    while (restante > 0) {
                        unsigned short lido = 0;
                        const ISC_STATUS s = isc_get_segment(st, &blob, &lido, sizeof segmento, segmento);
                        if (s == isc_segstr_eof) break;
                        if (s != 0 && s != isc_segment) Verificar(st);
                        textos[p].append(segmento, lido);
                        restante -= lido;
                    }
                    isc_close_blob(st, &blob);
                    Verificar(st);
                    break;
                }
                default: throw Erro("Unexpected column type in TB_AGENDA");
            }
            if ((de.sqltype & ~1) == SQL_LONG) {
                para.sqltype = SQL_LONG | 1;
                para.sqllen = sizeof(ISC_LONG);
                para.sqlscale = 0;
                para.sqldata = reinterpret_cast<char*>(&inteiros[p]);
            } else if ((de.sqltype & ~1) == SQL_BLOB) {
                isc_blob_handle blob = 0;
                blobs[p] = ISC_QUAD{};
                isc_create_blob2(st, &dbDestino, &trDestino, &blob, &blobs[p], 0, nullptr);
                Verificar(st);
                if (!textos[p].empty()) {
                    isc_put_segment(st, &blob, static_cast<unsigned short>(textos[p].size()), textos[p].data());
                    Verificar(st);
                }
                isc_close_blob(st, &blob);
                Verificar(st);
                para.sqltype = SQL_BLOB | 1;
                para.sqllen = sizeof(ISC_QUAD);
                para.sqldata = reinterpret_cast<char*>(&blobs[p]);
            } else {
                para.sqltype = SQL_TEXT | 1;
                para.sqllen = static_cast<short>(textos[p].size());
                para.sqldata = textos[p].data();
            }
        }
        isc_dsql_execute(st, &trDestino, &insercao.stmt, 1, entrada);
        Verificar(st);
    }
    isc_commit_retaining(st, &trDestino);
    Verificar(st);
    const Tempo t = cronometro.Parar();
    isc_dsql_free_statement(st, &leitura.stmt, DSQL_drop);
    isc_dsql_free_statement(st, &insercao.stmt, DSQL_drop);
    isc_rollback_transaction(st, &trOrigem);
    isc_rollback_transaction(st, &trDestino);
    isc_detach_database(st, &dbOrigem);
    isc_detach_database(st, &dbDestino);
    return t;
}

std::string Contar(const std::string& local, const std::string& tabela) {
    return teste::Consultar(local, "SELECT COUNT(*) FROM " + tabela)[0][0];
}

}  // namespace

int main(int argc, char** argv) {
    const int linhas = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    std::vector<const Copiador*> escolhidos;
    for (int i = 2; i < argc; ++i)
        for (const auto& c : Copiadores)
            if (std::string(argv[i]) == c.legenda) escolhidos.push_back(&c);
    if (argc <= 2)
        for (const auto& c : Copiadores) escolhidos.push_back(&c);
    const int rodadas = std::getenv("QUORVEL_BENCH_PREFIXO") ? 1 : 3;
    try {
        teste::InstalacaoTeste inst;
        const std::string programa = inst.PastaPrograma() + "/quorvel2009_2010";
        fs::copy_file(QUORVEL_PROGRAMA, programa, fs::copy_options::overwrite_existing);
        const Cronometro geracao;
        for (const Copiador* c : escolhidos) Gerar(inst.bases, *c, linhas);
        std::printf("rows per table: %d (generated in %.1f s)\n", linhas, geracao.Parar().parede);
        std::fflush(stdout);

        const std::vector<std::string> base{"--sem-janela", "--pasta-2009", inst.Pasta2009(), "--pasta-2010",
                                            inst.Pasta2010(), "--sim"};
        const std::string saida = inst.PastaPrograma() + "/saida.txt";
        const int quantidade = static_cast<int>(escolhidos.size());
        std::vector<Tempo> copias(quantidade, Tempo{1e300, 1e300});
        Tempo vazio{1e300, 1e300}, direto{1e300, 1e300}, agendaDireta{1e300, 1e300};
        bool comAgenda = false;
        for (const Copiador* c : escolhidos) comAgenda = comAgenda || std::string(c->tabela) == "TB_AGENDA";
        auto melhor = [](Tempo& m, const Tempo& t) {
            m.parede = std::min(m.parede, t.parede);
            m.cpu = std::min(m.cpu, t.cpu);
        };
        for (int rodada = 0; rodada < rodadas; ++rodada) {
            {
                teste::BasesTeste novas;
                melhor(direto, LoopDireto(novas.ArquivoAudio(), linhas));
            }
            if (comAgenda) {
                teste::BasesTeste novas;
                melhor(agendaDireta, CopiaDiretaAgenda(inst.bases.Arquivo2009(), novas.ArquivoAdm()));
                if (Contar(novas.ArquivoAdm(), "TB_AGENDA") != std::to_string(linhas))
                    throw Erro("The bare copy of TB_AGENDA did not copy every row");
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
                const Copiador& c = *escolhidos[k];
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
            // The ratio is that of the straight copiers: the six plain tables of the audio
            // database. The contacts' copy (16 columns and a text blob a row) is measured against
            // a bare copy of the same rows below.
            if (!escolhidos[k]->adm) menor = std::min(menor, linhas / cpu);
            std::printf("%-16s %9.0f rows/s (wall clock %9.0f rows/s)\n", escolhidos[k]->tabela, linhas / cpu,
                        linhas / parede);
        }
        std::printf("%-16s %9.0f rows/s (wall clock %9.0f rows/s)\n", "bare client loop", linhas / direto.cpu,
                    linhas / direto.parede);
        if (comAgenda) {
            double agenda = 0;
            for (int k = 0; k < quantidade; ++k)
                if (std::string(escolhidos[k]->tabela) == "TB_AGENDA")
                    agenda = linhas / std::max(1e-9, copias[k].cpu - vazio.cpu);
            std::printf("%-16s %9.0f rows/s (wall clock %9.0f rows/s); TB_AGENDA copier / bare copy: %.2f\n",
                        "bare TB_AGENDA copy", linhas / agendaDireta.cpu, linhas / agendaDireta.parede,
                        agenda / (linhas / agendaDireta.cpu));
        }
        if (menor < 1e300) std::printf("ratio: %.2f\n", menor / (linhas / direto.cpu));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_copiadores: %s\n", e.what());
        return 1;
    }
    return 0;
}

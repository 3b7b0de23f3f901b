// The play-log migration at a station's scale: rows per second and peak memory of the real
// program's Ecad run through the terminal front end, against a bare client-library copy of the
// same rows with the same translation of the music codes.
//
// The 2009 database gets R play-log rows (default 1,000,000) naming M musics (20,000) and a few
// codes that no 2010 music has; the 2010 audio database (forced writes on, as Firebird creates
// it) gets the M musics with their 2009 codes in MUS_CODIGO_ANTIGO, as the music migration leaves
// them, a few of them sharing one code. Each round copies a fresh 2010 database and runs:
//   - the program with no table checked (start-up, connections, end of a run) and with Ecad;
//     the copy's time is the difference of the two, in CPU time (user + system, which other jobs
//     on a shared machine do not disturb) and in wall-clock time;
//   - the bare copy in this process: every source row fetched, its music code translated through
//     the 2009-to-2010 code map read once from TB_MUSICAS (the first row the table gives for a
//     code, as the lookup's own statement would), and inserted with the play log's insert
//     prepared once, in one transaction.
// The best of each over the rounds counts. Peak memory is the program's peak resident set; the
// cost of a buffered source row is the growth of that peak over the run with no table, divided
// by the rows.
//
//   bench_ecad [R [M]]
//
// QUORVEL_BENCH_RODADAS sets the rounds (default 3); QUORVEL_BENCH_RESULTADOS names a folder that
// receives every 2010 play-log row the last run made, for comparing two builds of the program.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unordered_map>
#include <vector>

#include "apoio/bases_teste.h"
#include "apoio/instalacao_teste.h"
#include "bench/bench_apoio.h"
#include "apoio/criacao.h"
#include "platform/erros.h"

using namespace quorvel;
using namespace quorvel::bench;
namespace fs = std::filesystem;

namespace {

const char* const InsercaoEcad =
    "INSERT INTO TB_ECAD (   eca_codigo, eca_data, eca_hora, mus_codigo) VALUES (   gen_id(GEN_ECAD, 1), "
    "?, ?, ? )";

void Gerar2009(teste::BasesTeste& bases, int linhas, int musicas) {
    // Codes 1..M + M/50: the last fiftieth have no 2010 music and are left out by the copy.
    bases.Executar2009("SET TERM ^ ;\nEXECUTE BLOCK AS DECLARE i INTEGER = 1; BEGIN\n  WHILE (i <= " +
                       std::to_string(linhas) +
                       ") DO BEGIN\n"
                       "    INSERT INTO TB_ECAD VALUES (: i, CAST('2009-01-01' AS DATE) + MOD(: i, 365), "
                       "LPAD(MOD(: i / 3600, 24), 2, '0') || ':' || LPAD(MOD(: i / 60, 60), 2, '0') || ':' || "
                       "LPAD(MOD(: i, 60), 2, '0'), MOD(: i * 7, " +
                       std::to_string(musicas + musicas / 50) + ") + 1);\n    i = i + 1;\n  END\nEND^\nSET TERM ; ^\n");
}

// The 2010 audio database after a music migration: M musics, 2010 code i for 2009 code M + 1 - i;
// every thousandth music also repeats the 2009 code of the one before it.
void Gerar2010(const std::string& arquivo, int musicas) {
    CriarBaseDados(arquivo, teste::UsuarioBanco, teste::SenhaBanco, true);
    teste::ExecutarSql(arquivo, teste::LerFixture("base2010_audio.sql"));
    teste::ExecutarSql(arquivo, "ALTER TABLE TB_MUSICAS ADD MUS_CODIGO_ANTIGO INTEGER;");
    teste::ExecutarSql(arquivo, "SET TERM ^ ;\nEXECUTE BLOCK AS DECLARE i INTEGER = 1; DECLARE k INTEGER; BEGIN\n"
                                "  WHILE (i <= " + std::to_string(musicas) + ") DO BEGIN\n"
                                "    k = " + std::to_string(musicas + 1) + " - i; IF (MOD(i, 1000) = 0) THEN k = k + 1;\n"
                                "    INSERT INTO TB_MUSICAS (MUS_CODIGO, MUS_NOME, MUS_CODIGO_ANTIGO) VALUES "
                                "(: i, 'M' || : i, : k);\n"
                                "    i = i + 1;\n  END\nEND^\nSET TERM ; ^\n"
                                "SET GENERATOR GEN_MUSICAS TO " + std::to_string(musicas) + ";\n");
}

// The bare copy: the code map read once, then every row fetched, translated and inserted.
Tempo CopiaDireta(const std::string& origem, const std::string& destino, int64_t& inseridas) {
    ISC_STATUS_ARRAY st;
    isc_db_handle dbOrigem = Conectar(origem), dbDestino = Conectar(destino);
    isc_tr_handle trOrigem = Iniciar(dbOrigem), trDestino = Iniciar(dbDestino);
    Comando mapa, leitura, insercao;
    Preparar(mapa, dbDestino, trDestino, "SELECT MUS_CODIGO_ANTIGO, MUS_CODIGO FROM TB_MUSICAS");
    Descrever(mapa, 2, false);
    Preparar(leitura, dbOrigem, trOrigem, "SELECT * FROM TB_ECAD ORDER BY eca_codigo");
    Descrever(leitura, 4, false);
    Preparar(insercao, dbDestino, trDestino, InsercaoEcad);
    Descrever(insercao, 3, true);

    ISC_LONG antigo = 0, novo = 0;
    short nuloAntigo = 0, nuloNovo = 0;
    XSQLDA* m = mapa.da();
    m->sqlvar[0].sqldata = reinterpret_cast<char*>(&antigo);
    m->sqlvar[0].sqlind = &nuloAntigo;
    m->sqlvar[1].sqldata = reinterpret_cast<char*>(&novo);
    m->sqlvar[1].sqlind = &nuloNovo;

    XSQLDA* saida = leitura.da();
    ISC_LONG codigo = 0, musica = 0;
    ISC_TIMESTAMP data{};
    char hora[2 + 8 + 2];
    short nulos[4] = {0, 0, 0, 0};
    char* dados[4] = {reinterpret_cast<char*>(&codigo), reinterpret_cast<char*>(&data), hora,
                      reinterpret_cast<char*>(&musica)};
    for (int k = 0; k < 4; ++k) {
        saida->sqlvar[k].sqldata = dados[k];
        saida->sqlvar[k].sqlind = &nulos[k];
    }
    if ((saida->sqlvar[1].sqltype & ~1) != SQL_TIMESTAMP || (saida->sqlvar[2].sqltype & ~1) != SQL_VARYING ||
        saida->sqlvar[2].sqllen > 8)
        throw Erro("Unexpected TB_ECAD columns");

    XSQLDA* entrada = insercao.da();
    short nulosEntrada[3] = {0, 0, 0};
    std::string textoHora;
    ISC_TIMESTAMP dataEntrada{};
    ISC_LONG codigo2010 = 0;

    const Cronometro cronometro;
    std::unordered_map<ISC_LONG, ISC_LONG> codigos;
    isc_dsql_execute(st, &trDestino, &mapa.stmt, 1, nullptr);
    Verificar(st);
    while (isc_dsql_fetch(st, &mapa.stmt, 1, m) == 0)
        if (nuloAntigo == 0) codigos.emplace(antigo, nuloNovo == 0 ? novo : 0);
    isc_dsql_free_statement(st, &mapa.stmt, DSQL_close);

    isc_dsql_execute(st, &trOrigem, &leitura.stmt, 1, nullptr);
    Verificar(st);
    for (;;) {
        const ISC_STATUS r = isc_dsql_fetch(st, &leitura.stmt, 1, saida);
        if (r == 100) break;
        Verificar(st);
        // A NULL date reads as the zero date-time, a NULL time as the empty text, a NULL code as 0.
        dataEntrada = nulos[1] < 0 ? ISC_TIMESTAMP{15018, 0} : data;
        short tamanho = 0;
        std::memcpy(&tamanho, hora, sizeof tamanho);
        textoHora.assign(nulos[2] < 0 ? "" : std::string(hora + 2, static_cast<size_t>(tamanho)));
        const auto achado = codigos.find(nulos[3] < 0 ? 0 : musica);
        codigo2010 = achado == codigos.end() ? 0 : achado->second;
        if (codigo2010 <= 0) continue;
        XSQLVAR* v = entrada->sqlvar;
        v[0].sqltype = SQL_TIMESTAMP | 1;
        v[0].sqllen = sizeof dataEntrada;
        v[0].sqldata = reinterpret_cast<char*>(&dataEntrada);
        v[0].sqlind = &nulosEntrada[0];
        v[1].sqltype = SQL_TEXT | 1;
        v[1].sqllen = static_cast<short>(textoHora.size());
        v[1].sqldata = textoHora.data();
        v[1].sqlind = &nulosEntrada[1];
        v[2].sqltype = SQL_LONG | 1;
        v[2].sqllen = sizeof codigo2010;
        v[2].sqlscale = 0;
        v[2].sqldata = reinterpret_cast<char*>(&codigo2010);
        v[2].sqlind = &nulosEntrada[2];
        isc_dsql_execute(st, &trDestino, &insercao.stmt, 1, entrada);
        Verificar(st);
        ++inseridas;
    }
    isc_commit_retaining(st, &trDestino);
    Verificar(st);
    const Tempo t = cronometro.Parar();
    isc_dsql_free_statement(st, &mapa.stmt, DSQL_drop);
    isc_dsql_free_statement(st, &leitura.stmt, DSQL_drop);
    isc_dsql_free_statement(st, &insercao.stmt, DSQL_drop);
    isc_rollback_transaction(st, &trOrigem);
    isc_rollback_transaction(st, &trDestino);
    isc_detach_database(st, &dbOrigem);
    isc_detach_database(st, &dbDestino);
    return t;
}

int Contar(const std::string& local) {
    return std::stoi(teste::Consultar(local, "SELECT COUNT(*) FROM TB_ECAD").at(0).at(0));
}

}  // namespace

int main(int argc, char** argv) {
    const int linhas = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000000;
    const int musicas = argc > 2 ? std::max(2, std::atoi(argv[2])) : 20000;
    const char* r = std::getenv("QUORVEL_BENCH_RODADAS");
    const int rodadas = r ? std::max(1, std::atoi(r)) : 3;
    try {
        teste::InstalacaoTeste inst;
        const std::string programa = inst.PastaPrograma() + "/quorvel2009_2010";
        fs::copy_file(ProgramaMedido(), programa, fs::copy_options::overwrite_existing);
        const std::string modelo = inst.unidades.Raiz().Caminho() + "/AUDIO-MODELO.FDB";
        const Cronometro geracao;
        Gerar2009(inst.bases, linhas, musicas);
        Gerar2010(modelo, musicas);
        std::printf("play-log rows: %d, 2010 musics: %d (generated in %.1f s)\n", linhas, musicas,
                    geracao.Parar().parede);
        std::fflush(stdout);

        const std::vector<std::string> base{"--sem-janela", "--pasta-2009", inst.Pasta2009(), "--pasta-2010",
                                            inst.Pasta2010(), "--sim", "--tabelas"};
        const std::string saida = inst.PastaPrograma() + "/saida.txt";
        Tempo vazio{1e300, 1e300, 0}, ecad{1e300, 1e300, 0}, direto{1e300, 1e300, 0};
        auto melhor = [](Tempo& m, const Tempo& t) {
            m.parede = std::min(m.parede, t.parede);
            m.cpu = std::min(m.cpu, t.cpu);
            m.picoMemoria = std::max(m.picoMemoria, t.picoMemoria);
        };
        int64_t esperadas = 0;
        for (int rodada = 0; rodada < rodadas; ++rodada) {
            {
                const std::string destino = inst.unidades.Raiz().Caminho() + "/AUDIO-DIRETO.FDB";
                fs::copy_file(modelo, destino, fs::copy_options::overwrite_existing);
                int64_t inseridas = 0;
                melhor(direto, CopiaDireta(inst.bases.Local2009(), destino, inseridas));
                esperadas = inseridas;
                fs::remove(destino);
            }
            fs::copy_file(modelo, inst.bases.ArquivoAudio(), fs::copy_options::overwrite_existing);
            fs::remove(inst.ArquivoSeqHost());
            auto argumentos = base;
            argumentos.push_back("");
            melhor(vazio, RodarPrograma(programa, argumentos, saida));
            argumentos.back() = "Ecad";
            melhor(ecad, RodarPrograma(programa, argumentos, saida));
            const int copiadas = Contar(inst.bases.LocalAudio());
            if (copiadas != esperadas)
                throw Erro("The program copied " + std::to_string(copiadas) + " rows, the bare copy " +
                           std::to_string(esperadas));
        }
        const double cpu = std::max(1e-9, ecad.cpu - vazio.cpu);
        const double parede = std::max(1e-9, ecad.parede - vazio.parede);
        std::printf("rows copied: %lld of %d (the others name no 2010 music)\n", static_cast<long long>(esperadas),
                    linhas);
        std::printf("start-up and end of a run with no table: %.3f s CPU, %.3f s wall clock\n", vazio.cpu,
                    vazio.parede);
        std::printf("program, Ecad: %.0f rows/s (%.2f s CPU; wall clock %.0f rows/s)\n", linhas / cpu, cpu,
                    linhas / parede);
        std::printf("bare copy:     %.0f rows/s (%.2f s CPU; wall clock %.0f rows/s)\n", linhas / direto.cpu,
                    direto.cpu, linhas / direto.parede);
        std::printf("peak memory: %.1f MB (a run with no table: %.1f MB); %.0f bytes per buffered source row\n",
                    ecad.picoMemoria / 1e6, vazio.picoMemoria / 1e6,
                    static_cast<double>(ecad.picoMemoria - vazio.picoMemoria) / linhas);
        if (const char* pasta = std::getenv("QUORVEL_BENCH_RESULTADOS")) {
            fs::create_directories(pasta);
            std::ofstream f(std::string(pasta) + "/ecad.txt", std::ios::binary);
            for (const auto& linha :
                 teste::Consultar(inst.bases.LocalAudio(), "SELECT * FROM TB_ECAD ORDER BY ECA_CODIGO")) {
                for (const auto& valor : linha) f << valor << '|';
                f << '\n';
            }
        }
        std::printf("ratio: %.2f\n", (linhas / cpu) / (linhas / direto.cpu));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_ecad: %s\n", e.what());
        return 1;
    }
    return 0;
}

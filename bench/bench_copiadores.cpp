// Rows per second of the seven plain table copiers, each against a bare client-library copy of
// the same table.
//
// A 2009 database gets `rows` generated rows in each of the seven tables (one EXECUTE BLOCK per
// table). Each copier then runs alone through the terminal front end, the real program
// (quorvel2009_2010 --sem-janela --tabelas X), on embedded databases, into fresh 2010
// databases. A copier's time is the CPU time (user + system) of that run less the CPU time of a
// run with no table checked (start-up, connections, end of the run): what remains is the
// copy procedure itself, its progress refresh per row included.
//
// Its yardstick is the bare copy of the same table in this process, on fresh databases: the
// copier's own source query fetched row by row (blobs read whole), every value read by the
// copier's reading rules (a NULL text becomes the empty text, a NULL integer 0, a NULL date the
// zero date-time, a blob written anew) and inserted with the copier's own insert, prepared once,
// in one transaction committed at the end, then the databases detached as the program's run
// detaches them; its time is this process's CPU time. The embedded
// engine runs inside the measured process in both cases, so the two are comparable, and other
// programs on a shared machine disturb CPU time less than wall-clock time. Three rounds
// (QUORVEL_BENCH_RODADAS sets another number); the best of each counts.
// Wall-clock rates are printed beside, and the bare insert loop of the layer's benchmark
// (bench_apoio.h) for reference.
//
// Usage: bench_copiadores [rows [caption...]]   (default 100000 rows, all seven copiers). Prints
// each copier's rate, its bare copy's rate and their ratio, and "ratio: X" (the lowest of those
// ratios). For a profile, QUORVEL_BENCH_PREFIXO puts a command before the program's (for example
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



using namespace quorvel;
using namespace quorvel::bench;
namespace fs = std::filesystem;

namespace {

struct Copiador {
    const char* legenda;  // the --tabelas caption
    const char* tabela;
    bool adm;             // the target is the administration database
    const char* linha;    // the INSERT of row :i in the 2009 table (": i" is the loop variable)
    const DescricaoCopia& (*descricao)();
    const char* chave;
};

// ": i" with a blank: the layer takes ":name" for a parameter, the PSQL parser takes both.
const Copiador Copiadores[] = {
    {"Agenda", "TB_AGENDA", true,
     "INSERT INTO TB_AGENDA VALUES (: i, 'Contato n\xBA ' || : i, '11 5555-' || : i, NULL, '11 9' || : i, "
     "'Rua das Ac\xE1" "cias, ' || : i, 'S\xE3o Paulo', 'SP', '01234-000', 'contato' || : i || '@radio.example', "
     "NULL, MOD(: i, 28) + 1, MOD(: i, 12) + 1, NULL, 'skype' || : i, 'Observa\xE7\xE3o do contato ' || : i, "
     "'Centro')", DescricaoAgenda, "age_codigo"},
    {"AvancoManual", "TB_AVANCOMANUAL", false,
     "INSERT INTO TB_AVANCOMANUAL VALUES (: i, '08:00:00', '09:00:00', 'S', 'N', 'S', 'N', 'S', 'N', 'S')", DescricaoAvancoManual, "ava_codigo"},
    {"PerfilBotoes", "TB_PERFILBOTOES", false,
     "INSERT INTO TB_PERFILBOTOES VALUES (: i, 'Perfil ' || : i, MOD(: i, 40))", DescricaoPerfilBotoes, "pbo_codigo"},
    {"Botoneira", "TB_BOTONEIRA", false,
     "INSERT INTO TB_BOTONEIRA VALUES (: i, 'C:\\Vinhetas\\V' || : i || '.mp3', 'Bot\xE3o ' || : i, 'N', "
     "'F' || MOD(: i, 12), : i, MOD(: i, 50), 'V', NULL, MOD(: i, 10))", DescricaoBotoneira, "bt_codigo"},
    {"Genero", "TB_GENERO", false, "INSERT INTO TB_GENERO VALUES (: i, 'G\xEAnero ' || : i)", DescricaoGenero, "gen_codigo"},
    {"Irradiacao", "TB_IRRADIACAO", false,
     "INSERT INTO TB_IRRADIACAO VALUES (: i, 'CT-' || MOD(: i, 5000), 'Cliente n\xFAmero ' || MOD(: i, 300), "
     "'10:00', 'V' || : i, '00:30', 'C', '2009-03-01', '10:00:00')", DescricaoIrradiacao, "irr_codigo"},
    {"ProgAuto", "TB_PROGAUTO", false,
     "INSERT INTO TB_PROGAUTO VALUES (: i, '2009-01-01', '2009-12-31', '08:00', '09:00', "
     "CASE MOD(: i, 2) WHEN 0 THEN 'S' ELSE 'C' END, 'PA' || MOD(: i, 10))", DescricaoProgAuto, "pra_codigo"},
};

void Gerar(teste::BasesTeste& bases, const Copiador& c, int linhas) {
    bases.Executar2009("SET TERM ^ ;\nEXECUTE BLOCK AS DECLARE i INTEGER = 1; BEGIN\n  WHILE (i <= " +
                       std::to_string(linhas) + ") DO BEGIN\n    " + c.linha +
                       ";\n    i = i + 1;\n  END\nEND^\nSET TERM ; ^\n");
}

// The bare copy of a table: the copier's source query fetched row by row, each value read by the
// copier's reading rules and inserted with its insert (positional markers, prepared once). One
// transaction, committed at the end.
Tempo CopiaDireta(const Copiador& c, const std::string& origem, const std::string& destino) {
    const DescricaoCopia& d = c.descricao();
    // The mapping's entries in the order of the insert's markers.
    std::vector<std::string> nomes;
    const std::string posicional = TextoPosicional(d.insercao, &nomes);
    std::vector<const Mapeamento*> ordem;
    for (const std::string& nome : nomes)
        for (const auto& m : d.mapeamento)
            if (nome == m.parametro) ordem.push_back(&m);

    ISC_STATUS_ARRAY st;
    isc_db_handle dbOrigem = Conectar(origem), dbDestino = Conectar(destino);
    isc_tr_handle trOrigem = Iniciar(dbOrigem), trDestino = Iniciar(dbDestino);
    Comando leitura, insercao;
    Preparar(leitura, dbOrigem, trOrigem,
             "SELECT " + d.colunasOrigem + " FROM " + c.tabela + " ORDER BY " + c.chave);
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
    for (int k : coluna)
        if (k < 0) throw Erro(std::string("A column of the insert is missing in the source of ") + c.tabela);
    XSQLDA* entrada = insercao.da();
    std::vector<std::string> textos(ordem.size());
    std::vector<ISC_LONG> inteiros(ordem.size());
    std::vector<ISC_TIMESTAMP> datas(ordem.size());
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
            para.sqlscale = 0;
            const bool nulo = nulos[coluna[p]] < 0;
            switch (ordem[p]->leitura) {
                case Leitura::Inteiro: {
                    inteiros[p] = 0;
                    if (!nulo && (de.sqltype & ~1) == SQL_SHORT) inteiros[p] = *reinterpret_cast<short*>(de.sqldata);
                    else if (!nulo) inteiros[p] = *reinterpret_cast<ISC_LONG*>(de.sqldata);
                    para.sqltype = SQL_LONG | 1;
                    para.sqllen = sizeof(ISC_LONG);
                    para.sqldata = reinterpret_cast<char*>(&inteiros[p]);
                    break;
                }
                case Leitura::Data: {
                    datas[p] = nulo ? ISC_TIMESTAMP{15018, 0} : *reinterpret_cast<ISC_TIMESTAMP*>(de.sqldata);
                    para.sqltype = SQL_TIMESTAMP | 1;
                    para.sqllen = sizeof(ISC_TIMESTAMP);
                    para.sqldata = reinterpret_cast<char*>(&datas[p]);
                    break;
                }
                case Leitura::Texto: {
                    if (nulo) textos[p].clear();
                    else if ((de.sqltype & ~1) == SQL_VARYING)
                        textos[p].assign(de.sqldata + 2, static_cast<size_t>(*reinterpret_cast<short*>(de.sqldata)));
                    else if ((de.sqltype & ~1) == SQL_TEXT) textos[p].assign(de.sqldata, static_cast<size_t>(de.sqllen));
                    else throw Erro(std::string("Unexpected text column type in ") + c.tabela);
                    para.sqltype = SQL_TEXT | 1;
                    para.sqllen = static_cast<short>(textos[p].size());
                    para.sqldata = textos[p].data();
                    break;
                }
                case Leitura::Blob: {
                    textos[p].clear();
                    if (!nulo) {
                        isc_blob_handle blob = 0;
                        isc_open_blob2(st, &dbOrigem, &trOrigem, &blob, reinterpret_cast<ISC_QUAD*>(de.sqldata), 0,
                                       nullptr);
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
                    }
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
                    break;
                }
            }
        }
        isc_dsql_execute(st, &trDestino, &insercao.stmt, 1, entrada);
        Verificar(st);
    }
    isc_commit_retaining(st, &trDestino);
    Verificar(st);
    // Ended as the program's run ends: statements freed, transactions ended, databases detached.
    // The engine then gives back the page cache the copy filled, which the copier's process pays
    // too (the attach is left out on both sides: the copier's is in the subtracted empty run).
    isc_dsql_free_statement(st, &leitura.stmt, DSQL_drop);
    isc_dsql_free_statement(st, &insercao.stmt, DSQL_drop);
    isc_rollback_transaction(st, &trOrigem);
    isc_rollback_transaction(st, &trDestino);
    isc_detach_database(st, &dbOrigem);
    isc_detach_database(st, &dbDestino);
    return cronometro.Parar();
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
    const char* r = std::getenv("QUORVEL_BENCH_RODADAS");
    const int rodadas = std::getenv("QUORVEL_BENCH_PREFIXO") ? 1 : r ? std::max(1, std::atoi(r)) : 3;
    try {
        teste::InstalacaoTeste inst;
        const std::string programa = inst.PastaPrograma() + "/quorvel2009_2010";
        fs::copy_file(ProgramaMedido(), programa, fs::copy_options::overwrite_existing);
        const Cronometro geracao;
        for (const Copiador* c : escolhidos) Gerar(inst.bases, *c, linhas);
        std::printf("rows per table: %d (generated in %.1f s)\n", linhas, geracao.Parar().parede);
        std::fflush(stdout);

        const std::vector<std::string> base{"--sem-janela", "--pasta-2009", inst.Pasta2009(), "--pasta-2010",
                                            inst.Pasta2010(), "--sim"};
        const std::string saida = inst.PastaPrograma() + "/saida.txt";
        const int quantidade = static_cast<int>(escolhidos.size());
        std::vector<Tempo> copias(quantidade, Tempo{1e300, 1e300}), diretas(quantidade, Tempo{1e300, 1e300});
        Tempo vazio{1e300, 1e300}, loop{1e300, 1e300};
        auto melhor = [](Tempo& m, const Tempo& t) {
            m.parede = std::min(m.parede, t.parede);
            m.cpu = std::min(m.cpu, t.cpu);
        };
        for (int rodada = 0; rodada < rodadas; ++rodada) {
            {
                teste::BasesTeste novas;
                melhor(loop, LoopDireto(novas.ArquivoAudio(), linhas));
            }
            for (int k = 0; k < quantidade; ++k) {
                const Copiador& c = *escolhidos[k];
                teste::BasesTeste novas;
                const std::string destino = c.adm ? novas.ArquivoAdm() : novas.ArquivoAudio();
                melhor(diretas[k], CopiaDireta(c, inst.bases.Arquivo2009(), destino));
                if (Contar(destino, c.tabela) != std::to_string(linhas))
                    throw Erro(std::string("The bare copy of ") + c.tabela + " did not copy every row");
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
        std::printf("%-16s %12s %12s %7s   (wall clock: copier, bare copy)\n", "", "copier", "bare copy", "ratio");
        double menor = 1e300;
        for (int k = 0; k < quantidade; ++k) {
            const double cpu = std::max(1e-9, copias[k].cpu - vazio.cpu);
            const double parede = std::max(1e-9, copias[k].parede - vazio.parede);
            const double razao = (linhas / cpu) / (linhas / diretas[k].cpu);
            menor = std::min(menor, razao);
            std::printf("%-16s %8.0f r/s %8.0f r/s %7.2f   (%8.0f r/s, %8.0f r/s)\n", escolhidos[k]->tabela,
                        linhas / cpu, linhas / diretas[k].cpu, razao, linhas / parede, linhas / diretas[k].parede);
        }
        std::printf("%-16s %8.0f r/s (wall clock %8.0f r/s)\n", "bare insert loop", linhas / loop.cpu,
                    linhas / loop.parede);
        std::printf("ratio: %.2f\n", menor);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_copiadores: %s\n", e.what());
        return 1;
    }
    return 0;
}

// The pre-flight check against a real run: on an installation with a planted problem of each
// kind it can foresee, the forecast names exactly what the run then meets, item by item, and
// the check itself leaves every file and every database (rows, metadata, generators) as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <tuple>

#include "apoio/execucao_migracao.h"
#include "apoio/relatorio_lido.h"
#include "migration/relatorio_texto.h"
#include "music/musicas_apoio.h"
#include "platform/caminhos.h"

namespace quorvel::teste {
namespace {

constexpr int kGenero = 4, kMusicas = 5, kEcad = 6, kVinhetas = 9;

const char* const kLinhas2009 =
    "INSERT INTO TB_GENERO VALUES (3, 'Samba');\n"
    // 1 registered, with a label name longer than its lookup column; 2 a duplicate of 1; 3 without
    // its file; 4 with a title longer than its 2010 column; 5 on a network share (its drive \\).
    "INSERT INTO TB_MUSICAS VALUES (1, 'Luz', 'Ana', NULL, 3, 'C:', 'M0001', 'mp3', NULL);\n"
    "INSERT INTO TB_MUSICAS VALUES (2, 'Luz', 'Ana', NULL, 3, 'C:', 'M0002', 'mp3', NULL);\n"
    "INSERT INTO TB_MUSICAS VALUES (3, 'Mar', 'Beto', NULL, 3, 'C:', 'M0404', 'mp3', NULL);\n"
    "INSERT INTO TB_MUSICAS VALUES (4, 'Uma cancao cujo titulo passa de quarenta e cinco letras', 'Caio', NULL, 3,"
    " 'C:', 'M0004', 'mp3', NULL);\n"
    "INSERT INTO TB_MUSICAS VALUES (5, 'Rede', 'Dani', NULL, 3, '\\\\', 'M0005', 'mp3', NULL);\n"
    // 10 plays music 1; 11 the duplicate; 12 a music that never was; 13 a time too long for 2010.
    "INSERT INTO TB_ECAD VALUES (10, '2009-05-01', '10:00', 1);\n"
    "INSERT INTO TB_ECAD VALUES (11, '2009-05-01', '11:00', 2);\n"
    "INSERT INTO TB_ECAD VALUES (12, '2009-05-01', '12:00', 99);\n"
    "INSERT INTO TB_ECAD VALUES (13, '2009-05-01', '13:00:00', 3);\n"
    // 1 and 3 meet a taken name (the second one taken by the first); 2 has no file; 4's name is
    // longer than the 2010 column: its row stops the run.
    "INSERT INTO TB_VINHETAS VALUES (1, 'V0001', 'Abertura', '0:05', 'mp3', 'V');\n"
    "INSERT INTO TB_VINHETAS VALUES (2, 'V0002', 'Fecho', '0:05', 'mp3', 'V');\n"
    "INSERT INTO TB_VINHETAS VALUES (3, 'V0003', 'Abertura', '0:05', 'mp3', 'V');\n"
    "INSERT INTO TB_VINHETAS VALUES (4, 'V0004', 'Vinheta longa', '0:05', 'mp3', 'V');\n";

// A 2010 installation whose play-log time and jingle name columns are narrower than the 2009 ones.
const char* const kEsquema2010 =
    "DROP TABLE TB_ECAD;\n"
    "CREATE TABLE TB_ECAD (ECA_CODIGO INTEGER NOT NULL, ECA_DATA DATE, ECA_HORA VARCHAR(5), MUS_CODIGO INTEGER,"
    " CONSTRAINT PK_ECAD PRIMARY KEY (ECA_CODIGO));\n"
    "DROP TABLE TB_VINHETAS;\n"
    "CREATE TABLE TB_VINHETAS (VIN_CODIGO INTEGER NOT NULL, VIN_NOME VARCHAR(10), VIN_TEMPO VARCHAR(8),"
    " VIN_TIPO CHAR(1), VIN_ARQUIVO VARCHAR(256), CAV_CODIGO INTEGER, VIN_SEGUNDOS INTEGER,"
    " CONSTRAINT PK_VINHETAS PRIMARY KEY (VIN_CODIGO));\n";

// An item as both reports tell it: what happened, to which row, and the detail both must share.
using Item = std::tuple<std::string, Ocorrencia, int64_t, std::string>;

std::vector<Item> Comparaveis(const RelatorioLido& r, bool previsao) {
    std::map<std::string, Ocorrencia> porRotulo;
    for (int o = 0; o < QuantidadeOcorrencias; ++o) {
        const std::string rotulo = RotuloOcorrencia(static_cast<Ocorrencia>(o), previsao);
        porRotulo[rotulo.substr(1, rotulo.size() - 2)] = static_cast<Ocorrencia>(o);
    }
    std::vector<Item> itens;
    for (const auto& i : r.itens) {
        const Ocorrencia o = porRotulo.at(i.rotulo);
        // Messages and notes are the run's and the check's own; cut texts only the check tells.
        if (o == Ocorrencia::Mensagem || o == Ocorrencia::Observacao || o == Ocorrencia::NomeCortado) continue;
        std::string detalhe;
        switch (o) {
            case Ocorrencia::LinhaDeixada:
            case Ocorrencia::LinhaFalhou:
            case Ocorrencia::LinhaParou: break;  // the reasons are worded by each
            case Ocorrencia::CadastroCriado: detalhe = i.texto.substr(0, i.texto.find(" (c\xF3" "digo")); break;
            default: detalhe = i.texto;
        }
        itens.emplace_back(i.tabela, o, i.chave, detalhe);
    }
    return itens;
}

// Every host file below a folder with its content.
std::map<std::string, std::string> Arquivos(const std::string& raiz) {
    std::map<std::string, std::string> arquivos;
    for (const auto& e : std::filesystem::recursive_directory_iterator(raiz))
        if (e.is_regular_file()) arquivos[e.path().string()] = LerHost(e.path().string());
    return arquivos;
}

// Rows, metadata and generator values of a database.
Linhas Retrato(const std::function<Linhas(const std::string&)>& consultar) {
    Linhas tudo = consultar(
        "SELECT RF.RDB$RELATION_NAME, RF.RDB$FIELD_NAME, RF.RDB$FIELD_POSITION, F.RDB$FIELD_TYPE, F.RDB$FIELD_LENGTH, "
        "RF.RDB$NULL_FLAG FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
        "ORDER BY 1, 2");
    for (const char* s : {"SELECT RDB$INDEX_NAME, RDB$RELATION_NAME FROM RDB$INDICES ORDER BY 1",
                          "SELECT RDB$TRIGGER_NAME FROM RDB$TRIGGERS ORDER BY 1",
                          "SELECT RDB$GENERATOR_NAME FROM RDB$GENERATORS ORDER BY 1"}) {
        const Linhas l = consultar(s);
        tudo.insert(tudo.end(), l.begin(), l.end());
    }
    for (const auto& g : consultar("SELECT TRIM(RDB$GENERATOR_NAME) FROM RDB$GENERATORS WHERE "
                                   "(RDB$SYSTEM_FLAG IS NULL OR RDB$SYSTEM_FLAG = 0)")) {
        const Linhas v = consultar("SELECT GEN_ID(" + g[0] + ", 0) FROM RDB$DATABASE");
        tudo.push_back({g[0], v[0][0]});
    }
    for (const auto& t : consultar("SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS WHERE "
                                   "(RDB$SYSTEM_FLAG IS NULL OR RDB$SYSTEM_FLAG = 0) ORDER BY 1")) {
        const Linhas l = consultar("SELECT * FROM " + t[0] + " ORDER BY 1");
        tudo.push_back({t[0]});
        tudo.insert(tudo.end(), l.begin(), l.end());
    }
    return tudo;
}

class Verificacao : public ExecucaoMigracao {
protected:
    void SetUp() override {
        ExecucaoMigracao::SetUp();
        QUORVEL_EXIGIR("lame", "mutagen");
        inst.bases.Executar2009(kLinhas2009);
        inst.bases.ExecutarAudio(kEsquema2010);
        const std::string c = inst.unidades.Unidade('c');
        Mp3ComTag(c + "/Musicas/M0001.mp3", {{"TRIT", "Samba"}, {"TGRA", "Gravadora de nome comprido"}});
        Mp3ComTag(c + "/Musicas/M0002.mp3", {});
        Mp3ComTag(c + "/Musicas/M0004.mp3", {});
        for (const char* v : {"V0001", "V0003", "V0004"}) GravarNaUnidade('c', std::string("Comercial/") + v + ".mp3", v);
        GravarNaUnidade('d', "Quorvel2010/Vinhetas/Abertura.mp3", "ocupado");
        operador.MarcarSo({kGenero, kMusicas, kEcad, kVinhetas});
    }

    // The check through the core, its report read back from the lines it handed over.
    RelatorioLido Verificar(ResumoRelatorio& resumo) {
        std::string texto;
        EXPECT_TRUE(nucleo->ExecutarAcao([&] {
            resumo = nucleo->Verificar(false, [&texto](const std::string& l) { texto += l + "\r\n"; });
        }));
        return LerRelatorio(texto + "\r\n" + resumo.texto);
    }

    Linhas RetratoDasBases() const {
        Linhas tudo;
        for (const auto& local : {inst.bases.Local2009(), inst.bases.LocalAudio(), inst.bases.LocalAdm()}) {
            const Linhas l = Retrato([&](const std::string& s) { return Consultar(local, s); });
            tudo.insert(tudo.end(), l.begin(), l.end());
        }
        return tudo;
    }
};

TEST_F(Verificacao, APrevisaoEAExecucaoConcordamItemAItem) {
    const auto arquivosAntes = Arquivos(inst.unidades.Raiz().Caminho());
    const Linhas basesAntes = RetratoDasBases();

    ResumoRelatorio resumo;
    const RelatorioLido previsto = Verificar(resumo);

    // The check wrote nothing: not a file, not a row, a column, an index or a generator step.
    EXPECT_EQ(Arquivos(inst.unidades.Raiz().Caminho()), arquivosAntes);
    EXPECT_EQ(RetratoDasBases(), basesAntes);
    EXPECT_TRUE(operador.TextosMensagens().empty());
    EXPECT_TRUE(resumo.caminho.empty());
    EXPECT_FALSE(resumo.gravado);

    // It foresees the stop at jingle 4 and the cut texts, and names what it cannot foresee.
    EXPECT_EQ(resumo.LinhasComFalha(), 2);
    const auto cortes = Itens(previsto, {"TEXTO SERIA CORTADO"});
    ASSERT_EQ(cortes.size(), 2u);
    EXPECT_EQ(cortes[0].chave, 1);  // the label
    EXPECT_NE(cortes[0].texto.find("ficaria \"GRAVADORA DE NOME CO\""), std::string::npos);
    EXPECT_EQ(cortes[1].chave, 4);  // the title
    EXPECT_NE(Itens(previsto, {"OBSERVA\xC7\xC3O"}).at(0).texto.find("gatilhos"), std::string::npos);

    // The run meets exactly that.
    ASSERT_TRUE(Rodar());
    EXPECT_EQ(nucleo->UltimoResultado(), ResultadoExecucao::Interrompida);
    const RelatorioLido real = LerRelatorio(LerHost(CaminhoHost(nucleo->UltimoRelatorio().caminho)));
    EXPECT_EQ(Comparaveis(previsto, true), Comparaveis(real, false));
    EXPECT_EQ(Comparaveis(real, false).size(), 23u);  // every planted item, not an empty match
    EXPECT_EQ(previsto.contagens, real.contagens);
    EXPECT_EQ(real.contagens.at("TB_MUSICAS"), (ContagemLida{5, 3, 2, 0, 0}));
    EXPECT_NE(Itens(real, {"DEIXADA DE FORA"}).at(1).texto.find("pasta de rede \\\\\\Musicas\\"), std::string::npos);
    EXPECT_EQ(real.contagens.at("TB_ECAD"), (ContagemLida{4, 1, 2, 1, 0}));
    EXPECT_EQ(real.contagens.at("TB_VINHETAS"), (ContagemLida{4, 3, 0, 1, 0}));
}

TEST_F(Verificacao, ChaveJaExistenteNaRetomadaEColunaNotNullSemValor) {
    // A resumed genre copy keeps the 2010 rows: the 2009 key 3 is there already. A 2010 column
    // that is NOT NULL and that the insert does not fill rejects the first manual-advance row.
    inst.bases.Executar2009("INSERT INTO TB_GENERO VALUES (5, 'Forro');\n"
                            "INSERT INTO TB_AVANCOMANUAL VALUES (1, '08:00', '09:00', 'S', 'N', 'N', 'N', 'N', 'N', 'S');\n");
    inst.bases.ExecutarAudio("INSERT INTO TB_GENERO VALUES (3, 'ja copiado');\n");
    inst.GravarSeq("[SEQ]\r\nsTabela=TB_GENERO\r\nsCodigo=3\r\n");
    operador.respostaPergunta = true;
    operador.MarcarSo({kGenero});
    ResumoRelatorio resumo;
    const RelatorioLido previsto = Verificar(resumo);
    ASSERT_TRUE(Rodar());
    const RelatorioLido real = LerRelatorio(LerHost(CaminhoHost(nucleo->UltimoRelatorio().caminho)));
    EXPECT_EQ(Comparaveis(previsto, true), Comparaveis(real, false));
    EXPECT_EQ(previsto.contagens.at("TB_GENERO"), (ContagemLida{1, 0, 0, 1, 1}));
    EXPECT_NE(Itens(previsto).back().texto.find("a chave gen_codigo j\xE1 existe"), std::string::npos);

    inst.bases.ExecutarAudio("ALTER TABLE TB_AVANCOMANUAL ADD AVA_OBRIGATORIA INTEGER NOT NULL;\n");
    std::filesystem::remove(inst.ArquivoSeqHost());
    operador.MarcarSo({1});
    const RelatorioLido previsto2 = Verificar(resumo);
    ASSERT_TRUE(Rodar());
    const RelatorioLido real2 = LerRelatorio(LerHost(CaminhoHost(nucleo->UltimoRelatorio().caminho)));
    EXPECT_EQ(Comparaveis(previsto2, true), Comparaveis(real2, false));
    EXPECT_EQ(real2.contagens.at("TB_AVANCOMANUAL"), (ContagemLida{1, 0, 0, 1, 0}));
    EXPECT_NE(Itens(previsto2).back().texto.find("AVA_OBRIGATORIA \xE9 NOT NULL"), std::string::npos);
}

TEST_F(Verificacao, ComRelatorioPedidoEUmaPartidaRecusada) {
    // Asked for, the forecast is written like a run's report.
    const std::string escolhido = inst.unidades.Raiz().Caminho() + "/previsao.txt";
    nucleo->DefinirArquivoRelatorio(escolhido);
    ResumoRelatorio resumo;
    Verificar(resumo);
    EXPECT_TRUE(resumo.gravado);
    const RelatorioLido lido = LerRelatorio(LerHost(escolhido));
    EXPECT_TRUE(lido.crlf);
    EXPECT_EQ(lido.linhasResumo.at(1), "Verifica\xE7\xE3o conclu\xED" "da: 2 registro(s) falhariam.");

    // The check starts as a run does: the same refusal, and no forecast.
    operador.pasta2010 = "D:\\NaoExiste";
    EXPECT_FALSE(nucleo->ExecutarAcao([&] { nucleo->Verificar(false, nullptr); }));
    ASSERT_EQ(operador.TextosMensagens().size(), 1u);
    EXPECT_EQ(operador.Relatorios().size(), 1u);
}

}  // namespace
}  // namespace quorvel::teste

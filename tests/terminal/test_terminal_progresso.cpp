// The pieces of the terminal front end that need no child process: the options, the rate and
// time-left estimates, and the throttled progress display.
#include <gtest/gtest.h>

#include "app/terminal/terminal_opcoes.h"
#include "app/terminal/terminal_progresso.h"
#include "platform/erros.h"

using namespace quorvel;

namespace {

OpcoesTerminal Ler(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    return LerOpcoesTerminal(static_cast<int>(argv.size()), argv.data());
}

QuadroProgresso Quadro(const std::string& tabela, int atual, int maximo, int geral, int total) {
    QuadroProgresso q;
    q.tabelaAtual = tabela;
    q.registroAtual = atual;
    q.maximoAtual = maximo;
    q.registroGeral = geral;
    q.totalGeral = total;
    return q;
}

struct Tela {
    std::vector<std::string> escritas;
    PainelProgresso Painel(bool vivo, int largura = 100) {
        return PainelProgresso(vivo, [this](std::string_view t) { escritas.emplace_back(t); },
                               [largura] { return largura; });
    }
};

}  // namespace

TEST(TerminalOpcoes, TabelasPorLegendaSemCaixaTodasQuandoAusente) {
    const auto todas = Ler({"--pasta-2009", "D:\\Q2009", "--pasta-2010=D:\\Q 2010"});
    EXPECT_EQ(todas.pasta2009, "D:\\Q2009");
    EXPECT_EQ(todas.pasta2010, "D:\\Q 2010");
    for (bool marcada : todas.tabelas) EXPECT_TRUE(marcada);
    EXPECT_FALSE(todas.continuar);
    EXPECT_FALSE(todas.sim);

    const auto algumas = Ler({"--tabelas", " ecad ,AGENDA,,Vinhetas", "--continuar", "--sim"});
    const std::array<bool, 10> esperadas{true, false, false, false, false, false, true, false, false, true};
    EXPECT_EQ(algumas.tabelas, esperadas);
    EXPECT_TRUE(algumas.continuar);
    EXPECT_TRUE(algumas.sim);

    // An empty list checks nothing, as a window with every box cleared.
    for (bool marcada : Ler({"--tabelas", ""}).tabelas) EXPECT_FALSE(marcada);
    // Folder texts arrive as UTF-8 and are kept as Windows-1252.
    EXPECT_EQ(Ler({"--pasta-2009", "D:\\Programação"}).pasta2009, "D:\\Programa\xE7\xE3o");
}

TEST(TerminalOpcoes, ErrosDeLinhaDeComando) {
    EXPECT_THROW(Ler({"--tabela", "Agenda"}), Erro);
    EXPECT_THROW(Ler({"--tabelas", "Agenda,TB_GENERO"}), Erro);
    EXPECT_THROW(Ler({"--pasta-2010"}), Erro);
    EXPECT_THROW(Ler({"--sim=nao"}), Erro);
    EXPECT_THROW(Ler({"D:\\Q2009"}), Erro);
    try {
        Ler({"--tabelas", "Agenda,Discos"});
        FAIL();
    } catch (const Erro& e) {
        EXPECT_NE(std::string(e.what()).find("Discos"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("AvancoManual"), std::string::npos);
    }
}

TEST(TerminalProgresso, TaxaNaJanelaRecenteERecomecoQuandoOContadorVolta) {
    MedidorTaxa taxa(5.0);
    EXPECT_FALSE(taxa.Taxa());
    taxa.Amostrar(0, 0);
    EXPECT_FALSE(taxa.Taxa());
    taxa.Amostrar(1, 1000);
    EXPECT_DOUBLE_EQ(*taxa.Taxa(), 1000);
    // A slow start drops out of the window: the rate follows the last five seconds.
    for (int s = 2; s <= 20; ++s) taxa.Amostrar(s, 1000 + (s - 1) * 200);
    EXPECT_DOUBLE_EQ(*taxa.Taxa(), 200);
    // A new run starts from nothing.
    taxa.Amostrar(21, 0);
    EXPECT_FALSE(taxa.Taxa());
}

TEST(TerminalProgresso, TempoRestanteEBarra) {
    EXPECT_EQ(TextoTempo(0.0), "0:00:00");
    EXPECT_EQ(TextoTempo(59.2), "0:01:00");
    EXPECT_EQ(TextoTempo(3661), "1:01:01");
    EXPECT_EQ(TextoTempo(std::nullopt), "--:--:--");
    EXPECT_EQ(TextoTempo(1e12), "--:--:--");
    EXPECT_EQ(TempoRestante(0, std::nullopt), 0.0);   // nothing left needs no rate
    EXPECT_EQ(TempoRestante(-5, 10.0), 0.0);          // rows added after the count
    EXPECT_FALSE(TempoRestante(10, 0.0));
    EXPECT_DOUBLE_EQ(*TempoRestante(500, 100.0), 5.0);

    EXPECT_EQ(BarraProgresso(5, 10, 12), "[#####-----]");
    EXPECT_EQ(BarraProgresso(15, 10, 12), "[##########]");  // beyond the maximum: full
    EXPECT_EQ(BarraProgresso(3, 0, 6), "[----]");
    EXPECT_EQ(BarraProgresso(9999, 10000, 12), "[#########-]");
}

TEST(TerminalProgresso, LinhasCabemNaLarguraDoTerminal) {
    const auto q = Quadro("TB_PERFILBOTOES", 1234, 100000, 51234, 700000);
    for (int largura : {20, 60, 80, 200}) {
        const auto linhas = LinhasProgresso(q, 2500.0, largura);
        ASSERT_EQ(linhas.size(), 2u);
        for (const auto& l : linhas) EXPECT_LT(l.size(), static_cast<std::size_t>(largura)) << l;
    }
    const auto largas = LinhasProgresso(q, 2500.0, 200);
    EXPECT_EQ(largas[0].rfind("Tabela: TB_PERFILBOTOES", 0), 0u);
    EXPECT_NE(largas[0].find("  1234/100000"), std::string::npos) << largas[0];
    EXPECT_NE(largas[0].find("restam 0:00:40"), std::string::npos) << largas[0];  // 98766 rows at 2500/s
    EXPECT_NE(largas[1].find(" 51234/700000"), std::string::npos) << largas[1];
    EXPECT_NE(largas[1].find("2500 reg/s"), std::string::npos) << largas[1];
    EXPECT_NE(largas[1].find("restam 0:04:20"), std::string::npos) << largas[1];
    EXPECT_NE(largas[1].find("["), std::string::npos);  // room for the bars
}

TEST(TerminalProgresso, PainelVivoRedesenhaNoLugarNoMaximoDezVezesPorSegundo) {
    Tela tela;
    auto painel = tela.Painel(true);
    painel.Mostrar(Quadro("", 0, 0, 0, 1000), 100.0);
    ASSERT_EQ(tela.escritas.size(), 1u);  // the first frame at once
    EXPECT_EQ(tela.escritas[0].find("\x1b[2A"), std::string::npos);
    // A thousand rows within 50 ms: not one redraw.
    for (int i = 1; i <= 1000; ++i) painel.Mostrar(Quadro("TB_GENERO", i, 1000, i, 1000), 100.0 + i * 0.00005);
    EXPECT_EQ(tela.escritas.size(), 1u);
    painel.Mostrar(Quadro("TB_GENERO", 1000, 1000, 1000, 1000), 100.2);
    ASSERT_EQ(tela.escritas.size(), 2u);
    EXPECT_EQ(tela.escritas[1].rfind("\x1b[2A", 0), 0u);  // back up over the block
    EXPECT_NE(tela.escritas[1].find("1000/1000"), std::string::npos);

    // The reset at the end of a run leaves the last counts on the screen; a message fixes them
    // above itself.
    painel.Mostrar(Quadro("TB_GENERO", 1000, 1000, 1000, 1000), 100.21);
    painel.Fixar(100.22);
    ASSERT_EQ(tela.escritas.size(), 3u);
    painel.Mostrar(Quadro("", 0, 0, 0, 0), 100.5);
    painel.Fixar(100.6);
    EXPECT_EQ(tela.escritas.size(), 3u);
}

TEST(TerminalProgresso, PainelSemTerminalEscreveLinhasAcadaIntervaloENovaTabela) {
    Tela tela;
    auto painel = tela.Painel(false);
    painel.Mostrar(Quadro("", 0, 0, 0, 30), 0.0);
    painel.Mostrar(Quadro("TB_AGENDA", 0, 10, 0, 30), 0.1);
    for (int i = 1; i <= 10; ++i) painel.Mostrar(Quadro("TB_AGENDA", i, 10, i, 30), 0.1 + i * 0.01);
    painel.Mostrar(Quadro("TB_GENERO", 0, 20, 10, 30), 0.3);
    ASSERT_EQ(tela.escritas.size(), 3u);
    EXPECT_EQ(tela.escritas[1], "Tabela: TB_AGENDA 0/10 | Progresso Geral 0/30 | 0 reg/s | restam --:--:--\n");
    EXPECT_EQ(tela.escritas[2].rfind("Tabela: TB_GENERO 0/20 | Progresso Geral 10/30 | 33 reg/s", 0), 0u)
        << tela.escritas[2];
    painel.Mostrar(Quadro("TB_GENERO", 5, 20, 15, 30), 1.0);
    EXPECT_EQ(tela.escritas.size(), 3u);
    painel.Mostrar(Quadro("TB_GENERO", 6, 20, 16, 30), 2.31);
    EXPECT_EQ(tela.escritas.size(), 4u);
    // Before a message the frame not yet written is written.
    painel.Mostrar(Quadro("TB_GENERO", 20, 20, 30, 30), 2.4);
    painel.Fixar(2.5);
    ASSERT_EQ(tela.escritas.size(), 5u);
    EXPECT_EQ(tela.escritas[4].rfind("Tabela: TB_GENERO 20/20 | Progresso Geral 30/30", 0), 0u);
    painel.Fixar(2.6);
    EXPECT_EQ(tela.escritas.size(), 5u);
}

TEST(TerminalProgresso, TabelaCompletaContinuaCompletaQuandoAsSeguintesNaoEstaoMarcadas) {
    Tela tela;
    auto painel = tela.Painel(false);
    painel.Mostrar(Quadro("TB_GENERO", 0, 3, 0, 3), 0.0);
    painel.Mostrar(Quadro("TB_GENERO", 3, 3, 3, 3), 0.1);
    // The migrators after it, unchecked, refresh with the current row at 0.
    painel.Mostrar(Quadro("TB_GENERO", 0, 3, 3, 3), 0.2);
    painel.Fixar(0.3);
    EXPECT_EQ(tela.escritas.back().rfind("Tabela: TB_GENERO 3/3 | Progresso Geral 3/3", 0), 0u) << tela.escritas.back();
    // A table that has only begun shows its true count.
    painel.Mostrar(Quadro("TB_PROGAUTO", 0, 5, 3, 8), 0.4);
    EXPECT_EQ(tela.escritas.back().rfind("Tabela: TB_PROGAUTO 0/5", 0), 0u) << tela.escritas.back();
}

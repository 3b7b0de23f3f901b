// Runs through the Win32 window, driven with window messages from another thread, against a core
// whose migrators are stand-ins: tables of a given number of rows that copy one row each time the
// test lets them. The window, its hand-off from the worker, its boxes, buttons and closing are the
// program's own.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <memory>
#include <semaphore>
#include <string>
#include <thread>
#include <vector>

#include "apoio/pasta_temporaria.h"
#include "apoio_win32.h"
#include "app/janela_win32/controles.h"
#include "app/janela_win32/janela_win32.h"
#include "servidor_registrado.h"

using namespace quorvel;
using namespace quorvel::teste;
using namespace quorvel::teste::win32;
using namespace quorvel::win32;

namespace {

// The migrators' contract with tables held in memory: each row waits for the test's leave.
class NucleoSubstituto : public NucleoQuorvel {
public:
    using NucleoQuorvel::NucleoQuorvel;
    ~NucleoSubstituto() override {
        Estado.Interrompido = true;
        portao.release(1000);
        AguardarTrabalhador();
    }

    std::array<int, QuantidadeTabelas> linhas{};
    std::counting_semaphore<100000> portao{0};

    void ConectarBases() override {}
    void CalcularTotalGeral() override {
        Estado.TotalGeral = 0;
        for (int i = 0; i < QuantidadeTabelas; ++i)
            if (TabelaMarcada(i)) Estado.TotalGeral += linhas[i];
    }
    void AtualizarTabelas() override {
        for (int i = 0; i < QuantidadeTabelas && !Estado.ParadaGravada; ++i) Migrar(i);
    }

private:
    void Migrar(int i) {
        Estado.RegistroAtual = 0;
        AtualizarProgresso();
        if (!TabelaMarcada(i)) return;
        const char* tabela = SequenciaMigradores[i].tabela;
        Estado.TabelaAtual = tabela;
        DefinirMaximoAtual(linhas[i]);
        AtualizarProgresso();
        for (int codigo = 1; codigo <= linhas[i]; ++codigo) {
            portao.acquire();
            ++Estado.RegistroAtual;
            ++Estado.RegistroGeral;
            AtualizarProgresso();
            const std::string proximo = std::to_string(codigo < linhas[i] ? codigo + 1 : codigo);
            if (Estado.CommitSolicitado) {
                GravarSequencia(tabela, proximo);
                Estado.CommitSolicitado = false;
            }
            if (Estado.Interrompido) {
                GravarSequencia(tabela, proximo);
                Estado.ParadaGravada = true;
                return;
            }
        }
    }
};

class JanelaExecucao : public ::testing::Test {
protected:
    void SetUp() override {
        servidor = std::make_unique<ServidorRegistrado>(pasta, "213");
        std::binary_semaphore pronta{0};
        thread = std::thread([this, &pronta] {
            JanelaWin32 janela(pasta.Caminho(), [this](PortaOperador& operador) {
                auto n = std::make_unique<NucleoSubstituto>(operador);
                nucleo = n.get();
                n->linhas = linhas;
                return n;
            });
            hwnd = janela.Handle();
            pronta.release();
            janela.Executar(SW_SHOW);
        });
        pronta.acquire();
    }
    void TearDown() override {
        if (IsWindow(hwnd)) {
            ResponderTodas(GetCurrentProcessId(), 200);
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
        }
        if (nucleo) nucleo->portao.release(1000);
        thread.join();
    }

    HWND C(int id) { return GetDlgItem(hwnd, id); }
    std::wstring Atual() { return Texto(C(IdLabelInformacaoAtual)); }
    std::wstring Geral() { return Texto(C(IdLabelInformacaoGeral)); }
    // Only these tables checked, with the buttons and boxes as an operator would.
    void Marcar(std::initializer_list<int> indices) {
        SendMessageW(C(IdBDesmarcarTodos), BM_CLICK, 0, 0);
        for (int i : indices) SendMessageW(C(IdCheckTB_Primeiro + i), BM_CLICK, 0, 0);
    }
    // Lets one row be copied and waits until the window shows it.
    void Linha(int registroAtual) {
        nucleo->portao.release();
        ASSERT_TRUE(Esperar([&] { return PosicaoBarra(C(IdProgressoAtual)) == registroAtual; }))
            << "row " << registroAtual;
    }
    std::string Seq() { return LerHost(pasta.Caminho() + "\\Seq.ini"); }
    Caixa FimDaExecucao() {
        auto caixa = EsperarCaixa(GetCurrentProcessId());
        EXPECT_TRUE(caixa.has_value());
        return caixa.value_or(Caixa{});
    }

    PastaTemporaria pasta;
    std::unique_ptr<ServidorRegistrado> servidor;
    std::array<int, QuantidadeTabelas> linhas{3, 0, 0, 0, 2, 0, 0, 0, 0, 10};
    std::thread thread;
    HWND hwnd = nullptr;
    NucleoSubstituto* nucleo = nullptr;
};

const std::wstring kAtualZerado = L"Tabela: \r\nTotal de registros: 0\r\nRegistro atual: 0";
const std::wstring kGeralZerado = L"Progresso Geral\r\nTotal de registros: 0\r\nRegistro atual: 0";

TEST_F(JanelaExecucao, ProgressoLinhaALinhaOsEstadosDaExecucaoEAMensagemDeSucessoComAVolta) {
    // The window's icons are the program's (its resources).
    EXPECT_NE(GetClassLongPtrW(hwnd, GCLP_HICON), 0);
    EXPECT_NE(SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0), 0);

    Marcar({0, 4});
    Clicar(C(IdBAtualizar));
    ASSERT_TRUE(Esperar([&] { return Atual() == L"Tabela: TB_AGENDA\r\nTotal de registros: 3\r\nRegistro atual: 0"; }))
        << std::string(Atual().begin(), Atual().end());
    EXPECT_EQ(Geral(), L"Progresso Geral\r\nTotal de registros: 5\r\nRegistro atual: 0");

    // Running: everything disabled but stop, commit and the progress group.
    for (int id : std::initializer_list<int>{IdEdEndereco2009, IdEdEndereco2010, IdBPasta2009, IdBLimpar2010, IdBAtualizar, IdBMarcarTodos,
                   IdBContinuarProcesso, IdCheckTB_Primeiro, IdCheckTB_Primeiro + 9})
        EXPECT_FALSE(Habilitado(C(id))) << id;
    for (int id : std::initializer_list<int>{IdBPararProcesso, IdBCommit, IdGrupoProgresso, IdProgressoAtual, IdLabelInformacaoGeral})
        EXPECT_TRUE(Habilitado(C(id))) << id;

    // Each row shows as soon as it is copied, the worker waiting for the window each time.
    for (int k = 1; k <= 2; ++k) {
        Linha(k);
        EXPECT_EQ(Atual(), L"Tabela: TB_AGENDA\r\nTotal de registros: 3\r\nRegistro atual: " + std::to_wstring(k));
        EXPECT_EQ(Geral(), L"Progresso Geral\r\nTotal de registros: 5\r\nRegistro atual: " + std::to_wstring(k));
        EXPECT_EQ(PosicaoBarra(C(IdProgressoGeral)), k);
        EXPECT_EQ(MaximoBarra(C(IdProgressoAtual)), 3);
        EXPECT_EQ(MaximoBarra(C(IdProgressoGeral)), 5);
    }
    // After the table's last row the next tables begin at once: the current pair starts over.
    nucleo->portao.release();
    ASSERT_TRUE(Esperar([&] { return Atual() == L"Tabela: TB_GENERO\r\nTotal de registros: 2\r\nRegistro atual: 0"; }));
    EXPECT_EQ(Geral(), L"Progresso Geral\r\nTotal de registros: 5\r\nRegistro atual: 3");
    EXPECT_EQ(PosicaoBarra(C(IdProgressoAtual)), 0);
    EXPECT_EQ(PosicaoBarra(C(IdProgressoGeral)), 3);
    Linha(1);
    nucleo->portao.release();

    // The success box belongs to the window; the window is idle already behind it.
    const Caixa fim = FimDaExecucao();
    EXPECT_EQ(fim.titulo, L"Quorvel 2009-2010");
    EXPECT_EQ(fim.texto, L"Atualização realizada com sucesso.");
    EXPECT_EQ(fim.dono, hwnd);
    EXPECT_TRUE(Habilitado(C(IdBAtualizar)));
    EXPECT_FALSE(Habilitado(C(IdBPararProcesso)));
    Responder(fim, IDOK);

    // The reset: no table, zeros, empty bars; no checkpoint was written.
    ASSERT_TRUE(Esperar([&] { return Atual() == kAtualZerado; }));
    EXPECT_EQ(Geral(), kGeralZerado);
    EXPECT_EQ(PosicaoBarra(C(IdProgressoAtual)), 0);
    EXPECT_EQ(PosicaoBarra(C(IdProgressoGeral)), 0);
    EXPECT_EQ(Seq(), "");
    EXPECT_FALSE(Habilitado(C(IdBContinuarProcesso)));
    EXPECT_TRUE(Habilitado(C(IdEdEndereco2009)));
}

TEST_F(JanelaExecucao, CommitEPararAgemNaLinhaSeguinteComOCheckpoint) {
    Marcar({9});
    Clicar(C(IdBAtualizar));
    Linha(1);
    Linha(2);
    SendMessageW(C(IdBCommit), BM_CLICK, 0, 0);
    EXPECT_EQ(Seq(), "");
    Linha(3);
    ASSERT_TRUE(Esperar([&] { return Seq().find("sCodigo=4") != std::string::npos; })) << Seq();
    EXPECT_NE(Seq().find("sTabela=TB_VINHETAS"), std::string::npos);

    Linha(4);
    SendMessageW(C(IdBPararProcesso), BM_CLICK, 0, 0);
    nucleo->portao.release();
    const Caixa fim = FimDaExecucao();
    EXPECT_EQ(fim.texto, L"Atualização foi interrompida.");
    EXPECT_EQ(fim.dono, hwnd);
    EXPECT_NE(Seq().find("sCodigo=6"), std::string::npos) << Seq();

    // Stopped: stop and commit disabled too, the rest stays disabled.
    EXPECT_FALSE(Habilitado(C(IdBPararProcesso)));
    EXPECT_FALSE(Habilitado(C(IdBCommit)));
    EXPECT_FALSE(Habilitado(C(IdBAtualizar)));
    EXPECT_FALSE(Habilitado(C(IdBContinuarProcesso)));
    Responder(fim, IDOK);
    ASSERT_TRUE(Esperar([&] { return Atual() == kAtualZerado; }));
}

TEST_F(JanelaExecucao, FecharAJanelaDuranteAExecucaoParaAposALinhaComCheckpoint) {
    Marcar({9});
    Clicar(C(IdBAtualizar));
    Linha(1);
    Linha(2);
    // The worker waits for its third row; the window closes meanwhile and waits for it to end.
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    ASSERT_TRUE(Esperar([&] { return !IsWindowVisible(hwnd); }));
    nucleo->portao.release();
    thread.join();
    thread = std::thread([] {});
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_NE(Seq().find("sTabela=TB_VINHETAS"), std::string::npos) << Seq();
    // The close is honoured after the row in progress: the second when it came before the
    // worker took up the third, the third otherwise.
    const bool depoisDaSegunda = Seq().find("sCodigo=3") != std::string::npos;
    const bool depoisDaTerceira = Seq().find("sCodigo=4") != std::string::npos;
    EXPECT_TRUE(depoisDaSegunda || depoisDaTerceira) << Seq();
    // No box was left behind.
    EXPECT_TRUE(JanelasDoProcesso(GetCurrentProcessId(), L"#32770").empty());
}

TEST_F(JanelaExecucao, ContinuarAjustaAsCaixasAoCheckpointEPerguntaAntes) {
    pasta.Gravar("Seq.ini", "[SEQ]\r\nsTabela=tb_ecad\r\nsCodigo=7\r\n");
    Marcar({7, 9});
    // The accelerators: Alt+M marks every table, Alt+D unmarks them.
    PostMessageW(C(IdEdEndereco2009), WM_SYSCHAR, L'm', 1 << 29);
    ASSERT_TRUE(Esperar([&] { return Marcado(C(IdCheckTB_Primeiro + 3)); }));
    PostMessageW(C(IdEdEndereco2009), WM_SYSCHAR, L'd', 1 << 29);
    ASSERT_TRUE(Esperar([&] { return !Marcado(C(IdCheckTB_Primeiro + 3)); }));
    Marcar({0, 8, 9});

    // The window read the file at its creation only when idle states were set; a start asks.
    Clicar(C(IdBContinuarProcesso));
    const auto pergunta = EsperarCaixa(GetCurrentProcessId());
    ASSERT_TRUE(pergunta.has_value());
    EXPECT_EQ(pergunta->titulo, L"Brivona Rovozozi");
    EXPECT_TRUE(pergunta->temNao);
    EXPECT_EQ(pergunta->dono, hwnd);
    Responder(*pergunta, IDNO);

    // Agenda to Musicas unchecked, Ecad checked, the tables after it as the operator left them.
    const bool esperado[] = {false, false, false, false, false, false, true, false, true, true};
    for (int i = 0; i < QuantidadeTabelas; ++i) EXPECT_EQ(Marcado(C(IdCheckTB_Primeiro + i)), esperado[i]) << i;
    EXPECT_TRUE(Habilitado(C(IdBAtualizar)));
}

TEST_F(JanelaExecucao, TabPercorreOsCamposAsCaixasEAsBarrasSemOsBotoes) {
    auto foco = [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info);
        return info.hwndFocus;
    };
    ASSERT_TRUE(Esperar([&] { return foco() == C(IdEdEndereco2009); }));
    std::vector<int> ordem{IdEdEndereco2010};
    for (int i = 0; i < QuantidadeTabelas; ++i) ordem.push_back(IdCheckTB_Primeiro + i);
    ordem.insert(ordem.end(), {IdProgressoAtual, IdProgressoGeral, IdEdEndereco2009});
    for (int id : ordem) {
        HWND antes = foco();
        PostMessageW(antes, WM_KEYDOWN, VK_TAB, 1);
        PostMessageW(antes, WM_KEYUP, VK_TAB, 1 | (3u << 30));
        EXPECT_TRUE(Esperar([&] { return foco() == C(id); }, 5000)) << "control " << id;
    }
    // A click on a flat button leaves the focus where it was.
    SendMessageW(C(IdBMarcarTodos), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(C(IdBMarcarTodos), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(foco(), C(IdEdEndereco2009));
}

}  // namespace

// The program's window driven from outside, in its own process, as an operator (or a tool) does:
// its first texts and states, the server lamp, the refusals of a start and the folder browser.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "apoio/pasta_temporaria.h"
#include "apoio_win32.h"
#include "app/janela_win32/controles.h"
#include "servidor_registrado.h"

using namespace quorvel::teste;
using namespace quorvel::teste::win32;
using namespace quorvel::win32;

namespace {

const std::wstring kTitulo = L"Quorvel 2009-2010";

std::wstring Largo(const std::string& host) { return std::wstring(host.begin(), host.end()); }

void Digitar(HWND campo, const std::wstring& texto) {
    SendMessageW(campo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(texto.c_str()));
}

// The next box of the program: its title and text, and that it belongs to the window.
Caixa ProximaCaixa(ProgramaJanela& programa) {
    auto caixa = EsperarCaixa(programa.Processo());
    EXPECT_TRUE(caixa.has_value()) << "no message box came";
    return caixa.value_or(Caixa{});
}

}  // namespace

TEST(JanelaPrograma, SemServidorAbreComOsTextosEEstadosDeProjeto) {
    ServidorRegistrado::Remover();
    PastaTemporaria pasta;
    ProgramaJanela programa(Largo(pasta.Caminho()));

    // The detection's message comes before the window shows, owned by nothing.
    const Caixa aviso = ProximaCaixa(programa);
    EXPECT_EQ(aviso.titulo, kTitulo);
    EXPECT_EQ(aviso.texto, L"Não foram encontradas entradas do Firebird no registro do Windows!\r\n"
                           L"Verifique se o Firebird está instalado!");
    EXPECT_EQ(aviso.dono, nullptr);
    Responder(aviso, IDOK);

    HWND janela = programa.Janela();
    ASSERT_NE(janela, nullptr);
    EXPECT_EQ(Texto(janela), L"Brivona Rovozozi - Quorvel 2009-2010");
    RECT cliente{};
    GetClientRect(janela, &cliente);
    EXPECT_EQ(cliente.right, 626);
    EXPECT_EQ(cliente.bottom, 361);
    EXPECT_EQ(GetWindowLongPtrW(janela, GWL_STYLE) & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    EXPECT_NE(GetWindowLongPtrW(janela, GWL_STYLE) & WS_MINIMIZEBOX, 0);

    const std::pair<int, const wchar_t*> textos[] = {
        {IdGrupoConexaoBaseDados, L"Conexão da Base de dados"},
        {IdLabel1, L"Pasta da Versão 2009:"},
        {IdLabel2, L"Pasta da Versão 2010:"},
        {IdEdEndereco2009, L""},
        {IdEdEndereco2010, L""},
        {IdGrupoMarcarTabelas, L"Tabelas a serem atualizadas"},
        {IdBDesmarcarTodos, L"&Desmarcar todos"},
        {IdBMarcarTodos, L"&Marcar todos"},
        {IdLabelVersaoFB, L"LabelVersaoFB"},
        {IdBAtualizar, L"&Atualizar"},
        {IdGrupoProgresso, L"Progresso da atualização"},
        {IdLabelInformacaoAtual, L"Tabela:\r\nTotal de registros: 0\r\nRegistro atual: 0"},
        {IdLabelInformacaoGeral, L"Progresso Geral\r\nTotal de registros: 0\r\nRegistro atual: 0"},
        {IdBPararProcesso, L"&Parar processo"},
        {IdBContinuarProcesso, L"&Continuar processo"},
        {IdBCommit, L"C&ommit"},
    };
    for (const auto& [id, texto] : textos) EXPECT_EQ(Texto(programa.Controle(id)), texto) << "control " << id;
    const wchar_t* tabelas[] = {L"Agenda", L"AvancoManual", L"PerfilBotoes", L"Botoneira", L"Genero",
                                L"Musicas", L"Ecad",   L"Irradiacao",   L"ProgAuto",  L"Vinhetas"};
    for (int i = 0; i < 10; ++i) {
        HWND caixa = programa.Controle(IdCheckTB_Primeiro + i);
        EXPECT_EQ(Texto(caixa), tabelas[i]);
        EXPECT_TRUE(Marcado(caixa));
        EXPECT_TRUE(Habilitado(caixa));
    }
    EXPECT_EQ(PosicaoBarra(programa.Controle(IdProgressoAtual)), 0);
    EXPECT_EQ(PosicaoBarra(programa.Controle(IdProgressoGeral)), 0);

    // Detection failed: the lamp stays grey at its design place, the design-time states stay
    // ("&Continuar processo" enabled without a checkpoint file).
    EXPECT_EQ(GetWindowLongPtrW(programa.Controle(IdLedVersaoFB), GWLP_USERDATA), static_cast<LONG_PTR>(EstadoLed::Apagado));
    RECT led{};
    GetWindowRect(programa.Controle(IdLedVersaoFB), &led);
    MapWindowPoints(nullptr, janela, reinterpret_cast<POINT*>(&led), 2);
    EXPECT_EQ(led.left, 248);
    EXPECT_EQ(led.top, 162);
    EXPECT_TRUE(Habilitado(programa.Controle(IdBContinuarProcesso)));
    EXPECT_TRUE(Habilitado(programa.Controle(IdBAtualizar)));
    EXPECT_FALSE(Habilitado(programa.Controle(IdBPararProcesso)));
    EXPECT_FALSE(Habilitado(programa.Controle(IdBCommit)));

    // The flat buttons and the labels are no tab stops; the fields, boxes and bars are.
    EXPECT_EQ(GetWindowLongPtrW(programa.Controle(IdBAtualizar), GWL_STYLE) & WS_TABSTOP, 0);
    EXPECT_NE(GetWindowLongPtrW(programa.Controle(IdEdEndereco2009), GWL_STYLE) & WS_TABSTOP, 0);
    EXPECT_NE(GetWindowLongPtrW(programa.Controle(IdProgressoGeral), GWL_STYLE) & WS_TABSTOP, 0);

    EXPECT_EQ(programa.Fechar(), 0u);
}

TEST(JanelaPrograma, LampadaEVersaoDoServidorRegistrado) {
    struct Caso {
        const char* versao;
        EstadoLed led;
        bool comCheckpoint;
    };
    for (const Caso& caso : {Caso{"213", EstadoLed::Estado1, true}, Caso{"259", EstadoLed::Estado0, false}}) {
        SCOPED_TRACE(caso.versao);
        PastaTemporaria pasta;
        ServidorRegistrado servidor(pasta, caso.versao);
        if (caso.comCheckpoint) pasta.Gravar("Seq.ini", "[SEQ]\r\nsTabela=TB_ECAD\r\nsCodigo=7\r\n");
        ProgramaJanela programa(Largo(pasta.Caminho()));
        HWND janela = programa.Janela();
        ASSERT_NE(janela, nullptr);
        EXPECT_FALSE(EsperarCaixa(programa.Processo(), 300).has_value());

        const std::wstring versao = Texto(programa.Controle(IdLabelVersaoFB));
        EXPECT_NE(versao.find(caso.led == EstadoLed::Estado1 ? L"2.1.3.18185" : L"2.5.9.27139"), std::wstring::npos)
            << std::string(versao.begin(), versao.end());
        EXPECT_EQ(GetWindowLongPtrW(programa.Controle(IdLedVersaoFB), GWLP_USERDATA), static_cast<LONG_PTR>(caso.led));

        // Lamp and label centred together across the window's outer width, the label 24 pixels
        // right of the lamp.
        RECT externo{}, led{}, rotulo{};
        GetWindowRect(janela, &externo);
        GetWindowRect(programa.Controle(IdLedVersaoFB), &led);
        GetWindowRect(programa.Controle(IdLabelVersaoFB), &rotulo);
        const int largura = rotulo.right - rotulo.left;
        EXPECT_EQ(rotulo.left - led.left, 24);
        POINT esquerdaLed{led.left, led.top};
        ScreenToClient(janela, &esquerdaLed);
        EXPECT_EQ(esquerdaLed.x, (externo.right - externo.left - (largura + 24)) / 2);
        EXPECT_EQ(esquerdaLed.y, 162);

        // "&Continuar processo" follows the checkpoint file once detection succeeded.
        EXPECT_EQ(Habilitado(programa.Controle(IdBContinuarProcesso)), caso.comCheckpoint);

        // A picture of the window for the documentation, when asked for.
        const wchar_t* captura = _wgetenv(L"QUORVEL_CAPTURA_JANELA");
        if (captura && caso.led == EstadoLed::Estado1) {
            Digitar(programa.Controle(IdEdEndereco2009), L"C:\\Comercial");
            Digitar(programa.Controle(IdEdEndereco2010), L"C:\\Brivona2010");
            SendMessageW(programa.Controle(IdCheckTB_Primeiro + 6), BM_CLICK, 0, 0);
            Sleep(300);
            CapturarBmp(janela, captura);
        }
        EXPECT_EQ(programa.Fechar(), 0u);
    }
}

// At 144 dots per inch (150 %) every size and place is half as large again, the fonts too.
TEST(JanelaPrograma, AEscalaSegueOsPontosPorPolegadaDaTela) {
    PastaTemporaria pasta;
    ServidorRegistrado servidor(pasta, "213");
    struct Escala150 {
        Escala150() { DefinirPontosPorPolegada(144); }
        ~Escala150() { DefinirPontosPorPolegada(96); }
    };
    auto escala = std::make_unique<Escala150>();
    ProgramaJanela programa(Largo(pasta.Caminho()));
    HWND janela = programa.Janela();
    escala.reset();
    ASSERT_NE(janela, nullptr);
    RECT cliente{}, barra{}, botao{};
    GetClientRect(janela, &cliente);
    EXPECT_EQ(cliente.right, 939);
    EXPECT_EQ(cliente.bottom, 542);
    GetWindowRect(programa.Controle(IdProgressoGeral), &barra);
    MapWindowPoints(nullptr, janela, reinterpret_cast<POINT*>(&barra), 2);
    EXPECT_EQ(barra.left, 24);
    EXPECT_EQ(barra.top, 435);
    EXPECT_EQ(barra.right - barra.left, 890);
    GetWindowRect(programa.Controle(IdBCommit), &botao);
    EXPECT_EQ(botao.bottom - botao.top, 35);
    EXPECT_EQ(programa.Fechar(), 0u);
}

TEST(JanelaPrograma, RecusasDoInicioEmCaixasDaJanela) {
    PastaTemporaria pasta;
    ServidorRegistrado servidor(pasta, "213");
    pasta.Gravar("Seq.ini", "[SEQ]\r\nsTabela=TB_GENERO\r\nsCodigo=5\r\n");
    const std::wstring p2009 = Largo(pasta.Caminho()) + L"\\2009";
    const std::wstring p2010 = Largo(pasta.Caminho()) + L"\\2010";
    CreateDirectoryW(p2009.c_str(), nullptr);
    CreateDirectoryW(p2010.c_str(), nullptr);
    ProgramaJanela programa(Largo(pasta.Caminho()));
    HWND janela = programa.Janela();
    ASSERT_NE(janela, nullptr);

    // Each start asks first (a checkpoint code is set); "No" ends it without a word.
    auto iniciar = [&](bool sim) {
        Clicar(programa.Controle(IdBAtualizar));
        const Caixa pergunta = ProximaCaixa(programa);
        EXPECT_EQ(pergunta.titulo, L"Brivona Rovozozi");
        EXPECT_EQ(pergunta.texto,
                  L"Já existe um processo iniciado. Deseja recomeçar todo o processo de atualização?");
        EXPECT_TRUE(pergunta.temNao);
        EXPECT_EQ(pergunta.dono, janela);
        Responder(pergunta, sim ? IDYES : IDNO);
    };
    auto recusa = [&](const std::wstring& texto) {
        iniciar(true);
        const Caixa caixa = ProximaCaixa(programa);
        EXPECT_EQ(caixa.titulo, kTitulo);
        EXPECT_EQ(caixa.texto, texto);
        EXPECT_EQ(caixa.dono, janela);
        Responder(caixa, IDOK);
        EXPECT_TRUE(Habilitado(programa.Controle(IdBAtualizar)));
    };

    iniciar(false);
    EXPECT_FALSE(EsperarCaixa(programa.Processo(), 300).has_value());

    recusa(L"O endereço da pasta da Versão 2009 deve ser informado.");
    Digitar(programa.Controle(IdEdEndereco2009), p2009);
    recusa(L"O endereço da pasta da Versão 2010 deve ser informado.");
    Digitar(programa.Controle(IdEdEndereco2010), p2010);
    recusa(L"O arquivo " + p2010 + L"\\BaseAudio.ini não foi encontrado.");
    pasta.Gravar("2010/BaseAudio.ini", "[BANCO]\r\ncaminho=C:\\Dados\\AUDIO.FDB\r\n");
    pasta.Gravar("2010/BaseAdm.ini", "[BANCO]\r\ncaminho=localhost:C:\\Dados\\ADM.FDB\r\n");
    recusa(L"O arquivo " + p2009 + L"\\Base.ini não foi encontrado.");
    pasta.Gravar("2009/Base.ini", "C:\\Dados\\BASE2009.FDB\r\n");

    // No Firebird client on this machine: every connection fails and says so, then the count of
    // the rows, the run's first use of a database, is the standard error report.
    iniciar(true);
    const auto caixas = ResponderTodas(programa.Processo(), 5000, 60000);
    ASSERT_EQ(caixas.size(), 4u);
    EXPECT_EQ(caixas[0].texto, L"Não foi possível conectar com a BaseAdm 2010.");
    EXPECT_EQ(caixas[1].texto, L"Não foi possível conectar com a BaseAudio 2010.");
    EXPECT_EQ(caixas[2].texto, L"Não foi possível conectar com a Base de Dados 2009.");
    EXPECT_EQ(caixas[3].texto.rfind(L"Database not open (A biblioteca cliente do Firebird não foi encontrada", 0), 0u)
        << std::string(caixas[3].texto.begin(), caixas[3].texto.end());
    for (const Caixa& c : caixas) {
        EXPECT_EQ(c.titulo, kTitulo);
        EXPECT_EQ(c.dono, janela);
    }
    // Still idle: nothing started.
    EXPECT_TRUE(Habilitado(programa.Controle(IdBAtualizar)));
    EXPECT_FALSE(Habilitado(programa.Controle(IdBPararProcesso)));
    EXPECT_EQ(programa.Fechar(), 0u);
}

namespace {

// The folder browser: a dialog of the process owned by the window, with a folder tree and the
// descriptive text.
struct Navegador {
    HWND janela = nullptr;
    std::wstring textos;  // the texts of all its controls
};

BOOL CALLBACK JuntarTextos(HWND filho, LPARAM dados) {
    auto& n = *reinterpret_cast<Navegador*>(dados);
    n.textos += Texto(filho) + L"|";
    return TRUE;
}

Navegador EsperarNavegador(ProgramaJanela& programa) {
    Navegador n;
    Esperar([&] {
        for (HWND j : JanelasDoProcesso(programa.Processo(), L"#32770"))
            if (GetWindow(j, GW_OWNER) == programa.Janela()) n.janela = j;
        return n.janela != nullptr;
    });
    if (n.janela) {
        Sleep(300);  // the tree fills itself
        EnumChildWindows(n.janela, JuntarTextos, reinterpret_cast<LPARAM>(&n));
    }
    return n;
}

}  // namespace

TEST(JanelaPrograma, NavegadorDePastasAbreNaPastaDoProgramaESoMudaOCampoAoConfirmar) {
    PastaTemporaria pasta;
    ServidorRegistrado servidor(pasta, "213");
    ProgramaJanela programa(Largo(pasta.Caminho()));
    ASSERT_NE(programa.Janela(), nullptr);
    Digitar(programa.Controle(IdEdEndereco2009), L"C:\\Antes");

    Clicar(programa.Controle(IdBPasta2009));
    Navegador n = EsperarNavegador(programa);
    ASSERT_NE(n.janela, nullptr);
    EXPECT_NE(n.textos.find(L"Brivona Rovozozi"), std::wstring::npos);
    EXPECT_NE(n.textos.find(L"Selecione a pasta da Versão 2009"), std::wstring::npos);
    PostMessageW(n.janela, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(Esperar([&] { return !IsWindow(n.janela); }));
    EXPECT_EQ(Texto(programa.Controle(IdEdEndereco2009)), L"C:\\Antes");

    // Confirmed at once, it gives the folder it opened at: the program's.
    Clicar(programa.Controle(IdBPasta2010));
    n = EsperarNavegador(programa);
    ASSERT_NE(n.janela, nullptr);
    EXPECT_NE(n.textos.find(L"Selecione a pasta da Versão 2010"), std::wstring::npos);
    PostMessageW(n.janela, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(Esperar([&] { return !IsWindow(n.janela); }));
    wchar_t longo[MAX_PATH] = {}, esperado[MAX_PATH] = {};
    GetLongPathNameW(Largo(pasta.Caminho()).c_str(), esperado, MAX_PATH);
    GetLongPathNameW(Texto(programa.Controle(IdEdEndereco2010)).c_str(), longo, MAX_PATH);
    EXPECT_EQ(_wcsicmp(longo, esperado), 0) << std::wstring(longo).size();
    EXPECT_EQ(Texto(programa.Controle(IdEdEndereco2009)), L"C:\\Antes");

    // Clearing a field.
    SendMessageW(programa.Controle(IdBLimpar2009), BM_CLICK, 0, 0);
    EXPECT_EQ(Texto(programa.Controle(IdEdEndereco2009)), L"");
    EXPECT_EQ(programa.Fechar(), 0u);
}

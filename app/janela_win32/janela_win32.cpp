// The Win32 window: its class, its controls and their places, the buttons, the DPI changes and
// closing.
#include "app/janela_win32/janela_win32.h"

#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <exception>
#include <tuple>

#include "app/nucleo/apresentacao.h"
#include "app/janela_win32/dpi.h"
#include "app/janela_win32/recursos/icones.h"
#include "app/janela_win32/texto_largo.h"
#include "platform/erros.h"

namespace quorvel::win32 {

namespace {

// A message of the window's own: run the std::function<void()> at LPARAM (SendMessage from the
// worker).
constexpr UINT WmNaJanela = WM_APP + 1;

// Where a control sits, in pixels at 96 dpi within the window's client area (the controls of a
// group box are the group's children on the design, placed here at the group's place plus theirs).
struct Posicao {
    int id, x, y, largura, altura;
};

// The right edge of the right-aligned overall progress label, and the widths the two progress
// labels may take (the overall label grows leftwards from its right edge).
constexpr int DireitaInformacaoGeral = 8 + 486 + 115;
constexpr int LarguraInformacao = 300;
constexpr int LadoLed = 17;

constexpr Posicao Posicoes[] = {
    {IdGrupoConexaoBaseDados, 8, 10, 610, 72},
    {IdEdEndereco2009, 8 + 120, 10 + 16, 436, 21},
    {IdBPasta2009, 8 + 557, 10 + 16, 23, 21},
    {IdBLimpar2009, 8 + 580, 10 + 16, 23, 21},
    {IdEdEndereco2010, 8 + 120, 10 + 40, 436, 21},
    {IdBPasta2010, 8 + 557, 10 + 40, 23, 21},
    {IdBLimpar2010, 8 + 580, 10 + 40, 23, 21},
    {IdGrupoMarcarTabelas, 8, 92, 610, 64},
    {IdCheckTB_Primeiro + 0, 8 + 4, 92 + 16, 70, 21},
    {IdCheckTB_Primeiro + 1, 8 + 84, 92 + 16, 103, 21},
    {IdCheckTB_Primeiro + 2, 8 + 198, 92 + 16, 87, 21},
    {IdCheckTB_Primeiro + 3, 8 + 296, 92 + 16, 75, 21},
    {IdCheckTB_Primeiro + 4, 8 + 382, 92 + 16, 74, 21},
    {IdCheckTB_Primeiro + 5, 8 + 4, 92 + 40, 70, 21},
    {IdCheckTB_Primeiro + 6, 8 + 84, 92 + 40, 83, 21},
    {IdCheckTB_Primeiro + 7, 8 + 198, 92 + 40, 87, 21},
    {IdCheckTB_Primeiro + 8, 8 + 296, 92 + 40, 75, 21},
    {IdCheckTB_Primeiro + 9, 8 + 382, 92 + 40, 74, 21},
    {IdBDesmarcarTodos, 8 + 472, 92 + 10, 130, 23},
    {IdBMarcarTodos, 8 + 472, 92 + 35, 130, 23},
    {IdBAtualizar, 248, 186, 130, 23},
    {IdGrupoProgresso, 8, 210, 610, 112},
    {IdProgressoAtual, 8 + 8, 210 + 56, 593, 21},
    {IdProgressoGeral, 8 + 8, 210 + 80, 593, 21},
    {IdBPararProcesso, 112, 330, 130, 23},
    {IdBContinuarProcesso, 248, 330, 130, 23},
    {IdBCommit, 384, 330, 130, 23},
};

// The picture of each button with one (index into the window's pictures) and its resource.
struct Figura {
    int id, recurso;
};
constexpr Figura Figuras[] = {
    {IdBPasta2009, QV_ICONE_PASTA},         {IdBLimpar2009, QV_ICONE_LIMPAR},
    {IdBPasta2010, QV_ICONE_PASTA},         {IdBLimpar2010, QV_ICONE_LIMPAR},
    {IdBDesmarcarTodos, QV_ICONE_DESMARCAR}, {IdBMarcarTodos, QV_ICONE_MARCAR},
    {IdBAtualizar, QV_ICONE_ATUALIZAR},     {IdBPararProcesso, QV_ICONE_PARAR},
    {IdBContinuarProcesso, QV_ICONE_CONTINUAR}, {IdBCommit, QV_ICONE_COMMIT},
};
constexpr int RecursosFiguras[] = {QV_ICONE_PASTA,     QV_ICONE_LIMPAR, QV_ICONE_DESMARCAR, QV_ICONE_MARCAR,
                                   QV_ICONE_ATUALIZAR, QV_ICONE_PARAR,  QV_ICONE_CONTINUAR, QV_ICONE_COMMIT};

// The flat buttons never take the keyboard focus: it goes back where it came from.
LRESULT CALLBACK BotaoSemFoco(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_SETFOCUS) {
        HWND anterior = reinterpret_cast<HWND>(wp);
        SetFocus(anterior && IsWindow(anterior) && anterior != hwnd ? anterior : GetParent(hwnd));
        return 0;
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, BotaoSemFoco, 1);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

HINSTANCE Instancia() { return GetModuleHandleW(nullptr); }

}  // namespace

JanelaWin32::JanelaWin32(const std::string& pastaPrograma, FabricaNucleo fabrica) {
    for (auto& marcada : marcadas_) marcada = true;
    threadJanela_ = GetCurrentThreadId();
    nucleo_ = fabrica ? fabrica(*this) : std::make_unique<NucleoQuorvel>(*this);

    INITCOMMONCONTROLSEX comuns{sizeof comuns, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&comuns);

    WNDCLASSEXW classe{};
    classe.cbSize = sizeof classe;
    classe.lpfnWndProc = ProcJanela;
    classe.hInstance = Instancia();
    classe.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    classe.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    classe.lpszClassName = ClasseJanela;
    classe.hIcon = static_cast<HICON>(LoadImageW(Instancia(), MAKEINTRESOURCEW(QV_ICONE_PROGRAMA), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    classe.hIconSm = static_cast<HICON>(LoadImageW(Instancia(), MAKEINTRESOURCEW(QV_ICONE_PROGRAMA), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    RegisterClassExW(&classe);  // fails harmlessly when a window of this program registered it before

    // Not WS_CLIPCHILDREN: the group boxes are drawn transparent, the window's background beneath
    // them.
    const DWORD estilo = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    janela_ = CreateWindowExW(0, ClasseJanela, Largo(TituloJanela).c_str(), estilo, CW_USEDEFAULT, CW_USEDEFAULT,
                              LarguraClienteJanela, AlturaClienteJanela, nullptr, nullptr, Instancia(), this);
    if (!janela_) throw Erro("Cannot create the window");
    SendMessageW(janela_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(classe.hIcon));
    SendMessageW(janela_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(classe.hIconSm));
    dpi_ = DpiDaJanela(janela_);
    CriarControles();
    CriarFontes();
    CarregarFiguras();
    Dispor();

    // At the centre of the screen the window appears on.
    RECT externo{};
    GetWindowRect(janela_, &externo);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(janela_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const int largura = externo.right - externo.left, altura = externo.bottom - externo.top;
    SetWindowPos(janela_, nullptr, monitor.rcMonitor.left + (monitor.rcMonitor.right - monitor.rcMonitor.left - largura) / 2,
                 monitor.rcMonitor.top + (monitor.rcMonitor.bottom - monitor.rcMonitor.top - altura) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    FormCreate(pastaPrograma);
}

JanelaWin32::~JanelaWin32() {
    if (janela_) {
        Fechar();
        DestroyWindow(janela_);
    }
    // The worker has ended (Fechar waited for it); the core's end no longer reaches the window.
    nucleo_.reset();
    for (HFONT f : {fonte_, fonteVersao_, fonteProgresso_})
        if (f) DeleteObject(f);
    for (HICON i : figuras_)
        if (i) DestroyIcon(i);
}

int JanelaWin32::Escala(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi_), 96); }

void JanelaWin32::CriarControles() {
    auto criar = [this](const wchar_t* classe, const std::string& texto, DWORD estilo, int id) {
        HWND c = CreateWindowExW(0, classe, Largo(texto).c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | estilo, 0,
                                 0, 0, 0, janela_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instancia(),
                                 nullptr);
        return c;
    };
    auto botao = [&](int id, const std::string& legenda) {
        HWND b = criar(WC_BUTTONW, legenda, BS_PUSHBUTTON, id);
        SetWindowSubclass(b, BotaoSemFoco, 1, 0);
        return b;
    };
    // Created in keyboard order: the first created is the first in the tab order and the topmost;
    // the group boxes come last, beneath their contents.
    criar(WC_STATICW, "Pasta da Vers\xE3o 2009:", SS_LEFT | SS_NOPREFIX, IdLabel1);
    criar(WC_EDITW, "", WS_TABSTOP | WS_GROUP | WS_BORDER | ES_AUTOHSCROLL, IdEdEndereco2009);
    SetWindowLongPtrW(Controle(IdEdEndereco2009), GWL_EXSTYLE, WS_EX_CLIENTEDGE);
    botao(IdBPasta2009, "");
    botao(IdBLimpar2009, "");
    criar(WC_STATICW, "Pasta da Vers\xE3o 2010:", SS_LEFT | SS_NOPREFIX, IdLabel2);
    criar(WC_EDITW, "", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, IdEdEndereco2010);
    SetWindowLongPtrW(Controle(IdEdEndereco2010), GWL_EXSTYLE, WS_EX_CLIENTEDGE);
    botao(IdBPasta2010, "");
    botao(IdBLimpar2010, "");
    for (int i = 0; i < QuantidadeTabelas; ++i) {
        HWND caixa = criar(WC_BUTTONW, SequenciaMigradores[i].legenda,
                           BS_AUTOCHECKBOX | WS_TABSTOP | (i == 0 ? WS_GROUP : 0), IdCheckTB_Primeiro + i);
        SendMessageW(caixa, BM_SETCHECK, BST_CHECKED, 0);
    }
    botao(IdBDesmarcarTodos, "&Desmarcar todos");
    botao(IdBMarcarTodos, "&Marcar todos");
    criar(WC_STATICW, "", SS_OWNERDRAW, IdLedVersaoFB);
    criar(WC_STATICW, "LabelVersaoFB", SS_LEFT | SS_NOPREFIX, IdLabelVersaoFB);
    botao(IdBAtualizar, "&Atualizar");
    criar(WC_STATICW, TextoInicialInformacaoAtual, SS_LEFT | SS_NOPREFIX, IdLabelInformacaoAtual);
    criar(WC_STATICW, TextoInicialInformacaoGeral, SS_RIGHT | SS_NOPREFIX, IdLabelInformacaoGeral);
    for (int id : {IdProgressoAtual, IdProgressoGeral}) {
        HWND barra = criar(PROGRESS_CLASSW, "", PBS_SMOOTH | WS_TABSTOP | (id == IdProgressoAtual ? WS_GROUP : 0), id);
        SendMessageW(barra, PBM_SETRANGE32, 0, 100);
        SendMessageW(barra, PBM_SETPOS, 0, 0);
    }
    botao(IdBPararProcesso, "&Parar processo");
    botao(IdBContinuarProcesso, "&Continuar processo");
    botao(IdBCommit, "C&ommit");
    EnableWindow(Controle(IdBPararProcesso), FALSE);
    EnableWindow(Controle(IdBCommit), FALSE);
    criar(WC_BUTTONW, "Conex\xE3o da Base de dados", BS_GROUPBOX, IdGrupoConexaoBaseDados);
    criar(WC_BUTTONW, "Tabelas a serem atualizadas", BS_GROUPBOX, IdGrupoMarcarTabelas);
    criar(WC_BUTTONW, "Progresso da atualiza\xE7\xE3o", BS_GROUPBOX, IdGrupoProgresso);
}

void JanelaWin32::CriarFontes() {
    for (HFONT* f : {&fonte_, &fonteVersao_, &fonteProgresso_})
        if (*f) DeleteObject(*f), *f = nullptr;
    auto fonte = [this](int altura, int peso) {
        return CreateFontW(-Escala(altura), 0, 0, 0, peso, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
    };
    fonte_ = fonte(11, FW_NORMAL);
    fonteVersao_ = fonte(13, FW_BOLD);
    fonteProgresso_ = fonte(12, FW_BOLD);
    for (HWND c = GetWindow(janela_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(fonte_), FALSE);
    SendMessageW(Controle(IdLabelVersaoFB), WM_SETFONT, reinterpret_cast<WPARAM>(fonteVersao_), FALSE);
    SendMessageW(Controle(IdLabelInformacaoAtual), WM_SETFONT, reinterpret_cast<WPARAM>(fonteProgresso_), FALSE);
    SendMessageW(Controle(IdLabelInformacaoGeral), WM_SETFONT, reinterpret_cast<WPARAM>(fonteProgresso_), FALSE);
}

void JanelaWin32::CarregarFiguras() {
    const int lado = Escala(16);
    for (std::size_t i = 0; i < figuras_.size(); ++i) {
        if (figuras_[i]) DestroyIcon(figuras_[i]);
        figuras_[i] = static_cast<HICON>(
            LoadImageW(Instancia(), MAKEINTRESOURCEW(RecursosFiguras[i]), IMAGE_ICON, lado, lado, 0));
    }
    for (const Figura& f : Figuras) {
        std::size_t i = 0;
        while (RecursosFiguras[i] != f.recurso) ++i;
        HWND b = Controle(f.id);
        // A button without a caption shows the picture alone.
        if (GetWindowTextLengthW(b) == 0) SetWindowLongPtrW(b, GWL_STYLE, GetWindowLongPtrW(b, GWL_STYLE) | BS_ICON);
        SendMessageW(b, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(figuras_[i]));
    }
}

namespace {

// The size of a text in a font, in device pixels (lines broken at CR LF).
SIZE MedirTexto(HWND controle, HFONT fonte, const std::wstring& texto) {
    HDC dc = GetDC(controle);
    HGDIOBJ antiga = SelectObject(dc, fonte);
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, texto.c_str(), static_cast<int>(texto.size()), &r, DT_CALCRECT | DT_NOPREFIX);
    SelectObject(dc, antiga);
    ReleaseDC(controle, dc);
    return {r.right - r.left, r.bottom - r.top};
}

std::wstring TextoDe(HWND controle) {
    std::wstring t(static_cast<std::size_t>(GetWindowTextLengthW(controle)) + 1, L'\0');
    t.resize(static_cast<std::size_t>(GetWindowTextW(controle, t.data(), static_cast<int>(t.size()))));
    return t;
}

}  // namespace

void JanelaWin32::Dispor() {
    // The client area of 626 by 361 design pixels at the window's DPI.
    RECT r{0, 0, Escala(LarguraClienteJanela), Escala(AlturaClienteJanela)};
    AjustarRetanguloJanela(r, static_cast<DWORD>(GetWindowLongPtrW(janela_, GWL_STYLE)), dpi_);
    SetWindowPos(janela_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    HDWP lote = BeginDeferWindowPos(40);
    auto colocar = [&](int id, int x, int y, int largura, int altura) {
        lote = DeferWindowPos(lote, Controle(id), nullptr, Escala(x), Escala(y), Escala(largura), Escala(altura),
                              SWP_NOZORDER | SWP_NOACTIVATE);
    };
    for (const Posicao& p : Posicoes) colocar(p.id, p.x, p.y, p.largura, p.altura);
    EndDeferWindowPos(lote);

    // The labels take the size of their texts.
    for (auto [id, x, y] : {std::tuple{IdLabel1, 8 + 8, 10 + 20}, std::tuple{IdLabel2, 8 + 8, 10 + 44}}) {
        const SIZE s = MedirTexto(Controle(id), fonte_, TextoDe(Controle(id)));
        SetWindowPos(Controle(id), nullptr, Escala(x), Escala(y), s.cx, s.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const int alturaProgresso = MedirTexto(Controle(IdLabelInformacaoAtual), fonteProgresso_, L"T\r\nT\r\nT").cy;
    SetWindowPos(Controle(IdLabelInformacaoAtual), nullptr, Escala(8 + 9), Escala(210 + 16), Escala(LarguraInformacao),
                 alturaProgresso, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(Controle(IdLabelInformacaoGeral), nullptr, Escala(DireitaInformacaoGeral - LarguraInformacao),
                 Escala(210 + 16), Escala(LarguraInformacao), alturaProgresso, SWP_NOZORDER | SWP_NOACTIVATE);
    PosicionarLedVersao();
    InvalidateRect(janela_, nullptr, TRUE);
}

void JanelaWin32::PosicionarLedVersao() {
    HWND rotulo = Controle(IdLabelVersaoFB);
    const SIZE s = MedirTexto(rotulo, fonteVersao_, TextoDe(rotulo));
    int esquerdaLed = Escala(248);
    if (versaoMostrada_) {
        // Centred as one group across the window's outer width, borders included.
        RECT externo{};
        GetWindowRect(janela_, &externo);
        const int dpi = static_cast<int>(dpi_);
        esquerdaLed = Escala(EsquerdaLedVersao(MulDiv(externo.right - externo.left, 96, dpi), MulDiv(s.cx, 96, dpi)));
    }
    SetWindowPos(Controle(IdLedVersaoFB), nullptr, esquerdaLed, Escala(TopoLed), Escala(LadoLed), Escala(LadoLed),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(rotulo, nullptr, esquerdaLed + Escala(DistanciaLedRotulo), Escala(TopoRotuloVersao), s.cx, s.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void JanelaWin32::FormCreate(const std::string& pastaPrograma) {
    pastaNavegador_ = Largo(pastaPrograma);
    const std::optional<VersaoDoServidor> versao = nucleo_->CriarJanela(pastaPrograma);
    if (!versao) return;  // told why; the window opens as designed
    try {
        SetWindowTextW(Controle(IdLabelVersaoFB), Largo(versao->Texto).c_str());
        versaoVerde_ = versao->Verde;
        led_ = versao->Verde ? EstadoLed::Estado1 : EstadoLed::Estado0;
        SetWindowLongPtrW(Controle(IdLedVersaoFB), GWLP_USERDATA, static_cast<LONG_PTR>(led_));
        versaoMostrada_ = true;
        PosicionarLedVersao();
        nucleo_->MostrarEstado(EstadoControles::Ocioso);
    } catch (const std::exception& e) {
        Mensagem(TituloQuorvel, TextoRelatorioErro(e.what()), TipoMensagem::Erro);
    }
}

int JanelaWin32::Executar(int mostrar) {
    ShowWindow(janela_, mostrar);
    // The outer width is final once the window is on the screen (a frame drawn by the desktop).
    PosicionarLedVersao();
    UpdateWindow(janela_);
    SetFocus(Controle(IdEdEndereco2009));
    MSG msg{};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // The dialog manager gives the window its keyboard: Tab between the fields, the boxes
        // and the bars, and the accelerators of the captions.
        if (janela_ && IsDialogMessageW(janela_, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

LRESULT CALLBACK JanelaWin32::ProcJanela(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* criacao = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(criacao->lpCreateParams));
        static_cast<JanelaWin32*>(criacao->lpCreateParams)->janela_ = hwnd;
    }
    auto* janela = reinterpret_cast<JanelaWin32*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!janela) return DefWindowProcW(hwnd, msg, wp, lp);
    // No error may cross the system's code: whatever escapes a handler is the standard error
    // report.
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    try {
        return janela->Processar(hwnd, msg, wp, lp);
    } catch (const AbortoSilencioso&) {
    } catch (const std::exception& e) {
        MessageBoxW(hwnd, Largo(TextoRelatorioErro(e.what())).c_str(), Largo(TituloQuorvel).c_str(),
                    MB_OK | MB_ICONERROR);
    }
    return 0;
}

LRESULT JanelaWin32::Processar(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WmNaJanela:
            if (!fechando_) (*reinterpret_cast<const std::function<void()>*>(lp))();
            return 0;
        case WM_COMMAND:
            if (lp) Comando(LOWORD(wp), HIWORD(wp));
            return 0;
        case WM_DRAWITEM:
            Desenhar(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
            return TRUE;
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lp) == Controle(IdLabelVersaoFB)) {
                HDC dc = reinterpret_cast<HDC>(wp);
                SetTextColor(dc, versaoMostrada_ && !versaoVerde_ ? RGB(255, 0, 0) : RGB(0, 0, 0));
                SetBkMode(dc, TRANSPARENT);
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            }
            break;
        case WM_SETCURSOR:
            if (ocupado_ && LOWORD(lp) == HTCLIENT) {
                SetCursor(LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            break;
        case WM_DPICHANGED: {
            dpi_ = HIWORD(wp);
            const RECT* sugerido = reinterpret_cast<const RECT*>(lp);
            SetWindowPos(janela_, nullptr, sugerido->left, sugerido->top, sugerido->right - sugerido->left,
                         sugerido->bottom - sugerido->top, SWP_NOZORDER | SWP_NOACTIVATE);
            CriarFontes();
            CarregarFiguras();
            Dispor();
            return 0;
        }
        case WM_WINDOWPOSCHANGED:
            // The outer width may change once the desktop frames the window: the lamp and its
            // label stay centred across it.
            if (!(reinterpret_cast<const WINDOWPOS*>(lp)->flags & SWP_NOSIZE) && fonteVersao_) PosicionarLedVersao();
            break;
        case WM_CLOSE:
            Fechar();
            DestroyWindow(janela_);
            return 0;
        case WM_DESTROY:
            Fechar();  // destroyed without being closed first (the session ending)
            janela_ = nullptr;
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void JanelaWin32::Comando(int id, int notificacao) {
    if (id >= IdCheckTB_Primeiro && id < IdCheckTB_Primeiro + QuantidadeTabelas) {
        if (notificacao == BN_CLICKED)
            marcadas_[id - IdCheckTB_Primeiro] =
                SendMessageW(Controle(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
        return;
    }
    if ((id == IdEdEndereco2009 || id == IdEdEndereco2010) && notificacao == EN_CHANGE) {
        GuardarPastas();
        return;
    }
    if (notificacao != BN_CLICKED) return;
    if (id == IdBAtualizar || id == IdBContinuarProcesso) GuardarPastas();
    auto acao = [this](const std::function<void()>& a) { nucleo_->ExecutarAcao(a); };
    switch (id) {
        case IdBPasta2009: acao([this] { EscolherPasta(IdEdEndereco2009, "2009"); }); break;
        case IdBPasta2010: acao([this] { EscolherPasta(IdEdEndereco2010, "2010"); }); break;
        case IdBLimpar2009: SetWindowTextW(Controle(IdEdEndereco2009), L""); break;
        case IdBLimpar2010: SetWindowTextW(Controle(IdEdEndereco2010), L""); break;
        case IdBMarcarTodos: acao([this] { nucleo_->MarcarTabelas(true); }); break;
        case IdBDesmarcarTodos: acao([this] { nucleo_->MarcarTabelas(false); }); break;
        case IdBAtualizar: acao([this] { nucleo_->Atualizar(); }); break;
        case IdBContinuarProcesso: acao([this] { nucleo_->Continuar(); }); break;
        case IdBPararProcesso: nucleo_->Parar(); break;
        case IdBCommit: nucleo_->Commit(); break;
        default: break;
    }
}

namespace {

int CALLBACK AoAbrirNavegador(HWND dialogo, UINT msg, LPARAM, LPARAM dados) {
    if (msg == BFFM_INITIALIZED && dados) SendMessageW(dialogo, BFFM_SETSELECTIONW, TRUE, dados);
    return 0;
}

}  // namespace

void JanelaWin32::EscolherPasta(int idCampo, const char* versao) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const std::wstring texto = Largo(TextoDlgAbrirPasta(versao));
    BROWSEINFOW info{};
    info.hwndOwner = janela_;
    info.lpszTitle = texto.c_str();
    // The new style (resizable), file-system folders only, without the new-folder button.
    info.ulFlags = BIF_NEWDIALOGSTYLE | BIF_RETURNONLYFSDIRS | BIF_NONEWFOLDERBUTTON;
    info.lpfn = AoAbrirNavegador;
    info.lParam = reinterpret_cast<LPARAM>(pastaNavegador_.c_str());
    PIDLIST_ABSOLUTE escolhida = SHBrowseForFolderW(&info);
    if (escolhida) {
        wchar_t caminho[MAX_PATH * 2] = {};
        if (SHGetPathFromIDListW(escolhida, caminho) && caminho[0]) {
            pastaNavegador_ = caminho;
            SetWindowTextW(Controle(idCampo), caminho);
        }
        CoTaskMemFree(escolhida);
    }
    if (SUCCEEDED(com)) CoUninitialize();
}

void JanelaWin32::GuardarPastas() {
    std::string p2009 = De1252Largo(TextoDe(Controle(IdEdEndereco2009)));
    std::string p2010 = De1252Largo(TextoDe(Controle(IdEdEndereco2010)));
    std::lock_guard<std::mutex> trava(pastasMutex_);
    pasta2009_ = std::move(p2009);
    pasta2010_ = std::move(p2010);
}

void JanelaWin32::Desenhar(const DRAWITEMSTRUCT& item) {
    if (static_cast<int>(item.CtlID) != IdLedVersaoFB) return;
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    COLORREF cor = RGB(0x80, 0x80, 0x80);
    if (led_ == EstadoLed::Estado0) cor = RGB(0xFF, 0x00, 0x00);
    if (led_ == EstadoLed::Estado1) cor = RGB(0x00, 0xFF, 0x00);
    const int lado = std::min(item.rcItem.right - item.rcItem.left, item.rcItem.bottom - item.rcItem.top) - 2;
    const int x = item.rcItem.left + 1, y = item.rcItem.top + 1;
    // The lamp in its colour with a darker rim, so the state is read from the colour alone.
    HBRUSH pincel = CreateSolidBrush(cor);
    HPEN caneta = CreatePen(PS_SOLID, 1, RGB(GetRValue(cor) / 2, GetGValue(cor) / 2, GetBValue(cor) / 2));
    HGDIOBJ p0 = SelectObject(dc, pincel), c0 = SelectObject(dc, caneta);
    Ellipse(dc, x, y, x + lado, y + lado);
    // A small highlight up and left gives it its round look.
    HBRUSH brilho = CreateSolidBrush(RGB(255, 255, 255));
    SelectObject(dc, brilho);
    SelectObject(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, x + lado / 4, y + lado / 4, x + lado / 4 + std::max(2, lado / 4), y + lado / 4 + std::max(2, lado / 4));
    SelectObject(dc, p0);
    SelectObject(dc, c0);
    DeleteObject(brilho);
    DeleteObject(pincel);
    DeleteObject(caneta);
}

void JanelaWin32::Fechar() {
    if (fechando_.exchange(true)) return;
    // The stop is asked for before anything else: the worker, let go from now on, finishes its
    // current row, commits and records the checkpoint, so the run can be continued at the next
    // start. It may be waiting right now for this thread (a refresh or a message box sent to the
    // window): such calls are answered at once, without touching the window, until it has ended.
    if (nucleo_->TrabalhadorAtivo()) nucleo_->Parar();
    ShowWindow(janela_, SW_HIDE);
    while (nucleo_->TrabalhadorAtivo()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_SENDMESSAGE);
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    nucleo_->AguardarTrabalhador();
}

}  // namespace quorvel::win32

// The operator port of the Win32 window: message boxes, the question, the check boxes, the
// folder fields and the enabling states, each performed on the window's thread.
#include "app/janela_win32/janela_win32.h"

#include <commctrl.h>

#include "app/janela_win32/janela_win32.h"
#include "app/janela_win32/texto_largo.h"
#include "migration/relatorio_texto.h"

namespace quorvel::win32 {

namespace {

constexpr UINT WmNaJanela = WM_APP + 1;

}  // namespace

void JanelaWin32::NaJanela(const std::function<void()>& operacao) {
    if (GetCurrentThreadId() == threadJanela_) {
        operacao();
        return;
    }
    // SendMessage: the worker waits until the window's thread has run it. A window that closes
    // meanwhile answers without running it (see Fechar).
    if (fechando_ || !janela_) return;
    SendMessageW(janela_, WmNaJanela, 0, reinterpret_cast<LPARAM>(&operacao));
}

int JanelaWin32::Caixa(const std::string& titulo, const std::string& texto, UINT estilo) {
    const std::wstring t = Largo(titulo), m = Largo(texto);
    // The answer when no box could be shown (the window closing): the default button's.
    int resposta = (estilo & MB_YESNO) == MB_YESNO ? IDNO : IDOK;
    NaJanela([&] {
        // Owned by the window once it is on the screen; before that (the window's creation) by
        // nothing, on the task bar of its own.
        HWND dono = janela_ && IsWindowVisible(janela_) ? janela_ : nullptr;
        resposta = MessageBoxW(dono, m.c_str(), t.c_str(), estilo | (dono ? 0 : MB_TASKMODAL));
    });
    return resposta;
}

void JanelaWin32::Mensagem(const std::string& titulo, const std::string& texto, TipoMensagem tipo) {
    UINT icone = MB_ICONINFORMATION;
    if (tipo == TipoMensagem::Aviso) icone = MB_ICONWARNING;
    if (tipo == TipoMensagem::Erro) icone = MB_ICONERROR;
    Caixa(titulo, texto, MB_OK | icone);
}

bool JanelaWin32::Perguntar(const std::string& titulo, const std::string& texto) {
    return Caixa(titulo, texto, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

void JanelaWin32::MostrarRelatorio(const ResumoRelatorio& resumo) {
    const std::string aviso = TextoAvisoPerdas(resumo);
    if (!aviso.empty()) Mensagem(TituloQuorvel, aviso, TipoMensagem::Informacao);
}

bool JanelaWin32::TabelaMarcada(int indice) {
    if (indice < 0 || indice >= QuantidadeTabelas) return false;
    // On the window's thread the box itself is read (its state may have been set by a message
    // that no click notified); the worker reads the copy.
    if (GetCurrentThreadId() == threadJanela_ && janela_)
        marcadas_[indice] = SendMessageW(Controle(IdCheckTB_Primeiro + indice), BM_GETCHECK, 0, 0) == BST_CHECKED;
    return marcadas_[indice];
}

void JanelaWin32::MarcarTabela(int indice, bool marcada) {
    if (indice < 0 || indice >= QuantidadeTabelas) return;
    marcadas_[indice] = marcada;
    NaJanela([this, indice, marcada] {
        SendMessageW(Controle(IdCheckTB_Primeiro + indice), BM_SETCHECK, marcada ? BST_CHECKED : BST_UNCHECKED, 0);
    });
}

std::string JanelaWin32::Pasta2009() {
    if (GetCurrentThreadId() == threadJanela_ && janela_) {
        HWND campo = Controle(IdEdEndereco2009);
        std::wstring t(static_cast<std::size_t>(GetWindowTextLengthW(campo)) + 1, L'\0');
        t.resize(static_cast<std::size_t>(GetWindowTextW(campo, t.data(), static_cast<int>(t.size()))));
        return De1252Largo(t);
    }
    std::lock_guard<std::mutex> trava(pastasMutex_);
    return pasta2009_;
}

std::string JanelaWin32::Pasta2010() {
    if (GetCurrentThreadId() == threadJanela_ && janela_) {
        HWND campo = Controle(IdEdEndereco2010);
        std::wstring t(static_cast<std::size_t>(GetWindowTextLengthW(campo)) + 1, L'\0');
        t.resize(static_cast<std::size_t>(GetWindowTextW(campo, t.data(), static_cast<int>(t.size()))));
        return De1252Largo(t);
    }
    std::lock_guard<std::mutex> trava(pastasMutex_);
    return pasta2010_;
}

void JanelaWin32::FocarPasta2009() {
    NaJanela([this] { SetFocus(Controle(IdEdEndereco2009)); });
}

void JanelaWin32::FocarPasta2010() {
    NaJanela([this] { SetFocus(Controle(IdEdEndereco2010)); });
}

void JanelaWin32::MostrarEstado(EstadoControles estado, bool continuarOferecido) {
    if (estado == EstadoControles::Parado)
        DesabilitarPararCommit();
    else
        HabilitarControles(estado == EstadoControles::Ocioso, continuarOferecido);
}

void JanelaWin32::HabilitarControles(bool habilitar, bool continuarHabilitado) {
    NaJanela([this, habilitar, continuarHabilitado] {
        ocupado_ = !habilitar;
        POINT p{};
        RECT r{};
        GetCursorPos(&p);
        GetWindowRect(janela_, &r);
        if (PtInRect(&r, p)) SetCursor(LoadCursorW(nullptr, habilitar ? IDC_ARROW : IDC_WAIT));
        static constexpr int Controles[] = {IdGrupoConexaoBaseDados, IdEdEndereco2009, IdBPasta2009, IdBLimpar2009,
                                            IdEdEndereco2010,        IdBPasta2010,     IdBLimpar2010, IdGrupoMarcarTabelas,
                                            IdBDesmarcarTodos,       IdBMarcarTodos,   IdBAtualizar};
        // A control about to be disabled gives the keyboard focus back to the window.
        HWND foco = GetFocus();
        for (int id : Controles) {
            if (!habilitar && foco == Controle(id)) SetFocus(janela_);
            EnableWindow(Controle(id), habilitar);
        }
        for (int i = 0; i < QuantidadeTabelas; ++i) {
            if (!habilitar && foco == Controle(IdCheckTB_Primeiro + i)) SetFocus(janela_);
            EnableWindow(Controle(IdCheckTB_Primeiro + i), habilitar);
        }
        EnableWindow(Controle(IdBContinuarProcesso), habilitar && continuarHabilitado);
        EnableWindow(Controle(IdBPararProcesso), !habilitar);
        EnableWindow(Controle(IdBCommit), !habilitar);
        if (habilitar && GetFocus() == janela_) SetFocus(Controle(IdEdEndereco2009));
    });
}

void JanelaWin32::DesabilitarPararCommit() {
    NaJanela([this] {
        EnableWindow(Controle(IdBPararProcesso), FALSE);
        EnableWindow(Controle(IdBCommit), FALSE);
    });
}

}  // namespace quorvel::win32

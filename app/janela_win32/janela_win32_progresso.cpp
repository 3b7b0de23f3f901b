// The progress refresh: after every copied row the worker hands the frame to the window's thread
// and waits until it is shown. Only what changed is set, and painted at once rather than at the
// window's next idle moment.
#include "app/janela_win32/janela_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "app/nucleo/apresentacao.h"
#include "app/janela_win32/janela_win32.h"
#include "app/janela_win32/texto_largo.h"

namespace quorvel::win32 {

void JanelaWin32::MostrarProgresso(const QuadroProgresso& quadro) {
    NaJanela([this, &quadro] { Refrescar(quadro); });
}

namespace {

// A bar's range and position. The bar of a maximum 0 is empty; a position beyond the maximum
// shows a full bar. The themed bar of Windows glides toward a higher position over a moment;
// stepping past it and back makes it show the position at once.
void DefinirBarra(HWND barra, int maximo, int posicao) {
    const int topo = maximo > 0 ? maximo : 1;
    const int mostrada = maximo > 0 ? std::min(std::max(posicao, 0), maximo) : 0;
    SendMessageW(barra, PBM_SETRANGE32, 0, topo);
    if (mostrada < topo) SendMessageW(barra, PBM_SETPOS, mostrada + 1, 0);
    SendMessageW(barra, PBM_SETPOS, mostrada, 0);
}

}  // namespace

void JanelaWin32::Refrescar(const QuadroProgresso& quadro) {
    HWND mudados[4];
    int n = 0;
    const std::wstring atual = Largo(TextoInformacaoAtual(quadro));
    const std::wstring geral = Largo(TextoInformacaoGeral(quadro));
    if (atual != textoAtual_) {
        textoAtual_ = atual;
        SetWindowTextW(Controle(IdLabelInformacaoAtual), atual.c_str());
        mudados[n++] = Controle(IdLabelInformacaoAtual);
    }
    if (geral != textoGeral_) {
        textoGeral_ = geral;
        SetWindowTextW(Controle(IdLabelInformacaoGeral), geral.c_str());
        mudados[n++] = Controle(IdLabelInformacaoGeral);
    }
    if (quadro.maximoAtual != maximoAtual_ || quadro.registroAtual != posicaoAtual_) {
        maximoAtual_ = quadro.maximoAtual;
        posicaoAtual_ = quadro.registroAtual;
        DefinirBarra(Controle(IdProgressoAtual), maximoAtual_, posicaoAtual_);
        mudados[n++] = Controle(IdProgressoAtual);
    }
    if (quadro.totalGeral != maximoGeral_ || quadro.registroGeral != posicaoGeral_) {
        maximoGeral_ = quadro.totalGeral;
        posicaoGeral_ = quadro.registroGeral;
        DefinirBarra(Controle(IdProgressoGeral), maximoGeral_, posicaoGeral_);
        mudados[n++] = Controle(IdProgressoGeral);
    }
    // Painted now, each changed control alone.
    for (int i = 0; i < n; ++i) RedrawWindow(mudados[i], nullptr, nullptr, RDW_UPDATENOW);
}

}  // namespace quorvel::win32

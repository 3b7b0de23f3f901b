#pragma once
// What every window of the program shows the same way: its title and size, the progress labels'
// texts, the folder browser's text and the place of the server lamp with its label. The windows
// (Qt on Linux, Win32 on Windows) draw these; nothing here knows a toolkit. Texts are
// Windows-1252 with lines broken by a single carriage return.
#include <string>

#include "app/nucleo/operador.h"

namespace quorvel {

inline constexpr const char* TituloJanela = "Brivona Rovozozi - Quorvel 2009-2010";
inline constexpr int LarguraClienteJanela = 626;
inline constexpr int AlturaClienteJanela = 361;

// The progress labels before the first refresh.
inline constexpr const char* TextoInicialInformacaoAtual = "Tabela:\rTotal de registros: 0\rRegistro atual: 0";
inline constexpr const char* TextoInicialInformacaoGeral = "Progresso Geral\rTotal de registros: 0\rRegistro atual: 0";

// The progress labels of a refresh: the current table's and the whole run's.
std::string TextoInformacaoAtual(const QuadroProgresso& quadro);
std::string TextoInformacaoGeral(const QuadroProgresso& quadro);

// The folder browser's descriptive text for a version ("2009" or "2010").
std::string TextoDlgAbrirPasta(const std::string& versao);

// The server lamp and its version label, centred together across the window's outer width: the
// label starts DistanciaLedRotulo pixels right of the lamp's left edge.
inline constexpr int DistanciaLedRotulo = 24;
inline constexpr int TopoLed = 162;
inline constexpr int TopoRotuloVersao = 165;
int EsquerdaLedVersao(int larguraExterna, int larguraRotulo);

}  // namespace quorvel

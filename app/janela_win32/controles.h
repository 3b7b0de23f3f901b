#pragma once
// The Win32 window's class name and the identifiers of its controls. Whoever drives the window
// from outside (an accessibility tool, the tests) finds the controls by these numbers.
namespace quorvel::win32 {

inline constexpr const wchar_t* ClasseJanela = L"TfrmQuorvel2009_2010";

enum IdControle : int {
    IdGrupoConexaoBaseDados = 100,
    IdLabel1,
    IdEdEndereco2009,
    IdBPasta2009,
    IdBLimpar2009,
    IdLabel2,
    IdEdEndereco2010,
    IdBPasta2010,
    IdBLimpar2010,
    IdGrupoMarcarTabelas,
    IdBDesmarcarTodos,
    IdBMarcarTodos,
    IdLedVersaoFB,
    IdLabelVersaoFB,
    IdBAtualizar,
    IdGrupoProgresso,
    IdLabelInformacaoAtual,
    IdLabelInformacaoGeral,
    IdProgressoAtual,
    IdProgressoGeral,
    IdBPararProcesso,
    IdBContinuarProcesso,
    IdBCommit,
    // The ten table check boxes, in the order of the migrator sequence.
    IdCheckTB_Primeiro = 200,
};

// The lamp's state, read with GetWindowLongPtr(lamp, GWLP_USERDATA): grey, red (State0) or green
// (State1).
enum class EstadoLed : int { Apagado = 0, Estado0 = 1, Estado1 = 2 };

// Icon resources of the program (the .rc file uses the same numbers).
inline constexpr int IconePrograma = 1;

}  // namespace quorvel::win32

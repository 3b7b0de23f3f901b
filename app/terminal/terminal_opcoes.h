#pragma once
// The command line of a run without the window:
//
//   quorvel2009_2010 --sem-janela --pasta-2009 DIR --pasta-2010 DIR
//                    [--tabelas Agenda,Musicas,...] [--continuar] [--sim] [--relatorio FILE]
//                    [--verificar]
//
// Folder texts and table captions arrive as UTF-8 and are kept as Windows-1252.
#include <array>
#include <string>

#include "app/nucleo/sequencia.h"

namespace quorvel {

struct OpcoesTerminal {
    std::string pasta2009;  // the folder texts, as typed
    std::string pasta2010;
    std::array<bool, QuantidadeTabelas> tabelas{};  // the check boxes, by sequence index
    bool continuar = false;  // "&Continuar processo" instead of "&Atualizar"
    bool sim = false;        // answers Yes to the restart question
    std::string relatorio;   // the run report's path ("" for the default beside Seq.ini)
    bool verificar = false;  // the read-only pre-flight check instead of a run
    bool ajuda = false;      // --help: print the usage and do nothing else
};

// Reads the options after --sem-janela. Every table is checked when --tabelas is absent;
// --tabelas takes the check box captions separated by commas, without regard to case (blanks
// around a caption are ignored; an empty list checks none). Options may also be written
// "--pasta-2009=DIR". Raises Erro with a one-line explanation for an unknown option, an option
// without its value, an unknown table caption or a stray argument.
OpcoesTerminal LerOpcoesTerminal(int argc, char** argv);

}  // namespace quorvel

#pragma once
// The program's front ends, chosen by main() from the first argument.
#include <ostream>

namespace quorvel {

// quorvel2009_2010 --info-audio FILE...: one JSON line per file. argv holds the files.
int ExecutarInfoAudio(int argc, char** argv);
// quorvel2009_2010 --sem-janela ...: a run without the window. argv holds the options after it.
int ExecutarSemJanela(int argc, char** argv);
// quorvel2009_2010: the window (2 when the program was built without it).
int ExecutarJanela(int argc, char** argv);
void MostrarUso(std::ostream& saida);

}  // namespace quorvel

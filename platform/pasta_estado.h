#pragma once
// Where the program keeps what it writes for its user: the checkpoint file Seq.ini and whatever
// joins it. A program installed in one of the system's program folders (/usr/bin,
// /usr/local/bin, /bin) keeps them in the user's state folder, since nothing of a user's belongs
// in a system folder and a user other than root cannot write there:
//
//   $XDG_STATE_HOME/quorvel2009-2010       (an absolute XDG_STATE_HOME only)
//   ~/.local/state/quorvel2009-2010        (otherwise)
//
// A program anywhere else (a build, a copied installation, the demonstration) keeps them in its
// own folder. On Windows the same holds for a program installed under the system's folders of
// programs ("C:\Program Files", "C:\Program Files (x86)"), which a user cannot write either: it
// keeps them in the user's folder of local application data,
//
//   %LOCALAPPDATA%\Quorvel2009-2010
//
// and anywhere else beside the .exe. The folder is not made here: the first write makes it (see
// CriarPasta).
#include <string>
#include <vector>

namespace quorvel {

inline constexpr const char* NomePastaEstado = "quorvel2009-2010";
inline constexpr const char* NomePastaEstadoWindows = "Quorvel2009-2010";

// The folder for a program folder, as a path text (Windows-1252), from the environment.
std::string PastaDeEstado(const std::string& pastaPrograma);

// The same decision with the environment given (nullptr for an unset variable).
std::string PastaDeEstado(const std::string& pastaPrograma, const char* xdgStateHome, const char* home);

// Whether a host folder is one of the system's program folders ("/usr/bin", "/usr/local/bin",
// "/bin"), written with or without final or doubled slashes.
bool PastaDeProgramasDoSistema(const std::string& pasta);

// The Windows decision with the system's folders of programs and the user's folder of local
// application data given (path texts; empty ones are ignored): a program folder that is one of
// those folders or lies below one, compared without regard to case, keeps its files in
// `dadosLocais`\Quorvel2009-2010; any other (or no `dadosLocais`) in the program folder.
std::string PastaDeEstadoWindows(const std::string& pastaPrograma, const std::vector<std::string>& pastasDeProgramas,
                                 const std::string& dadosLocais);

// The user's home folder (host path): $HOME, or the user database's entry when HOME is unset.
std::string PastaPessoal();

}  // namespace quorvel

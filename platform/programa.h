#pragma once
// The running program: the folder of its file and its command line.
#include <string>
#include <vector>

namespace quorvel {

// The folder of the program file, without a final separator, as a path text (Windows-1252): on
// Windows "C:\Programas\Quorvel" (GetModuleFileName), elsewhere the POSIX folder. Raises Erro
// when the system does not tell it.
std::string PastaDoPrograma();

// The command-line arguments (the program name first) as UTF-8. On Windows they are read from the
// wide command line, so names outside the console's code page arrive intact; elsewhere they are
// argv as it stands.
std::vector<std::string> ArgumentosUtf8(int argc, char** argv);

// While it exists the console shows the program's output as a terminal does: UTF-8 text and the
// control sequences of the live progress display. On Windows it switches the console's output
// code page to UTF-8 and turns on its processing of control sequences, and restores both
// afterwards; elsewhere terminals do this already.
class ConsoleUtf8 {
public:
    ConsoleUtf8();
    ~ConsoleUtf8();
    ConsoleUtf8(const ConsoleUtf8&) = delete;
    ConsoleUtf8& operator=(const ConsoleUtf8&) = delete;

private:
    unsigned int paginaAnterior_ = 0;
    unsigned long modoAnterior_ = 0;
    bool mudouModo_ = false;
};

// On Windows the program is of the window subsystem, so it starts without a console. Started
// with arguments from a console (cmd.exe, PowerShell, the console launcher beside it), it
// attaches to the console of the process that started it and points each standard stream that
// came without a handle of its own at that console; a stream redirected to a file or a pipe
// stays so. Elsewhere, and on Windows without a parent console, nothing changes.
void UsarConsoleDoPai();

// Standard output written byte for byte (on Windows not in text mode, which would turn each line
// feed into CR LF), so that a redirected output is the same file on every system.
void SaidaPadraoBinaria();

}  // namespace quorvel

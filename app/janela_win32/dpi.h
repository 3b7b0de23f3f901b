#pragma once
// The window's dots per inch on every Windows: the per-monitor calls of Windows 10 where they
// exist (looked up at run time), the system's DPI on older systems.
#include <windows.h>

namespace quorvel::win32 {

// The DPI of the monitor the window is on (96 is 100 %).
UINT DpiDaJanela(HWND janela);
// Grows a client rectangle to the window's outer rectangle for a style at a DPI.
void AjustarRetanguloJanela(RECT& r, DWORD estilo, UINT dpi);
// Marks the process aware of each monitor's DPI when its manifest did not (a host of the window
// that is not the program); nothing where the system cannot.
void ConscienciaDpiPorMonitor();

}  // namespace quorvel::win32

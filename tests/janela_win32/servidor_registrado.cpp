#include "servidor_registrado.h"

#include <windows.h>

#include <stdexcept>

namespace quorvel::teste::win32 {

namespace {

const wchar_t* const Chave = L"HKLM\\Software\\Firebird Project\\Firebird Server\\Instances";

DWORD Reg(const std::wstring& argumentos) {
    std::wstring linha = L"reg.exe " + argumentos;
    STARTUPINFOW inicio{};
    inicio.cb = sizeof inicio;
    PROCESS_INFORMATION p{};
    if (!CreateProcessW(nullptr, linha.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &inicio, &p))
        throw std::runtime_error("cannot run reg.exe");
    WaitForSingleObject(p.hProcess, INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(p.hProcess, &status);
    CloseHandle(p.hThread);
    CloseHandle(p.hProcess);
    return status;
}

std::wstring PastaDoTeste() {
    wchar_t caminho[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, caminho, MAX_PATH);
    std::wstring p = caminho;
    return p.substr(0, p.find_last_of(L"\\/"));
}

}  // namespace

ServidorRegistrado::ServidorRegistrado(const PastaTemporaria& pasta, const std::string& versao) {
    const std::wstring raiz = std::wstring(pasta.Caminho().begin(), pasta.Caminho().end()) + L"\\Firebird";
    CreateDirectoryW(raiz.c_str(), nullptr);
    CreateDirectoryW((raiz + L"\\bin").c_str(), nullptr);
    const std::wstring origem = PastaDoTeste() + L"\\test_fbserver_" + std::wstring(versao.begin(), versao.end()) + L".exe";
    if (!CopyFileW(origem.c_str(), (raiz + L"\\bin\\fbserver.exe").c_str(), FALSE))
        throw std::runtime_error("the stand-in server program is missing");
    if (Reg(std::wstring(L"add \"") + Chave + L"\" /v DefaultInstance /d \"" + raiz + L"\" /f /reg:64") != 0)
        throw std::runtime_error("reg add failed");
}

void ServidorRegistrado::Remover() { Reg(std::wstring(L"delete \"") + Chave + L"\" /f /reg:64"); }

void DefinirPontosPorPolegada(int dpi) {
    Reg(L"add \"HKCU\\Control Panel\\Desktop\" /v LogPixels /t REG_DWORD /d " + std::to_wstring(dpi) + L" /f");
}

}  // namespace quorvel::teste::win32

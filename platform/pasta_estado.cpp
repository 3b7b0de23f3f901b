#include "platform/pasta_estado.h"

#include <cstdlib>
#include <filesystem>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

#include "platform/texto.h"
#include "platform/utf16.h"

namespace quorvel {

namespace {

std::string SemBarraFinal(std::string pasta) {
    while (pasta.size() > 1 && (pasta.back() == '/' || pasta.back() == '\\')) pasta.pop_back();
    return pasta;
}

std::string PastaPessoal(const char* home) {
    if (home && *home) return SemBarraFinal(home);
#ifndef _WIN32
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir && *pw->pw_dir) return SemBarraFinal(pw->pw_dir);
#endif
    return "/root";
}

}  // namespace

bool PastaDeProgramasDoSistema(const std::string& pasta) {
    if (pasta.empty() || pasta.front() != '/') return false;
    const std::string normal = SemBarraFinal(std::filesystem::path(pasta).lexically_normal().string());
    return normal == "/usr/bin" || normal == "/usr/local/bin" || normal == "/bin";
}

std::string PastaPessoal() { return PastaPessoal(std::getenv("HOME")); }

namespace {

// A Windows path text without its final backslashes (a drive's root keeps its own).
std::string SemBarraFinalWindows(std::string pasta) {
    while (pasta.size() > 3 && (pasta.back() == '\\' || pasta.back() == '/')) pasta.pop_back();
    return pasta;
}

bool DentroDe(const std::string& pasta, const std::string& raiz) {
    const std::string p = MaiusculasLocal(SemBarraFinalWindows(pasta));
    const std::string r = MaiusculasLocal(SemBarraFinalWindows(raiz));
    if (r.empty() || p.size() < r.size() || p.compare(0, r.size(), r) != 0) return false;
    return p.size() == r.size() || p[r.size()] == '\\' || p[r.size()] == '/' || r.back() == '\\';
}

}  // namespace

std::string PastaDeEstadoWindows(const std::string& pastaPrograma, const std::vector<std::string>& pastasDeProgramas,
                                 const std::string& dadosLocais) {
    if (dadosLocais.empty()) return pastaPrograma;
    for (const std::string& raiz : pastasDeProgramas)
        if (DentroDe(pastaPrograma, raiz)) return SemBarraFinalWindows(dadosLocais) + "\\" + NomePastaEstadoWindows;
    return pastaPrograma;
}

std::string PastaDeEstado(const std::string& pastaPrograma, const char* xdgStateHome, const char* home) {
#ifdef _WIN32
    (void)xdgStateHome;
    (void)home;
    return pastaPrograma;
#else
    if (!PastaDeProgramasDoSistema(Utf8De1252(pastaPrograma))) return pastaPrograma;
    // A relative XDG_STATE_HOME is invalid and ignored, as the base directory rules say.
    const std::string base = xdgStateHome && xdgStateHome[0] == '/' ? SemBarraFinal(xdgStateHome)
                                                                      : PastaPessoal(home) + "/.local/state";
    return Utf8Para1252(base + "/" + NomePastaEstado);
#endif
}

#ifdef _WIN32

namespace {

std::string Ambiente(const wchar_t* nome) {
    const wchar_t* valor = _wgetenv(nome);
    if (!valor) return {};
    const std::wstring v = valor;
    return Utf16Para1252(std::u16string(v.begin(), v.end()));
}

}  // namespace

std::string PastaDeEstado(const std::string& pastaPrograma) {
    return PastaDeEstadoWindows(pastaPrograma,
                                {Ambiente(L"ProgramFiles"), Ambiente(L"ProgramFiles(x86)"), Ambiente(L"ProgramW6432")},
                                Ambiente(L"LOCALAPPDATA"));
}

#else

std::string PastaDeEstado(const std::string& pastaPrograma) {
    return PastaDeEstado(pastaPrograma, std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
}

#endif

}  // namespace quorvel

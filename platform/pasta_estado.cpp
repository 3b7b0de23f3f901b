#include "platform/pasta_estado.h"

#include <cstdlib>
#include <filesystem>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

#include "platform/texto.h"

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

std::string PastaDeEstado(const std::string& pastaPrograma) {
    return PastaDeEstado(pastaPrograma, std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
}

}  // namespace quorvel

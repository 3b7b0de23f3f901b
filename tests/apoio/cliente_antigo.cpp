#include "apoio/cliente_antigo.h"

#include <dlfcn.h>
#include <elf.h>
#include <link.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace quorvel::teste {

namespace {

// The path of the client library as the loader finds it.
std::string CaminhoCliente() {
    void* h = dlopen("libfbclient.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!h) return {};
    link_map* mapa = nullptr;
    std::string caminho;
    if (dlinfo(h, RTLD_DI_LINKMAP, &mapa) == 0 && mapa && mapa->l_name) caminho = mapa->l_name;
    dlclose(h);
    return caminho;
}

}  // namespace

std::string ClienteSemFbInterpret(const std::string& pasta) {
    const std::string original = CaminhoCliente();
    if (original.empty()) return {};
    std::ifstream in(original, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < sizeof(Elf64_Ehdr) || bytes.compare(0, 4, ELFMAG) != 0 || bytes[EI_CLASS] != ELFCLASS64)
        return {};
    Elf64_Ehdr cabecalho;
    std::memcpy(&cabecalho, bytes.data(), sizeof cabecalho);
    auto secao = [&](size_t i) {
        Elf64_Shdr s{};
        const size_t pos = cabecalho.e_shoff + i * cabecalho.e_shentsize;
        if (pos + sizeof s <= bytes.size()) std::memcpy(&s, bytes.data() + pos, sizeof s);
        return s;
    };
    const Elf64_Shdr nomes = secao(cabecalho.e_shstrndx);
    // The exported names live in .dynstr: "fb_interpret" there becomes "fb_interprfS", a name of
    // the same GNU hash (the second last letter one up, the last 33 down), so that the library's
    // own references to it still resolve while no lookup of fb_interpret finds it.
    for (size_t i = 0; i < cabecalho.e_shnum; ++i) {
        const Elf64_Shdr s = secao(i);
        if (s.sh_type != SHT_STRTAB || nomes.sh_offset + s.sh_name >= bytes.size() ||
            std::strcmp(bytes.c_str() + nomes.sh_offset + s.sh_name, ".dynstr") != 0)
            continue;
        const std::string procurado("\0fb_interpret\0", 14);
        const size_t achado = bytes.substr(s.sh_offset, s.sh_size).find(procurado);
        if (achado == std::string::npos) return {};
        bytes[s.sh_offset + achado + procurado.size() - 3] += 1;
        bytes[s.sh_offset + achado + procurado.size() - 2] -= 33;
        const std::string copia = pasta + "/libfbclient-sem-fb_interpret.so.2";
        std::ofstream(copia, std::ios::binary) << bytes;
        return copia;
    }
    return {};
}

}  // namespace quorvel::teste

#ifndef _WIN32

#include "platform/indice_pastas.h"

#include <dirent.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <map>
#include <mutex>
#include <set>
#include <unordered_map>

#include "platform/texto.h"

namespace quorvel {

namespace {

std::string Chave(const std::string& nomeNoDisco) { return MaiusculasLocal(Utf8Para1252(nomeNoDisco)); }

// The entries of one folder: upper-cased name -> the names on disk that have it.
using Entradas = std::unordered_map<std::string, std::set<std::string>>;

bool LerPasta(const std::string& pasta, Entradas& entradas) {
    DIR* d = ::opendir(pasta.c_str());
    if (!d) return false;
    while (dirent* e = ::readdir(d)) {
        const std::string nome = e->d_name;
        if (nome == "." || nome == "..") continue;
        entradas[Chave(nome)].insert(nome);
    }
    ::closedir(d);
    return true;
}

std::string Primeira(const Entradas& entradas, const std::string& chave) {
    const auto it = entradas.find(chave);
    return it == entradas.end() || it->second.empty() ? std::string() : *it->second.begin();
}

class IndicePastas {
public:
    ~IndicePastas() {
        if (fd_ >= 0) ::close(fd_);
    }

    std::string Procurar(const std::string& pasta, const std::string& nome) {
        const std::string chave = MaiusculasLocal(nome);
        std::lock_guard<std::mutex> trava(mutex_);
        if (fd_ < 0 && !falhou_) {
            fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
            falhou_ = fd_ < 0;
        }
        AplicarEventos();
        struct stat st;
        if (::stat(pasta.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return {};
        auto it = pastas_.find(pasta);
        // A folder renamed away (or a parent of it) leaves another folder, or none, at this path.
        if (it != pastas_.end() && (it->second.dispositivo != st.st_dev || it->second.inode != st.st_ino)) {
            Esquecer(it);
            it = pastas_.end();
        }
        if (it == pastas_.end()) {
            if (Indexar(pasta, st)) AplicarEventos();  // what changed while the folder was being read
            it = pastas_.find(pasta);
            if (it == pastas_.end()) return Varrer(pasta, chave);
        }
        return Primeira(it->second.entradas, chave);
    }

private:
    struct Pasta {
        int observador = -1;
        dev_t dispositivo = 0;
        ino_t inode = 0;
        Entradas entradas;
    };
    using Mapa = std::map<std::string, Pasta>;
    // Beyond this many folders the others are scanned as before: a run writes into a few folders.
    static constexpr std::size_t MaximoPastas = 256;

    // The watch goes in before the folder is read, so that nothing done during the reading is
    // missed: the events that follow are applied on top of what was read, and applying every
    // event of a name in order leaves its last state, whatever the reading saw of it.
    bool Indexar(const std::string& pasta, const struct stat& st) {
        if (fd_ < 0 || pastas_.size() >= MaximoPastas) return false;
        const int wd = ::inotify_add_watch(fd_, pasta.c_str(),
                                           IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF |
                                               IN_MOVE_SELF | IN_ONLYDIR);
        if (wd < 0) return false;
        if (const auto antigo = porObservador_.find(wd); antigo != porObservador_.end()) {
            // The same folder under another path: one index per watch.
            pastas_.erase(antigo->second);
            porObservador_.erase(antigo);
        }
        Pasta p;
        p.observador = wd;
        p.dispositivo = st.st_dev;
        p.inode = st.st_ino;
        if (!LerPasta(pasta, p.entradas)) {
            ::inotify_rm_watch(fd_, wd);
            return false;
        }
        porObservador_[wd] = pasta;
        pastas_[pasta] = std::move(p);
        return true;
    }

    // Reads the folder without keeping an index of it.
    static std::string Varrer(const std::string& pasta, const std::string& chave) {
        Entradas entradas;
        LerPasta(pasta, entradas);
        return Primeira(entradas, chave);
    }

    void Esquecer(Mapa::iterator it) {
        ::inotify_rm_watch(fd_, it->second.observador);
        porObservador_.erase(it->second.observador);
        pastas_.erase(it);
    }

    void EsquecerTudo() {
        for (auto& [pasta, p] : pastas_) ::inotify_rm_watch(fd_, p.observador);
        pastas_.clear();
        porObservador_.clear();
    }

    void AplicarEventos() {
        if (fd_ < 0) return;
        alignas(inotify_event) char buffer[64 * 1024];
        for (;;) {
            const ssize_t lidos = ::read(fd_, buffer, sizeof buffer);
            if (lidos <= 0) return;
            for (ssize_t pos = 0; pos < lidos;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buffer + pos);
                pos += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
                Aplicar(*e);
            }
        }
    }

    void Aplicar(const inotify_event& e) {
        if (e.mask & IN_Q_OVERFLOW) {
            EsquecerTudo();
            return;
        }
        const auto dono = porObservador_.find(e.wd);
        if (dono == porObservador_.end()) return;
        const auto pasta = pastas_.find(dono->second);
        if (pasta == pastas_.end()) return;
        if (e.mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED | IN_UNMOUNT)) {
            Esquecer(pasta);
            return;
        }
        if (e.len == 0) return;
        const std::string nome = e.name;
        Entradas& entradas = pasta->second.entradas;
        if (e.mask & (IN_CREATE | IN_MOVED_TO)) {
            entradas[Chave(nome)].insert(nome);
        } else if (e.mask & (IN_DELETE | IN_MOVED_FROM)) {
            const auto it = entradas.find(Chave(nome));
            if (it != entradas.end()) {
                it->second.erase(nome);
                if (it->second.empty()) entradas.erase(it);
            }
        }
    }

    std::mutex mutex_;
    int fd_ = -1;
    bool falhou_ = false;
    Mapa pastas_;
    std::unordered_map<int, std::string> porObservador_;
};

}  // namespace

std::string EntradaSemCaixa(const std::string& pasta, const std::string& nome) {
    static IndicePastas indice;
    return indice.Procurar(pasta, nome);
}

}  // namespace quorvel

#endif

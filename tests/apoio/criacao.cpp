#include "apoio/criacao.h"

#include <ibase.h>

#include "db/fb_status.h"
#include "db/localizacao.h"
#include "platform/erros.h"

namespace quorvel {

namespace {

std::string Aspas(const std::string& t) {
    std::string r = "'";
    for (char c : t) {
        r += c;
        if (c == '\'') r += '\'';
    }
    return r + "'";
}

}  // namespace

void CriarBaseDados(const std::string& local, const std::string& usuario, const std::string& senha,
                    bool gravacaoForcada) {
    const std::string destino = LocalParaCliente(local);
    const std::string comando = "CREATE DATABASE " + Aspas(destino) + " USER " + Aspas(usuario) +
                                " PASSWORD " + Aspas(senha) + " PAGE_SIZE 8192";
    ISC_STATUS_ARRAY st;
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    isc_dsql_execute_immediate(st, &db, &tr, 0, comando.c_str(), 1, nullptr);
    fb::Verificar(st);
    isc_detach_database(st, &db);
    fb::Verificar(st);
    if (gravacaoForcada) return;
    // Forced writes are a database setting, changed by an attachment that asks for it.
    std::string dpb(1, static_cast<char>(isc_dpb_version1));
    dpb += static_cast<char>(isc_dpb_user_name);
    dpb += static_cast<char>(usuario.size());
    dpb += usuario;
    dpb += static_cast<char>(isc_dpb_password);
    dpb += static_cast<char>(senha.size());
    dpb += senha;
    dpb += static_cast<char>(isc_dpb_force_write);
    dpb += static_cast<char>(1);
    dpb += static_cast<char>(0);
    isc_attach_database(st, static_cast<short>(destino.size()), destino.c_str(), &db,
                        static_cast<short>(dpb.size()), dpb.data());
    fb::Verificar(st);
    isc_detach_database(st, &db);
    fb::Verificar(st);
}

}  // namespace quorvel

#include "db/ib_blob.h"

#include <algorithm>
#include <cstdint>

#include "db/fb_status.h"
#include "db/ib_conexao.h"

namespace quorvel {

namespace {

// The largest segment the client library takes or gives at once.
constexpr size_t TamanhoSegmento = 32768;

// The blob's total length, or -1 when the server does not say.
int64_t TamanhoTotal(isc_blob_handle& blob) {
    const char pedido[] = {isc_info_blob_total_length, isc_info_end};
    char resposta[32] = {};
    ISC_STATUS_ARRAY st;
    if (isc_blob_info(st, &blob, sizeof pedido, pedido, sizeof resposta, resposta) != 0 ||
        resposta[0] != isc_info_blob_total_length)
        return -1;
    const short n = static_cast<short>(isc_vax_integer(resposta + 1, 2));
    if (n <= 0 || n > 8) return -1;
    return isc_portable_integer(reinterpret_cast<const ISC_UCHAR*>(resposta + 3), n);
}

}  // namespace

ISC_QUAD GravarBlob(TIBDatabase& banco, TIBTransaction& transacao, const std::string& conteudo) {
    ISC_STATUS_ARRAY st;
    isc_blob_handle blob = 0;
    ISC_QUAD id{};
    isc_create_blob2(st, banco.HandlePtr(), transacao.HandlePtr(), &blob, &id, 0, nullptr);
    fb::Verificar(st);
    size_t pos = 0;
    while (pos < conteudo.size()) {
        const size_t parte = std::min(conteudo.size() - pos, TamanhoSegmento);
        isc_put_segment(st, &blob, static_cast<unsigned short>(parte), conteudo.data() + pos);
        if (fb::Falhou(st)) {
            ISC_STATUS_ARRAY st2;
            isc_cancel_blob(st2, &blob);
            fb::Lancar(st);
        }
        pos += parte;
    }
    isc_close_blob(st, &blob);
    fb::Verificar(st);
    return id;
}

std::string LerBlob(TIBDatabase& banco, TIBTransaction& transacao, const ISC_QUAD& id) {
    ISC_STATUS_ARRAY st;
    isc_blob_handle blob = 0;
    ISC_QUAD copia = id;
    isc_open_blob2(st, banco.HandlePtr(), transacao.HandlePtr(), &blob, &copia, 0, nullptr);
    fb::Verificar(st);
    // Asking for the total length first lets the loop stop when it has every byte, without the
    // end-of-blob call (which the client library answers by throwing and catching an exception
    // internally: a noticeable cost per row).
    const int64_t total = TamanhoTotal(blob);
    std::string conteudo;
    if (total > 0) conteudo.reserve(static_cast<size_t>(total));
    char segmento[TamanhoSegmento];
    while (total < 0 || static_cast<int64_t>(conteudo.size()) < total) {
        unsigned short lido = 0;
        const ISC_STATUS r = isc_get_segment(st, &blob, &lido, sizeof segmento, segmento);
        if (r == 0 || r == isc_segment) {
            conteudo.append(segmento, lido);
            continue;
        }
        if (r == isc_segstr_eof) break;
        ISC_STATUS_ARRAY st2;
        isc_close_blob(st2, &blob);
        fb::Lancar(st);
    }
    isc_close_blob(st, &blob);
    fb::Verificar(st);
    return conteudo;
}

}  // namespace quorvel

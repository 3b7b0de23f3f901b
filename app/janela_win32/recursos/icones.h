/* Resource numbers shared by the resource script and the window's code. */
#define QV_ICONE_PROGRAMA 1
#define QV_ICONE_PASTA 10
#define QV_ICONE_LIMPAR 11
#define QV_ICONE_MARCAR 12
#define QV_ICONE_DESMARCAR 13
#define QV_ICONE_ATUALIZAR 14
#define QV_ICONE_PARAR 15
#define QV_ICONE_CONTINUAR 16
#define QV_ICONE_COMMIT 17

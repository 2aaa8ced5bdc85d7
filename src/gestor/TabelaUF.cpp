// CarregaTabelaUF is declared with the shared validators; it is defined here because it reads
// the database, which the shared routines' library does not link.
#include "common/Validacao.h"
#include "data/Database.h"

namespace velt {

TabelaUF CarregaTabelaUF(Database& db) {
    auto semBrancosFinais = [](std::string s) {
        s.erase(s.find_last_not_of(' ') + 1);
        return s;
    };
    TabelaUF tabela;
    auto st = db.prepare("select  *  from tb_estado order by ds_uf");
    auto c = st.open();
    while (tabela.size() < 27 && c.next())
        tabela.push_back({semBrancosFinais(c.text("DS_UF")), semBrancosFinais(c.text("CO_SIGLA")),
                          semBrancosFinais(c.text("CO_UF"))});
    return tabela;
}

}  // namespace velt

#include "gestor/Municipios.h"

#include <algorithm>

#include "data/Database.h"

namespace velt {

std::vector<Municipio> ListaMunicipios(Database& db) {
    auto semBrancosFinais = [](std::string s) {
        s.erase(s.find_last_not_of(' ') + 1);
        return s;
    };
    std::vector<Municipio> lista;
    auto st = db.prepare("select CO_MUNICIPIO, DS_MUNICIPIO from TB_MUNICIPIO order by DS_MUNICIPIO");
    auto c = st.open();
    while (c.next())
        lista.push_back({semBrancosFinais(c.text("CO_MUNICIPIO")), semBrancosFinais(c.text("DS_MUNICIPIO"))});
    // The search below compares bytes; keep the list in exactly that order whatever the collation.
    std::stable_sort(lista.begin(), lista.end(),
                     [](const Municipio& a, const Municipio& b) { return a.nome < b.nome; });
    return lista;
}

std::size_t MunicipioMaisProximo(const std::vector<Municipio>& lista, std::string_view texto) {
    if (lista.empty()) return 0;
    auto it = std::lower_bound(lista.begin(), lista.end(), texto, [](const Municipio& m, std::string_view t) {
        return std::string_view(m.nome) < t;
    });
    if (it == lista.end()) return lista.size() - 1;
    return std::size_t(it - lista.begin());
}

}  // namespace velt

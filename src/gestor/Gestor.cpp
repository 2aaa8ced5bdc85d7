#include "gestor/Gestor.h"

#include "data/Database.h"

namespace velt {
namespace {
std::string semBrancosFinais(std::string s) {
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}
}  // namespace

std::optional<Gestor> LeGestor(Database& db) {
    auto st = db.prepare("select IDENTIFICACAO, ESTADUAL, UF, CODMUNIC, DIRTRAB from TB_GESTOR");
    auto c = st.open();
    if (!c.next()) return std::nullopt;
    return Gestor{semBrancosFinais(c.text("IDENTIFICACAO")), semBrancosFinais(c.text("ESTADUAL")),
                  semBrancosFinais(c.text("UF")), semBrancosFinais(c.text("CODMUNIC")),
                  semBrancosFinais(c.text("DIRTRAB"))};
}

}  // namespace velt

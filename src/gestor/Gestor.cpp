#include "gestor/Gestor.h"

#include "common/Driver.h"
#include "common/Validacao.h"
#include "data/Database.h"

namespace velt {
namespace {
std::string semBrancosFinais(std::string s) {
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

bool temLinha(Database& db, std::string_view sql, std::string_view param, std::string_view valor) {
    auto st = db.prepare(sql);
    st.bind(param, valor);
    auto c = st.open();
    return c.next();
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

bool ValidaGestor(Database& db, const Gestor& dados, bool mostrar, Driver& driver) {
    auto falha = [&](std::string_view texto) {
        if (mostrar) driver.mensagem("", texto, Driver::Icone::Nenhum);
        return false;
    };
    if (TipoConteudo(dados.identificacao) != tipo::Outro)
        return falha("Identificação do gestor não informada.");
    if (!temLinha(db, "select * from tb_estado where co_uf = :uf", "uf", dados.uf))
        return falha("UF inválida.");
    if (dados.estadual != "1") {
        if (TipoConteudo(dados.codmunic) != tipo::Numero ||
            !temLinha(db, "select CO_MUNICIPIO from TB_MUNICIPIO where CO_MUNICIPIO = :mun", "mun",
                      dados.codmunic))
            return falha("Código IBGE do município inválido.");
        if (dados.codmunic.substr(0, 2) != dados.uf)
            return falha("O código do município informado não pertence a UF");
    }
    if (TipoConteudo(dados.dirtrab) != tipo::Outro)
        return falha("O diretório de trabalho deve ser informado.");
    return true;
}

bool VerificaGestor(Database& db, Driver& driver) {
    auto gestor = LeGestor(db);
    if (!gestor || !ValidaGestor(db, *gestor, false, driver)) {
        driver.mensagem("", kMensagemGuardaGestor, Driver::Icone::Nenhum);
        return false;
    }
    return true;
}

std::optional<Gestor> AtualizaGestor(Database& db, const Gestor& dados, Driver& driver) {
    if (!ValidaGestor(db, dados, true, driver)) return std::nullopt;
    Gestor g = dados;
    if (g.estadual == "1") g.codmunic = "000000";
    g.identificacao = MaiusculasCp1252(g.identificacao);

    // The table holds at most one row: the first save appends it, later ones overwrite it.
    Transaction tx(db);
    auto atualiza = db.prepare(
        "update TB_GESTOR set IDENTIFICACAO = :identificacao, ESTADUAL = :estadual, UF = :uf, "
        "CODMUNIC = :codmunic, DIRTRAB = :dirtrab");
    auto insere = db.prepare(
        "insert into TB_GESTOR (IDENTIFICACAO, ESTADUAL, UF, CODMUNIC, DIRTRAB) "
        "values (:identificacao, :estadual, :uf, :codmunic, :dirtrab)");
    for (Statement* st : {&atualiza, &insere})
        st->bind("identificacao", g.identificacao)
            .bind("estadual", g.estadual)
            .bind("uf", g.uf)
            .bind("codmunic", g.codmunic)
            .bind("dirtrab", g.dirtrab);
    if (atualiza.execute(tx) == 0) insere.execute(tx);
    tx.commit();
    return g;
}

std::string MaiusculasCp1252(std::string_view s) {
    std::string r(s);
    for (char& ch : r) {
        auto c = static_cast<unsigned char>(ch);
        if (c >= 'a' && c <= 'z')
            c -= 0x20;
        else if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
            c -= 0x20;  // à..þ, not ÷
        else if (c == 0x9A || c == 0x9C || c == 0x9E)
            c -= 0x10;  // š œ ž
        else if (c == 0xFF)
            c = 0x9F;  // ÿ
        ch = static_cast<char>(c);
    }
    return r;
}

}  // namespace velt

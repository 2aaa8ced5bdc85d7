#include "reference/ImportaMunicipio.h"

#include "data/Database.h"
#include "reference/LeituraReferencia.h"

namespace velt {

LinhaMunicipio cortaLinhaMunicipio(std::string_view linha) {
    LinhaMunicipio m;
    auto p1 = linha.find(';');
    m.codigo = std::string(linha.substr(0, p1).substr(0, 10));
    if (p1 == std::string_view::npos) return m;
    auto resto = linha.substr(p1 + 1);
    auto p2 = resto.find(';');
    m.nome = std::string(resto.substr(0, p2).substr(0, 60));
    // Further ";" after the second belong to the state field.
    if (p2 != std::string_view::npos) m.sigla = std::string(resto.substr(p2 + 1, 2));
    return m;
}

ResultadoImportaMunicipio ImportaMunicipio::executa(const std::filesystem::path& arquivo) {
    ResultadoImportaMunicipio r;
    referencia::LeitorLinhas leitor(arquivo);
    std::string linha;
    leitor.proxima(linha);  // the header

    Transaction tx(db_);
    auto insercao =
        db_.prepare("Insert into TB_MUNICIPIO (co_municipio,ds_municipio,co_sigla_estado) values (:cod,:nome,:uf)");
    tx.execute("Delete from TB_MUNICIPIO");
    try {
        while (leitor.proxima(linha)) {
            auto m = cortaLinhaMunicipio(linha);
            insercao.bind("cod", m.codigo).bind("nome", m.nome).bind("uf", m.sigla).execute(tx);
            ++r.inseridas;
            if (r.inseridas % 2048 == 0) driver_.processaEventos();
        }
        tx.commit();
    } catch (const DatabaseError&) {
        tx.rollback();
        driver_.informa("Erro na Importação da Tabela de Municípios - Refazer o processo");
        r.inseridas = 0;
        return r;
    }
    r.concluida = true;
    driver_.informa("Fim importação Municípios");
    return r;
}

}  // namespace velt

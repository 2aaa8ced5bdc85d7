#include "reference/ImportaArquivoUnico.h"

#include "data/Database.h"
#include "reference/LeituraReferencia.h"

namespace velt {

namespace fs = std::filesystem;
using namespace referencia;

const MembroArquivoUnico& membroOperadora() {
    static const MembroArquivoUnico m{
        "operadoras.txt",
        "Importando Arquivo de Operadoras",
        "delete from tb_operadora",
        "ERRO NA LIMPEZA DA TABELA DE OPERADORAS - REFAZER O PROCESSO",
        "insert into tb_operadora values (:cod,:cnpj,:nome,:razao,:data)",
        6,
        false,
        true,
        [](const std::string& l) -> std::vector<std::pair<std::string, std::string>> {
            // Taken as read: TB_OPERADORA has no key, a repeated code is stored twice.
            return {{"cod", campo(l, 1, 6)},
                    {"cnpj", campo(l, 15, 28)},
                    {"nome", campo(l, 81, 140)},
                    {"razao", campo(l, 34, 80)},
                    {"data", campo(l, 149, 157)}};
        }};
    return m;
}

const MembroArquivoUnico& membroCid() {
    static const MembroArquivoUnico m{
        "tb_cid.txt",
        "Importando Arquivo de Cid",
        "delete from tb_cid",
        "ERRO NA LIMPEZA DA TABELA DE CID - REFAZER O PROCESSO",
        "insert into tb_CID (CO_CID10,DS_CID,ST_AGRAVO,CO_SEXO) values (:cid,:dscr,:agr,:sx)",
        4,
        false,
        true,
        [](const std::string& l) -> std::vector<std::pair<std::string, std::string>> {
            return {{"cid", maiusculas(campo(l, 1, 4))},
                    {"dscr", maiusculas(campo(l, 5, 104)).substr(0, 60)},
                    {"agr", campo(l, 105, 105)},
                    {"sx", maiusculas(campo(l, 106, 106))}};
        }};
    return m;
}

const MembroArquivoUnico& membroAlta() {
    static const MembroArquivoUnico m{
        "alta.txt",
        "Importando Arquivo de Alta",
        "delete from tb_tipo_alta",
        "ERRO NA LIMPEZA DA TABELA DE MOTIVO DE ALTA - REFAZER O PROCESSO",
        "insert into tb_tipo_alta values (:cod,:nome,:data)",
        2,
        true,
        false,
        [](const std::string& l) -> std::vector<std::pair<std::string, std::string>> {
            return {{"cod", campo(l, 1, 2)}, {"nome", campo(l, 3, 72)}, {"data", campo(l, 73, 78)}};
        }};
    return m;
}

namespace {

// Older databases lack the last competência of a discharge reason; the checks need it.
bool adicionaColunaAlta(Database& db) {
    auto st = db.prepare(
        "SELECT * FROM RDB$RELATION_FIELDS WHERE RDB$FIELD_name = :campo\n"
        " and RDB$RELATION_NAME= :tab");
    st.bind("tab", "TB_TIPO_ALTA").bind("campo", "DT_CMPT_FIM");
    {
        auto c = st.open();
        if (c.next()) return false;
    }
    db.execute("ALTER TABLE TB_TIPO_ALTA ADD DT_CMPT_FIM varchar(6)");
    return true;
}

}  // namespace

ResultadoArquivoUnico ImportaArquivoUnico::executa(const fs::path& pasta) {
    ResultadoArquivoUnico r;
    MemoImportacao memo(driver_);
    memo.aoMudar = aoMudarMemo;
    driver_.processaEventos();

    if (membro_.adicionaColunaAlta) {
        try {
            r.colunaAdicionada = adicionaColunaAlta(db_);
        } catch (const DatabaseError& e) {
            driver_.erro(e.what());
            r.situacao = ResultadoArquivoUnico::Situacao::FalhaColuna;
            return r;
        }
    }

    const fs::path arquivo = localizaArquivo(pasta, membro_.arquivo);
    if (arquivo.empty()) {
        driver_.avisa("ARQUIVO NÃO ENCONTRADO!", "ATENÇÃO");
        r.situacao = ResultadoArquivoUnico::Situacao::ArquivoNaoEncontrado;
        return r;
    }

    Transaction tx(db_);
    try {
        tx.execute(membro_.sqlLimpeza);
    } catch (const DatabaseError&) {
        tx.rollback();
        driver_.erro(membro_.erroLimpeza, "ERRO");
        r.situacao = ResultadoArquivoUnico::Situacao::FalhaNaLimpeza;
        return r;
    }

    auto insercao = db_.prepare(membro_.sqlInsercao);
    std::int64_t maximo = contaLinhas(arquivo);
    std::int64_t posicao = 0;
    driver_.progresso(0, maximo);
    LeitorLinhas leitor(arquivo);
    std::string linha;
    bool ha = leitor.proxima(linha);
    const std::string& s = membro_.status;
    const auto indice = memo.adiciona(s + "...");
    while (ha && !campo(linha, 1, membro_.tamanhoChave).empty()) {
        auto valores = membro_.valores(linha);
        driver_.progresso(++posicao, maximo);
        for (const auto& [nome, valor] : valores) insercao.bind(nome, valor);
        ++r.lidas;
        try {
            insercao.execute(tx);
            ++r.inseridas;
        } catch (const DatabaseError&) {
            // The failed insert is undone on its own; the transaction goes on with the next line.
            ++r.rejeitadas;
            driver_.erro("ERRO NA IMPORTAÇÃO - REFAZER O PROCESSO", "ERRO");
            memo.substitui(indice, s + "......ERRO!");
            memo.adiciona("");
            maximo = 0;  // the bar stays empty after a rejected line
            driver_.progresso(posicao, maximo);
            driver_.processaEventos();
        }
        if (r.lidas % 2048 == 0) driver_.processaEventos();
        ha = leitor.proxima(linha);
    }
    tx.commit();
    memo.substitui(indice, s + "......OK!");
    memo.adiciona("");
    memo.adiciona("FIM DA IMPORTAÇÃO!");
    r.memo = memo.linhas();
    return r;
}

}  // namespace velt

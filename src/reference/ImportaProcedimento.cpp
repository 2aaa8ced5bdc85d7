#include "reference/ImportaProcedimento.h"

#include <unordered_set>

#include "data/Database.h"
#include "reference/LeituraReferencia.h"

namespace velt {

namespace fs = std::filesystem;
using namespace referencia;

bool grupoProcedimentoAceito(std::string_view codigo) {
    auto grupo = codigo.substr(0, 2);
    if (grupo == "02" || grupo == "03" || grupo == "04" || grupo == "05") return true;
    auto sub = codigo.substr(0, 4);
    return sub == "0101" || sub == "0701";
}

namespace {

constexpr const char* kErroImportacao = "ERRO NA IMPORTAÇÃO - REFAZER O PROCESSO";

// What a step did with one line.
enum class Tratamento { Pulada, Existente, Inserida };

std::string par(std::string_view a, std::string_view b) { return chaveTexto(a) + '\n' + chaveTexto(b); }

class Execucao {
public:
    Execucao(Database& db, Driver& driver, MemoImportacao& memo, Transaction& tx)
        : db_(db), driver_(driver), memo_(memo), tx_(tx) {}

    // The frame every step shares: status line, progress, the loop that ends at the end of the
    // file or at the first line whose code is empty, and the step's own failure.
    ResultadoImportaProcedimento::Etapa etapa(const fs::path& arquivo, const std::string& s, bool avancaPuladas,
                                              const std::function<Tratamento(const std::string&)>& trata) {
        ResultadoImportaProcedimento::Etapa r;
        r.status = s;
        driver_.processaEventos();
        const std::int64_t maximo = contaLinhas(arquivo);
        std::int64_t posicao = 0;
        driver_.progresso(0, maximo);
        LeitorLinhas leitor(arquivo);
        std::string linha;
        bool ha = leitor.proxima(linha);
        const auto indice = memo_.adiciona(s + "...");
        try {
            while (ha && !campo(linha, 1, 10).empty()) {
                if (avancaPuladas || grupoProcedimentoAceito(linha)) driver_.progresso(++posicao, maximo);
                if (trata(linha) == Tratamento::Inserida) ++r.inseridas;
                ++r.lidas;
                if (r.lidas % 2048 == 0) driver_.processaEventos();
                ha = leitor.proxima(linha);
            }
        } catch (const DatabaseError&) {
            r.ok = false;
            driver_.erro(kErroImportacao, "ERRO");
            memo_.substitui(indice, s + "......ERRO!");
            memo_.adiciona("");
            driver_.progresso(0, 0);
            driver_.processaEventos();
            return r;
        }
        memo_.substitui(indice, s + "......OK!");
        memo_.adiciona("");
        driver_.processaEventos();
        return r;
    }

    Statement prepara(const char* sql) { return db_.prepare(sql); }
    Transaction& tx() { return tx_; }

private:
    Database& db_;
    Driver& driver_;
    MemoImportacao& memo_;
    Transaction& tx_;
};

}  // namespace

ResultadoImportaProcedimento ImportaProcedimento::executa(const fs::path& pasta) {
    ResultadoImportaProcedimento r;
    MemoImportacao memo(driver_);
    memo.aoMudar = aoMudarMemo;

    fs::path arquivos[5];
    for (int i = 0; i < 5; ++i) {
        arquivos[i] = localizaArquivo(pasta, kArquivosProcedimento[i]);
        if (arquivos[i].empty()) {
            driver_.avisa("ARQUIVOS NECESSÁRIO PARA A IMPORTAÇÃO NÃO ENCONTRADOS!", "ATENÇÃO");
            r.situacao = ResultadoImportaProcedimento::Situacao::ArquivosNaoEncontrados;
            return r;
        }
    }
    const fs::path& arqProcedimento = arquivos[0];
    const fs::path& arqModalidade = arquivos[1];
    const fs::path& arqRegistro = arquivos[2];
    const fs::path& arqCid = arquivos[3];
    const fs::path& arqNaoSus = arquivos[4];

    Transaction tx(db_);
    try {
        for (const char* sql : {"delete from tb_procedimento", "delete from tb_registro", "delete from tb_modalidade",
                                "delete from TB_RL_CID"})
            tx.execute(sql);
    } catch (const DatabaseError&) {
        tx.rollback();
        driver_.erro("ERRO NA LIMPEZA DA TABELA DE PROCEDIMENTOS - REFAZER O PROCESSO", "ERRO");
        r.situacao = ResultadoImportaProcedimento::Situacao::FalhaNaLimpeza;
        r.memo = memo.linhas();
        return r;
    }

    // The tables are empty inside this transaction, so these sets hold exactly the rows the
    // steps' look-up queries would find: the ones inserted so far.
    std::unordered_set<std::string> comCid, modalidades, registros, comRegistro, procedimentos;
    Execucao ex(db_, driver_, memo, tx);

    auto insRlCid = ex.prepara("insert into TB_RL_CID values (:proc,:cod)");
    r.etapas.push_back(ex.etapa(arqCid, "Importando Cid", true, [&](const std::string& l) {
        auto proc = campo(l, 1, 10);
        if (comCid.count(chaveTexto(proc))) return Tratamento::Existente;
        insRlCid.bind("proc", proc).bind("cod", campo(l, 11, 14)).execute(tx);
        comCid.insert(chaveTexto(proc));
        return Tratamento::Inserida;
    }));

    auto insModalidade = ex.prepara("insert into tb_modalidade values (:proc,:cod)");
    r.etapas.push_back(ex.etapa(arqModalidade, "Importando Modalidade", true, [&](const std::string& l) {
        auto proc = campo(l, 1, 10);
        if (!grupoProcedimentoAceito(proc)) return Tratamento::Pulada;
        auto cod = campo(l, 11, 12);
        auto chave = par(proc, cod);
        if (modalidades.count(chave)) return Tratamento::Existente;
        insModalidade.bind("proc", proc).bind("cod", cod).execute(tx);
        modalidades.insert(std::move(chave));
        return Tratamento::Inserida;
    }));

    auto insRegistro = ex.prepara("insert into tb_registro values (:proc,:cod)");
    r.etapas.push_back(ex.etapa(arqRegistro, "Importando Registro", true, [&](const std::string& l) {
        auto proc = campo(l, 1, 10);
        if (!grupoProcedimentoAceito(proc)) return Tratamento::Pulada;
        auto cod = campo(l, 11, 12);
        if (cod != "01" && cod != "02" && cod != "03" && cod != "06") return Tratamento::Pulada;
        auto chave = par(proc, cod);
        if (registros.count(chave)) return Tratamento::Existente;
        insRegistro.bind("proc", proc).bind("cod", cod).execute(tx);
        registros.insert(std::move(chave));
        comRegistro.insert(chaveTexto(proc));
        return Tratamento::Inserida;
    }));

    auto insProcedimento = ex.prepara("insert into tb_procedimento values (:proc,:dscr,:sx,:idmin,:idmax)");
    // A skipped line does not move the progress bar in this step only.
    r.etapas.push_back(ex.etapa(arqNaoSus, "Importando Procedimento Não SUS", false, [&](const std::string& l) {
        auto proc = campo(l, 1, 10);
        if (!grupoProcedimentoAceito(proc)) return Tratamento::Pulada;
        // No look-up: a code repeated in this file is stored once per line.
        insProcedimento.bind("proc", proc)
            .bind("dscr", maiusculas(apara(campo(l, 11, 84))))
            .bind("sx", "I")
            .bind("idmin", "0000")
            .bind("idmax", "1331")
            .execute(tx);
        procedimentos.insert(chaveTexto(proc));
        return Tratamento::Inserida;
    }));

    r.etapas.push_back(ex.etapa(arqProcedimento, "Importando Procedimento", true, [&](const std::string& l) {
        auto proc = campo(l, 1, 10);
        if (!grupoProcedimentoAceito(proc)) return Tratamento::Pulada;
        auto chave = chaveTexto(proc);
        if (!comRegistro.count(chave)) return Tratamento::Pulada;
        if (procedimentos.count(chave)) return Tratamento::Existente;
        insProcedimento.bind("proc", proc)
            .bind("dscr", maiusculas(campo(l, 11, 260)))
            .bind("sx", maiusculas(campo(l, 262, 262)))
            .bind("idmin", campo(l, 275, 278))
            .bind("idmax", campo(l, 279, 282))
            .execute(tx);
        procedimentos.insert(chave);
        return Tratamento::Inserida;
    }));

    tx.commit();
    memo.adiciona("FIM DA IMPORTAÇÃO!");
    driver_.progresso(0, 0);
    r.memo = memo.linhas();
    return r;
}

}  // namespace velt

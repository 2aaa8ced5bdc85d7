#include "reference/ImportaCnesAdesao.h"

#include "data/Database.h"
#include "reference/LeituraReferencia.h"

namespace velt {
namespace {

std::string corta(std::string_view linha, std::size_t posicao, std::size_t tamanho) {
    return referencia::campo(linha, posicao, posicao + tamanho - 1);
}

// The data end at the first line without a CNES.
bool fimDosDados(std::string_view linha) {
    return corta(linha, 1, 7).find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace

ImportaCnesAdesao::ImportaCnesAdesao(Database& db, Driver& driver) : db_(db), driver_(driver) {}

ResultadoCnesAdesao ImportaCnesAdesao::executa(const std::filesystem::path& arquivo) {
    ResultadoCnesAdesao r;
    if (arquivo.empty() || referencia::maiusculas(arquivo.filename().string()) != "TERMOSADESAOCNES.TXT" ||
        !std::filesystem::is_regular_file(arquivo)) {
        driver_.mensagem("", "Arquivo não encontrado TERMOSADESAOCNES.txt", Driver::Icone::Nenhum);
        return r;
    }
    try {
        Transaction tx(db_);
        tx.execute("Delete from TB_PROJ_SAUDE");

        std::int64_t total = 0;
        {
            referencia::LeitorLinhas contagem(arquivo);
            std::string linha;
            contagem.proxima(linha);  // header
            while (contagem.proxima(linha) && !fimDosDados(linha)) ++total;
        }
        driver_.progresso(0, total);

        // The values go in bound, exactly as cut from the line.
        auto ins = db_.prepare(
            "Insert Into TB_PROJ_SAUDE(nu_cnes,CO_REGRA,CMPT_INICIAL,CMPT_FINAL) values "
            "(:cnes,:regra,:inicial,:final)");
        referencia::LeitorLinhas linhas(arquivo);
        std::string linha;
        linhas.proxima(linha);  // header
        while (linhas.proxima(linha) && !fimDosDados(linha)) {
            if ((r.inseridos & 255) == 0) driver_.processaEventos();
            ins.bind("cnes", corta(linha, 1, 7))
                .bind("regra", corta(linha, 8, 4))
                .bind("inicial", corta(linha, 12, 6))
                .bind("final", corta(linha, 18, 6));
            ins.execute(tx);
            driver_.progresso(++r.inseridos, total);
        }
        tx.commit();
    } catch (const std::exception& e) {  // a line the database refuses, or the file could not be read
        driver_.erro(e.what());
        r.inseridos = 0;
        return r;
    }
    driver_.mensagem("", "Importação de CNES adesão concluído com sucesso!", Driver::Icone::Nenhum);
    r.concluida = true;
    return r;
}

}  // namespace velt

#include "reference/ImportaCnesValidos.h"

#include "common/Validacao.h"
#include "data/Database.h"
#include "gestor/Gestor.h"
#include "reference/LeituraReferencia.h"

namespace velt {
namespace {
std::string corta(std::string_view linha, std::size_t posicao, std::size_t tamanho) {
    return referencia::campo(linha, posicao, posicao + tamanho - 1);
}
}  // namespace

ImportaCnesValidos::ImportaCnesValidos(Database& db, Driver& driver) : db_(db), driver_(driver) {}

ResultadoCnesValidos ImportaCnesValidos::executa(const std::filesystem::path& pasta,
                                                 const std::string& competencia) {
    using Situacao = ResultadoCnesValidos::Situacao;
    ResultadoCnesValidos r;
    if (!ValidaCompetencia(competencia)) {
        driver_.avisa("INFORME UMA COMPETÊNCIA VÁLIDA!", "ERRO");
        r.situacao = Situacao::CompetenciaInvalida;
        return r;
    }
    try {
        auto gestor = LeGestor(db_);
        const std::filesystem::path arquivo = referencia::localizaArquivo(pasta, "CNESVAL.txt");
        if (arquivo.empty()) {
            driver_.avisa("ARQUIVO CNESVAL.TXT NÃO ENCONTRADO!", "ERRO");
            r.situacao = Situacao::ArquivoAusente;
            return r;
        }
        std::string uf;
        if (gestor)
            uf = !gestor->uf.empty()
                     ? gestor->uf
                     : gestor->codmunic.substr(0, std::min<std::size_t>(2, gestor->codmunic.size()));

        Transaction tx(db_);
        tx.execute("Delete from Tb_Cnes");
        auto ins = db_.prepare("insert into Tb_Cnes values (:Co_CNES)");

        std::int64_t total = ContaLinhas(arquivo);
        driver_.progresso(0, total);
        referencia::LeitorLinhas linhas(arquivo);
        std::string linha;
        linhas.proxima(linha);  // header

        const std::string chave = competencia.substr(3, 4) + competencia.substr(0, 2);
        bool achou = false;
        while (!achou && linhas.proxima(linha)) achou = corta(linha, 16, 6) == chave;

        // The file keeps each competência's lines together: only that first run of lines is read.
        bool tentou = false;
        while (achou && corta(linha, 16, 6) == chave) {
            driver_.progresso(++r.lidas, total);
            if ((r.lidas & 255) == 0) driver_.processaEventos();
            const std::string municipio = corta(linha, 9, 6);
            if (corta(linha, 28, 1) == "1" && municipio.substr(0, 2) == uf) {
                tentou = true;
                try {
                    ins.bind("Co_CNES", corta(linha, 1, 7));
                    ins.execute(tx);
                    ++r.inseridos;
                } catch (const DatabaseError&) {
                    // a code the database refuses is left out; the rest of the list goes in
                }
            }
            if (!linhas.proxima(linha)) break;
        }

        if (!tentou) {
            tx.rollback();
            driver_.progresso(r.lidas, 0);
            driver_.erro("ARQUIVO NÃO IMPORTADO! VERIFIQUE A COMPETÊNCIA/PASTA INFORMADA", "ERRO");
            r.situacao = Situacao::NaoImportado;
            return r;
        }
        tx.commit();
        driver_.progresso(r.lidas, r.lidas);
        driver_.informa("CONCLUÍDO COM SUCESSO!", "SUCESSO");
        r.situacao = Situacao::Concluida;
    } catch (const std::exception& e) {  // the database failed, or the file could not be read
        driver_.erro(e.what());
        r.situacao = Situacao::Interrompida;
        r.inseridos = 0;
    }
    return r;
}

}  // namespace velt

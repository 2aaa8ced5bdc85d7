#include "export/PlanilhaDoArquivo.h"

#include <fstream>

#include "export/PlanilhaTransmissao.h"
#include "export/RegistroTransmissao.h"

namespace velt {

namespace fs = std::filesystem;

ResultadoPlanilhaArquivo GeraPlanilhaDoArquivo(const std::string& arquivo, Driver& driver) {
    ResultadoPlanilhaArquivo r;
    if (arquivo.empty()) {
        driver.informa("Indique onde esta o seu Arquivo de .VLT");
        r.faltaArquivo = true;
        return r;
    }
    if (arquivo.size() < 3 || arquivo.compare(arquivo.size() - 3, 3, "VLT") != 0) {
        driver.informa("Arquivo não é padrão .VLT");
        r.faltaArquivo = true;
        return r;
    }
    try {
        std::ifstream in(fs::path(arquivo), std::ios::binary);
        if (!in) throw std::runtime_error("Não foi possível abrir o arquivo " + arquivo);
        r.planilha = CaminhoPlanilha(arquivo);
        PlanilhaTransmissao p(r.planilha);
        p.BlocoIndividualizados();
        bool consolidados = false;
        std::string linha;
        bool fim = false;
        while (!fim && std::getline(in, linha)) {
            if (auto z = linha.find(kFimArquivoTransmissao); z != std::string::npos) {
                linha.resize(z);
                fim = true;
                if (linha.empty()) break;
            }
            if (!linha.empty() && linha.back() == '\r') linha.pop_back();
            CamposLidos f = LeLinhaTransmissao(linha);
            ++r.linhas;
            if (!f[campo::Nome].empty()) {
                p.LinhaIndividualizado(r.linhas, f);
            } else {
                if (!consolidados) {
                    p.BlocoConsolidados();
                    consolidados = true;
                }
                p.LinhaConsolidado(r.linhas, f);
            }
            if (r.linhas % 2000 == 0) driver.processaEventos();
        }
        in.close();
        p.SalvaPlanilha();
    } catch (const std::exception& e) {
        driver.erro(e.what());
        return r;
    }
    r.gerada = true;
    driver.informa("Planilha gerada com sucesso no mesmo diretório do arquivo .VLT");
    return r;
}

}  // namespace velt

#include "import/Protocolo.h"

#include <cstdio>
#include <system_error>
#include <vector>

#include "common/Driver.h"

namespace velt {

namespace fs = std::filesystem;

fs::path NomeArquivoProtocolo(const fs::path& dirtrab, const std::string& remessa, const DataHora& m) {
    char carimbo[32];
    std::snprintf(carimbo, sizeof carimbo, "%02d%02d%04d_%02d%02d%02d", m.mes, m.dia, m.ano, m.hora, m.minuto,
                  m.segundo);
    return dirtrab / "Protocolos" / ("PT" + remessa + "_" + carimbo + ".pdf");
}

std::vector<LinhaProtocolo> LinhasProtocolo(const DadosProtocolo& d) {
    auto n = [](long long v) { return std::to_string(v); };
    return {
        {"Data:", d.momento.ddmmyyyy()},
        {"CNES:", d.cnes},
        {"Prestador:", d.prestador},
        {"Gestor:", d.gestor},
        {"Arquivo:", d.arquivo},
        {"Competência:", d.competencia},
        {"Total Importado:", n(d.totalImportado)},
        {"Data/Hora:", d.momento.ddmmyyyy() + " " + d.momento.hhnnss()},
        {"Total de Registros Lidos no Arquivo :", n(d.registrosLidos)},
        {"Total de Atendimentos Ambulatoriais Individualizados Importados :", n(d.ambulatoriais)},
        {"Total de Internações Importadas :", n(d.internacoes)},
        {"Total de Atendimentos Ambulatoriais Consolidados Importados :", n(d.consolidados)},
        {"Total de Atendimentos Inseridos:", n(d.atendimentos)},
    };
}

fs::path EmiteProtocolo(const DadosProtocolo& dados, const fs::path& dirtrab, EmissorProtocolo& emissor,
                        Driver& driver) {
    std::error_code ec;
    fs::create_directories(dirtrab / "Protocolos", ec);  // a failure shows up when the file is written
    fs::path arquivo = NomeArquivoProtocolo(dirtrab, dados.arquivo, dados.momento);
    emissor.salvaPdf(dados, arquivo);
    driver.informa("O relatório foi salvo na pasta " + arquivo.string());
    emissor.visualiza(dados);
    return arquivo;
}

}  // namespace velt

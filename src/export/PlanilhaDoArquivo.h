#pragma once
#include <filesystem>
#include <string>

#include "common/Driver.h"

namespace velt {

struct ResultadoPlanilhaArquivo {
    bool gerada = false;
    bool faltaArquivo = false;  // a check on the file name stopped it (the screen focuses the field)
    std::filesystem::path planilha;
    long linhas = 0;
};

// "Gerar Excel" of the screen "Gerar Excel a partir do Arquivo .VLT": every line of a
// transmission file (up to the byte 26) cleaned by LeLinhaTransmissao and written to a workbook
// beside it, named like the file with "xlsx" for its last three characters. Lines with a patient
// name go to the individualized block, every other line to the consolidated block.
ResultadoPlanilhaArquivo GeraPlanilhaDoArquivo(const std::string& arquivo, Driver& driver);

}  // namespace velt

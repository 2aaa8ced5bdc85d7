#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace velt {

class Driver;

// The password of the establishments' batch archives and of the transmission archives.
inline constexpr const char* kSenhaRemessa = "QZPWR7N5TX3K";

struct ResultadoExtracao {
    std::vector<std::filesystem::path> extraidos;  // files written, in archive order
    bool falhou = false;                           // a problem was reported for this archive
};

// Extracts every entry of a password-protected archive straight into the folder, whatever
// folder names the archive stores (nothing is ever written outside it), overwriting files of
// the same name and keeping each entry's stored date as the file's modification date (the
// batch generation date). Problems are shown through the driver, never thrown: a wrong
// password "Erro na descompactação - password", a file that is not a zip archive "Arquivo de zip
// invalido", anything else "Erro na Descompactação"; at most one box per archive.
ResultadoExtracao ExtraiArquivoZip(const std::filesystem::path& zip, const std::filesystem::path& destino,
                                   Driver& driver, const std::string& senha = kSenhaRemessa);

// The name an entry gets in the destination folder: the part after its last folder separator
// of either kind; empty for a folder entry or a name that would climb ("..", ".").
std::string NomeEntradaZip(const std::string& nomeArmazenado);

}  // namespace velt

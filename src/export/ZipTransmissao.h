#pragma once
#include <filesystem>
#include <string>

namespace velt {

class Driver;

// Packs the transmission file into a new archive: one entry named `entrada` (no folder),
// deflate level 9, traditional zip encryption with the password. Returns the failure's text, or
// an empty text when the archive was written.
std::string CompactaArquivoTransmissao(const std::filesystem::path& zip, const std::filesystem::path& arquivo,
                                       const std::string& entrada, const std::string& senha);

// Rewrites the archive with every byte increased by 32 (modulo 256), through the scratch file
// "tmp.zip" of its folder (the archive's path with `nomeBase` + ".ZIP" removed, then "tmp.zip").
// When the scratch file is missing afterwards, shows "Falha na compactação do arquivo -
// reexecutar a operação" and deletes the archive. An archive that cannot be opened throws
// std::filesystem::filesystem_error.
void DeslocaBytesZip(const std::filesystem::path& zip, const std::string& nomeBase, Driver& driver);

}  // namespace velt

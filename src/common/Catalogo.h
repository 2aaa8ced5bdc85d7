#pragma once
#include <filesystem>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "common/Driver.h"
// The batch import's checks call the classifier, the date check and the file-name routine from
// here too; they are the same routines, declared once.
#include "common/Validacao.h"

namespace velt {

// The text of a numbered record check ("01" to "98"), UTF-8; empty for a code without entry.
std::string MensagemPorCodigo(std::string_view codigo);

// Every byte increased by 11 (modulo 256): how the origin marker of a batch header is read.
std::string DeslocaCaracteres(std::string_view s);

// digitos followed by the modulo-11 check digit of its first `quantidade` digits with single-digit
// weights; "0" when the remainder is below 2.
std::string DigitoPorPesos(std::string_view digitos, std::size_t quantidade, std::string_view pesos);

// A CNES typed on a report screen: seven digits whose last is the check digit (a remainder of 0
// accepts only "0"). A text that is not a whole number is not a CNES.
bool ConfereCNES(std::string_view s);

// Undoes the byte shift (+32) of a transmission archive: writes destino/<name>.ZIP, every byte
// decreased by 32, through a temporary "tmp.zip" in destino. An existing archive of that name is
// replaced. Shows "Falha na descompactação do arquivo - reexecutar a operação" and answers false
// when the archive could not be put in place; an unreadable archive or an unwritable destination
// throws std::filesystem::filesystem_error.
bool RestauraBytesZip(const std::filesystem::path& arquivo, const std::filesystem::path& destino,
                      Driver& driver);

// The volumes a user can browse, "/" first, then every mounted disk or network share in mount order.
std::vector<std::string> ListaUnidades();
// The same choice over a mount table in the format of /proc/self/mounts (without the check that
// each mount point is a readable folder).
std::vector<std::string> ListaUnidades(std::istream& montagens);

}  // namespace velt

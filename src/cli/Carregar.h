#pragma once
#include <functional>
#include <string>
#include <vector>

#include "cli/Comando.h"

namespace velt::cli {

// "velt02-cli carregar TIPO [opções]": every kind of reference reload registers itself from its
// own file. The dispatcher starts the data module before calling the kind's handler, which gets
// the arguments after TIPO and returns the exit status (0 ran to its end, 1 stopped on an error;
// UsoIncorreto for a usage error).
using ExecutaCarga = std::function<int(Contexto&, const std::vector<std::string>&)>;

// uso: one line shown by "velt02-cli carregar --help", e.g. "procedimentos --pasta PASTA".
bool registraCarga(std::string tipo, std::string uso, ExecutaCarga executa);

}  // namespace velt::cli

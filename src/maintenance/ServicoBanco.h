#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "data/Database.h"

namespace velt {

// One output line of the server's backup or restore service, as the service writes it.
using LinhaServico = std::function<void(std::string_view linha)>;

// The database server's own backup and restore, through its service manager: the embedded one
// when the location is a bare path, the server's when it is "host:path". User and password are
// those of the connection (velt.ini). Verbose output is on; every line reaches `linha` as it
// comes. A failure of the service throws DatabaseError with the server's text.

// Backup with the options ignore-limbo and non-transportable.
void BackupPeloServico(const ConnectionParams& banco, const std::string& arquivoBackup, const LinhaServico& linha);

// Restore with the options replace and use-all-space, 3000 page buffers, pages of 4096 bytes:
// an existing database file at the location is replaced.
void RestorePeloServico(const ConnectionParams& destino, const std::string& arquivoBackup, const LinhaServico& linha);

}  // namespace velt

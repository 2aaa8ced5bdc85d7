#include "maintenance/BackupEmSegundoPlano.h"

#include "maintenance/ServicoBanco.h"

namespace velt {

BackupEmSegundoPlano::BackupEmSegundoPlano(ConnectionParams banco, std::string arquivo,
                                           std::function<void(const ResultadoBackup&)> aoTerminar)
    : arquivo_(std::move(arquivo)) {
    std::promise<ResultadoBackup> promessa;
    resultado_ = promessa.get_future().share();
    thread_ = std::thread([banco = std::move(banco), arquivo = arquivo_, aoTerminar = std::move(aoTerminar),
                           promessa = std::move(promessa)]() mutable {
        ResultadoBackup r;
        r.arquivo = arquivo;
        try {
            BackupPeloServico(banco, arquivo, {});
            r.sucesso = true;
        } catch (const std::exception& e) {
            r.erro = e.what();
        }
        promessa.set_value(r);
        if (aoTerminar) aoTerminar(r);
    });
}

BackupEmSegundoPlano::~BackupEmSegundoPlano() {
    if (thread_.joinable()) thread_.join();
}

bool BackupEmSegundoPlano::terminou() const {
    return resultado_.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

const ResultadoBackup& BackupEmSegundoPlano::espera() {
    if (thread_.joinable()) thread_.join();
    return resultado_.get();
}

}  // namespace velt

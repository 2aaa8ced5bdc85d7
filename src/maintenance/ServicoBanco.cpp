#include "maintenance/ServicoBanco.h"

#include <firebird/Interface.h>

#include <chrono>
#include <thread>
#include <vector>

using namespace Firebird;

namespace velt {
namespace {

IMaster* master() {
    static IMaster* m = fb_get_master_interface();
    return m;
}

// Where the service manager is and how it names the database: "host:path" goes to the server's
// service manager on host, with the path as the server sees it.
struct Destino {
    std::string servico;
    std::string banco;
};

Destino destinoDe(const ConnectionParams& p) {
    if (!p.remoto()) return {"service_mgr", p.local};
    auto colon = p.local.find(':');
    return {p.local.substr(0, colon) + ":service_mgr", p.local.substr(colon + 1)};
}

class Servico {
public:
    Servico(const ConnectionParams& p, const std::string& servico) : st_(master()->getStatus()) {
        prepareEmbeddedEngine();
        IXpbBuilder* spb = master()->getUtilInterface()->getXpbBuilder(&st_, IXpbBuilder::SPB_ATTACH, nullptr, 0);
        spb->insertString(&st_, isc_spb_user_name, p.usuario.c_str());
        spb->insertString(&st_, isc_spb_password, p.senha.c_str());
        IProvider* prov = master()->getDispatcher();
        try {
            svc_ = prov->attachServiceManager(&st_, servico.c_str(), spb->getBufferLength(&st_), spb->getBuffer(&st_));
        } catch (...) {
            spb->dispose();
            prov->release();
            throw;
        }
        spb->dispose();
        prov->release();
    }
    ~Servico() {
        if (svc_) {
            try {
                svc_->detach(&st_);
            } catch (const FbException&) {
                svc_->release();
            }
        }
        st_.dispose();
    }

    void inicia(IXpbBuilder* acao) {
        svc_->start(&st_, acao->getBufferLength(&st_), acao->getBuffer(&st_));
    }

    // Reads the output one line at a time until the service reports the end of its output.
    void leSaida(const LinhaServico& linha) {
        const unsigned char pede[] = {isc_info_svc_line};
        // The response length travels in 16 bits: a larger buffer comes back truncated.
        std::vector<unsigned char> buf(16 * 1024);
        for (;;) {
            svc_->query(&st_, 0, nullptr, sizeof pede, pede, static_cast<unsigned>(buf.size()), buf.data());
            const unsigned char* p = buf.data();
            if (p[0] != isc_info_svc_line) throw DatabaseError("resposta inesperada do serviço do banco de dados");
            unsigned tam = p[1] | (p[2] << 8);
            if (tam == 0) return esperaFim();
            if (tam > buf.size() - 3) tam = static_cast<unsigned>(buf.size() - 3);
            if (linha) linha(std::string_view(reinterpret_cast<const char*>(p + 3), tam));
        }
    }

    // The output ends a little before the service's own work does; detaching earlier leaves the
    // engine finishing it while the program may already be ending.
    void esperaFim() {
        const unsigned char pede[] = {isc_info_svc_running};
        unsigned char buf[64];
        for (int i = 0; i < 500; ++i) {
            svc_->query(&st_, 0, nullptr, sizeof pede, pede, sizeof buf, buf);
            if (buf[0] != isc_info_svc_running) return;
            unsigned v = buf[3] | (buf[4] << 8) | (buf[5] << 16) | (unsigned(buf[6]) << 24);
            if (v == 0) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    ThrowStatusWrapper& status() { return st_; }

private:
    ThrowStatusWrapper st_;
    IService* svc_ = nullptr;
};

template <typename F>
void comServico(const ConnectionParams& p, F&& f) {
    try {
        Destino d = destinoDe(p);
        Servico s(p, d.servico);
        IXpbBuilder* acao =
            master()->getUtilInterface()->getXpbBuilder(&s.status(), IXpbBuilder::SPB_START, nullptr, 0);
        struct Libera {
            IXpbBuilder* b;
            ~Libera() { b->dispose(); }
        } libera{acao};
        f(s, acao, d.banco);
    } catch (const FbException& e) {
        throw DatabaseError(firebirdErrorText(e.getStatus()));
    }
}

}  // namespace

void BackupPeloServico(const ConnectionParams& banco, const std::string& arquivoBackup, const LinhaServico& linha) {
    comServico(banco, [&](Servico& s, IXpbBuilder* a, const std::string& nome) {
        auto& st = s.status();
        a->insertTag(&st, isc_action_svc_backup);
        a->insertString(&st, isc_spb_dbname, nome.c_str());
        a->insertString(&st, isc_spb_bkp_file, arquivoBackup.c_str());
        a->insertTag(&st, isc_spb_verbose);
        a->insertInt(&st, isc_spb_options, isc_spb_bkp_ignore_limbo | isc_spb_bkp_non_transportable);
        s.inicia(a);
        s.leSaida(linha);
    });
}

void RestorePeloServico(const ConnectionParams& destino, const std::string& arquivoBackup, const LinhaServico& linha) {
    comServico(destino, [&](Servico& s, IXpbBuilder* a, const std::string& nome) {
        auto& st = s.status();
        a->insertTag(&st, isc_action_svc_restore);
        a->insertString(&st, isc_spb_bkp_file, arquivoBackup.c_str());
        a->insertString(&st, isc_spb_dbname, nome.c_str());
        a->insertTag(&st, isc_spb_verbose);
        a->insertInt(&st, isc_spb_options, isc_spb_res_replace | isc_spb_res_use_all_space);
        a->insertInt(&st, isc_spb_res_buffers, 3000);
        a->insertInt(&st, isc_spb_res_page_size, 4096);
        s.inicia(a);
        s.leSaida(linha);
    });
}

}  // namespace velt

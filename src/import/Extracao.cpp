#include "import/Extracao.h"

#include <sys/stat.h>
#include <utime.h>
#include <zip.h>

#include <cstdio>
#include <fstream>
#include <memory>

#include "common/Driver.h"

namespace velt {

namespace fs = std::filesystem;

namespace {

constexpr const char* kMsgSenha = "Erro na descompactação - password";
constexpr const char* kMsgInvalido = "Arquivo de zip invalido";
constexpr const char* kMsgErro = "Erro na Descompactação";

struct FechaZip {
    void operator()(zip_t* z) const { zip_discard(z); }
};
struct FechaEntrada {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

enum class Falha { Nenhuma, Senha, Invalido, Outra };

// One entry into a temporary file beside its final name, renamed only when whole: an
// interrupted extraction never leaves a truncated batch under the batch's name.
Falha extraiEntrada(zip_t* za, zip_uint64_t i, const zip_stat_t& st, const fs::path& alvo,
                    const std::string& senha) {
    std::unique_ptr<zip_file_t, FechaEntrada> ent(zip_fopen_index_encrypted(za, i, 0, senha.c_str()));
    if (!ent) {
        int codigo = zip_error_code_zip(zip_get_error(za));
        zip_error_clear(za);
        return codigo == ZIP_ER_WRONGPASSWD || codigo == ZIP_ER_NOPASSWD ? Falha::Senha : Falha::Outra;
    }
    fs::path temp = alvo;
    temp += ".parcial";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return Falha::Outra;
        char buf[65536];
        for (;;) {
            zip_int64_t n = zip_fread(ent.get(), buf, sizeof buf);
            if (n < 0) {
                int codigo = zip_error_code_zip(zip_file_get_error(ent.get()));
                out.close();
                std::error_code ec;
                fs::remove(temp, ec);
                // Traditional encryption lets one wrong password in 256 past its check byte;
                // the contents then come out as garbage that the decompressor refuses or that
                // fails its CRC.
                bool cifrada = (st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE;
                return cifrada && (codigo == ZIP_ER_CRC || codigo == ZIP_ER_ZLIB) ? Falha::Senha : Falha::Outra;
            }
            if (n == 0) break;
            out.write(buf, n);
        }
        if (!out.flush()) {
            std::error_code ec;
            fs::remove(temp, ec);
            return Falha::Outra;
        }
    }
    std::error_code ec;
    fs::rename(temp, alvo, ec);
    if (ec) {
        fs::remove(temp, ec);
        return Falha::Outra;
    }
    if (st.valid & ZIP_STAT_MTIME) {
        struct utimbuf t {
            st.mtime, st.mtime
        };
        utime(alvo.c_str(), &t);
    }
    return Falha::Nenhuma;
}

}  // namespace

std::string NomeEntradaZip(const std::string& nomeArmazenado) {
    auto pos = nomeArmazenado.find_last_of("/\\");
    std::string nome = pos == std::string::npos ? nomeArmazenado : nomeArmazenado.substr(pos + 1);
    if (nome == "." || nome == "..") return {};
    return nome;
}

ResultadoExtracao ExtraiArquivoZip(const fs::path& zip, const fs::path& destino, Driver& driver,
                                   const std::string& senha) {
    ResultadoExtracao r;
    bool mostrado = false;
    auto relata = [&](const char* texto) {
        r.falhou = true;
        if (mostrado) return;
        mostrado = true;
        driver.erro(texto);
    };

    int erro = 0;
    std::unique_ptr<zip_t, FechaZip> za(zip_open(zip.c_str(), ZIP_RDONLY, &erro));
    if (!za) {
        relata(erro == ZIP_ER_NOZIP || erro == ZIP_ER_INCONS ? kMsgInvalido : kMsgErro);
        return r;
    }
    zip_int64_t n = zip_get_num_entries(za.get(), 0);
    for (zip_int64_t i = 0; i < n; ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(za.get(), zip_uint64_t(i), 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME)) {
            relata(kMsgErro);
            continue;
        }
        std::string nome = NomeEntradaZip(st.name);
        if (nome.empty()) continue;  // a folder entry
        fs::path alvo = destino / nome;
        switch (extraiEntrada(za.get(), zip_uint64_t(i), st, alvo, senha)) {
            case Falha::Nenhuma:
                r.extraidos.push_back(alvo);
                break;
            case Falha::Senha:
                relata(kMsgSenha);
                break;
            case Falha::Invalido:
                relata(kMsgInvalido);
                break;
            case Falha::Outra:
                relata(kMsgErro);
                break;
        }
    }
    return r;
}

}  // namespace velt

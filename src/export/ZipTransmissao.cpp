#include "export/ZipTransmissao.h"

#include <zip.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <vector>

#include "common/Driver.h"

namespace velt {

namespace fs = std::filesystem;

std::string CompactaArquivoTransmissao(const fs::path& zip, const fs::path& arquivo, const std::string& entrada,
                                       const std::string& senha) {
    int erro = 0;
    zip_t* za = zip_open(zip.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &erro);
    if (!za) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, erro);
        std::string t = zip_error_strerror(&ze);
        zip_error_fini(&ze);
        return t;
    }
    auto falha = [&]() {
        std::string t = zip_strerror(za);
        zip_discard(za);
        return t;
    };
    zip_source_t* fonte = zip_source_file(za, arquivo.c_str(), 0, -1);
    if (!fonte) return falha();
    zip_int64_t i = zip_file_add(za, entrada.c_str(), fonte, ZIP_FL_OVERWRITE);
    if (i < 0) {
        zip_source_free(fonte);
        return falha();
    }
    if (zip_set_file_compression(za, static_cast<zip_uint64_t>(i), ZIP_CM_DEFLATE, 9) < 0 ||
        zip_file_set_encryption(za, static_cast<zip_uint64_t>(i), ZIP_EM_TRAD_PKWARE, senha.c_str()) < 0)
        return falha();
    if (zip_close(za) < 0) return falha();
    return {};
}

void DeslocaBytesZip(const fs::path& zip, const std::string& nomeBase, Driver& driver) {
    std::string caminho = zip.string();
    const std::string alvo = nomeBase + ".ZIP";
    for (auto p = caminho.find(alvo); !alvo.empty() && p != std::string::npos; p = caminho.find(alvo, p))
        caminho.erase(p, alvo.size());
    fs::path rascunho = caminho + "tmp.zip";
    {
        std::ifstream in(zip, std::ios::binary);
        if (!in)
            throw fs::filesystem_error("Não foi possível abrir o arquivo", zip,
                                       std::make_error_code(std::errc::no_such_file_or_directory));
        std::ofstream out(rascunho, std::ios::binary | std::ios::trunc);
        std::vector<char> buf(1 << 20);
        while (in) {
            in.read(buf.data(), static_cast<std::streamsize>(buf.size()));
            auto n = in.gcount();
            for (std::streamsize k = 0; k < n; ++k) buf[k] = static_cast<char>(static_cast<unsigned char>(buf[k]) + 32);
            if (out) out.write(buf.data(), n);
        }
        out.close();
        if (!out) {
            std::error_code ec;
            fs::remove(rascunho, ec);
        }
    }
    if (fs::exists(zip)) {
        if (fs::exists(rascunho)) {
            fs::remove(zip);
            fs::rename(rascunho, zip);
        } else {
            driver.erro("Falha na compactação do arquivo - reexecutar a operação");
            fs::remove(zip);
        }
    }
}

}  // namespace velt

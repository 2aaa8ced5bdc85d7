#pragma once
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "import/LeitorRemessa.h"

namespace velt {

// The rows of one batch file as they are staged into TB_MOVIMENTO, in the same order, kept in a
// temporary file beside the staging table. The storage reads them back from here in the order of
// the file: the engine neither scans nor sorts the staging table for it, and memory does not grow
// with the size of the batch. One copy serves a whole run, one batch at a time.
class CopiaEstagio {
public:
    // Throws std::runtime_error when no temporary file can be made.
    CopiaEstagio();
    ~CopiaEstagio();
    CopiaEstagio(const CopiaEstagio&) = delete;
    CopiaEstagio& operator=(const CopiaEstagio&) = delete;

    // Forgets the rows of the batch before.
    void recomeca();
    // One staged row: the establishment as staged (the header's CNES) and the fields as staged
    // (competência already YYYYMM).
    void acrescenta(std::string_view cnes, const std::array<std::string_view, kCamposRemessa>& campos);

    // Reading, once every row is in: releitura() goes back to the first row, proxima() makes the
    // next one current. The texts of the current row last until the next proxima().
    void releitura();
    bool proxima();
    std::string_view operator[](CampoRemessa c) const { return campos_[static_cast<std::size_t>(c)]; }
    std::string_view cnes() const { return campos_[kCamposRemessa]; }

private:
    static constexpr std::size_t kColunas = kCamposRemessa + 1;  // the fields, then the CNES
    void falha(const char* acao) const;

    std::FILE* arquivo_ = nullptr;
    std::size_t linhas_ = 0;
    std::size_t lidas_ = 0;
    std::string linha_;  // the current row, written or read
    std::array<std::string_view, kColunas> campos_{};
};

}  // namespace velt

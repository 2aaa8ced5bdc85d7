#include "export/RegistroTransmissao.h"

#include "common/Validacao.h"
#include "data/Database.h"
#include "gestor/Gestor.h"

namespace velt {

namespace {

constexpr std::array<std::size_t, kCamposTransmissao> kLarguras = {
    1, 7, 7, 12, 8, 8, 60, 8, 1, 25, 5, 15, 8, 6, 2, 15, 10, 4, 4, 2,
    2, 40, 6, 14, 30, 11, 1, 11, 11, 11, 11, 11, 3, 6, 12, 6, 2, 20};

constexpr std::array<CampoTransmissao, kCamposTransmissao> montaLayout() {
    std::array<CampoTransmissao, kCamposTransmissao> l{};
    std::size_t inicio = 1;
    for (std::size_t i = 0; i < kCamposTransmissao; ++i) {
        l[i] = {inicio, kLarguras[i]};
        inicio += kLarguras[i];
    }
    return l;
}

constexpr std::size_t largura(std::size_t n) { return kLarguras[n - 1]; }

static_assert(montaLayout()[kCamposTransmissao - 1].inicio + kLarguras[kCamposTransmissao - 1] - 1 ==
              kTamanhoLinhaTransmissao);

// Columns of kSqlIndividualizados, in select order.
enum ColInd : std::size_t {
    iCnes, iProntuario, iDtInternacao, iDtSaida, iNome, iDtNasc, iSexo, iLogradouro, iNumLogradouro,
    iComplemento, iCep, iMunicipio, iUf, iCns, iProcedimento, iDiagPrin, iDiagSec, iTipoAlta, iFonte,
    iDescProc, iOperadora, iCnpjOperadora, iBeneficiario, iObito, iQtNasc, iNasc1, iNasc2, iNasc3, iNasc4,
    iNasc5, iUti, iQuantidade, iModalidade, iTiss
};

// Columns of kSqlConsolidados, in select order.
enum ColCons : std::size_t { cCnes, cProcedimento, cFonte, cOperadora, cQuantidade };

void tp(RegistroTransmissao& r, std::size_t n, const Cursor& c, std::size_t col) {
    r[n] = PreencheTP(c.text(col), largura(n));
}
void as(RegistroTransmissao& r, std::size_t n, const Cursor& c, std::size_t col) {
    r[n] = PreencheAS(c.text(col), largura(n));
}

std::string apara(std::string_view s) {
    auto a = s.find_first_not_of(' ');
    if (a == std::string_view::npos) return {};
    auto b = s.find_last_not_of(' ');
    return std::string(s.substr(a, b - a + 1));
}

}  // namespace

const std::array<CampoTransmissao, kCamposTransmissao> kLayoutTransmissao = montaLayout();

// Columns present in both tables are taken from the attendance, the patient's own from the
// patient; the sort keys are qualified because both tables carry them.
const char* const kSqlIndividualizados =
    "select i.co_cnes, i.nu_prontuario, i.dt_internacao, i.dt_saida, p.no_paciente, i.dt_nasc_paciente, "
    "i.co_sexo, p.ds_logradouro, p.nu_logradouro, p.ds_complemento, p.co_cep, i.co_municipio, p.co_uf, "
    "p.nu_cns, i.co_proced_realizado, i.co_diag_prin, i.co_diag_sec, i.co_tipo_alta, i.co_fonte_remunera, "
    "i.ds_proced, i.co_operadora, i.nu_operadora, i.co_beneficiario, i.nu_obito, i.qt_nasc, i.nu_nasc1, "
    "i.nu_nasc2, i.nu_nasc3, i.nu_nasc4, i.nu_nasc5, i.qt_uti, i.nu_quantidade, i.co_modalidade, i.nu_tiss "
    "from tb_internacao i,tb_paciente p "
    "where i.nu_seq_id_paciente = p.nu_seq_id_paciente "
    "and i.nu_cmpt = :cmpt order by i.co_cnes,i.co_modalidade ";

const char* const kSqlConsolidados =
    "select co_cnes, co_procedimento, co_fonte_remunera, co_operadora, nu_quantidade "
    "from tb_a_consolidado where dt_competencia = :cmpt";

const char* const kSqlSemMovimento =
    "select co_cnes from tb_estagio_remessa_hosp where "
    "dt_competencia = :cmpt and nu_status = :st";

std::string PreencheTP(std::string_view valor, std::size_t largura) {
    std::string s = CompletaDireita(valor, largura, ' ');
    s.resize(largura, ' ');
    return s;
}

std::string PreencheAS(std::string_view valor, std::size_t largura) {
    std::string s(valor.substr(0, largura));
    s.resize(largura, ' ');
    return s;
}

void LimpaRegistroTransmissao(RegistroTransmissao& r) {
    r.linha.clear();
    for (std::size_t n = 1; n <= kCamposTransmissao; ++n) {
        if (n <= campo::Cnes) r[n].clear();
        else r[n].assign(largura(n), ' ');
    }
}

void PreencheIndividualizado(RegistroTransmissao& r, const Cursor& c, std::string_view competencia) {
    using namespace campo;
    r[Versao] = kVersaoLayout;
    as(r, Cnes, c, iCnes);
    tp(r, Prontuario, c, iProntuario);
    as(r, DataInternacao, c, iDtInternacao);
    tp(r, Nome, c, iNome);
    as(r, DataNascimento, c, iDtNasc);
    as(r, Sexo, c, iSexo);
    tp(r, Logradouro, c, iLogradouro);
    tp(r, NumeroLogradouro, c, iNumLogradouro);
    tp(r, Complemento, c, iComplemento);
    as(r, Cep, c, iCep);
    as(r, Municipio, c, iMunicipio);
    as(r, Uf, c, iUf);
    tp(r, Cns, c, iCns);
    tp(r, Procedimento, c, iProcedimento);
    tp(r, DiagPrincipal, c, iDiagPrin);
    tp(r, DiagSecundario, c, iDiagSec);
    tp(r, FonteRemuneracao, c, iFonte);
    tp(r, DescProcedimento, c, iDescProc);
    tp(r, Operadora, c, iOperadora);
    tp(r, CnpjOperadora, c, iCnpjOperadora);
    tp(r, Beneficiario, c, iBeneficiario);
    tp(r, Obito, c, iObito);
    tp(r, QtNascidos, c, iQtNasc);
    tp(r, Nascido1, c, iNasc1);
    tp(r, Nascido2, c, iNasc2);
    tp(r, Nascido3, c, iNasc3);
    tp(r, Nascido4, c, iNasc4);
    tp(r, Nascido5, c, iNasc5);
    tp(r, Uti, c, iUti);
    r[Competencia] = PreencheAS(competencia, largura(Competencia));
    tp(r, Quantidade, c, iQuantidade);
    tp(r, Modalidade, c, iModalidade);
    tp(r, GuiaTiss, c, iTiss);
    // Ambulatory attendances (modality 01) carry no discharge.
    if (r[Modalidade] == "01") {
        r[Tipo] = "4";
    } else {
        r[Tipo] = "2";
        as(r, DataSaida, c, iDtSaida);
        as(r, TipoAlta, c, iTipoAlta);
    }
}

void PreencheConsolidado(RegistroTransmissao& r, const Cursor& c, std::string_view competencia) {
    using namespace campo;
    r[Tipo] = "5";
    r[Versao] = kVersaoLayout;
    as(r, Cnes, c, cCnes);
    tp(r, Procedimento, c, cProcedimento);
    tp(r, FonteRemuneracao, c, cFonte);
    tp(r, Operadora, c, cOperadora);
    r[Competencia] = PreencheAS(competencia, largura(Competencia));
    tp(r, Quantidade, c, cQuantidade);
}

void PreencheSemMovimento(RegistroTransmissao& r, std::string_view cnes, std::string_view competencia) {
    using namespace campo;
    r[Tipo] = "3";
    r[Versao] = kVersaoLayout;
    r[Cnes] = PreencheAS(cnes, largura(Cnes));
    r[Competencia] = PreencheAS(competencia, largura(Competencia));
}

const std::string& MontaLinhaTransmissao(RegistroTransmissao& r, std::string_view nomeArquivo) {
    r.linha.clear();
    r.linha.reserve(kTamanhoLinhaTransmissao + 2);
    for (std::size_t n = 1; n <= kCamposTransmissao; ++n) {
        if (n == campo::NomeArquivo) r.linha += PreencheAS(nomeArquivo, largura(n));
        else r.linha += r[n];
    }
    return r.linha;
}

CamposLidos CortaLinhaTransmissao(std::string_view linha) {
    CamposLidos f;
    for (std::size_t n = 1; n <= kCamposTransmissao; ++n) {
        std::size_t ini = kLayoutTransmissao[n - 1].inicio - 1;
        if (ini < linha.size()) f[n] = std::string(linha.substr(ini, largura(n)));
    }
    return f;
}

CamposLidos LeLinhaTransmissao(std::string_view linha) {
    using namespace campo;
    CamposLidos f = CortaLinhaTransmissao(linha);
    // Three blanks become one, left to right without overlap, before the trim.
    std::string nome;
    const std::string& bruto = f[Nome];
    for (std::size_t i = 0; i < bruto.size();) {
        if (bruto.compare(i, 3, "   ") == 0) {
            nome += ' ';
            i += 3;
        } else {
            nome += bruto[i++];
        }
    }
    f[Nome] = std::move(nome);
    for (std::size_t n = 1; n <= kCamposTransmissao; ++n) f[n] = apara(f[n]);
    for (std::size_t n : {std::size_t(Nome), std::size_t(Sexo), std::size_t(Logradouro), std::size_t(Complemento),
                          std::size_t(Uf), std::size_t(DescProcedimento)})
        f[n] = MaiusculasCp1252(f[n]);
    return f;
}

}  // namespace velt

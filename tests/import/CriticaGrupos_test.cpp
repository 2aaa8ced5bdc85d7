// Every rule of the record checks: one line per case, the record as the generator makes it with a
// few fields changed, and every message line the record must get (none for a record that passes).
#include <functional>

#include "common/Catalogo.h"
#include "import/CriticaFixture.h"

namespace velt::test {
namespace {

using C = CampoRemessa;
using Muda = std::function<void(RegistroGerado&)>;

struct Caso {
    const char* nome;
    char tipo;  // '2' hospitalisation, '4' ambulatory, '5' consolidated
    Muda muda;
    std::vector<std::string> esperadas;
    std::string competencia = "201203";
    std::string cnes = kCnesGerador;
};

Muda campos(std::vector<std::pair<C, std::string>> v) {
    return [v](RegistroGerado& r) {
        for (const auto& [c, s] : v) r.com(c, s);
    };
}

RegistroGerado base(char tipo, const std::string& competencia) {
    if (tipo == '2') return InternacaoValida(competencia);
    if (tipo == '4') return AmbulatorialValido(competencia);
    return ConsolidadoValido(competencia);
}

const std::string A1 = " Nome do paciente nao informado";
const std::string A2 = " Logradouro do Paciente nao informado";
const std::string A3 = " Complemento incorreto";
const std::string A4 = " Código do municipio(IBGE) do Paciente nao informado ou invalido";
const std::string A5 = " UF do Paciente nao informada ou invalida";
const std::string A6 = " CEP do Paciente nao informado";
const std::string A7 = " Data de nascimento do paciente nao informada ou invalida";
const std::string A8 = " Sexo do paciente nao informado ou invalido";
const std::string A9 = " CNS do Paciente invalido - ";
const std::string A10 = " Prontuario invalido";
const std::string B1 = " Codigo do procedimento realizado nao informado ou invalido";
const std::string B2 = " Descricao do Procedimento invalida";
const std::string B3 = " Procedimento realizado incompativel com o sexo";
const std::string B4 = " Numero de Nascidos nao informado ou invalido";
const std::string B5 = " DocDN nao informado ou invalido";
const std::string C1 = " Codigo do diagnostico principal nao informado ou invalido";
const std::string C2 = " Diagnostico principal incompativel com o sexo";
const std::string C4 = " Codigo do diagnostico secundario invalido";
const std::string C5 = " Diagnostico secundario incompativel com o sexo";
const std::string D1 = " Data de atendimento/internacao do paciente nao informada ou invalida";
const std::string D2 = " Competencia do atendimento/internacao maior que a competencia atual";
const std::string D3 = " Competencia de nascimento maior que a competencia atual";
const std::string D4 = " Nascimento do paciente maior que a data de internacao";
const std::string D5 = " Data de alta do paciente nao informada ou invalida";
const std::string D6 = " Data da alta superior a data do sistema";
const std::string D7 = " Alta do paciente diferente da data da competencia da remessa";
const std::string D8 = " Internacao do paciente maior que a data de alta";
const std::string D9 = " Data do atendimento incompativel com a modalidade informada";
const std::string E1 = " Motivo da alta nao informado ou invalido para a competencia";
const std::string E2 = " Documento de Obito nao informado ou inválido";
const std::string E3 = " Obito nao compativel com motivo da alta";
const std::string E4 = " Alta nao compativel com o procedimento realizado";
const std::string E5 = " Alta nao compativel com o procedimento de parto realizado";
const std::string F1 = " Fonte de remuneracao nao informada ou invalida";
const std::string F2 =
    "Fonte de remuneração 10 inválida - Estabelecimento não possui cadastro no programa PRONON";
const std::string F3 =
    "Fonte de remuneração 11 inválida - Estabelecimento não possui cadastro no programa PRONAS/PCD";
const std::string G1 = " Numero da Guia TISS inválido";
const std::string H1 = " CNPJ nao informado ou invalido para fonte 6 ou 9";
const std::string H2 = " CNPJ nao informado ou invalido para fonte 1";
const std::string H3 = " CNPJ da operadora nao informado ou invalido para fonte 1";
const std::string H4 = " Registro da operadora nao informado ou invalido para fonte 1";
const std::string H5 = " Identificacao do Beneficiario nao informada ou invalida";
const std::string I2 = " Numero de Dias de UTI invalido";
const std::string I4 = " Hospital não possui leito de UTI cadastrado ";
const std::string I5 = " Data da internacao maior que data da alta";
const std::string I6 = " Numero de Dias de UTI maior que o período de internacao";
const std::string J1 = " Competencia nao informada ou invalida";
const std::string J2 = " Competencia da internacao incorreta ";
const std::string J3 = " Competencia maior do que a data atual";
const std::string J4 = " Competencia da alta maior que a competencia atual";
const std::string K2 = " Quantidade de procedimentos realizados menor que 1";
const std::string K3 = " Quantidade informada para este procedimento deve ser igual a 1";
const std::string L1 = " Modalidade Invalida ";
const std::string L2 = " Modalidade Incompativel com o tipo de registro ambulatorial ";
const std::string L3 = " Modalidade Incompativel com o tipo de registro internacao";
const std::string L4 = " Procedimento incompativel com a modalidade ambulatorial ";
const std::string L5 = " Procedimento incompativel com a modalidade internacao ";
const std::string M1 = " Procedimento nao é de atendimento consolidado";
const std::string M2 = " Este procedimento nao pode figurar como principal na internacao";
const std::string M3 = " Este procedimento nao pode figurar como principal no atendimento ambulatorial";

// A childbirth hospitalisation with one live birth and its birth document.
Muda parto(const std::string& alta) {
    return campos({{C::Procedimento, "0310010039"},
                   {C::TipoAlta, alta},
                   {C::QtNascidos, "1"},
                   {C::Nasc1, "12345678901"}});
}

// Source 1 with the known operator.
Muda fonte1(std::vector<std::pair<C, std::string>> mais = {}) {
    std::vector<std::pair<C, std::string>> v = {{C::FonteRemuneracao, "1"},
                                                {C::Operadora, kRegistroAns},
                                                {C::CnpjOperadora, ""},
                                                {C::Beneficiario, "BEN0001"}};
    v.insert(v.end(), mais.begin(), mais.end());
    return campos(v);
}

class CriticaGrupos : public CriticaTeste {
protected:
    void confere(const std::vector<Caso>& casos) {
        for (const auto& c : casos) {
            SCOPED_TRACE(c.nome);
            auto reg = base(c.tipo, c.competencia);
            if (c.muda) c.muda(reg);
            EXPECT_EQ(mensagens(reg, c.competencia, c.cnes), c.esperadas);
        }
    }
};

TEST_F(CriticaGrupos, RegistrosDoGeradorPassam) {
    confere({
        {"hospitalisation", '2', {}, {}},
        {"ambulatory", '4', {}, {}},
        {"consolidated", '5', {}, {}},
        {"hospitalisation 201208", '2', {}, {}, "201208"},
        {"ambulatory 201208", '4', {}, {}, "201208"},
        {"consolidated 201208", '5', {}, {}, "201208"},
        {"hospitalisation 201008", '2', {}, {}, "201008"},
    });
}

TEST_F(CriticaGrupos, OrdemDosGrupos) {
    confere({
        {"individual: A to M",
         '2',
         campos({{C::NomePaciente, ""},
                 {C::Sexo, "X"},
                 {C::DiagSecundario, "ZZZ"},
                 {C::TipoAlta, "99"},
                 {C::FonteRemuneracao, "7"},
                 {C::DiasUti, "AB"},
                 {C::Competencia, "022012"},
                 {C::Quantidade, "000000"},
                 {C::Modalidade, "03"}}),
         {A1, A8, C4, E1, F1, I2, J2, K2, L1}},
        {"consolidated: B, M, K, J, then F and H",
         '5',
         campos({{C::Procedimento, "0211020036"},
                 {C::Quantidade, "000000"},
                 {C::Competencia, "072012"},
                 {C::FonteRemuneracao, "1"}}),
         {M1, K2, J2, H4},
         "201208"},
        {"consolidated: B before M",
         '5',
         campos({{C::Procedimento, "9999999999"}, {C::FonteRemuneracao, "7"}}),
         {B1, M1, F1},
         "201208"},
    });
}

TEST_F(CriticaGrupos, A_Paciente) {
    confere({
        {"A1 name blank", '2', campos({{C::NomePaciente, ""}}), {A1}},
        {"A2 street blank", '2', campos({{C::Logradouro, ""}}), {A2}},
        {"A2 street after blanks passes", '2', campos({{C::Logradouro, "   RUA X"}}), {}},
        {"A3 fifteen digits", '2', campos({{C::Complemento, "123456789012345"}}), {A3}},
        {"A3 digits after blanks", '2', campos({{C::Complemento, "   123456789012"}}), {A3}},
        {"A3 zeros", '2', campos({{C::Complemento, "000000000000000"}}), {A3}},
        {"A3 digits followed by blanks pass", '2', campos({{C::Complemento, "12"}}), {}},
        {"A3 blank passes", '2', campos({{C::Complemento, ""}}), {}},
        {"A4 unknown", '2', campos({{C::Municipio, "999999"}}), {A4}},
        {"A4 blank", '2', campos({{C::Municipio, ""}}), {A4}},
        {"A4 not a number", '2', campos({{C::Municipio, "35503A"}}), {A4}},
        {"A5 unknown", '2', campos({{C::UF, "XX"}}), {A5}},
        {"A5 blank", '2', campos({{C::UF, ""}}), {A5}},
        {"A5 digits", '2', campos({{C::UF, "35"}}), {A5}},
        {"A5 small letters read as capitals", '2', campos({{C::UF, "sp"}}), {}},
        {"A6 blank", '2', campos({{C::CEP, ""}}), {A6}},
        {"A6 letters", '2', campos({{C::CEP, "0131010A"}}), {A6}},
        {"A7 30 February", '2', campos({{C::DataNascimento, "30021980"}}), {A7}},
        {"A7 blank", '2', campos({{C::DataNascimento, ""}}), {A7}},
        {"A7 year before 1800", '2', campos({{C::DataNascimento, "01011799"}}), {A7}},
        {"A8 unknown sex", '2', campos({{C::Sexo, "X"}}), {A8}},
        {"A8 blank", '2', campos({{C::Sexo, ""}}), {A8}},
        {"A8 small letter", '2', campos({{C::Sexo, "i"}}), {}},
        {"A9 fifteen zeros", '2', campos({{C::CNS, "000000000000000"}}), {}},
        {"A9 blank", '2', campos({{C::CNS, ""}}), {}},
        {"A9 blank inside", '2', campos({{C::CNS, "7000000 0000005"}}), {A9 + "7000000 0000005"}},
        {"A9 leading blanks", '2', campos({{C::CNS, "  7000000000005"}}), {A9 + "  7000000000005"}},
        {"A9 wrong CNS before 201207", '2', campos({{C::CNS, "123456789012345"}}), {}},
        {"A9 wrong CNS from 201207",
         '2',
         campos({{C::CNS, "123456789012345"}}),
         {A9 + "123456789012345"},
         "201208"},
        {"A9 definitive CNS from 201207", '2', campos({{C::CNS, "123456789010000"}}), {}, "201208"},
        {"A10 blank", '2', campos({{C::Prontuario, ""}}), {A10}},
        {"A10 zeros", '2', campos({{C::Prontuario, "000000"}}), {A10}},
        {"A10 digits after blanks pass", '2', campos({{C::Prontuario, "      000123"}}), {}},
        {"A all at once",
         '4',
         campos({{C::NomePaciente, ""},
                 {C::Logradouro, ""},
                 {C::Complemento, "123456789012345"},
                 {C::Municipio, ""},
                 {C::UF, ""},
                 {C::CEP, ""},
                 {C::DataNascimento, ""},
                 {C::Sexo, ""},
                 {C::CNS, "X"},
                 {C::Prontuario, ""}}),
         {A1, A2, A3, A4, A5, A6, A7, A8, A9 + "X              ", A10}},
    });
}

TEST_F(CriticaGrupos, B_Procedimento) {
    confere({
        {"B1 unknown procedure, then modality and kind",
         '2',
         campos({{C::Procedimento, "9999999999"}}),
         {B1, L5, M2}},
        {"B1 blank", '4', campos({{C::Procedimento, ""}}), {B1, L4, M3}},
        {"B1 consolidated unknown", '5', campos({{C::Procedimento, "9999999999"}}), {B1, M1}},
        {"B2 non-SUS procedure without description",
         '2',
         campos({{C::Procedimento, "0301000001"}, {C::DescricaoProcedimento, ""}}),
         {B2}},
        {"B2 non-SUS procedure described by zeros",
         '5',
         campos({{C::Procedimento, "0301000001"}, {C::DescricaoProcedimento, std::string(40, '0')}}),
         {B2}},
        {"B2 digits followed by blanks are a description",
         '5',
         campos({{C::Procedimento, "0301000001"}, {C::DescricaoProcedimento, "12345"}}),
         {}},
        {"B2 non-SUS procedure described passes every table check",
         '4',
         campos({{C::Procedimento, "0301000001"}, {C::DescricaoProcedimento, "CONSULTA PARTICULAR"}}),
         {}},
        {"B3 male procedure for a woman", '4', campos({{C::Procedimento, "0201010070"}}), {B3}},
        {"B3 male procedure for a man", '4', campos({{C::Procedimento, "0201010070"}, {C::Sexo, "M"}}), {}},
        {"B3 female procedure for sex I",
         '2',
         [](RegistroGerado& r) {
             parto("61")(r);
             r.com(C::Sexo, "I");
         },
         {}},
        {"B4 childbirth with one live birth", '2', parto("61"), {}},
        {"B4 live births blank",
         '2',
         [](RegistroGerado& r) {
             parto("61")(r);
             r.com(C::QtNascidos, "");
         },
         {B4}},
        {"B4 live births zero",
         '2',
         [](RegistroGerado& r) {
             parto("61")(r);
             r.com(C::QtNascidos, "0");
         },
         {B4}},
        {"B5 two births, only document 1",
         '2',
         [](RegistroGerado& r) {
             parto("61")(r);
             r.com(C::QtNascidos, "2");
         },
         {}},
        {"B5 two births, only document 2",
         '2',
         [](RegistroGerado& r) {
             parto("61")(r);
             r.com(C::QtNascidos, "2").com(C::Nasc1, "").com(C::Nasc2, "12345678901");
         },
         {}},
        {"B5 no document",
         '2',
         [](RegistroGerado& r) {
             parto("61")(r);
             r.com(C::Nasc1, "");
         },
         {B5}},
        {"B5 document after blanks",
         '2',
         [](RegistroGerado& r) {
             parto("61")(r);
             r.com(C::Nasc1, "   45678901");
         },
         {B5}},
        {"B5 document 3 beyond the births",
         '2',
         [](RegistroGerado& r) {
             parto("61")(r);
             r.com(C::QtNascidos, "2").com(C::Nasc1, "").com(C::Nasc3, "12345678901");
         },
         {B5}},
        {"B5 six births have no document rule",
         '2',
         [](RegistroGerado& r) {
             parto("61")(r);
             r.com(C::QtNascidos, "6").com(C::Nasc1, "");
         },
         {}},
        {"B5 not for reason 63",
         '2',
         [](RegistroGerado& r) {
             parto("63")(r);
             r.com(C::Nasc1, "");
         },
         {},
         "201208"},
        {"B5 for reason 61",
         '2',
         [](RegistroGerado& r) {
             parto("61")(r);
             r.com(C::Nasc1, "");
         },
         {B5},
         "201208"},
    });
}

TEST_F(CriticaGrupos, C_Diagnosticos) {
    confere({
        {"C1 required and blank", '2', campos({{C::DiagPrincipal, ""}}), {C1}},
        {"C1 required and unknown", '2', campos({{C::DiagPrincipal, "ZZZZ"}}), {C1}},
        {"C1 not required for 0301 procedures", '4', campos({{C::DiagPrincipal, ""}}), {}},
        {"C1 examined when given", '4', campos({{C::DiagPrincipal, "ZZZZ"}}), {C1}},
        {"C1 not required for 02 procedures",
         '4',
         campos({{C::Procedimento, "0201010070"}, {C::Sexo, "M"}, {C::DiagPrincipal, ""}}),
         {}},
        {"C1 code with a trailing blank found", '2', campos({{C::DiagPrincipal, "A90"}}), {}},
        {"C1 code after a blank not found", '2', campos({{C::DiagPrincipal, " A90"}}), {C1}},
        {"C2 male diagnosis for a woman", '2', campos({{C::DiagPrincipal, "N40"}}), {C2}},
        {"C2 female diagnosis for a man", '2', campos({{C::DiagPrincipal, "O800"}, {C::Sexo, "M"}}), {C2}},
        {"C4 secondary unknown", '2', campos({{C::DiagSecundario, "ZZZ"}}), {C4}},
        {"C4 secondary known", '2', campos({{C::DiagSecundario, "A90"}}), {}},
        {"C5 secondary of the other sex", '2', campos({{C::DiagSecundario, "C61"}}), {C5}},
        {"C principal and secondary",
         '2',
         campos({{C::DiagPrincipal, "N40"}, {C::DiagSecundario, "C61"}}),
         {C2, C5}},
    });
}

TEST_F(CriticaGrupos, D_Datas) {
    confere({
        {"D1 admission blank", '2', campos({{C::DataInternacao, ""}}), {D1}},
        {"D2 admission after the current month", '2', campos({{C::DataInternacao, "01052012"}}), {D2, D8}},
        {"D3 and D4 birth after the current month", '2', campos({{C::DataNascimento, "15052012"}}), {D3, D4}},
        {"D4 birth after admission", '2', campos({{C::DataNascimento, "02032012"}}), {D4}},
        {"D4 birth on admission day passes", '2', campos({{C::DataNascimento, "01032012"}}), {}},
        {"D5 discharge blank", '2', campos({{C::DataSaida, ""}}), {D5}},
        {"D5 discharge 30 February", '2', campos({{C::DataSaida, "30022012"}}), {D5}},
        {"D6 D7 J4 discharge after today", '2', campos({{C::DataSaida, "20042012"}}), {D6, D7, J4}},
        {"D7 discharge in another month",
         '2',
         campos({{C::DataInternacao, "01022012"}, {C::DataSaida, "05022012"}}),
         {D7}},
        {"D8 admission after discharge", '2', campos({{C::DataInternacao, "06032012"}}), {D8}},
        {"D9 ambulatory over two days",
         '4',
         campos({{C::DataInternacao, "05032012"}, {C::DataSaida, "06032012"}}),
         {D9}},
        {"D9 not for hospitalisation",
         '2',
         campos({{C::DataInternacao, "05032012"}, {C::DataSaida, "06032012"}}),
         {}},
        {"D9 skipped when the admission is invalid",
         '4',
         campos({{C::DataInternacao, "AB032012"}, {C::DataSaida, "06032012"}}),
         {D1, D8}},
        {"ambulatory blank discharge takes the admission date",
         '4',
         campos({{C::DataSaida, ""}, {C::TipoAlta, ""}}),
         {}},
    });
}

TEST_F(CriticaGrupos, E_MotivoDaAlta) {
    confere({
        {"E1 unknown reason", '2', campos({{C::TipoAlta, "99"}}), {E1}},
        {"E1 blank reason of a hospitalisation", '2', campos({{C::TipoAlta, ""}}), {E1}},
        {"E1 reason retired before the competência", '2', campos({{C::TipoAlta, "13"}}), {E1}},
        {"E1 reason still valid in 201008", '2', campos({{C::TipoAlta, "13"}}), {E5}, "201008"},
        {"E1 not a number", '2', campos({{C::TipoAlta, "XX"}}), {E1}, "201208"},
        {"E1 and E5 not a number with childbirth", '2', parto("XX"), {E1, E5}, "201208"},
        {"E2 death without document", '2', campos({{C::TipoAlta, "41"}}), {E2}},
        {"E2 death with document", '2', campos({{C::TipoAlta, "41"}, {C::Obito, "12345678901"}}), {}},
        {"E2 death document after blanks is trimmed",
         '2',
         campos({{C::TipoAlta, "41"}, {C::Obito, "   45678901"}}),
         {}},
        {"E3 death document without death", '2', campos({{C::Obito, "12345678901"}}), {E3}},
        {"E3 zeros are no document", '2', campos({{C::Obito, "00000000000"}}), {}},
        {"E3 reason 42 may carry a document",
         '2',
         campos({{C::TipoAlta, "42"}, {C::Obito, "12345678901"}}),
         {}},
        {"E4 reason 19 with another procedure", '2', campos({{C::TipoAlta, "19"}}), {E4}, "201208"},
        {"E4 reason 19 with psychiatry",
         '2',
         campos({{C::TipoAlta, "19"}, {C::Procedimento, "0303170093"}}),
         {},
         "201208"},
        {"E5 childbirth with reason 11", '2', parto("11"), {E5}, "201208"},
        {"E5 childbirth with reason 64", '2', parto("64"), {}, "201208"},
        {"E5 reason 61 without childbirth", '2', campos({{C::TipoAlta, "61"}}), {E5}, "201208"},
        {"E6 reason 17 without childbirth", '2', campos({{C::TipoAlta, "17"}}), {E5}, "201008"},
        {"E6 reason 13 with childbirth", '2', parto("13"), {}, "201008"},
        {"E7 reason 19 before 201010", '2', campos({{C::TipoAlta, "19"}}), {E1}, "201008"},
        {"E7 reason 32 before 201010", '2', campos({{C::TipoAlta, "32"}}), {E1}, "201008"},
        {"E7 reason 61 before 201010", '2', parto("61"), {E1}, "201008"},
    });
}

TEST_F(CriticaGrupos, F_G_FonteEGuiaTiss) {
    confere({
        {"F1 unknown source", '2', campos({{C::FonteRemuneracao, "7"}}), {F1}},
        {"F1 blank source", '2', campos({{C::FonteRemuneracao, ""}}), {F1}},
        {"F1 letters", '4', campos({{C::FonteRemuneracao, "A"}}), {F1}},
        {"F1 source after a blank is trimmed", '2', campos({{C::FonteRemuneracao, " 2"}}), {}},
        {"F1 source 01 is not source 1", '2', campos({{C::FonteRemuneracao, "01"}}), {F1}},
        {"F2 PRONON member", '2', campos({{C::FonteRemuneracao, "10"}}), {}},
        {"F2 not a PRONON member", '2', campos({{C::FonteRemuneracao, "10"}}), {F2}, "201203", kCnesSemUti},
        {"F3 not a PRONAS/PCD member", '2', campos({{C::FonteRemuneracao, "11"}}), {F3}},
        {"G1 source 1 after 201212 without guide", '2', fonte1(), {G1}, "201301"},
        {"G1 source 1 after 201212 with guide", '2', fonte1({{C::Tiss, "  123"}}), {}, "201301"},
        {"G1 source 1 in 201212 without guide", '2', fonte1(), {}, "201212"},
        {"G1 other source without guide", '4', {}, {}, "201301"},
        {"consolidated before 201207 with blank source skips F and H",
         '5',
         campos({{C::FonteRemuneracao, ""}, {C::Operadora, "ABC"}}),
         {},
         "201206"},
        {"consolidated before 201207 with a source",
         '5',
         campos({{C::FonteRemuneracao, "7"}}),
         {F1},
         "201206"},
        {"consolidated from 201207 with blank source",
         '5',
         campos({{C::FonteRemuneracao, ""}}),
         {F1},
         "201208"},
    });
}

TEST_F(CriticaGrupos, H_Operadora) {
    confere({
        {"H1 source 6 without CNPJ", '2', campos({{C::FonteRemuneracao, "6"}}), {H1}},
        {"H1 source 9 wrong CNPJ",
         '2',
         campos({{C::FonteRemuneracao, "9"}, {C::CnpjOperadora, "11222333000182"}}),
         {H1}},
        {"H1 source 6 valid CNPJ of no operator",
         '2',
         campos({{C::FonteRemuneracao, "6"}, {C::CnpjOperadora, "11444777000161"}}),
         {}},
        {"H1 CNPJ short of its zeros",
         '2',
         campos({{C::FonteRemuneracao, "6"}, {C::CnpjOperadora, "191"}}),
         {}},
        {"H1 zeros", '2', campos({{C::FonteRemuneracao, "6"}, {C::CnpjOperadora, "00000000000000"}}), {H1}},
        {"H2 source 1 without registry nor CNPJ", '2', fonte1({{C::Operadora, ""}}), {H2}},
        {"H2 registry zeros and CNPJ wrong",
         '2',
         fonte1({{C::Operadora, "000000"}, {C::CnpjOperadora, "123"}}),
         {H2}},
        {"H3 valid CNPJ of no operator",
         '2',
         fonte1({{C::Operadora, ""}, {C::CnpjOperadora, "11444777000161"}}),
         {H3}},
        {"H3 known CNPJ without registry",
         '2',
         fonte1({{C::Operadora, ""}, {C::CnpjOperadora, kCnpjOperadora}}),
         {}},
        {"H4 unknown registry", '2', fonte1({{C::Operadora, "999999"}}), {H4}},
        {"H4 unknown registry and unknown CNPJ",
         '2',
         fonte1({{C::Operadora, "999999"}, {C::CnpjOperadora, "11444777000161"}}),
         {H4}},
        {"H4 unknown registry, known CNPJ",
         '2',
         fonte1({{C::Operadora, "999999"}, {C::CnpjOperadora, kCnpjOperadora}}),
         {}},
        {"H5 beneficiary blank", '2', fonte1({{C::Beneficiario, ""}}), {H5}},
        {"H5 beneficiary zeros", '2', fonte1({{C::Beneficiario, "000"}}), {H5}},
        {"H5 beneficiary digits after blanks are trimmed", '2', fonte1({{C::Beneficiario, "   123"}}), {}},
        {"H2 and H5", '4', fonte1({{C::Operadora, ""}, {C::Beneficiario, ""}}), {H2, H5}},
        {"H6 other sources ignore the operator",
         '2',
         campos({{C::Operadora, "999999"}, {C::CnpjOperadora, "1"}, {C::Beneficiario, ""}}),
         {}},
        {"consolidated source 1 without registry", '5', campos({{C::FonteRemuneracao, "1"}}), {H4}},
        {"consolidated source 1 unknown registry",
         '5',
         campos({{C::FonteRemuneracao, "1"}, {C::Operadora, "654321"}}),
         {H4}},
        {"consolidated source 1 known registry",
         '5',
         campos({{C::FonteRemuneracao, "1"}, {C::Operadora, kRegistroAns}}),
         {}},
    });
}

TEST_F(CriticaGrupos, I_DiasDeUti) {
    const auto estadia = [](std::string uti, std::string sai) {
        return campos({{C::DiasUti, uti}, {C::DataInternacao, "01032012"}, {C::DataSaida, sai}});
    };
    confere({
        {"I1 blank", '2', estadia("", "02032012"), {}},
        {"I2 letters", '2', estadia("AB", "02032012"), {I2}},
        {"I2 digit between blanks", '2', estadia(" 2 ", "02032012"), {I2}},
        {"I2 zero after blanks", '2', estadia(" 00", "02032012"), {I2}},
        {"I3 zero", '2', estadia("000", "02032012"), {}},
        {"I6 two days in a stay of one day", '2', estadia("002", "02032012"), {}},
        {"I6 three days in a stay of one day", '2', estadia("003", "02032012"), {I6}},
        {"I6 blanks before the days", '2', estadia("  3", "02032012"), {I6}},
        {"I4 establishment without ICU beds",
         '2',
         estadia("001", "02032012"),
         {I4 + kCnesSemUti},
         "201203",
         kCnesSemUti},
        {"I5 admission after discharge",
         '2',
         campos({{C::DiasUti, "001"}, {C::DataInternacao, "06032012"}}),
         {D8, I5}},
        {"I5 and I6 skipped without a valid discharge", '2', estadia("009", ""), {D5}},
    });
}

TEST_F(CriticaGrupos, J_K_Competencia_E_Quantidade) {
    confere({
        {"J1 blank", '2', campos({{C::Competencia, ""}}), {J1}},
        {"J1 month 13", '5', campos({{C::Competencia, "132012"}}), {J1}},
        {"J1 letters", '4', campos({{C::Competencia, "03201A"}}), {J1}},
        {"J2 another month", '2', campos({{C::Competencia, "022012"}}), {J2}},
        {"J2 another month, consolidated", '5', campos({{C::Competencia, "042012"}}), {J2}},
        {"J4 discharge after the record's month", '2', campos({{C::DataSaida, "05042012"}}), {D7, J4}},
        {"K1 blank quantity counts as zero", '4', campos({{C::Quantidade, ""}}), {K2}},
        {"K2 zero", '5', campos({{C::Quantidade, "000000"}}), {K2}},
        {"K2 not a number", '2', campos({{C::Quantidade, "ABC"}}), {K2}},
        {"K2 negative", '4', campos({{C::Quantidade, "-1"}}), {K2}},
        {"K3 two of a procedure of hospitalisation", '2', campos({{C::Quantidade, "000002"}}), {K3}},
        {"K3 not for ambulatory", '4', campos({{C::Quantidade, "000002"}}), {}},
        {"G1 J1 K2 competência and quantity not numbers",
         '2',
         fonte1({{C::Competencia, "AB2013"}, {C::Quantidade, "X"}}),
         {J1, K2},
         "201301"},
    });
}

TEST_F(CriticaGrupos, J3_CompetenciaAlemDoMesAtual) {
    hojeFixo_ = DataHora{2012, 4, 15, 10, 0, 0, 0};
    confere({
        {"J3 consolidated of a later month", '5', {}, {J3}, "201205"},
        {"J3 hospitalisation of a later month", '2', {}, {D2, D6, J3}, "201205"},
        {"J3 current month passes", '5', {}, {}, "201204"},
    });
}

TEST_F(CriticaGrupos, L_M_ModalidadeETipoDoProcedimento) {
    confere({
        {"L1 modality 03", '2', campos({{C::Modalidade, "03"}}), {L1}},
        {"L1 blank", '4', campos({{C::Modalidade, ""}}), {L1}},
        {"L2 modality 01 for a hospitalisation", '2', campos({{C::Modalidade, "01"}}), {L2, L4}},
        {"L3 modality 02 for an ambulatory record", '4', campos({{C::Modalidade, "02"}}), {L3, L5}},
        {"L4 and M3 hospital procedure in ambulatory",
         '4',
         campos({{C::Procedimento, "0303140151"}, {C::DiagPrincipal, "J189"}}),
         {L4, M3}},
        {"M1 procedure not consolidated", '5', campos({{C::Procedimento, "0211020036"}}), {M1}},
        {"M2 ambulatory procedure as hospitalisation",
         '2',
         campos({{C::Procedimento, "0301010072"}}),
         {L5, M2}},
        {"M3 passes on record kind 06", '4', campos({{C::Procedimento, "0211020036"}}), {}},
        {"M3 psychiatry in ambulatory", '4', campos({{C::Procedimento, "0303170093"}}), {L4, M3}},
        {"M skipped for non-SUS procedures",
         '5',
         campos({{C::Procedimento, "0301000001"}, {C::DescricaoProcedimento, "PARTICULAR"}}),
         {}},
    });
}

}  // namespace
}  // namespace velt::test

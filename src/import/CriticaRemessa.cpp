#include "import/CriticaRemessa.h"

#include <optional>
#include <unordered_set>

#include "common/Catalogo.h"
#include "common/Cp1252.h"
#include "common/Validacao.h"
#include "data/Database.h"
#include "import/ArquivoErros.h"
#include "import/CopiaEstagio.h"
#include "import/LeitorRemessa.h"

namespace velt {

namespace {

using C = CampoRemessa;

// Every text the checks write, as the establishments know them.
enum Msg {
    ArquivoIncorreto,
    CnesForaGestao,
    VersaoIncorreta,
    NaoGeradoVelt01,
    TipoInvalido,
    ConsolidadoDuplicado,
    TamanhoRegistro,
    A1,
    A2,
    A3,
    A4,
    A5,
    A6,
    A7,
    A8,
    A9,
    A10,
    B1,
    B2,
    B3,
    B4,
    B5,
    C1,
    C2,
    C4,
    C5,
    D1,
    D2,
    D3,
    D4,
    D5,
    D6,
    D7,
    D8,
    D9,
    E1,
    E2,
    E3,
    E4,
    E5,
    F1,
    F2,
    F3,
    G1,
    H1,
    H2,
    H3,
    H4,
    H5,
    I2,
    I4,
    I5,
    I6,
    J1,
    J2,
    J3,
    J4,
    K2,
    K3,
    L1,
    L2,
    L3,
    L4,
    L5,
    M1,
    M2,
    M3,
    TotalMsg
};

const char* textoUtf8(int m) {
    switch (m) {
        case ArquivoIncorreto:
            return "          Arquivo incorreto ";
        case CnesForaGestao:
            return " CNES nao pertence a esta gestao (CNES LOCAL) ou não é um CNES válido (cnesval.txt) ";
        case VersaoIncorreta:
            return " Versão incorreta  ";
        case NaoGeradoVelt01:
            return " Arquivo não foi gerado pelo VELT01 ";
        case TipoInvalido:
            return " Tipo do registro informado diferente de 1,2,3,4 ou 5)";
        case ConsolidadoDuplicado:
            return "           O arquivo contém registros de atendimento consolidado duplicados.";
        case TamanhoRegistro:
            return " O tamanho do registro nao confere com o lay-out da VELT";
        case A1:
            return " Nome do paciente nao informado";
        case A2:
            return " Logradouro do Paciente nao informado";
        case A3:
            return " Complemento incorreto";
        case A4:
            return " Código do municipio(IBGE) do Paciente nao informado ou invalido";
        case A5:
            return " UF do Paciente nao informada ou invalida";
        case A6:
            return " CEP do Paciente nao informado";
        case A7:
            return " Data de nascimento do paciente nao informada ou invalida";
        case A8:
            return " Sexo do paciente nao informado ou invalido";
        case A9:
            return " CNS do Paciente invalido - ";
        case A10:
            return " Prontuario invalido";
        case B1:
            return " Codigo do procedimento realizado nao informado ou invalido";
        case B2:
            return " Descricao do Procedimento invalida";
        case B3:
            return " Procedimento realizado incompativel com o sexo";
        case B4:
            return " Numero de Nascidos nao informado ou invalido";
        case B5:
            return " DocDN nao informado ou invalido";
        case C1:
            return " Codigo do diagnostico principal nao informado ou invalido";
        case C2:
            return " Diagnostico principal incompativel com o sexo";
        case C4:
            return " Codigo do diagnostico secundario invalido";
        case C5:
            return " Diagnostico secundario incompativel com o sexo";
        case D1:
            return " Data de atendimento/internacao do paciente nao informada ou invalida";
        case D2:
            return " Competencia do atendimento/internacao maior que a competencia atual";
        case D3:
            return " Competencia de nascimento maior que a competencia atual";
        case D4:
            return " Nascimento do paciente maior que a data de internacao";
        case D5:
            return " Data de alta do paciente nao informada ou invalida";
        case D6:
            return " Data da alta superior a data do sistema";
        case D7:
            return " Alta do paciente diferente da data da competencia da remessa";
        case D8:
            return " Internacao do paciente maior que a data de alta";
        case D9:
            return " Data do atendimento incompativel com a modalidade informada";
        case E1:
            return " Motivo da alta nao informado ou invalido para a competencia";
        case E2:
            return " Documento de Obito nao informado ou inválido";
        case E3:
            return " Obito nao compativel com motivo da alta";
        case E4:
            return " Alta nao compativel com o procedimento realizado";
        case E5:
            return " Alta nao compativel com o procedimento de parto realizado";
        case F1:
            return " Fonte de remuneracao nao informada ou invalida";
        case G1:
            return " Numero da Guia TISS inválido";
        case H1:
            return " CNPJ nao informado ou invalido para fonte 6 ou 9";
        case H2:
            return " CNPJ nao informado ou invalido para fonte 1";
        case H3:
            return " CNPJ da operadora nao informado ou invalido para fonte 1";
        case H4:
            return " Registro da operadora nao informado ou invalido para fonte 1";
        case H5:
            return " Identificacao do Beneficiario nao informada ou invalida";
        case I2:
            return " Numero de Dias de UTI invalido";
        case I4:
            return " Hospital não possui leito de UTI cadastrado ";
        case I5:
            return " Data da internacao maior que data da alta";
        case I6:
            return " Numero de Dias de UTI maior que o período de internacao";
        case J1:
            return " Competencia nao informada ou invalida";
        case J2:
            return " Competencia da internacao incorreta ";
        case J3:
            return " Competencia maior do que a data atual";
        case J4:
            return " Competencia da alta maior que a competencia atual";
        case K2:
            return " Quantidade de procedimentos realizados menor que 1";
        case K3:
            return " Quantidade informada para este procedimento deve ser igual a 1";
        case L1:
            return " Modalidade Invalida ";
        case L2:
            return " Modalidade Incompativel com o tipo de registro ambulatorial ";
        case L3:
            return " Modalidade Incompativel com o tipo de registro internacao";
        case L4:
            return " Procedimento incompativel com a modalidade ambulatorial ";
        case L5:
            return " Procedimento incompativel com a modalidade internacao ";
        case M1:
            return " Procedimento nao é de atendimento consolidado";
        case M2:
            return " Este procedimento nao pode figurar como principal na internacao";
        case M3:
            return " Este procedimento nao pode figurar como principal no atendimento ambulatorial";
        default:
            return "";
    }
}

constexpr const char* kPartos[] = {"0310010039", "0310010047", "0411010026",
                                   "0411010034", "0411010042", "0310010055"};

std::string_view apara(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

bool soBrancos(std::string_view s) {
    return s.find_first_not_of(' ') == std::string_view::npos;
}

bool numero(int t) {
    return t == tipo::NumeroComBrancos || t == tipo::Numero;
}
bool naoInformado(int t) {
    return t == tipo::Vazio || t == tipo::Brancos;
}
bool naoInformadoOuZero(int t) {
    return naoInformado(t) || t == tipo::Zero;
}

char em(std::string_view s, std::size_t i) {
    return i < s.size() ? s[i] : ' ';
}

// DDMMYYYY as YYYYMMDD, and its month YYYYMM, for comparisons of texts.
struct Data8 {
    char t[8];
    explicit Data8(std::string_view ddmmaaaa) {
        static constexpr int ordem[8] = {4, 5, 6, 7, 2, 3, 0, 1};
        for (int i = 0; i < 8; ++i) t[i] = em(ddmmaaaa, ordem[i]);
    }
    std::string_view aaaammdd() const { return {t, 8}; }
    std::string_view aaaamm() const { return {t, 6}; }
};

// MMYYYY as YYYYMM.
std::string competenciaAAAAMM(std::string_view mmaaaa) {
    std::string s(6, ' ');
    static constexpr int ordem[6] = {2, 3, 4, 5, 0, 1};
    for (int i = 0; i < 6; ++i) s[i] = em(mmaaaa, ordem[i]);
    return s;
}

// Day number of a valid DDMMYYYY date (each part read as ValidaData reads it); days beyond the
// month's end run into the next month.
long diaCorrido(std::string_view ddmmaaaa) {
    const long d = ComoInteiro(ddmmaaaa.substr(0, 2)).value_or(0);
    const long m = ComoInteiro(ddmmaaaa.substr(2, 2)).value_or(0);
    long y = ComoInteiro(ddmmaaaa.substr(4, 4)).value_or(0);
    y -= m <= 2;
    const long era = y / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe;
}

bool sexoIncompativel(std::string_view sexoTabela, std::string_view sexoPaciente) {
    return (sexoTabela == "M" && sexoPaciente == "F") || (sexoTabela == "F" && sexoPaciente == "M");
}

bool procedimentoZeros(std::string_view proc) {
    return proc.size() >= 9 && proc.substr(6, 3) == "000";
}

const char* const kInsercao =
    "insert into tb_movimento (tp_registro,co_cnes,nu_prontuario,dt_internacao,"
    "dt_saida,co_tipo_alta,co_proced_realizado,co_diag_prin,co_diag_sec,ds_proced,"
    "co_fonte_remunera,no_paciente,dt_nasc_paciente,nu_cns,co_sexo,ds_logradouro,"
    "nu_logradouro,ds_complemento,co_cep,co_municipio,co_uf,co_operadora,nu_operadora,"
    "co_beneficiario,qt_nasc,qt_diasuti,nu_obito,nu_nasc1,nu_nasc2,nu_nasc3,nu_nasc4,"
    "nu_nasc5,dt_competencia,nu_status_mov,nu_remessa,dt_geracao_remessa,"
    "nu_quantidade,co_modalidade,nu_tiss) values (:tp_registro,:co_cnes,:nu_prontuario,"
    ":dt_internacao,:dt_saida,:co_tipo_alta,:co_proced_realizado,:co_diag_prin,:co_diag_sec,"
    ":ds_proced,:co_fonte_remunera,:no_paciente,:dt_nasc_paciente,:nu_cns,:co_sexo,"
    ":ds_logradouro,:nu_logradouro,:ds_complemento,:co_cep,:co_municipio,:co_uf,:co_operadora,"
    ":nu_operadora,:co_beneficiario,:qt_nasc,:qt_diasuti,:nu_obito,:nu_nasc1,:nu_nasc2,"
    ":nu_nasc3,:nu_nasc4,:nu_nasc5,:dt_competencia,:nu_status_mov,:nu_remessa,"
    ":dt_geracao_remessa,:nu_quantidade,:co_modalidade,:nu_tiss)";

// The texts in Windows-1252, converted once per run.
struct Mensagens {
    std::vector<std::string> msg;
    std::string msg36, msg37;
    Mensagens() {
        for (int m = 0; m < TotalMsg; ++m) msg.push_back(cp1252::fromUtf8(textoUtf8(m)));
        msg36 = cp1252::fromUtf8(MensagemPorCodigo("36"));
        msg37 = cp1252::fromUtf8(MensagemPorCodigo("37"));
    }
    const std::string& operator[](int m) const { return msg[m]; }
};

}  // namespace

struct CriticaRemessa::Impl {
    Database& db;
    const CacheReferencia& cache;
    Driver& driver;
    Mensagens msg;
    std::optional<Statement> insercao;
    std::uint64_t geracaoBanco = 0;
    std::vector<std::string> parametros;  // ":" + column, in layout order

    Impl(Database& d, const CacheReferencia& c, Driver& dr) : db(d), cache(c), driver(dr) {
        for (const auto& p : kLayoutRemessa) {
            std::string nome = ":";
            for (const char* c = p.coluna; *c; ++c) nome += static_cast<char>(std::tolower(*c));
            parametros.push_back(nome);
        }
    }

    ResultadoCritica executa(const std::filesystem::path& arquivo, const ParametrosCritica& p,
                             Transaction* tx, CopiaEstagio* copia);
};

namespace {

// The state of the reading of one batch file.
class Passo {
public:
    Passo(const Mensagens& msg, const CacheReferencia& cache, const std::filesystem::path& arquivo,
          const ParametrosCritica& p, ResultadoCritica& r)
        : msg_(msg),
          cache_(cache),
          p_(p),
          r_(r),
          nomeArquivo_(arquivo.filename().string()),
          erros_(p.diretorio, p.remessa),
          agravo_(NomeArquivoAgravo(p.diretorio, p.remessa)) {
        const DataHora hoje = agora();
        char buf[16];
        std::snprintf(buf, sizeof buf, "%04d%02d%02d", hoje.ano, hoje.mes, hoje.dia);
        hoje_.assign(buf, 8);
        mesAtual_.assign(buf, 6);
    }

    ArquivoErros& erros() { return erros_; }
    ArquivoSaida& agravo() { return agravo_; }

    void erro(std::int64_t linha, int m, std::string_view valor = {}) {
        r_.erro = true;
        preparaCabecalho();
        if (valor.empty()) {
            erros_.mensagem(linha, msg_[m]);
        } else {
            texto_.assign(msg_[m]);
            texto_ += valor;
            erros_.mensagem(linha, texto_);
        }
    }
    void erroCatalogo(std::int64_t linha, const std::string& texto) {
        r_.erro = true;
        preparaCabecalho();
        erros_.mensagem(linha, texto);
    }

    // Checks one data line (already split and normalised); completes reg's fields in place.
    void criticaRegistro(RegistroRemessa& reg, std::int64_t linha) {
        linha_ = linha;
        reg_ = &reg;
        const char t = reg.tipo();
        const auto proc = reg[C::Procedimento];
        proc_ = cache_.dadosProcedimento(proc);
        cadastrado_ = proc_ && proc_->cadastrado;
        parto_ = false;
        if (cadastrado_)
            for (const char* p : kPartos)
                if (proc == p) parto_ = true;
        if (t == '2' || t == '4') {
            cabecalhoPendente_ = true;
            individual(reg, t);
        } else if (t == '5') {
            cabecalhoPendente_ = true;
            consolidado(reg);
        } else {
            cabecalhoPendente_ = false;
            erro(linha, TipoInvalido);
        }
        cabecalhoPendente_ = false;
    }

    // File messages after the records stand under no heading.
    void fimDosRegistros() { cabecalhoPendente_ = false; }

private:
    // The heading is built only for a record that gets a message: for types "2" and "4" the line
    // number, the patient's name and the admission date, for type "5" the procedure.
    void preparaCabecalho() {
        if (!cabecalhoPendente_) return;
        cabecalhoPendente_ = false;
        const auto& reg = *reg_;
        cabecalho_ = NumeroLinha(linha_);
        cabecalho_ += ' ';
        if (reg.tipo() == '5') {
            cabecalho_ += reg[C::Procedimento];
        } else {
            cabecalho_ += reg[C::NomePaciente];
            cabecalho_ += ' ';
            cabecalho_ += reg[C::DataInternacao];
        }
        erros_.preparaCabecalho(cabecalho_);
    }

    void m(int mensagem, std::string_view valor = {}) { erro(linha_, mensagem, valor); }

    void individual(RegistroRemessa& reg, char t) {
        grupoA(reg);
        grupoB(reg);
        grupoC(reg);
        grupoD(reg, t);
        grupoE(reg);
        grupoF(reg);
        grupoG(reg);
        grupoHIndividual(reg);
        grupoI(reg);
        grupoJ(reg, t);
        grupoK(reg, t);
        grupoL(reg, t);
        grupoM(reg, t);
    }

    void consolidado(RegistroRemessa& reg) {
        grupoB(reg);
        grupoM(reg, '5');
        grupoK(reg, '5');
        grupoJ(reg, '5');
        if (p_.competencia >= "201207" || !apara(reg[C::FonteRemuneracao]).empty()) {
            grupoF(reg);
            grupoHConsolidado(reg);
        }
    }

    void grupoA(const RegistroRemessa& reg) {
        if (naoInformado(TipoConteudo(reg[C::NomePaciente]))) m(A1);
        if (naoInformado(TipoConteudo(apara(reg[C::Logradouro])))) m(A2);
        const int compl_ = TipoConteudo(reg[C::Complemento]);
        if (!(naoInformado(compl_) || compl_ == tipo::Outro)) m(A3);
        if (!(cache_.municipio(reg[C::Municipio]) && numero(TipoConteudo(reg[C::Municipio])))) m(A4);
        if (!(cache_.estado(reg[C::UF]) && TipoConteudo(reg[C::UF]) == tipo::Outro)) m(A5);
        if (!numero(TipoConteudo(reg[C::CEP]))) m(A6);
        if (!(numero(TipoConteudo(reg[C::DataNascimento])) && ValidaData(reg[C::DataNascimento]))) m(A7);
        const auto sexo = reg[C::Sexo];
        if (!(sexo == "M" || sexo == "F" || sexo == "I")) m(A8);
        const auto cns = reg[C::CNS];
        const int tcns = TipoConteudo(cns);
        bool cnsOk = naoInformadoOuZero(tcns);
        if (tcns == tipo::Numero) cnsOk = p_.competencia < "201207" || ValidaCNS(apara(cns));
        if (!cnsOk) m(A9, cns);
        if (naoInformadoOuZero(TipoConteudo(apara(reg[C::Prontuario])))) m(A10);
    }

    void grupoB(const RegistroRemessa& reg) {
        const auto proc = reg[C::Procedimento];
        const CacheReferencia::Procedimento* p = cadastrado_ && numero(TipoConteudo(proc)) ? proc_ : nullptr;
        if (!p) return m(B1);
        if (procedimentoZeros(proc)) {
            if (TipoConteudo(reg[C::DescricaoProcedimento]) != tipo::Outro) m(B2);
            return;
        }
        if (sexoIncompativel(p->sexo, reg[C::Sexo])) return m(B3);
        if (!parto_) return;
        const auto qt = reg[C::QtNascidos];
        if (!numero(TipoConteudo(qt))) return m(B4);
        const auto alta = reg[C::TipoAlta];
        if (alta == "63" || alta == "64") return;
        const auto n = ComoInteiro(qt).value_or(0);
        if (n < 1 || n > 5) return;
        static constexpr C docs[5] = {C::Nasc1, C::Nasc2, C::Nasc3, C::Nasc4, C::Nasc5};
        for (int i = 0; i < n; ++i)
            if (TipoConteudo(reg[docs[i]]) == tipo::Numero) return;
        m(B5);
    }

    void grupoC(const RegistroRemessa& reg) {
        const auto proc = reg[C::Procedimento];
        const auto sexo = reg[C::Sexo];
        const auto diag = reg[C::DiagPrincipal];
        const bool exigido =
            proc.substr(0, 2) != "02" && proc.substr(0, 4) != "0301" && proc_ && proc_->rlCid;
        if (exigido || !apara(diag).empty()) {
            const auto* cid = cache_.cid(diag);
            if (!cid)
                m(C1);
            else if (sexoIncompativel(cid->sexo, sexo))
                m(C2);
            else if (cid->agravo > 0)
                notifica(reg, *cid);
        }
        const auto sec = reg[C::DiagSecundario];
        if (!naoInformado(TipoConteudo(sec))) {
            const auto* cid = cache_.cid(sec);
            if (!cid)
                m(C4);
            else if (sexoIncompativel(cid->sexo, sexo))
                m(C5);
        }
    }

    void notifica(const RegistroRemessa& reg, const CacheReferencia::Cid& cid) {
        texto_ = nomeArquivo_;
        texto_ += ' ';
        texto_ += r_.cnes;
        texto_ += ' ';
        texto_ += reg[C::Prontuario];
        texto_ += ' ';
        texto_ += reg[C::NomePaciente];
        texto_ += ' ';
        texto_ += reg[C::DataInternacao];
        texto_ += ' ';
        texto_ += cid.codigo;
        texto_ += '-';
        texto_ += cid.descricao;
        agravo_.escreve(texto_);
    }

    static bool dataValida(std::string_view d) { return numero(TipoConteudo(d)) && ValidaData(d); }

    void grupoD(const RegistroRemessa& reg, char t) {
        const auto internacao = reg[C::DataInternacao];
        const auto saida = reg[C::DataSaida];
        const Data8 in(internacao), nasc(reg[C::DataNascimento]), sai(saida);
        internacaoValida_ = dataValida(internacao);
        if (!internacaoValida_) {
            m(D1);
        } else {
            if (in.aaaamm() > mesAtual_) m(D2);
            if (nasc.aaaamm() > mesAtual_) m(D3);
            if (nasc.aaaammdd() > in.aaaammdd()) m(D4);
        }
        saidaValida_ = dataValida(saida);
        if (!saidaValida_) return m(D5);
        if (sai.aaaammdd() > hoje_) m(D6);
        if (sai.aaaamm() != p_.competencia) m(D7);
        if (in.aaaammdd() > sai.aaaammdd()) m(D8);
        if (t == '4' && internacaoValida_ && diaCorrido(saida) != diaCorrido(internacao)) m(D9);
    }

    void grupoE(const RegistroRemessa& reg) {
        const auto alta = reg[C::TipoAlta];
        const auto proc = reg[C::Procedimento];
        if (!cache_.tipoAlta(alta, p_.competencia)) m(E1);
        const auto obito = reg[C::Obito];
        if (alta == "41" && TipoConteudo(apara(obito)) != tipo::Numero) m(E2);
        if (!(alta == "41" || alta == "42" || alta == "43" || alta == "65" || alta == "66" || alta == "67") &&
            !naoInformadoOuZero(TipoConteudo(obito)))
            m(E3);
        // A reason that is not a whole number is not one of 61 to 67; E1 has already reported it.
        const auto valor = ComoInteiro(alta);
        const bool alta61a67 = valor && *valor >= 61 && *valor <= 67;
        const bool ehParto = parto_;
        if (p_.competencia >= "201010") {
            if (alta == "19" && proc != "0303170093") m(E4);
            if (alta61a67 != ehParto) m(E5);
        } else {
            if ((alta == "13" || alta == "17") && !ehParto) m(E5);
            if (alta == "19" || alta == "32" || alta61a67) m(E1);
        }
    }

    void grupoF(const RegistroRemessa& reg) {
        const auto fonte = reg[C::FonteRemuneracao];
        if (!(cache_.fonteRemuneracao(fonte) && numero(TipoConteudo(fonte)))) m(F1);
        if (fonte == "10" && !cache_.projetoSaude(r_.cnes, "0914")) erroCatalogo(linha_, msg_.msg36);
        if (fonte == "11" && !cache_.projetoSaude(r_.cnes, "0915")) erroCatalogo(linha_, msg_.msg37);
    }

    void grupoG(const RegistroRemessa& reg) {
        if (reg[C::FonteRemuneracao] != "1") return;
        // A competência that is not a whole number has its own message (J1).
        const auto cmpt = ComoInteiro(competenciaAAAAMM(reg[C::Competencia]));
        if (cmpt && *cmpt > 201212 && apara(reg[C::Tiss]).empty()) m(G1);
    }

    static bool cnpjValido(std::string_view cnpj) {
        return !naoInformadoOuZero(TipoConteudo(apara(cnpj))) && ValidaCNPJ(CompletaEsquerda(cnpj, 14, '0'));
    }

    void grupoHIndividual(RegistroRemessa& reg) {
        const auto fonte = reg[C::FonteRemuneracao];
        if (fonte == "6" || fonte == "9") {
            reg.define(C::Operadora, {});
            reg.define(C::Beneficiario, {});
            if (!cnpjValido(reg[C::CnpjOperadora])) m(H1);
            return;
        }
        if (fonte != "1") {
            reg.define(C::Operadora, {});
            reg.define(C::CnpjOperadora, {});
            reg.define(C::Beneficiario, {});
            return;
        }
        const auto registro = reg[C::Operadora];
        const auto cnpj = reg[C::CnpjOperadora];
        if (naoInformadoOuZero(TipoConteudo(registro))) {
            if (!cnpjValido(cnpj)) {
                m(H2);
            } else if (const auto* op = cache_.operadoraPorCnpj(cnpj)) {
                reg.define(C::Operadora, op->registro);
            } else {
                m(H3);
            }
        } else if (const auto* op = cache_.operadoraPorRegistro(registro)) {
            reg.define(C::CnpjOperadora, op->cnpj);
        } else {
            const auto* porCnpj = cnpjValido(cnpj) ? cache_.operadoraPorCnpj(cnpj) : nullptr;
            if (porCnpj)
                reg.define(C::Operadora, porCnpj->registro);
            else
                m(H4);
        }
        const int ben = TipoConteudo(apara(reg[C::Beneficiario]));
        if (!(ben == tipo::Numero || ben == tipo::Outro)) m(H5);
    }

    void grupoHConsolidado(RegistroRemessa& reg) {
        if (reg[C::FonteRemuneracao] != "1") return;
        const auto registro = reg[C::Operadora];
        const auto* op =
            naoInformadoOuZero(TipoConteudo(registro)) ? nullptr : cache_.operadoraPorRegistro(registro);
        if (!op) return m(H4);
        reg.define(C::CnpjOperadora, op->cnpj);
    }

    void grupoI(const RegistroRemessa& reg) {
        const auto uti = reg[C::DiasUti];
        if (apara(uti).empty()) return;
        const int tuti = TipoConteudo(uti);
        if (!(tuti == tipo::Zero || numero(tuti))) return m(I2);
        const auto dias = ComoInteiro(uti).value_or(0);
        if (dias == 0) return;
        const auto* estab = cache_.estabelecimento(r_.cnes);
        if (!estab || !estab->leitoUti) return m(I4, r_.cnes);
        // The stay is measured only between two valid dates (D1 and D5 report the others).
        if (!internacaoValida_ || !saidaValida_) return;
        const long estadia = diaCorrido(reg[C::DataSaida]) - diaCorrido(reg[C::DataInternacao]);
        if (estadia < 0) return m(I5);
        if (dias > estadia + 1) m(I6);
    }

    void grupoJ(const RegistroRemessa& reg, char t) {
        const auto cmpt = reg[C::Competencia];
        if (!(numero(TipoConteudo(cmpt)) && ValidaData("11" + std::string(cmpt)))) return m(J1);
        const std::string aaaamm = competenciaAAAAMM(cmpt);
        if (aaaamm != p_.competencia) return m(J2);
        if (aaaamm > mesAtual_)
            m(J3);
        else if (t != '5' && Data8(reg[C::DataSaida]).aaaamm() > aaaamm)
            m(J4);
    }

    void grupoK(RegistroRemessa& reg, char t) {
        if (soBrancos(reg[C::Quantidade])) reg.define(C::Quantidade, "000000");
        // A quantity that is not a whole number fails K2 and is not compared with 1.
        const auto qt = ComoInteiro(reg[C::Quantidade]);
        if (!qt || *qt < 1) m(K2);
        if (t != '5' && reg[C::Modalidade] == "02" && proc_ && proc_->temRegistro("03") && qt && *qt != 1)
            m(K3);
    }

    void grupoL(const RegistroRemessa& reg, char t) {
        const auto mod = reg[C::Modalidade];
        const auto proc = reg[C::Procedimento];
        if (mod != "01" && mod != "02") m(L1);
        if (mod == "01" && t != '4') m(L2);
        if (mod == "02" && t != '2') m(L3);
        if (procedimentoZeros(proc)) return;
        auto tem = [&](const char* codigo) { return proc_ && proc_->temModalidade(codigo); };
        if (mod == "01" && !(tem("01") || tem("05") || tem("06"))) m(L4);
        if (mod == "02" && !(tem("02") || tem("03") || tem("04") || tem("06"))) m(L5);
    }

    void grupoM(const RegistroRemessa& reg, char t) {
        const auto proc = reg[C::Procedimento];
        if (procedimentoZeros(proc)) return;
        auto tem = [&](const char* codigo) { return proc_ && proc_->temRegistro(codigo); };
        if (t == '5' && !tem("01")) m(M1);
        if (t == '2' && !tem("03")) m(M2);
        if (t == '4' && !(tem("02") || tem("06"))) m(M3);
    }

    const Mensagens& msg_;
    const CacheReferencia& cache_;
    const ParametrosCritica& p_;
    ResultadoCritica& r_;
    std::string nomeArquivo_;
    ArquivoErros erros_;
    ArquivoSaida agravo_;
    std::string hoje_, mesAtual_;
    std::int64_t linha_ = 0;
    bool internacaoValida_ = false, saidaValida_ = false;
    const RegistroRemessa* reg_ = nullptr;
    const CacheReferencia::Procedimento* proc_ = nullptr;
    bool cadastrado_ = false, parto_ = false, cabecalhoPendente_ = false;
    std::string cabecalho_, texto_;
};

// The key of a staged consolidated line for the repetition warning: every staged value without its
// trailing blanks, as "select distinct" tells rows apart.
void chaveConsolidado(const RegistroRemessa& reg, std::string& chave) {
    chave.clear();
    for (std::size_t i = 0; i < kCamposRemessa; ++i) {
        chave += semBrancosFinais(reg[static_cast<C>(i)]);
        chave += '\x1f';
    }
}

}  // namespace

ResultadoCritica CriticaRemessa::Impl::executa(const std::filesystem::path& arquivo,
                                               const ParametrosCritica& p, Transaction* tx, CopiaEstagio* copia) {
    ResultadoCritica r;
    if (copia) copia->recomeca();
    Passo passo(msg, cache, arquivo, p, r);
    auto termina = [&] {
        if (passo.erros().saida().fecha()) {
            r.arquivoErros = passo.erros().saida().caminho();
        }
        r.linhasErros = passo.erros().saida().linhas();
        if (passo.agravo().fecha()) r.arquivoAgravo = passo.agravo().caminho();
        r.linhasAgravo = passo.agravo().linhas();
        return r;
    };

    LeitorLinhas leitor(arquivo);
    std::string_view linha;
    if (!leitor.proxima(linha)) linha = {};
    r.linhasLidas = 1;
    const auto cab = CabecalhoRemessa::corta(linha);
    r.cnes.assign(cab.cnes);
    if (cab.tipo != "1") {
        r.erro = r.cabecalhoRecusado = true;
        passo.erros().mensagemArquivo(msg[ArquivoIncorreto]);
        return termina();
    }
    const auto* estab = cache.estabelecimento(cab.cnes);
    if (estab) r.razaoSocial = estab->razaoSocial;
    if (!estab || !cache.cnesValido(cab.cnes)) {
        r.cnesRecusado = r.cabecalhoRecusado = true;
        passo.erro(1, CnesForaGestao, cab.cnes);
        return termina();
    }
    if (!VersaoAceita(cab.versao)) {
        r.cabecalhoRecusado = true;
        passo.erro(1, VersaoIncorreta, cab.versao);
        return termina();
    }
    if (!MarcadorOrigemValido(cab.marcador, p.competencia)) {
        r.cabecalhoRecusado = true;
        passo.erro(1, NaoGeradoVelt01, {});
        return termina();
    }

    const bool temLinha2 = leitor.proxima(linha);
    if (!temLinha2) linha = {};
    r.linhasLidas = 2;
    if (!linha.empty() && linha[0] == '3') {
        r.semMovimento = true;
        return termina();
    }

    if (tx && (!insercao || geracaoBanco != db.generation())) {
        insercao.emplace(db.prepare(kInsercao));
        geracaoBanco = db.generation();
    }
    if (tx) {
        insercao->bind(":co_cnes", r.cnes);
        insercao->bind(":nu_status_mov", "9");
        insercao->bind(":nu_remessa", p.remessa);
        insercao->bind(":dt_geracao_remessa", p.geracao);
    }

    RegistroRemessa reg;
    std::array<std::string_view, kCamposRemessa> estagiado;  // the values staged
    std::string cmptEstagiada;
    std::unordered_set<std::string> consolidados;
    std::string chave;
    bool repetido = false;
    bool fimLinhas = !temLinha2;
    while (!fimLinhas && (linha.size() == kTamanhoRegistro || linha.size() == kTamanhoRegistro - 1)) {
        reg.carrega(linha);
        passo.criticaRegistro(reg, r.linhasLidas);
        ++r.registros;
        if (tx) {
            estagiado = reg.campos();
            cmptEstagiada = competenciaAAAAMM(reg[C::Competencia]);
            estagiado[static_cast<std::size_t>(C::Competencia)] = cmptEstagiada;
            for (std::size_t i = 0; i < kCamposRemessa; ++i) insercao->bind(parametros[i], estagiado[i]);
            insercao->execute(*tx);
            if (copia) copia->acrescenta(r.cnes, estagiado);
        }
        if (reg.tipo() == '5') {
            chaveConsolidado(reg, chave);
            if (!consolidados.insert(chave).second) repetido = true;
        }
        if ((r.registros & 1023) == 0) driver.processaEventos();
        fimLinhas = !leitor.proxima(linha);
        ++r.linhasLidas;
        if (fimLinhas) linha = {};
    }

    // File messages stand under no record's heading.
    passo.fimDosRegistros();
    if (repetido) {
        r.consolidadoDuplicado = true;
        passo.erros().mensagemArquivo(msg[ConsolidadoDuplicado]);
    }
    if (linha.size() > 1 || (linha.size() == 1 && linha[0] != '\x1a'))
        passo.erro(r.linhasLidas, TamanhoRegistro);
    return termina();
}

CriticaRemessa::CriticaRemessa(Database& db, const CacheReferencia& cache, Driver& driver)
    : impl_(std::make_unique<Impl>(db, cache, driver)) {}

CriticaRemessa::~CriticaRemessa() = default;

ResultadoCritica CriticaRemessa::critica(const std::filesystem::path& arquivo,
                                         const ParametrosCritica& parametros, Transaction& tx,
                                         CopiaEstagio* copia) {
    return impl_->executa(arquivo, parametros, &tx, copia);
}

ResultadoCritica CriticaRemessa::critica(const std::filesystem::path& arquivo,
                                         const ParametrosCritica& parametros) {
    return impl_->executa(arquivo, parametros, nullptr, nullptr);
}

}  // namespace velt

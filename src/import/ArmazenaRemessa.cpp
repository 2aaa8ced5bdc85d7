#include "import/ArmazenaRemessa.h"

#include <algorithm>
#include <array>

#include "common/Cp1252.h"
#include "common/Driver.h"
#include "common/Validacao.h"
#include "import/CopiaEstagio.h"
#include "import/LeitorRemessa.h"

namespace velt {

namespace {

std::string_view semFinais(std::string_view s) {
    auto n = s.find_last_not_of(' ');
    return n == std::string_view::npos ? std::string_view{} : s.substr(0, n + 1);
}

std::string apara(std::string_view s) {
    auto a = s.find_first_not_of(' ');
    if (a == std::string_view::npos) return {};
    auto b = s.find_last_not_of(' ');
    return std::string(s.substr(a, b - a + 1));
}

// Equality as the server answers it: trailing blanks ignored, a NULL never equal.
bool igual(const std::optional<std::string>& armazenado, std::string_view parametro) {
    return armazenado && semFinais(*armazenado) == semFinais(parametro);
}

// substring(s from a for n) of the server, 1-based.
std::string_view sub(std::string_view s, std::size_t de, std::size_t n) {
    if (de - 1 >= s.size()) return {};
    return s.substr(de - 1, n);
}

std::string chave(std::initializer_list<std::string_view> partes) {
    std::string k;
    for (auto p : partes) {
        k.append(semFinais(p));
        k.push_back('\x1f');
    }
    return k;
}

std::optional<std::string> opcional(const Cursor& c, std::string_view coluna) {
    if (c.isNull(coluna)) return std::nullopt;
    return c.text(coluna);
}

std::optional<std::string_view> vista(const std::optional<std::string>& t) {
    return t ? std::optional<std::string_view>(*t) : std::nullopt;
}

enum class ClasseCns { Vazio, Valido, Outro };

ClasseCns classe(std::string_view cns, bool nulo) {
    if (nulo || cns.empty()) return ClasseCns::Vazio;
    return ValidaCNS(std::string(cns)) ? ClasseCns::Valido : ClasseCns::Outro;
}

}  // namespace

int ComparaTexto(std::string_view a, std::string_view b) {
    std::size_t n = std::max(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = i < a.size() ? (unsigned char)a[i] : ' ';
        unsigned char y = i < b.size() ? (unsigned char)b[i] : ' ';
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

std::string DataInvertida(std::string_view d) {
    std::string r(sub(d, 5, 4));
    r += sub(d, 3, 2);
    r += sub(d, 1, 2);
    return r;
}

// The staged columns read back, in the order of the fields of Registro.
constexpr std::array<const char*, 36> kColunasEstagio{
    "TP_REGISTRO",
    "CO_CNES",
    "NU_PRONTUARIO",
    "DT_INTERNACAO",
    "DT_SAIDA",
    "CO_TIPO_ALTA",
    "CO_PROCED_REALIZADO",
    "CO_DIAG_PRIN",
    "CO_DIAG_SEC",
    "DS_PROCED",
    "CO_FONTE_REMUNERA",
    "NO_PACIENTE",
    "DT_NASC_PACIENTE",
    "NU_CNS",
    "CO_SEXO",
    "DS_LOGRADOURO",
    "NU_LOGRADOURO",
    "DS_COMPLEMENTO",
    "CO_CEP",
    "CO_MUNICIPIO",
    "CO_UF",
    "CO_OPERADORA",
    "NU_OPERADORA",
    "CO_BENEFICIARIO",
    "QT_NASC",
    "QT_DIASUTI",
    "NU_OBITO",
    "NU_NASC1",
    "NU_NASC2",
    "NU_NASC3",
    "NU_NASC4",
    "NU_NASC5",
    "DT_COMPETENCIA",
    "NU_QUANTIDADE",
    "CO_MODALIDADE",
    "NU_TISS"};

// One staged row of TB_MOVIMENTO, as staged.
// The fields view the current row of where it was read: a Registro lives until the next row is read.
struct ArmazenaRemessa::Registro {
    std::string_view tipo, cnes, pront, internacao, saida, alta, proc, diagPrin, diagSec, dsProc, fonte, nome,
        nasc, cns, sexo, logradouro, numero, complemento, cep, municipio, uf, operadora, cnpj, beneficiario,
        qtNasc, uti, obito, nasc1, nasc2, nasc3, nasc4, nasc5, competencia, quantidade, modalidade, tiss;
    // `v`: the staged columns in the order of kColunasEstagio.
    explicit Registro(const std::array<std::string_view, 36>& v)
        : tipo(v[0]),
          cnes(v[1]),
          pront(v[2]),
          internacao(v[3]),
          saida(v[4]),
          alta(v[5]),
          proc(v[6]),
          diagPrin(v[7]),
          diagSec(v[8]),
          dsProc(v[9]),
          fonte(v[10]),
          nome(v[11]),
          nasc(v[12]),
          cns(v[13]),
          sexo(v[14]),
          logradouro(v[15]),
          numero(v[16]),
          complemento(v[17]),
          cep(v[18]),
          municipio(v[19]),
          uf(v[20]),
          operadora(v[21]),
          cnpj(v[22]),
          beneficiario(v[23]),
          qtNasc(v[24]),
          uti(v[25]),
          obito(v[26]),
          nasc1(v[27]),
          nasc2(v[28]),
          nasc3(v[29]),
          nasc4(v[30]),
          nasc5(v[31]),
          competencia(v[32]),
          quantidade(v[33]),
          modalidade(v[34]),
          tiss(v[35]) {}

    std::string chavePaciente() const { return chave({pront, nasc, nome, sexo}); }
};

ArmazenaRemessa::ArmazenaRemessa(Database& db, Driver& driver)
    : driver_(driver),
      insPaciente_(db.prepare("insert into tb_paciente values (:cnes,:pront,:CNS,"
                              ":nomep,:DtNasc,:sexo,:Logrp,:nump,:complp,"
                              ":CEPp,:mun,:uf,:seq)")),
      updPaciente_(db.prepare("update tb_paciente set DS_LOGRADOURO = :Logrp,"
                              "NU_LOGRADOURO = :nump,DS_COMPLEMENTO = :complp,"
                              "CO_CEP = :CEPp,CO_MUNICIPIO = :mun, CO_UF = :uf "
                              "where NU_SEQ_ID_PACIENTE = :pac ")),
      updPacienteCns_(db.prepare("update tb_paciente set DS_LOGRADOURO = :Logrp,"
                                 "NU_LOGRADOURO = :nump,DS_COMPLEMENTO = :complp,"
                                 "CO_CEP = :CEPp,CO_MUNICIPIO = :mun, CO_UF = :uf, NU_CNS = :cns "
                                 "where NU_SEQ_ID_PACIENTE = :pac ")),
      insInternacao_(db.prepare("insert into tb_internacao values (:rem,:ger,:cnes,"
                                ":pront,:int,:sai,:alta,:proc,:pri,:sec,:dscproc,"
                                ":remu,:sx,:nasc,:qtn,:n1,:n2,:n3,:n4,:n5,:obt,:uti,"
                                ":oper,:cnpj,:ben,:mun,:qtd,:mod,:sqint,:sqpac,:cmpt,:tiss)")),
      insConsolidado_(db.prepare("insert into tb_a_consolidado values (:rem,:ger,:cnes,"
                                 ":cmpt,:proc,:qtd,:remu,:oper)")),
      selConsolidado_(
          db.prepare("select co_procedimento, co_fonte_remunera, co_operadora from tb_a_consolidado "
                     "where co_cnes = :cnes and dt_competencia = :cmpt")),
      selControle_(db.prepare("select valor from tb_controle where campo = :campo")),
      updControle_(db.prepare("update tb_controle set valor = :seq where campo = :campo")),
      delInternacao_(db.prepare("delete from tb_internacao where co_cnes = :cnes and nu_remessa = :rem")),
      delConsolidado_(
          db.prepare("delete from tb_a_consolidado where co_cnes = :cnes and nu_remessa = :rem ")),
      selPacientes_(
          db.prepare("select NU_SEQ_ID_PACIENTE, NU_CNS, NU_PRONTUARIO, DT_NASC_PACIENTE, NO_PACIENTE, "
                     "CO_SEXO from tb_paciente where co_cnes = :cnes")),
      selInternacoes_(
          db.prepare("select NU_SEQ_ID_PACIENTE, NU_PRONTUARIO, CO_MODALIDADE, CO_PROCED_REALIZADO, "
                     "CO_FONTE_REMUNERA, DT_INTERNACAO, DT_SAIDA from tb_internacao "
                     "where co_cnes = :cnes")),
      totInternacoes_(db.prepare("select count(*) as TOTREG from tb_internacao where nu_remessa = :remessa")),
      // Each of the two tables is read once for its figures: the month's individual rows of the
      // establishment for the ambulatory sum and the hospitalisation count, its consolidated rows
      // for their count and sum.
      somaIndividuais_(db.prepare(
          "select Sum(case when co_modalidade = :ambulatorial then cast(NU_QUANTIDADE as Integer) end) as TotalA, "
          "Sum(case when co_modalidade = :hospitalar then 1 else 0 end) as TOTINT from tb_internacao "
          "where co_cnes = :cnes and NU_CMPT=:cmpt ")),
      somaConsolidados_(
          db.prepare("select count(*) as TOTREG, Sum(CAST(NU_QUANTIDADE AS INTEGER)) as TotalC from "
                     "tb_a_consolidado where co_cnes = :cnes and dt_competencia = :cmpt ")) {}

ArmazenaRemessa::~ArmazenaRemessa() = default;


void ArmazenaRemessa::apagaAnteriores(Transaction& tx, const std::string& cnes, const std::string& remessa) {
    try {
        delInternacao_.bind("cnes", cnes).bind("rem", remessa).execute(tx);
    } catch (const DatabaseError&) {
        driver_.erro("Erro no delete da TB_INTERNACAO ");
    }
    try {
        delConsolidado_.bind("cnes", cnes).bind("rem", remessa).execute(tx);
    } catch (const DatabaseError&) {
        driver_.erro("Erro no delete da TB_A_CONSOLIDADO ");
    }
}

std::string_view ArmazenaRemessa::Internacao::texto(Texto t) const {
    std::size_t inicio = 0;
    for (int i = 0; i < t; ++i) inicio += tamanhos[i];
    return {textos + inicio, tamanhos[t]};
}

void ArmazenaRemessa::liberaIndices() {
    indice_.limpa();
    indiceInternacoes_.limpa();
    pacientes_ = {};
    internacoes_ = {};
    consolidados_ = {};
}

void ArmazenaRemessa::novoPaciente(std::uint32_t& primeiro, std::int64_t seq, std::optional<std::string_view> cns) {
    pacientes_.push_back(Paciente{seq, cns ? indice_.guarda(*cns) : std::string_view{}, !cns, primeiro});
    primeiro = static_cast<std::uint32_t>(pacientes_.size() - 1);
}

const std::string& ArmazenaRemessa::chaveInternacoes(std::string_view pront, std::int64_t seqPaciente) {
    chave_.assign(semFinais(pront));
    chave_.push_back('\x1f');
    chave_ += std::to_string(seqPaciente);
    return chave_;
}

void ArmazenaRemessa::novaInternacao(std::int64_t seq, std::string_view pront, std::string_view modalidade,
                                     std::optional<std::string_view> procedimento,
                                     std::optional<std::string_view> fonte, std::string_view entrada,
                                     std::optional<std::string_view> saida) {
    std::string textos;
    Internacao i{};
    i.seq = seq;
    i.semProcedimento = !procedimento;
    i.semFonte = !fonte;
    i.semSaida = !saida;
    const std::string_view partes[] = {modalidade, procedimento.value_or(""), fonte.value_or(""), entrada,
                                       saida.value_or("")};
    for (std::size_t k = 0; k < 5; ++k) {
        textos.append(partes[k]);
        i.tamanhos[k] = static_cast<std::uint16_t>(partes[k].size());
    }
    i.textos = indiceInternacoes_.guarda(textos).data();
    std::uint32_t& primeiro = indiceInternacoes_.entrada(chaveInternacoes(pront, seq));
    i.proximo = primeiro;
    internacoes_.push_back(i);
    primeiro = static_cast<std::uint32_t>(internacoes_.size() - 1);
}

void ArmazenaRemessa::carregaIndices(Transaction& tx, const std::string& cnes) {
    liberaIndices();
    {
        // Each key's patients newest first, those of one number in the order the server gives them.
        struct Lido {
            std::uint32_t chave;  // its key's place in indice_
            std::int64_t seq;
            std::optional<std::string> cns;
        };
        std::vector<Lido> lidos;
        Cursor c = selPacientes_.bind("cnes", cnes).open(tx);
        while (c.next()) {
            if (c.isNull("NU_SEQ_ID_PACIENTE") || c.isNull("CO_SEXO")) continue;  // never equal on the server
            lidos.push_back(Lido{indice_.chave(chave({c.text("NU_PRONTUARIO"), c.text("DT_NASC_PACIENTE"),
                                                      c.text("NO_PACIENTE"), c.text("CO_SEXO")})),
                                 c.integer("NU_SEQ_ID_PACIENTE"), opcional(c, "NU_CNS")});
        }
        // Chained from the oldest, each new one first: the newest ends up first, and of two rows
        // with one number the one the server gave first stays ahead.
        std::vector<std::size_t> ordem(lidos.size());
        for (std::size_t i = 0; i < ordem.size(); ++i) ordem[i] = ordem.size() - 1 - i;
        std::stable_sort(ordem.begin(), ordem.end(),
                         [&](std::size_t a, std::size_t b) { return lidos[a].seq < lidos[b].seq; });
        pacientes_.reserve(lidos.size());
        for (std::size_t i : ordem) {
            const Lido& l = lidos[i];
            novoPaciente(indice_.numero(l.chave), l.seq, vista(l.cns));
        }
    }
    {
        Cursor c = selInternacoes_.bind("cnes", cnes).open(tx);
        while (c.next()) {
            if (c.isNull("NU_SEQ_ID_PACIENTE")) continue;
            if (c.isNull("CO_MODALIDADE")) continue;  // no query of the overlap check can match it
            auto texto = [&](const char* coluna) -> std::optional<std::string> {
                if (c.isNull(coluna)) return std::nullopt;
                return std::string(semFinais(c.text(coluna)));
            };
            const auto modalidade = texto("CO_MODALIDADE"), procedimento = texto("CO_PROCED_REALIZADO"),
                       fonte = texto("CO_FONTE_REMUNERA");
            const std::string entrada = DataInvertida(c.text("DT_INTERNACAO"));
            std::optional<std::string> saida;
            if (!c.isNull("DT_SAIDA")) saida = DataInvertida(c.text("DT_SAIDA"));
            novaInternacao(c.integer("NU_SEQ_ID_PACIENTE"), c.text("NU_PRONTUARIO"), *modalidade,
                           vista(procedimento), vista(fonte), entrada, vista(saida));
        }
    }
}

std::int64_t ArmazenaRemessa::leControle(Transaction& tx, const char* campo) {
    Cursor c = selControle_.bind("campo", campo).open(tx);
    return c.next() ? c.integer("VALOR") : 0;
}

void ArmazenaRemessa::gravaControle(Transaction& tx, const char* campo, std::int64_t valor) {
    try {
        updControle_.bind("seq", valor).bind("campo", campo).execute(tx);
    } catch (const DatabaseError&) {
        driver_.erro("Erro no update da tb_controle");
    }
}

void ArmazenaRemessa::armazena(Transaction& tx, Transaction& estagio, const std::string& cnes,
                               const std::string& remessa, const DataHora& geracao) {
    Statement leitura = estagio.database().prepare("select * from tb_movimento  where nu_remessa = :remessa ");
    Cursor c = leitura.bind("remessa", remessa).open(estagio);
    std::array<std::size_t, 36> pos{};
    for (std::size_t k = 0; k < kColunasEstagio.size(); ++k) {
        pos[k] = c.columnCount();
        for (std::size_t i = 0; i < c.columnCount(); ++i)
            if (c.columnName(i) == kColunasEstagio[k]) pos[k] = i;
        if (pos[k] == c.columnCount()) throw DatabaseError(std::string("coluna inexistente: ") + kColunasEstagio[k]);
    }
    Numeracao n;
    armazenaLinhas(
        tx,
        [&](std::array<std::string_view, 36>& linha) {
            if (!c.next()) return false;
            for (std::size_t k = 0; k < linha.size(); ++k) linha[k] = c.textView(pos[k]);
            return true;
        },
        cnes, remessa, geracao, n);
    gravaNumeracao(tx);
}

void ArmazenaRemessa::armazena(Transaction& tx, CopiaEstagio& estagiados, const std::string& cnes,
                               const std::string& remessa, const DataHora& geracao, Numeracao& numeracao) {
    // Where each of kColunasEstagio stands in the copy: the CNES, or the field staged into it.
    static const std::array<std::size_t, 36> campo = [] {
        std::array<std::size_t, 36> r{};
        for (std::size_t k = 0; k < kColunasEstagio.size(); ++k) {
            r[k] = kCamposRemessa;  // the CNES
            for (const auto& p : kLayoutRemessa)
                if (std::string_view(p.coluna) == kColunasEstagio[k]) r[k] = static_cast<std::size_t>(p.campo);
        }
        return r;
    }();
    estagiados.releitura();
    armazenaLinhas(
        tx,
        [&](std::array<std::string_view, 36>& linha) {
            if (!estagiados.proxima()) return false;
            for (std::size_t k = 0; k < linha.size(); ++k)
                linha[k] = campo[k] == kCamposRemessa ? estagiados.cnes()
                                                      : estagiados[static_cast<CampoRemessa>(campo[k])];
            return true;
        },
        cnes, remessa, geracao, numeracao);
}

template <class Proxima>
void ArmazenaRemessa::armazenaLinhas(Transaction& tx, Proxima&& proxima, const std::string& cnes,
                                     const std::string& remessa, const DataHora& geracao, Numeracao& numeracao) {
    pacientesInseridos_ = internacoesInseridas_ = consolidadosInseridos_ = 0;
    carregaIndices(tx, cnes);
    pacLido_ = leControle(tx, "SEQ_PAC");
    intLido_ = leControle(tx, "SEQ_INT");
    seqPac_ = std::max(pacLido_, numeracao.paciente);
    seqInt_ = std::max(intLido_, numeracao.internacao);

    // The staged rows stream in one at a time while the stores run: memory does not grow with
    // the size of the batch.
    std::array<std::string_view, 36> linha;
    std::size_t lidos = 0;
    while (proxima(linha)) {
        const Registro r(linha);
        if (r.tipo == "2" || r.tipo == "4") {
            try {
                passoPaciente(tx, r);
            } catch (const std::exception&) {
                driver_.erro("Erro ao inserir paciente!");
            }
            try {
                passoInternacao(tx, r, remessa, geracao);
            } catch (const std::exception&) {
                driver_.erro("Erro ao inserir internacao!");
            }
        } else if (r.tipo == "5") {
            try {
                passoConsolidado(tx, r, remessa, geracao);
            } catch (const std::exception&) {
                driver_.erro("Erro ao inserir consolidado!");
            }
        }
        // Often enough for the screen to repaint, rarely enough to cost nothing.
        if ((++lidos & 255) == 0) driver_.processaEventos();
    }
    numeracao.paciente = seqPac_;
    numeracao.internacao = seqInt_;
    // The indexes serve this batch only: the next one loads its establishment's own.
    liberaIndices();
}

void ArmazenaRemessa::gravaNumeracao(Transaction& tx) {
    if (seqPac_ != pacLido_) gravaControle(tx, "SEQ_PAC", seqPac_);
    if (seqInt_ != intLido_) gravaControle(tx, "SEQ_INT", seqInt_);
}

std::uint32_t& ArmazenaRemessa::pacientesDaChave(const Registro& r) {
    return indice_.entrada(r.chavePaciente());
}

void ArmazenaRemessa::passoPaciente(Transaction& tx, const Registro& r) {
    std::uint32_t& primeiro = pacientesDaChave(r);
    auto insere = [&] {
        std::int64_t seq = seqPac_ + 1;
        try {
            insPaciente_.bind("cnes", r.cnes)
                .bind("pront", r.pront)
                .bind("CNS", r.cns)
                .bind("nomep", r.nome)
                .bind("DtNasc", r.nasc)
                .bind("sexo", r.sexo)
                .bind("Logrp", r.logradouro)
                .bind("nump", r.numero)
                .bind("complp", r.complemento)
                .bind("CEPp", r.cep)
                .bind("mun", r.municipio)
                .bind("uf", r.uf)
                .bind("seq", seq)
                .execute(tx);
        } catch (const DatabaseError&) {
            driver_.erro("Erro no insert da TB_PACIENTE ");
            return;
        }
        seqPac_ = seq;
        ++pacientesInseridos_;
        novoPaciente(primeiro, seq, r.cns);
    };
    auto atualiza = [&](Paciente& p, bool comCns) {
        Statement& st = comCns ? updPacienteCns_ : updPaciente_;
        st.bind("Logrp", r.logradouro)
            .bind("nump", r.numero)
            .bind("complp", r.complemento)
            .bind("CEPp", r.cep)
            .bind("mun", r.municipio)
            .bind("uf", r.uf)
            .bind("pac", p.seq);
        if (comCns) st.bind("cns", r.cns);
        try {
            st.execute(tx);
        } catch (const DatabaseError&) {
            driver_.erro("Erro no update da TB_PACIENTE ");
            return;
        }
        // Every row with this number changes on the server; ours holds one.
        if (comCns) {
            p.cns = indice_.guarda(r.cns);
            p.cnsNulo = false;
        }
    };

    if (primeiro == IndiceTextos::kNenhum) {
        insere();
        return;
    }
    Paciente& p = pacientes_[primeiro];
    const std::string R = apara(r.cns);
    const ClasseCns cr = R.empty() ? ClasseCns::Vazio : (ValidaCNS(R) ? ClasseCns::Valido : ClasseCns::Outro);
    const ClasseCns cs = classe(p.cns, p.cnsNulo);
    const bool mesmo = !p.cnsNulo && p.cns == R;
    switch (cr) {
        case ClasseCns::Vazio:
            if (cs == ClasseCns::Valido)
                insere();
            else
                atualiza(p, true);
            break;
        case ClasseCns::Valido:
            if (mesmo)
                atualiza(p, true);
            else if (cs == ClasseCns::Valido)
                insere();
            else
                atualiza(p, true);
            break;
        case ClasseCns::Outro:
            if (mesmo)
                atualiza(p, true);
            else if (cs == ClasseCns::Outro) {
            } else
                atualiza(p, false);
            break;
    }
}

bool ArmazenaRemessa::sobrepoe(const Registro& r, std::int64_t seqPaciente) {
    const bool internacao = r.modalidade == "02";
    const bool ambulatorial = r.modalidade == "01" && sub(r.proc, 7, 3) != "000";
    if (!internacao && !ambulatorial) return false;
    const std::uint32_t* primeiro = indiceInternacoes_.acha(chaveInternacoes(r.pront, seqPaciente));
    if (!primeiro) return false;
    const std::string a = DataInvertida(r.internacao), d = DataInvertida(r.saida);
    for (std::uint32_t i = *primeiro; i != IndiceTextos::kNenhum; i = internacoes_[i].proximo) {
        const Internacao& s = internacoes_[i];
        if (s.texto(Internacao::Modalidade) != semFinais(r.modalidade)) continue;
        if (ambulatorial && (s.semProcedimento || s.semFonte ||
                             s.texto(Internacao::Procedimento) != semFinais(r.proc) ||
                             s.texto(Internacao::Fonte) != semFinais(r.fonte)))
            continue;
        if (s.semSaida) continue;  // a NULL discharge makes both sides of the condition unknown
        const std::string_view A = s.texto(Internacao::Entrada);
        const std::string_view D = s.texto(Internacao::Saida);
        if ((ComparaTexto(a, D) < 0 && ComparaTexto(D, a) > 0 && ComparaTexto(A, d) < 0) ||
            (ComparaTexto(a, A) == 0 && ComparaTexto(D, d) == 0))
            return true;
    }
    return false;
}

void ArmazenaRemessa::passoInternacao(Transaction& tx, const Registro& r, const std::string& remessa,
                                      const DataHora& geracao) {
    const std::string R = apara(r.cns);
    const Paciente* p = nullptr;
    for (std::uint32_t i = pacientesDaChave(r); i != IndiceTextos::kNenhum; i = pacientes_[i].proximo) {
        const Paciente& c = pacientes_[i];
        if (R.empty() || (!c.cnsNulo && semFinais(c.cns) == semFinais(R))) {
            p = &c;
            break;
        }
    }
    if (!p) throw std::runtime_error("paciente não encontrado");
    const std::int64_t seqPaciente = p->seq;
    if (sobrepoe(r, seqPaciente)) return;

    std::int64_t seq = seqInt_ + 1;
    const std::string fonte = apara(r.fonte);
    try {
        insInternacao_.bind("rem", remessa)
            .bind("ger", geracao)
            .bind("cnes", r.cnes)
            .bind("pront", r.pront)
            .bind("int", r.internacao)
            .bind("sai", r.saida)
            .bind("alta", r.alta)
            .bind("proc", r.proc)
            .bind("pri", r.diagPrin)
            .bind("sec", r.diagSec)
            .bind("dscproc", r.dsProc)
            .bind("remu", fonte)
            .bind("sx", r.sexo)
            .bind("nasc", r.nasc)
            .bind("qtn", r.qtNasc)
            .bind("n1", r.nasc1)
            .bind("n2", r.nasc2)
            .bind("n3", r.nasc3)
            .bind("n4", r.nasc4)
            .bind("n5", r.nasc5)
            .bind("obt", r.obito)
            .bind("uti", r.uti)
            .bind("oper", r.operadora)
            .bind("cnpj", r.cnpj)
            .bind("ben", r.beneficiario)
            .bind("mun", r.municipio)
            .bind("qtd", r.quantidade)
            .bind("mod", r.modalidade)
            .bind("sqint", seq)
            .bind("sqpac", seqPaciente)
            .bind("cmpt", r.competencia)
            .bind("tiss", r.tiss)
            .execute(tx);
    } catch (const DatabaseError&) {
        driver_.erro("Erro no insert da tb_internacao");
        return;
    }
    seqInt_ = seq;
    ++internacoesInseridas_;
    novaInternacao(seqPaciente, r.pront, semFinais(r.modalidade), semFinais(r.proc), semFinais(fonte),
                   DataInvertida(r.internacao), DataInvertida(r.saida));
}

void ArmazenaRemessa::passoConsolidado(Transaction& tx, const Registro& r, const std::string& remessa,
                                       const DataHora& geracao) {
    const std::string cnes = apara(r.cnes), cmpt = apara(r.competencia), proc = apara(r.proc),
                      fonte = apara(r.fonte), oper = apara(r.operadora);
    auto it = consolidados_.find(cmpt);
    if (it == consolidados_.end()) {
        std::vector<Consolidado> linhas;
        Cursor c = selConsolidado_.bind("cnes", cnes).bind("cmpt", cmpt).open(tx);
        while (c.next()) {
            Consolidado k;
            if (auto v = opcional(c, "CO_PROCEDIMENTO")) k.procedimento = std::string(semFinais(*v));
            if (auto v = opcional(c, "CO_FONTE_REMUNERA")) k.fonte = std::string(semFinais(*v));
            if (auto v = opcional(c, "CO_OPERADORA")) k.operadora = std::string(semFinais(*v));
            linhas.push_back(std::move(k));
        }
        it = consolidados_.emplace(cmpt, std::move(linhas)).first;
    }
    for (const Consolidado& k : it->second) {
        if (!igual(k.procedimento, proc)) continue;
        if (!fonte.empty() && (!igual(k.fonte, fonte) || !igual(k.operadora, oper))) continue;
        driver_.avisa(
            "Aviso tb_a_consolidado - registro não inserido por já existir na base em versão anterior a "
            "1.0.2.0");
        return;
    }
    try {
        insConsolidado_.bind("rem", remessa)
            .bind("ger", geracao)
            .bind("cnes", r.cnes)
            .bind("cmpt", r.competencia)
            .bind("proc", r.proc)
            .bind("qtd", r.quantidade)
            .bind("remu", fonte)
            .bind("oper", oper)
            .execute(tx);
    } catch (const DatabaseError&) {
        driver_.erro("Erro no insert da tb_a_consolidado " + remessa + " " + geracao.ddmmyyyy() + " " +
                     cp1252::toUtf8(r.cnes) + " " + cp1252::toUtf8(r.competencia) + " " +
                     cp1252::toUtf8(r.quantidade) + " " + cp1252::toUtf8(fonte) + " " + cp1252::toUtf8(oper));
        return;
    }
    ++consolidadosInseridos_;
    it->second.push_back(Consolidado{proc, fonte, oper});
}

EstatisticaRemessa ArmazenaRemessa::estatistica(Transaction& tx, const std::string& cnes,
                                                const std::string& competencia, const std::string& remessa) {
    // A figure of the first row; a sum over no row is NULL: 0.
    auto figura = [](const Cursor& c, std::size_t coluna) {
        std::string t = c.text(coluna);
        return t.empty() ? 0LL : std::stoll(t);
    };
    EstatisticaRemessa e;
    {
        Cursor c = totInternacoes_.bind("remessa", remessa).open(tx);
        if (c.next()) e.inseridos = figura(c, 0);
    }
    {
        Cursor c = somaIndividuais_.bind("cnes", cnes)
                       .bind("cmpt", competencia)
                       .bind("ambulatorial", "01")
                       .bind("hospitalar", "02")
                       .open(tx);
        if (c.next()) {
            e.ambulatoriais = figura(c, 0);
            e.internacoes = figura(c, 1);
        }
    }
    {
        Cursor c = somaConsolidados_.bind("cnes", cnes).bind("cmpt", competencia).open(tx);
        if (c.next()) {
            e.inseridos += figura(c, 0);
            e.consolidados = figura(c, 1);
        }
    }
    return e;
}

}  // namespace velt

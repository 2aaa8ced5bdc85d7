// Procedure table reload against the real MERIDAL export of 202012 plus a generated non-SUS file.
// Expected contents are worked out here from the files and the reload's rules, independently of
// the engine.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>

#include "data/Database.h"
#include "fixtures/GeradorReferencia.h"
#include "reference/ImportaProcedimento.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"

namespace velt {
namespace {

namespace fs = std::filesystem;
using test::linhasCrLf;
using test::linhaNaoSus;
using test::linhaProcedimento;

// Lines of a file up to (not including) its first empty line.
std::vector<std::string> linhasAteVazia(const fs::path& arquivo) {
    std::ifstream in(arquivo, std::ios::binary);
    std::vector<std::string> r;
    std::string l;
    while (std::getline(in, l)) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        if (l.empty()) break;
        r.push_back(l);
    }
    return r;
}

std::string semBrancosFinais(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

bool noGrupo(const std::string& codigo) {
    static const std::set<std::string> grupos2{"02", "03", "04", "05"}, grupos4{"0101", "0701"};
    return grupos2.count(codigo.substr(0, 2)) || grupos4.count(codigo.substr(0, 4));
}

struct Esperado {
    std::map<std::string, std::string> cidPorProcedimento;  // first CID of each procedure
    std::set<std::pair<std::string, std::string>> modalidades, registros;
    long long procedimentos = 0;
    std::set<std::string> codigosProcedimento;
};

Esperado calculaEsperado(const fs::path& pasta) {
    Esperado e;
    for (const auto& l : linhasAteVazia(pasta / "rl_procedimento_cid.txt"))
        e.cidPorProcedimento.emplace(semBrancosFinais(l.substr(0, 10)), l.substr(10, 4));
    for (const auto& l : linhasAteVazia(pasta / "rl_procedimento_modalidade.txt"))
        if (noGrupo(l)) e.modalidades.emplace(l.substr(0, 10), l.substr(10, 2));
    std::set<std::string> comRegistro;
    for (const auto& l : linhasAteVazia(pasta / "rl_procedimento_registro.txt")) {
        auto reg = l.substr(10, 2);
        if (noGrupo(l) && (reg == "01" || reg == "02" || reg == "03" || reg == "06")) {
            e.registros.emplace(l.substr(0, 10), reg);
            comRegistro.insert(l.substr(0, 10));
        }
    }
    for (const auto& l : linhasAteVazia(pasta / "tb_procedimento_nsus.txt"))
        if (noGrupo(l)) {
            ++e.procedimentos;  // every line, repeated codes too
            e.codigosProcedimento.insert(l.substr(0, 10));
        }
    for (const auto& l : linhasAteVazia(pasta / "tb_procedimento.txt")) {
        auto cod = l.substr(0, 10);
        if (noGrupo(l) && comRegistro.count(cod) && e.codigosProcedimento.insert(cod).second) ++e.procedimentos;
    }
    return e;
}

std::vector<std::string> memoEsperado(const std::string& modalidade = "OK!") {
    return {"Importando Cid......OK!", "", "Importando Modalidade......" + modalidade, "",
            "Importando Registro......OK!", "", "Importando Procedimento Não SUS......OK!", "",
            "Importando Procedimento......OK!", "", "FIM DA IMPORTAÇÃO!"};
}

// One reload of the full real set, shared by the checks of its result.
class ProcedimentoReal : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        pasta_ = new test::TempDir;
        test::preparaPastaProcedimentos(pasta_->path());
        banco_ = new test::TestDatabase;
        // Rows of an earlier load must not survive.
        banco_->db().execute("insert into tb_procedimento values ('0301010072','ANTIGO','M','0001','0002')");
        banco_->db().execute("insert into tb_rl_cid values ('0999999999','Z999')");
        ImportaProcedimento imp(banco_->db(), driver_);
        resultado_ = imp.executa(pasta_->path());
    }
    static void TearDownTestSuite() {
        delete banco_;
        delete pasta_;
    }
    static inline test::TempDir* pasta_ = nullptr;
    static inline test::TestDatabase* banco_ = nullptr;
    static inline test::ScriptedDriver driver_;
    static inline ResultadoImportaProcedimento resultado_;
};

TEST_F(ProcedimentoReal, TabelasTemAsLinhasQueOsArquivosEAsRegrasDao) {
    auto e = calculaEsperado(pasta_->path());
    ASSERT_EQ(resultado_.situacao, ResultadoImportaProcedimento::Situacao::Concluida);
    EXPECT_TRUE(driver_.mensagens.empty());
    EXPECT_EQ(banco_->conta("TB_RL_CID"), (long long)e.cidPorProcedimento.size());
    EXPECT_EQ(banco_->conta("TB_MODALIDADE"), (long long)e.modalidades.size());
    EXPECT_EQ(banco_->conta("TB_REGISTRO"), (long long)e.registros.size());
    EXPECT_EQ(banco_->conta("TB_PROCEDIMENTO"), e.procedimentos);
    EXPECT_EQ(resultado_.memo, memoEsperado());
    std::cout << "[ contagens ] TB_RL_CID=" << banco_->conta("TB_RL_CID")
              << " TB_MODALIDADE=" << banco_->conta("TB_MODALIDADE") << " TB_REGISTRO=" << banco_->conta("TB_REGISTRO")
              << " TB_PROCEDIMENTO=" << banco_->conta("TB_PROCEDIMENTO") << std::endl;
}

TEST_F(ProcedimentoReal, CadaProcedimentoGuardaOPrimeiroCidDoArquivo) {
    auto e = calculaEsperado(pasta_->path());
    // The real file lists many CIDs for most procedures; make sure the case is there.
    std::map<std::string, int> linhasPorProc;
    for (const auto& l : linhasAteVazia(pasta_->path() / "rl_procedimento_cid.txt")) ++linhasPorProc[l.substr(0, 10)];
    int comTresOuMais = 0;
    for (const auto& [p, n] : linhasPorProc) comTresOuMais += n >= 3;
    ASSERT_GT(comTresOuMais, 100);

    auto st = banco_->db().prepare("select co_procedimento, co_cid from tb_rl_cid");
    auto c = st.open();
    std::map<std::string, std::string> guardado;
    while (c.next()) EXPECT_TRUE(guardado.emplace(c.text("co_procedimento"), c.text("co_cid")).second);
    EXPECT_EQ(guardado, e.cidPorProcedimento);
}

TEST_F(ProcedimentoReal, CodigosForaDosGruposFicamForaMasContamNoCid) {
    const char* foraDoGrupo =
        "substring(co_procedimento from 1 for 2) not in ('02','03','04','05') and "
        "substring(co_procedimento from 1 for 4) not in ('0101','0701')";
    for (const char* t : {"TB_MODALIDADE", "TB_REGISTRO", "TB_PROCEDIMENTO"}) EXPECT_EQ(banco_->conta(t, foraDoGrupo), 0) << t;
    EXPECT_GT(banco_->conta("TB_RL_CID", foraDoGrupo), 0);  // the CID step has no filter
    EXPECT_EQ(banco_->conta("TB_REGISTRO", "co_registro not in ('01','02','03','06')"), 0);
    EXPECT_EQ(banco_->conta("TB_PROCEDIMENTO", "co_procedimento in ('0102999990','0699999990','0801999990')"), 0);
    // Procedures without an accepted record kind are not stored.
    EXPECT_EQ(banco_->conta("TB_PROCEDIMENTO p",
                            "p.co_sexo <> 'I' and not exists (select 1 from tb_registro r where "
                            "r.co_procedimento = p.co_procedimento)"),
              0);
}

TEST_F(ProcedimentoReal, CodigoNosDoisArquivosFicaComOsValoresNaoSus) {
    for (const auto& [cod, dscr] : std::vector<std::pair<std::string, std::string>>{
             {"0301010072", "CONSULTA MEDICA EM ATENCAO ESPECIALIZADA (NAO SUS)"}, {"0401010015", "CURATIVO NAO SUS"}}) {
        EXPECT_EQ(banco_->conta("TB_PROCEDIMENTO", "co_procedimento = '" + cod + "'"), 1) << cod;
        EXPECT_EQ(banco_->valor("select ds_procedimento || '|' || co_sexo || '|' || nu_id_min || '|' || nu_id_max "
                                "from tb_procedimento where co_procedimento = '" + cod + "'"),
                  dscr + "|I|0000|1331");
    }
    EXPECT_EQ(banco_->conta("TB_PROCEDIMENTO", "co_procedimento = '0399999999'"), 2);  // repeated line, two rows
    EXPECT_EQ(banco_->valor("select ds_procedimento from tb_procedimento where co_procedimento = '0499999998'"),
              std::string(74, 'X'));
    EXPECT_EQ(banco_->valor("select ds_procedimento from tb_procedimento where co_procedimento = '0299999991'"),
              "EXAME PARTICULAR");
}

TEST_F(ProcedimentoReal, ProcedimentoSusGuardaDescricaoDe250SexoEIdadesDoArquivo) {
    // The first line of the real file that the reload keeps, read here by position.
    auto e = calculaEsperado(pasta_->path());
    std::set<std::string> comRegistro;
    for (const auto& [p, r] : e.registros) comRegistro.insert(p);
    std::string linha;
    for (const auto& l : linhasAteVazia(pasta_->path() / "tb_procedimento.txt"))
        if (noGrupo(l) && comRegistro.count(l.substr(0, 10)) && l.substr(0, 10) != "0301010072" &&
            l.substr(0, 10) != "0401010015") {
            linha = l;
            break;
        }
    ASSERT_FALSE(linha.empty());
    auto cod = linha.substr(0, 10);
    auto st = banco_->db().prepare("select * from tb_procedimento where co_procedimento = :p");
    st.bind("p", cod);
    auto c = st.open();
    ASSERT_TRUE(c.next());
    EXPECT_EQ(c.text("ds_procedimento").size(), 250u);  // trailing blanks kept
    EXPECT_EQ(c.text("ds_procedimento"), linha.substr(10, 250));  // the real descriptions are upper case
    EXPECT_EQ(c.text("co_sexo"), linha.substr(261, 1));
    EXPECT_EQ(c.text("nu_id_min"), linha.substr(274, 4));
    EXPECT_EQ(c.text("nu_id_max"), linha.substr(278, 4));
}

// Small folders written here, for the cases the real files do not hold.
struct PastaPequena {
    test::TempDir dir;
    std::map<std::string, std::vector<std::string>> arquivos{
        {"rl_procedimento_cid.txt", {"0301010072A000", "0301010072B001", "0301010072C002", "0601010010A001"}},
        {"rl_procedimento_modalidade.txt", {"030101007201", "030101007202", "030101007201", "060101001001"}},
        {"rl_procedimento_registro.txt", {"030101007201", "040101001504", "020101001002", "020101001002"}},
        {"tb_procedimento_nsus.txt", {linhaNaoSus("0501010010", "transplante")}},
        {"tb_procedimento.txt",
         {linhaProcedimento("0301010072", "consulta", 'm', "0000", "0130"),
          linhaProcedimento("0401010015", "curativo", 'F', "0010", "0099"),
          linhaProcedimento("0201010010", "biopsia", 'I', "0000", "0130")}}};
    void escreve() const {
        for (const auto& [nome, linhas] : arquivos) test::escreveArquivo(dir / nome, linhasCrLf(linhas));
    }
};

TEST(Procedimento, LinhaVaziaEncerraAEtapaSemMensagem) {
    test::TestDatabase banco;
    PastaPequena p;
    // A blank line after the first CID line and after the first record kind.
    p.arquivos["rl_procedimento_cid.txt"].insert(p.arquivos["rl_procedimento_cid.txt"].begin() + 1, "");
    p.arquivos["rl_procedimento_registro.txt"].insert(p.arquivos["rl_procedimento_registro.txt"].begin() + 1, "");
    p.escreve();
    test::ScriptedDriver d;
    ImportaProcedimento imp(banco.db(), d);
    auto r = imp.executa(p.dir.path());
    EXPECT_TRUE(d.mensagens.empty());
    EXPECT_EQ(r.memo, memoEsperado());
    EXPECT_EQ(banco.conta("TB_RL_CID"), 1);
    EXPECT_EQ(banco.conta("TB_MODALIDADE"), 2);
    EXPECT_EQ(banco.conta("TB_REGISTRO"), 1);
    // Only 0301010072 has a record kind left; 0501010010 comes from the non-SUS file.
    EXPECT_EQ(banco.conta("TB_PROCEDIMENTO"), 2);
    EXPECT_EQ(banco.valor("select co_sexo || ds_procedimento from tb_procedimento where co_procedimento = '0301010072'"),
              "M" + test::largura("CONSULTA", 250));
}

TEST(Procedimento, ArquivosEncontradosSemDistinguirMaiusculas) {
    test::TestDatabase banco;
    PastaPequena p;
    p.escreve();
    fs::rename(p.dir / "tb_procedimento.txt", p.dir / "TB_PROCEDIMENTO.TXT");
    fs::rename(p.dir / "rl_procedimento_cid.txt", p.dir / "Rl_Procedimento_Cid.txt");
    test::ScriptedDriver d;
    auto r = ImportaProcedimento(banco.db(), d).executa(p.dir.path());
    EXPECT_EQ(r.situacao, ResultadoImportaProcedimento::Situacao::Concluida);
    EXPECT_EQ(banco.conta("TB_RL_CID"), 2);
    EXPECT_EQ(banco.conta("TB_PROCEDIMENTO"), 3);
}

TEST(Procedimento, ArquivoFaltandoAvisaENaoMexeNasTabelas) {
    for (const char* falta : kArquivosProcedimento) {
        test::TestDatabase banco;
        banco.db().execute("insert into tb_procedimento values ('0301010072','ANTIGO','M','0001','0002')");
        banco.db().execute("insert into tb_registro values ('0301010072','01')");
        PastaPequena p;
        p.arquivos.erase(falta);
        p.escreve();
        test::ScriptedDriver d;
        auto r = ImportaProcedimento(banco.db(), d).executa(p.dir.path());
        EXPECT_EQ(r.situacao, ResultadoImportaProcedimento::Situacao::ArquivosNaoEncontrados) << falta;
        ASSERT_EQ(d.mensagens.size(), 1u) << falta;
        EXPECT_EQ(d.mensagens[0].titulo, "ATENÇÃO");
        EXPECT_EQ(d.mensagens[0].texto, "ARQUIVOS NECESSÁRIO PARA A IMPORTAÇÃO NÃO ENCONTRADOS!");
        EXPECT_EQ(d.mensagens[0].icone, Driver::Icone::Aviso);
        EXPECT_EQ(banco.conta("TB_PROCEDIMENTO"), 1) << falta;
        EXPECT_EQ(banco.conta("TB_REGISTRO"), 1) << falta;
        EXPECT_TRUE(r.memo.empty());
    }
}

TEST(Procedimento, FalhaNaLimpezaDeixaAsTabelasComoEstavam) {
    test::TestDatabase banco;
    banco.db().execute("insert into tb_procedimento values ('0301010072','ANTIGO','M','0001','0002')");
    banco.db().execute("insert into tb_registro values ('0301010072','01')");
    banco.db().execute("create exception e_sem_apagar 'registro protegido'");
    banco.db().execute(
        "create trigger t_sem_apagar for tb_registro before delete as begin exception e_sem_apagar; end");
    PastaPequena p;
    p.escreve();
    test::ScriptedDriver d;
    auto r = ImportaProcedimento(banco.db(), d).executa(p.dir.path());
    EXPECT_EQ(r.situacao, ResultadoImportaProcedimento::Situacao::FalhaNaLimpeza);
    ASSERT_EQ(d.mensagens.size(), 1u);
    EXPECT_EQ(d.mensagens[0].titulo, "ERRO");
    EXPECT_EQ(d.mensagens[0].texto, "ERRO NA LIMPEZA DA TABELA DE PROCEDIMENTOS - REFAZER O PROCESSO");
    // The delete of tb_procedimento ran before the failing one and was undone with it.
    EXPECT_EQ(banco.conta("TB_PROCEDIMENTO"), 1);
    EXPECT_EQ(banco.valor("select ds_procedimento from tb_procedimento"), "ANTIGO");
}

TEST(Procedimento, InsercaoRecusadaEncerraSoAEtapaEORestoEGravado) {
    test::TestDatabase banco;
    // The database refuses modality 02: the modality step ends at that line.
    banco.db().execute("alter table tb_modalidade add constraint ck_sem_02 check (co_modalidade <> '02')");
    PastaPequena p;
    p.escreve();
    test::ScriptedDriver d;
    auto r = ImportaProcedimento(banco.db(), d).executa(p.dir.path());
    EXPECT_EQ(r.situacao, ResultadoImportaProcedimento::Situacao::Concluida);
    ASSERT_EQ(d.mensagens.size(), 1u);
    EXPECT_EQ(d.mensagens[0].titulo, "ERRO");
    EXPECT_EQ(d.mensagens[0].texto, "ERRO NA IMPORTAÇÃO - REFAZER O PROCESSO");
    EXPECT_EQ(r.memo, memoEsperado("ERRO!"));
    ASSERT_EQ(r.etapas.size(), 5u);
    EXPECT_FALSE(r.etapas[1].ok);
    EXPECT_EQ(banco.conta("TB_MODALIDADE"), 1);  // the row before the refused one stays
    EXPECT_EQ(banco.conta("TB_RL_CID"), 2);
    EXPECT_EQ(banco.conta("TB_REGISTRO"), 2);
    EXPECT_EQ(banco.conta("TB_PROCEDIMENTO"), 3);
    // Status lines went to the driver as they were written.
    EXPECT_NE(std::find(d.statusLinhas.begin(), d.statusLinhas.end(), "Importando Modalidade......ERRO!"),
              d.statusLinhas.end());
}

TEST(Procedimento, RepetirACargaNaoDuplica) {
    test::TestDatabase banco;
    PastaPequena p;
    p.escreve();
    for (int i = 0; i < 2; ++i) {
        test::ScriptedDriver d;
        ImportaProcedimento(banco.db(), d).executa(p.dir.path());
        EXPECT_TRUE(d.mensagens.empty());
    }
    EXPECT_EQ(banco.conta("TB_RL_CID"), 2);
    EXPECT_EQ(banco.conta("TB_MODALIDADE"), 2);
    EXPECT_EQ(banco.conta("TB_REGISTRO"), 2);
    EXPECT_EQ(banco.conta("TB_PROCEDIMENTO"), 3);
}

}  // namespace
}  // namespace velt

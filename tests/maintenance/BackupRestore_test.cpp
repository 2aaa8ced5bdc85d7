#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "common/Cp1252.h"
#include "data/Database.h"
#include "maintenance/BackupRestore.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"

namespace velt {
namespace {

namespace fs = std::filesystem;
using test::ScriptedDriver;
using test::TempDir;
using test::TestDatabase;

// Every user table of a database, each as its rows (columns joined), sorted.
std::map<std::string, std::vector<std::string>> conteudo(Database& db) {
    std::vector<std::string> tabelas;
    {
        auto st = db.prepare(
            "select trim(rdb$relation_name) as nome from rdb$relations "
            "where coalesce(rdb$system_flag, 0) = 0 and rdb$view_blr is null order by 1");
        auto c = st.open();
        while (c.next()) tabelas.push_back(c.text("nome"));
    }
    std::map<std::string, std::vector<std::string>> r;
    for (const auto& t : tabelas) {
        auto st = db.prepare("select * from " + t);
        auto c = st.open();
        auto& linhas = r[t];
        while (c.next()) {
            std::string l;
            for (std::size_t i = 0; i < c.columnCount(); ++i) l += c.text(i) + "|";
            linhas.push_back(l);
        }
        std::sort(linhas.begin(), linhas.end());
    }
    return r;
}

void preenche(Database& db, int n) {
    Transaction tx(db);
    auto ins = db.prepare(
        "insert into tb_paciente (co_cnes, nu_prontuario, no_paciente, dt_nasc_paciente, co_sexo, ds_logradouro, "
        "nu_seq_id_paciente) values (:cnes, :pront, :nome, '01011980', 'F', :rua, :seq)");
    for (int i = 0; i < n; ++i) {
        ins.bind("cnes", "1234567")
            .bind("pront", std::to_string(i))
            .bind("nome", cp1252::fromUtf8("JOÃO DA CONCEIÇÃO " + std::to_string(i)))
            .bind("rua", cp1252::fromUtf8("AV. SÃO JOSÉ"))
            .bind("seq", i + 1)
            .execute(tx);
    }
    tx.execute("insert into tb_gestor values ('SECRETARIA', '2', '31', '310620', '/tmp/velt')");
    tx.commit();
}

std::vector<std::string> linhasDoLog;
LinhaServico registraLinha() {
    linhasDoLog.clear();
    return [](std::string_view l) { linhasDoLog.emplace_back(l); };
}

TEST(BackupRestore, BackupRestauradoEmArquivoNovoTemOMesmoConteudo) {
    TestDatabase origem;
    preenche(origem.db(), 50);
    TempDir pasta;
    ScriptedDriver d;

    auto r = BackupBanco(origem.db(), d, origem.arquivo().string(), pasta.path().string(), registraLinha());
    ASSERT_TRUE(r.sucesso) << (d.mensagens.empty() ? "" : d.mensagens.back().texto);
    EXPECT_EQ(r.arquivoBackup, pasta.path().string() + "/Backup.gbk");
    EXPECT_TRUE(fs::exists(pasta / "Backup.gbk"));
    EXPECT_EQ(d.textos(), std::vector<std::string>{"Backup Efetuado com Sucesso"});
    EXPECT_GT(linhasDoLog.size(), 10u);  // the service's verbose lines reach the log
    EXPECT_FALSE(origem.db().attached());

    fs::path novo = pasta / "RESTAURADO.FDB";
    ScriptedDriver d2;
    auto rr = RestauraBanco(origem.db(), d2, r.arquivoBackup, novo.string(), registraLinha());
    ASSERT_TRUE(rr.sucesso) << (d2.mensagens.empty() ? "" : d2.mensagens.back().texto);
    EXPECT_EQ(d2.textos(), std::vector<std::string>{"Restauração Efetuada com Sucesso"});
    EXPECT_FALSE(linhasDoLog.empty());

    auto restaurado = Database::attach(test::embedded(novo));
    auto esperado = conteudo(origem.db());
    auto obtido = conteudo(*restaurado);
    EXPECT_EQ(esperado.size(), obtido.size());
    EXPECT_EQ(esperado.at("TB_PACIENTE").size(), 50u);
    for (const auto& [tabela, linhas] : esperado) EXPECT_EQ(obtido[tabela], linhas) << tabela;
}

TEST(BackupRestore, RestoreSobreBancoExistenteOSubstitui) {
    TestDatabase origem;
    preenche(origem.db(), 7);
    TestDatabase alvo;  // another database with other rows, attached by the program
    preenche(alvo.db(), 3);
    alvo.db().execute("insert into tb_cnes values ('7654321')");
    TempDir pasta;
    ScriptedDriver d;
    ASSERT_TRUE(BackupBanco(origem.db(), d, origem.arquivo().string(), pasta.path().string(), {}).sucesso);

    auto r = RestauraBanco(alvo.db(), d, (pasta / "Backup.gbk").string(), alvo.arquivo().string(), {});
    ASSERT_TRUE(r.sucesso) << d.mensagens.back().texto;
    // The program's own connection reattaches to the replaced file by itself.
    EXPECT_EQ(alvo.conta("TB_PACIENTE"), 7);
    EXPECT_EQ(alvo.conta("TB_CNES"), 0);
    EXPECT_EQ(conteudo(alvo.db()), conteudo(origem.db()));
}

TEST(BackupRestore, ConsultaDepoisDoBackupReconectaSozinha) {
    TestDatabase banco;
    preenche(banco.db(), 2);
    auto consulta = banco.db().prepare("select count(*) as n from tb_paciente");  // prepared before
    TempDir pasta;
    ScriptedDriver d;
    ASSERT_TRUE(BackupBanco(banco.db(), d, banco.arquivo().string(), pasta.path().string(), {}).sucesso)
        << d.mensagens.back().texto;
    ASSERT_FALSE(banco.db().attached());
    auto c = consulta.open();
    ASSERT_TRUE(c.next());
    EXPECT_EQ(c.integer("n"), 2);
    EXPECT_TRUE(banco.db().attached());
}

TEST(BackupRestore, DoisBackupsNaMesmaPastaOSegundoSubstituiOPrimeiro) {
    TestDatabase banco;
    preenche(banco.db(), 2);
    TempDir pasta;
    ScriptedDriver d;
    ASSERT_TRUE(BackupBanco(banco.db(), d, banco.arquivo().string(), pasta.path().string(), {}).sucesso);
    banco.db().execute("delete from tb_paciente");
    ASSERT_TRUE(BackupBanco(banco.db(), d, banco.arquivo().string(), pasta.path().string(), {}).sucesso);
    EXPECT_EQ(std::distance(fs::directory_iterator(pasta.path()), fs::directory_iterator{}), 1);

    fs::path novo = pasta / "R.FDB";
    ASSERT_TRUE(RestauraBanco(banco.db(), d, (pasta / "Backup.gbk").string(), novo.string(), {}).sucesso);
    auto r = Database::attach(test::embedded(novo));
    auto c = r->prepare("select count(*) as n from tb_paciente").open();
    ASSERT_TRUE(c.next());
    EXPECT_EQ(c.integer("n"), 0);
}

TEST(BackupRestore, CampoFaltandoMostraSoSuaMensagemENaoFechaAConexao) {
    TestDatabase banco;
    using Campo = ResultadoManutencao::Campo;
    struct Caso {
        bool backup;
        std::string a, b;
        std::string mensagem;
        Campo campo;
    };
    const Caso casos[] = {
        {true, "", "/tmp", "Indique onde esta seu Banco", Campo::Banco},
        {true, banco.arquivo().string(), "", "Indique onde irá Gravar o Backup", Campo::Pasta},
        {true, "", "", "Indique onde esta seu Banco", Campo::Banco},
        {false, "", "/tmp/x.fdb", "Indique onde esta o seu Arquivo de Backup", Campo::ArquivoBackup},
        {false, "/tmp/Backup.gbk", "  ", "Indique onde irá Restaurar o seu Backup", Campo::Banco},
    };
    for (const auto& c : casos) {
        ScriptedDriver d;
        banco.db().ensureAttached();
        auto r = c.backup ? BackupBanco(banco.db(), d, c.a, c.b, {}) : RestauraBanco(banco.db(), d, c.a, c.b, {});
        EXPECT_FALSE(r.sucesso);
        EXPECT_EQ(r.faltando, c.campo) << c.mensagem;
        EXPECT_EQ(d.textos(), std::vector<std::string>{c.mensagem});
        EXPECT_TRUE(banco.db().attached()) << c.mensagem;
    }
}

TEST(BackupRestore, FalhaDoServicoMostraOTextoDoServidorESemSucesso) {
    TestDatabase banco;
    TempDir pasta;
    {
        ScriptedDriver d;
        auto r = BackupBanco(banco.db(), d, (pasta / "NAO_EXISTE.FDB").string(), pasta.path().string(), {});
        EXPECT_FALSE(r.sucesso);
        ASSERT_EQ(d.mensagens.size(), 1u);
        EXPECT_EQ(d.mensagens[0].icone, Driver::Icone::Erro);
        EXPECT_NE(d.mensagens[0].texto.find("NAO_EXISTE.FDB"), std::string::npos) << d.mensagens[0].texto;
    }
    {
        ScriptedDriver d;
        auto r = RestauraBanco(banco.db(), d, (pasta / "nada.gbk").string(), (pasta / "N.FDB").string(), {});
        EXPECT_FALSE(r.sucesso);
        ASSERT_EQ(d.mensagens.size(), 1u);
        EXPECT_EQ(d.mensagens[0].icone, Driver::Icone::Erro);
        EXPECT_FALSE(fs::exists(pasta / "N.FDB"));
    }
    // The connection was closed for the service and comes back on the next access.
    EXPECT_EQ(banco.conta("TB_ESTADO"), 27);
}

}  // namespace
}  // namespace velt

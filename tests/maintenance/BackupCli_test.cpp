#include <gtest/gtest.h>

#include <filesystem>

#include "data/Database.h"
#include "support/Processo.h"
#include "support/TestDatabase.h"

namespace velt {
namespace {

namespace fs = std::filesystem;
using test::executaCli;
using test::TempDir;
using test::TestDatabase;

TEST(BackupCli, BackupERestauracaoPelaLinhaDeComando) {
    TestDatabase t;
    t.db().execute("insert into tb_cnes values ('1234567')");
    TempDir pasta, destino;
    t.escreveVeltIni(pasta.path());
    t.db().detach();

    auto b = executaCli({"backup", "--pasta", destino.path().string()}, pasta.path());
    ASSERT_EQ(b.status, 0) << b.err;
    EXPECT_NE(b.err.find("Backup Efetuado com Sucesso"), std::string::npos);
    EXPECT_NE(b.out.find("gbak:"), std::string::npos) << b.out;  // the service's progress lines
    ASSERT_TRUE(fs::exists(destino / "Backup.gbk"));

    fs::path novo = destino / "NOVO.FDB";
    auto r = executaCli({"restaurar", "--backup", (destino / "Backup.gbk").string(), "--banco", novo.string()},
                        pasta.path());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("Restauração Efetuada com Sucesso"), std::string::npos);
    auto db = Database::attach(test::embedded(novo));
    auto c = db->prepare("select co_cnes from tb_cnes").open();
    ASSERT_TRUE(c.next());
    EXPECT_EQ(c.text("co_cnes"), "1234567");
}

TEST(BackupCli, FalhasEUsoIncorreto) {
    TestDatabase t;
    TempDir pasta;
    t.escreveVeltIni(pasta.path());
    t.db().detach();
    auto r = executaCli({"restaurar", "--backup", (pasta / "nada.gbk").string(), "--banco", (pasta / "X.FDB").string()},
                        pasta.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.err.empty());
    EXPECT_EQ(executaCli({"backup"}, pasta.path()).status, 2);
    EXPECT_EQ(executaCli({"restaurar", "--backup", "x.gbk"}, pasta.path()).status, 2);
}

}  // namespace
}  // namespace velt

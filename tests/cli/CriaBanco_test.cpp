#include <gtest/gtest.h>

#include <filesystem>

#include "data/Database.h"
#include "support/Processo.h"
#include "support/TestDatabase.h"

using namespace velt;
using velt::test::TempDir;

namespace {

int roda(const TempDir& pasta, const std::string& arg, std::string* err = nullptr, std::string* out = nullptr) {
    std::vector<std::string> args;
    std::size_t p = 0;
    while (p < arg.size()) {
        auto q = arg.find(' ', p);
        args.push_back(arg.substr(p, q - p));
        p = q == std::string::npos ? arg.size() : q + 1;
    }
    auto r = test::executaCli(args, pasta.path());
    if (err) *err = r.err;
    if (out) *out = r.out;
    return r.status;
}

TEST(CliTest, CriarBancoCreatesTheDatabaseVeltIniNames) {
    TempDir pasta;  // an empty folder: no "dados" yet
    test::escreveArquivo(pasta / "velt.ini", "SYSDBA\r\nmasterkey\r\n./dados/VELT02.FDB\r\n");
    std::string err;
    ASSERT_EQ(roda(pasta, "criar-banco", &err), 0) << err;
    {
        auto db = Database::attach(test::embedded(pasta / "dados" / "VELT02.FDB"));
        auto c = db->prepare("select count(*) N from TB_ESTADO").open();
        ASSERT_TRUE(c.next());
        EXPECT_EQ(c.integer("N"), 27);
    }
    // A second run keeps the existing database and says so.
    EXPECT_EQ(roda(pasta, "criar-banco", &err), 1);
    EXPECT_NE(err.find("já existe"), std::string::npos) << err;
}

TEST(CliTest, UsageErrorsAndStartUpFailures) {
    TempDir pasta;
    std::string err;
    EXPECT_EQ(roda(pasta, "comando-inexistente", &err), 2);
    EXPECT_EQ(roda(pasta, "criar-banco --opcao-invalida", &err), 2);
    std::string out;
    EXPECT_EQ(roda(pasta, "--help", &err, &out), 0);
    EXPECT_NE(out.find("criar-banco"), std::string::npos);
    EXPECT_EQ(roda(pasta, "criar-banco", &err), 1);  // no velt.ini in the current directory
    EXPECT_NE(err.find("velt.ini"), std::string::npos) << err;
}

}  // namespace

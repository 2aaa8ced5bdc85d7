#include <gtest/gtest.h>

#include "common/Cp1252.h"
#include "data/Database.h"
#include "support/TestDatabase.h"

using namespace velt;
using velt::test::TestDatabase;

namespace {

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        t.db().execute("CREATE TABLE T (A VARCHAR(20), B CHAR(5), N INTEGER, D TIMESTAMP)");
    }
    TestDatabase t;
};

TEST_F(DatabaseTest, NamedParametersRepeatedMixedCaseAndInsideLiterals) {
    auto ins = t.db().prepare("insert into T (A, B, N) values (:valor, :VALOR, :n)");
    ins.bind("Valor", "x").bind("n", 1).execute();
    ins.bind("valor", "y").bind("N", 2).execute();

    // A name inside a literal is text, not a parameter; the repeated name takes one value.
    auto sel = t.db().prepare("select A, ':valor' as LIT from T where A = :Valor or B = :valor order by A");
    EXPECT_TRUE(sel.hasParameter("VALOR"));
    sel.bind(":valor", "y");
    auto c = sel.open();
    ASSERT_TRUE(c.next());
    EXPECT_EQ(c.text("a"), "y");
    EXPECT_EQ(c.text("Lit"), ":valor");
    EXPECT_FALSE(c.next());
}

TEST_F(DatabaseTest, CharColumnsComeBackBlankPaddedAndCompareIgnoringTrailingBlanks) {
    t.db().prepare("insert into T (A, B) values (:a, :b)").bind("a", "abc").bind("b", "ab").execute();
    auto c = t.db().prepare("select A, B from T where B = :b").bind("b", "ab   ").open();
    ASSERT_TRUE(c.next());
    EXPECT_EQ(c.text("B"), "ab   ");
    EXPECT_EQ(c.text("A"), "abc");
}

TEST_F(DatabaseTest, Windows1252TextRoundTrip) {
    std::string nome = cp1252::fromUtf8("JOÃO DA CONCEIÇÃO – ÁÉÍÓÚ ç €");
    ASSERT_EQ(cp1252::toUtf8(nome), "JOÃO DA CONCEIÇÃO – ÁÉÍÓÚ ç €");
    t.db().execute("ALTER TABLE T ADD NOME VARCHAR(60)");
    t.db().prepare("insert into T (NOME) values (:nome)").bind("nome", nome).execute();
    auto c = t.db().prepare("select NOME, char_length(NOME) L from T").open();
    ASSERT_TRUE(c.next());
    EXPECT_EQ(c.text("NOME"), nome);
    EXPECT_EQ(c.integer("L"), static_cast<std::int64_t>(nome.size()));  // one byte per character
}

TEST_F(DatabaseTest, IntegersTimestampsAndNulls) {
    DataHora quando{2014, 5, 31, 23, 59, 58, 0};
    auto ins = t.db().prepare("insert into T (A, N, D) values (:a, :n, :d)");
    ins.bind("a", "um").bind("n", "42").bind("d", quando).execute();  // text bound to an integer column
    ins.bind("a", "dois").bindNull("n").bindNull("d").execute();
    auto c = t.db().prepare("select A, N, D from T order by A desc").open();
    ASSERT_TRUE(c.next());
    EXPECT_EQ(c.integer("N"), 42);
    EXPECT_EQ(c.timestamp("D"), quando);
    EXPECT_EQ(c.text("D"), "31/05/2014 23:59:58");
    ASSERT_TRUE(c.next());
    EXPECT_TRUE(c.isNull("N"));
    EXPECT_EQ(c.text("N"), "");
}

TEST_F(DatabaseTest, ServerErrorTextReachesTheException) {
    try {
        t.db().execute("insert into TABELA_QUE_NAO_EXISTE values (1)");
        FAIL() << "no exception";
    } catch (const DatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("TABELA_QUE_NAO_EXISTE"), std::string::npos) << e.what();
    }
    // A value too long for its column is the server's truncation failure, not a silent cut.
    EXPECT_THROW(t.db().prepare("insert into T (B) values (:b)").bind("b", "123456").execute(), DatabaseError);
}

TEST_F(DatabaseTest, TransactionIsWholeOrNothing) {
    {
        Transaction tx(t.db());
        auto ins = t.db().prepare("insert into T (A) values (:a)");
        ins.bind("a", "1").execute(tx);
        ins.bind("a", "2").execute(tx);
        // destroyed without commit: rolled back
    }
    EXPECT_EQ(t.conta("T"), 0);
    Transaction tx(t.db());
    auto ins = t.db().prepare("insert into T (A) values (:a)");
    ins.bind("a", "1").execute(tx);
    EXPECT_EQ(ins.bind("a", "2").execute(tx), 1u);
    tx.commit();
    EXPECT_EQ(t.conta("T"), 2);
}

// A bulk-load transaction keeps no undo log of its own, yet a statement that fails halfway
// still leaves nothing of itself, and a rollback still leaves nothing of the transaction.
TEST_F(DatabaseTest, BulkLoadTransactionStillWholeOrNothing) {
    auto ins = t.db().prepare("insert into T (A, N) values (:a, :n)");
    auto carrega = [&](Transaction& tx) {
        for (int n : {1, 2, 3}) ins.bind("a", "L" + std::to_string(n)).bind("n", n).execute(tx);
        // Fails on the second row, after the first one was changed.
        EXPECT_THROW(t.db().prepare("update T set N = 10 / (N - 2)").execute(tx), DatabaseError);
    };
    {
        Transaction tx(t.db(), Transaction::Modo::Carga);
        carrega(tx);
        tx.rollback();
    }
    EXPECT_EQ(t.conta("T"), 0);
    Transaction tx(t.db(), Transaction::Modo::Carga);
    carrega(tx);
    tx.commit();
    EXPECT_EQ(t.conta("T"), 3);
    EXPECT_EQ(t.conta("T", "N = cast(substring(A from 2) as integer)"), 3);  // every row as inserted
}

TEST_F(DatabaseTest, StatementsSurviveADetach) {
    auto sel = t.db().prepare("select count(*) C from T");
    t.db().detach();
    EXPECT_FALSE(t.db().attached());
    auto c = sel.open();  // attaches again and prepares again
    ASSERT_TRUE(c.next());
    EXPECT_EQ(c.integer("C"), 0);
    EXPECT_TRUE(t.db().attached());
}

TEST(ConnectionParamsTest, RemoteOnlyForHostAndPath) {
    struct Caso {
        const char* local;
        bool remoto;
    } casos[] = {{"/dados/VELT02.FDB", false}, {"./dados/VELT02.FDB", false}, {"C:\\DADOS\\VELT02.GDB", false},
                 {"localhost:/dados/VELT02.FDB", true}, {"servidor:C:\\DADOS\\VELT02.GDB", true}, {"", false}};
    for (const auto& c : casos) EXPECT_EQ((ConnectionParams{"u", "p", c.local}.remoto()), c.remoto) << c.local;
}

TEST(ConnectionParamsTest, UnreachableServerFailsWithTheServerText) {
    velt::test::TempDir dir;
    try {
        Database::attach({"SYSDBA", "masterkey", "127.0.0.1/1:" + (dir / "x.fdb").string()});
        FAIL() << "attached";
    } catch (const DatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("network"), std::string::npos) << e.what();
    }
}

}  // namespace

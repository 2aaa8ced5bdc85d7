// CID-10 reload: the real tb_cid.txt of 202012 and the single-file cases.
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "data/Database.h"
#include "fixtures/GeradorReferencia.h"
#include "reference/ImportaArquivoUnico.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"

namespace velt {
namespace {

namespace fs = std::filesystem;
using test::linhaCid;
using test::linhasCrLf;

// Windows-1252 upper case, written here as a table of the letters the code page holds.
std::string maiusculas1252(std::string s) {
    for (auto& c : s) {
        unsigned char b = c;
        if (std::islower(b) && b < 0x80) c = char(std::toupper(b));
        else if ((b >= 0xE0 && b <= 0xF6) || (b >= 0xF8 && b <= 0xFE)) c = char(b - 0x20);
    }
    return s;
}

ResultadoArquivoUnico carrega(test::TestDatabase& banco, test::ScriptedDriver& d, const fs::path& pasta) {
    return ImportaArquivoUnico(banco.db(), d, membroCid()).executa(pasta);
}

TEST(Cid, ArquivoRealCarregaTodasAsLinhasComDescricaoCortadaEMaiuscula) {
    test::TestDatabase banco;
    banco.db().execute("insert into tb_cid (co_cid10, ds_cid, st_agravo) values ('ZZZZ', 'ANTIGO', '0')");
    test::TempDir pasta;
    fs::copy_file(test::dadoReferencia("tb_cid.txt"), pasta / "tb_cid.txt");
    test::ScriptedDriver d;
    auto r = carrega(banco, d, pasta.path());
    EXPECT_EQ(r.situacao, ResultadoArquivoUnico::Situacao::Concluida);
    EXPECT_TRUE(d.mensagens.empty());
    EXPECT_EQ(r.memo, (std::vector<std::string>{"Importando Arquivo de Cid......OK!", "", "FIM DA IMPORTAÇÃO!"}));

    std::map<std::string, std::string> esperado;  // code -> description|agravo|sex
    std::ifstream in(test::dadoReferencia("tb_cid.txt"), std::ios::binary);
    std::string l;
    while (std::getline(in, l) && l != "\r") {
        l.resize(106, ' ');
        esperado[maiusculas1252(l.substr(0, 4))] =
            maiusculas1252(l.substr(4, 60)) + "|" + l.substr(104, 1) + "|" + maiusculas1252(l.substr(105, 1));
    }
    ASSERT_EQ(esperado.size(), 14230u);
    auto st = banco.db().prepare("select co_cid10, ds_cid, st_agravo, co_sexo from tb_cid");
    auto c = st.open();
    std::map<std::string, std::string> guardado;
    while (c.next())
        guardado[c.text("co_cid10")] = c.text("ds_cid") + "|" + c.text("st_agravo") + "|" + c.text("co_sexo");
    EXPECT_EQ(guardado.size(), esperado.size());
    EXPECT_TRUE(guardado == esperado);
    // "A00 Cólera" comes back with its accent upper-cased.
    EXPECT_EQ(guardado["A00 "].substr(0, 7), "C\xD3LERA ");
    std::cout << "[ contagens ] TB_CID=" << guardado.size() << std::endl;
}

TEST(Cid, CasosDoArquivoUnico) {
    struct Caso {
        const char* nome;
        std::vector<std::string> linhas;
        long long linhasNaTabela;
        int caixasDeErro;
        std::vector<std::string> memo;
    };
    const std::string longa(100, 'a');
    const std::vector<std::string> memoOk{"Importando Arquivo de Cid......OK!", "", "FIM DA IMPORTAÇÃO!"};
    const std::vector<Caso> casos{
        {"descricao de 100 posicoes", {linhaCid("a001", longa, '1', 'f')}, 1, 0, memoOk},
        {"linha vazia encerra o arquivo", {linhaCid("A001", "X", '0', 'I'), "", linhaCid("A002", "Y", '0', 'I')}, 1, 0,
         memoOk},
        // The primary key refuses the second A001: its box, then the rest goes in.
        {"cid repetido",
         {linhaCid("A001", "X", '0', 'I'), linhaCid("A001", "Y", '0', 'I'), linhaCid("A002", "Z", '0', 'I'),
          linhaCid("A002", "W", '0', 'I')},
         2,
         2,
         {"Importando Arquivo de Cid......OK!", "", "", "", "FIM DA IMPORTAÇÃO!"}},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.nome);
        test::TestDatabase banco;
        test::TempDir pasta;
        test::escreveArquivo(pasta / "TB_CID.TXT", linhasCrLf(caso.linhas));
        test::ScriptedDriver d;
        auto r = carrega(banco, d, pasta.path());
        EXPECT_EQ(r.situacao, ResultadoArquivoUnico::Situacao::Concluida);
        EXPECT_EQ(banco.conta("TB_CID"), caso.linhasNaTabela);
        EXPECT_EQ((int)d.mensagens.size(), caso.caixasDeErro);
        for (const auto& m : d.mensagens) {
            EXPECT_EQ(m.titulo, "ERRO");
            EXPECT_EQ(m.texto, "ERRO NA IMPORTAÇÃO - REFAZER O PROCESSO");
        }
        EXPECT_EQ(r.memo, caso.memo);
        EXPECT_EQ(r.rejeitadas, caso.caixasDeErro);
    }
    // The first case's row, checked field by field.
    test::TestDatabase banco;
    test::TempDir pasta;
    test::escreveArquivo(pasta / "tb_cid.txt", linhasCrLf({linhaCid("a001", longa, '1', 'f')}));
    test::ScriptedDriver d;
    carrega(banco, d, pasta.path());
    EXPECT_EQ(banco.valor("select co_cid10 || '|' || ds_cid || '|' || st_agravo || '|' || co_sexo from tb_cid"),
              "A001|" + std::string(60, 'A') + "|1|F");
}

TEST(Cid, RejeicaoMostraErroNaLinhaDeStatusAteOFim) {
    test::TestDatabase banco;
    test::TempDir pasta;
    test::escreveArquivo(pasta / "tb_cid.txt",
                         linhasCrLf({linhaCid("A001", "X", '0', 'I'), linhaCid("A001", "Y", '0', 'I')}));
    test::ScriptedDriver d;
    carrega(banco, d, pasta.path());
    EXPECT_EQ(d.statusLinhas, (std::vector<std::string>{"Importando Arquivo de Cid...",
                                                        "Importando Arquivo de Cid......ERRO!",
                                                        "Importando Arquivo de Cid......OK!", "FIM DA IMPORTAÇÃO!"}));
}

TEST(Cid, ArquivoFaltandoOuLimpezaRecusadaDeixamATabela) {
    for (bool falhaLimpeza : {false, true}) {
        SCOPED_TRACE(falhaLimpeza ? "limpeza recusada" : "arquivo faltando");
        test::TestDatabase banco;
        banco.db().execute("insert into tb_cid (co_cid10, ds_cid, st_agravo) values ('A000', 'ANTIGO', '0')");
        banco.db().execute("insert into tb_cid (co_cid10, ds_cid, st_agravo) values ('A001', 'ANTIGO', '0')");
        test::TempDir pasta;
        if (falhaLimpeza) {
            test::escreveArquivo(pasta / "tb_cid.txt", linhasCrLf({linhaCid("B001", "NOVO", '0', 'I')}));
            banco.db().execute("create exception e_cid 'protegido'");
            // The first row's delete goes through, the second's is refused.
            banco.db().execute(
                "create trigger t_cid for tb_cid before delete as begin if (old.co_cid10 = 'A001') then "
                "exception e_cid; end");
        }
        test::ScriptedDriver d;
        auto r = carrega(banco, d, pasta.path());
        ASSERT_EQ(d.mensagens.size(), 1u);
        if (falhaLimpeza) {
            EXPECT_EQ(r.situacao, ResultadoArquivoUnico::Situacao::FalhaNaLimpeza);
            EXPECT_EQ(d.mensagens[0].titulo, "ERRO");
            EXPECT_EQ(d.mensagens[0].texto, "ERRO NA LIMPEZA DA TABELA DE CID - REFAZER O PROCESSO");
        } else {
            EXPECT_EQ(r.situacao, ResultadoArquivoUnico::Situacao::ArquivoNaoEncontrado);
            EXPECT_EQ(d.mensagens[0].titulo, "ATENÇÃO");
            EXPECT_EQ(d.mensagens[0].texto, "ARQUIVO NÃO ENCONTRADO!");
        }
        EXPECT_EQ(banco.conta("TB_CID", "ds_cid = 'ANTIGO'"), 2);
        EXPECT_EQ(banco.conta("TB_CID"), 2);
    }
}

}  // namespace
}  // namespace velt

#include <gtest/gtest.h>

#include "import/ImportaFixture.h"

namespace velt::test {

namespace fs = std::filesystem;

namespace {
const std::time_t kGeracao = DataLocal(2012, 4, 2, 8, 30, 0);
const std::time_t kGeracaoNova = DataLocal(2012, 4, 9, 9, 0, 0);
}  // namespace

TEST_F(ImportaTeste, RemessaCorretaArmazenadaComControlesEstatisticaEProtocolo) {
    auto g = remessaCorreta();
    auto r = importa({zipa(g, kGeracao)});
    ASSERT_TRUE(r.concluida) << ::testing::PrintToString(driver_.textos());
    const auto& k = r.contadores;
    EXPECT_EQ(k.selecionados, 1);
    EXPECT_EQ(k.criticados, 1);
    EXPECT_EQ(k.corretos, 1);
    EXPECT_EQ(k.comErros, 0);
    EXPECT_EQ(k.importados, 1);
    EXPECT_EQ(k.semMovimento, 0);
    EXPECT_EQ(k.arquivosErro, 0);

    const std::string rem = g.remessa();
    EXPECT_EQ(conta("tb_paciente"), 2);  // the ambulatory record finds the first patient again
    EXPECT_EQ(conta("tb_internacao", "nu_remessa = '" + rem + "'"), 3);
    EXPECT_EQ(conta("tb_a_consolidado", "nu_remessa = '" + rem + "'"), 2);
    EXPECT_EQ(valor("select valor from tb_controle where campo = 'SEQ_PAC'"), "2");
    EXPECT_EQ(valor("select valor from tb_controle where campo = 'SEQ_INT'"), "3");
    EXPECT_EQ(valor("select max(nu_seq_id_internacao) from tb_internacao"), "3");
    // Stored values: source trimmed, competência YYYYMM, generation date of the archive entry.
    EXPECT_EQ(valor("select nu_cmpt from tb_internacao where nu_seq_id_internacao = 1"), kCmpt);
    EXPECT_EQ(valor("select co_fonte_remunera from tb_internacao where nu_seq_id_internacao = 1"), "2");
    EXPECT_EQ(valor("select dt_geracao_remessa from tb_internacao where nu_seq_id_internacao = 1"),
              "02/04/2012 08:30:00");
    // The ambulatory attendance links to the patient of the first hospitalisation.
    EXPECT_EQ(
        valor("select count(distinct nu_seq_id_paciente) from tb_internacao where nu_prontuario = 'PR0001'"),
        "1");

    EXPECT_EQ(conta("tb_estagio_remessa",
                    "nu_remessa = '" + rem + "' and nu_status = '1' and dt_competencia = '" + kCmpt + "'"),
              1);
    EXPECT_EQ(conta("tb_estagio_remessa"), 1);
    EXPECT_EQ(valor("select nu_status from tb_estagio_remessa_hosp where co_cnes = '" +
                    std::string(kCnesGerador) + "' and dt_competencia = '" + kCmpt + "'"),
              "1");
    EXPECT_EQ(
        valor("select qt_at_amb || ',' || qt_at_int || ',' || qt_at_con || ',' || qt_tot_at || ',' || "
              "qt_reg_lidos || ',' || qt_reg_inseridos || ',' || dt_competencia from tb_remessa_estatistica "
              "where nu_remessa = '" +
              rem + "'"),
        "1,2,15,18,5,5," + std::string(kCmpt));

    // The protocol: its figures, and its file under Protocolos with the PT name.
    ASSERT_EQ(protocolos_.dados.size(), 1u);
    const auto& d = protocolos_.dados[0];
    EXPECT_EQ(d.cnes, kCnesGerador);
    EXPECT_EQ(d.prestador, kRazaoGerador);
    EXPECT_EQ(d.gestor, "SECRETARIA MUNICIPAL DE SAUDE DE SAO PAULO  -  UF: 35  -  Cod Município: 355030");
    EXPECT_EQ(d.arquivo, rem);
    EXPECT_EQ(d.competencia, kTexto);
    EXPECT_EQ(d.totalImportado, 5);
    EXPECT_EQ(d.registrosLidos, 5);
    EXPECT_EQ(d.ambulatoriais, 1);
    EXPECT_EQ(d.internacoes, 2);
    EXPECT_EQ(d.consolidados, 15);
    EXPECT_EQ(d.atendimentos, 18);
    ASSERT_EQ(r.protocolos.size(), 1u);
    EXPECT_EQ(r.protocolos[0].parent_path(), dirtrab() / "Protocolos");
    EXPECT_EQ(r.protocolos[0].filename().string().substr(0, 27), "PT" + rem + "_04152012_14");
    EXPECT_TRUE(disse("O relatório foi salvo na pasta " + r.protocolos[0].string()));

    // Neither the extracted batch nor its staged rows outlive the pass.
    EXPECT_FALSE(fs::exists(dirRun() / g.nomeArquivo()));
    EXPECT_EQ(driver_.ultimoProgresso, 100);
    EXPECT_EQ(conta("tb_movimento"), 0);
}

// Movement left in the staging table (as a copied older database or a stopped run leaves it) is
// emptied before the run and never stored, even under the batch's own number; the room it leaves
// in the table's pages does not change the order of storage, which is the order of the file.
TEST_F(ImportaTeste, EstagioEsvaziadoEArmazenamentoNaOrdemDoArquivo) {
    GeradorRemessa g(kCnesGerador, kCmpt);
    std::vector<std::string> doArquivo;
    for (int i = 0; i < 40; ++i) {
        char pront[8];
        std::snprintf(pront, sizeof pront, "PR%04d", (i * 17) % 41);  // neither ascending nor descending
        doArquivo.push_back(pront);
        g.registro(InternacaoValida(kCmpt)
                       .com(CampoRemessa::Prontuario, pront)
                       .com(CampoRemessa::CNS, "")
                       .com(CampoRemessa::NomePaciente, std::string("PACIENTE ") + pront));
    }
    {
        Transaction tx(db());
        Statement st = db().prepare(
            "insert into tb_movimento (tp_registro, co_cnes, nu_prontuario, no_paciente, nu_status_mov, "
            "nu_remessa) values ('2', :cnes, 'VELHO', :nome, '1', :rem)");
        for (int i = 0; i < 300; ++i)
            st.bind("cnes", kCnesGerador)
                .bind("nome", std::string(std::size_t(i % 60), 'X'))  // rows of many sizes
                .bind("rem", g.remessa())
                .execute(tx);
        tx.commit();
    }

    auto r = importa({zipa(g, kGeracao)});
    ASSERT_TRUE(r.concluida) << ::testing::PrintToString(driver_.textos());
    EXPECT_EQ(r.contadores.importados, 1);
    EXPECT_EQ(conta("tb_movimento"), 0);
    EXPECT_EQ(conta("tb_internacao", "nu_prontuario = 'VELHO'"), 0);
    auto ordem = [&](const std::string& tabela, const std::string& numero) {
        std::vector<std::string> v;
        Transaction tx(db(), Transaction::Modo::SomenteLeitura);
        Statement st = db().prepare("select nu_prontuario from " + tabela + " order by " + numero);
        Cursor c = st.open(tx);
        while (c.next()) v.push_back(c.text("NU_PRONTUARIO").substr(0, 6));
        return v;
    };
    EXPECT_EQ(ordem("tb_internacao", "nu_seq_id_internacao"), doArquivo);
    EXPECT_EQ(ordem("tb_paciente", "nu_seq_id_paciente"), doArquivo);
}

TEST_F(ImportaTeste, RemessaComErroRecusadaSemNadaArmazenado) {
    GeradorRemessa g(kCnesGerador, kCmpt);
    g.registro(InternacaoValida(kCmpt)).registro(InternacaoValida(kCmpt).com(CampoRemessa::Sexo, "X"));
    auto r = importa({zipa(g, kGeracao)});
    ASSERT_TRUE(r.concluida);
    EXPECT_EQ(r.contadores.comErros, 1);
    EXPECT_EQ(r.contadores.corretos, 0);
    EXPECT_EQ(r.contadores.importados, 0);
    EXPECT_EQ(r.contadores.criticados, 1);
    EXPECT_EQ(r.contadores.arquivosErro, 1);
    EXPECT_EQ(valor("select nu_status from tb_estagio_remessa where nu_remessa = '" + g.remessa() + "'"),
              "2");
    EXPECT_EQ(conta("tb_estagio_remessa_hosp"), 0);
    EXPECT_EQ(conta("tb_paciente"), 0);
    EXPECT_EQ(conta("tb_internacao"), 0);
    EXPECT_EQ(conta("tb_movimento"), 0);
    EXPECT_EQ(conta("tb_remessa_estatistica"), 0);
    EXPECT_TRUE(protocolos_.dados.empty());
    EXPECT_TRUE(fs::exists(dirRun() / ("E" + g.remessa() + ".txt")));
    EXPECT_FALSE(fs::exists(dirRun() / g.nomeArquivo()));
}

TEST_F(ImportaTeste, CnesRecusadoNaoDeixaRastroNoControle) {
    GeradorRemessa g(kCnesSoValido, kCmpt);
    g.registro(InternacaoValida(kCmpt));
    auto r = importa({zipa(g, kGeracao)});
    ASSERT_TRUE(r.concluida);
    EXPECT_EQ(r.contadores.comErros, 1);
    EXPECT_EQ(conta("tb_estagio_remessa"), 0);
    EXPECT_EQ(conta("tb_estagio_remessa_hosp"), 0);
}

TEST_F(ImportaTeste, RemessaSemMovimento) {
    GeradorRemessa g(kCnesGerador, kCmpt);
    g.semMovimento("QUALQUER COISA");
    auto r = importa({zipa(g, kGeracao)});
    ASSERT_TRUE(r.concluida);
    EXPECT_EQ(r.contadores.corretos, 1);
    EXPECT_EQ(r.contadores.semMovimento, 1);
    EXPECT_EQ(r.contadores.importados, 0);
    EXPECT_EQ(valor("select nu_status from tb_estagio_remessa where nu_remessa = '" + g.remessa() + "'"),
              "1");
    EXPECT_EQ(valor("select nu_status from tb_estagio_remessa_hosp"), "2");
    EXPECT_EQ(conta("tb_internacao"), 0);
    EXPECT_EQ(
        valor("select qt_at_amb || qt_at_int || qt_at_con || qt_tot_at || qt_reg_lidos || qt_reg_inseridos "
              "from tb_remessa_estatistica"),
        "000000");
    ASSERT_EQ(protocolos_.dados.size(), 1u);
    EXPECT_EQ(protocolos_.dados[0].registrosLidos, 0);
}

TEST_F(ImportaTeste, RemessaRepetidaRecusadaTambemQuandoAnteriorTeveErros) {
    for (bool comErro : {false, true}) {
        SCOPED_TRACE(comErro ? "anterior com erros" : "anterior importada");
        db().execute("delete from tb_estagio_remessa");
        GeradorRemessa g(kCnesGerador, kCmpt);
        g.registro(comErro ? InternacaoValida(kCmpt).com(CampoRemessa::Sexo, "X") : InternacaoValida(kCmpt));
        auto zip = zipa(g, kGeracao);
        importa({zip});
        driver_.mensagens.clear();
        auto r = importa({zip});
        ASSERT_TRUE(r.concluida);
        EXPECT_EQ(r.contadores.selecionados, 1);
        EXPECT_EQ(r.contadores.criticados, 0);
        EXPECT_EQ(r.contadores.corretos + r.contadores.comErros, 0);
        EXPECT_TRUE(disse("Esta remessa já foi importada ou é anterior a última existente na base '" +
                          g.remessa() + "'"));
        EXPECT_TRUE(driver_.perguntas.empty());
        EXPECT_EQ(conta("tb_estagio_remessa"), 1);
        EXPECT_FALSE(fs::exists(dirRun() / g.nomeArquivo()));
    }
}

TEST_F(ImportaTeste, SubstituicaoNaoSimComErrosESimCorreta) {
    auto primeira = remessaCorreta();
    importa({zipa(primeira, kGeracao)});
    ASSERT_EQ(conta("tb_internacao"), 3);
    const std::string rem = primeira.remessa();

    // A newer generation with one hospitalisation only.
    GeradorRemessa nova(kCnesGerador, kCmpt);
    nova.registro(InternacaoValida(kCmpt));
    auto zipNova = zipa(nova, kGeracaoNova, "_nova");

    // NÃO: skipped without any change.
    std::vector<std::string> perguntadas;
    OpcoesImportacao op;
    op.textoCompetencia = kTexto;
    op.competencia = kCmpt;
    op.arquivos = {zipNova};
    op.protocolo = &protocolos_;
    bool resposta = false;
    op.perguntaSubstituicao = [&](const std::string& arquivo) {
        perguntadas.push_back(arquivo);
        DefineRespostaSubstituicaoRemessa(resposta);
    };
    auto r = ImportaRemessas(db(), driver_, op);
    ASSERT_EQ(perguntadas, std::vector<std::string>{rem + ".VLT"});
    EXPECT_EQ(r.contadores.criticados, 0);
    EXPECT_EQ(conta("tb_estagio_remessa"), 1);
    EXPECT_EQ(conta("tb_internacao"), 3);
    EXPECT_FALSE(fs::exists(dirRun() / nova.nomeArquivo()));

    // SIM with a file that has errors: the earlier import stays, a status "2" row is added.
    GeradorRemessa comErro(kCnesGerador, kCmpt);
    comErro.registro(InternacaoValida(kCmpt).com(CampoRemessa::Sexo, "X"));
    op.arquivos = {zipa(comErro, kGeracaoNova + 60, "_erro")};
    resposta = true;
    r = ImportaRemessas(db(), driver_, op);
    EXPECT_EQ(r.contadores.comErros, 1);
    EXPECT_EQ(conta("tb_estagio_remessa", "nu_status = '1'"), 1);
    EXPECT_EQ(conta("tb_estagio_remessa", "nu_status = '2'"), 1);
    EXPECT_EQ(conta("tb_estagio_remessa_hosp", "nu_status = '1'"), 1);
    EXPECT_EQ(conta("tb_internacao"), 3);

    // SIM with a correct newer file: the earlier row becomes "3" and its records are replaced.
    op.arquivos = {zipa(nova, kGeracaoNova + 120, "_nova2")};
    r = ImportaRemessas(db(), driver_, op);
    EXPECT_EQ(r.contadores.importados, 1);
    EXPECT_EQ(conta("tb_estagio_remessa", "nu_status = '3'"), 1);
    EXPECT_EQ(conta("tb_estagio_remessa", "nu_status = '1'"), 1);
    EXPECT_EQ(conta("tb_estagio_remessa", "nu_status = '2'"), 1);
    EXPECT_EQ(conta("tb_estagio_remessa_hosp"), 1);
    EXPECT_EQ(conta("tb_internacao"), 1);
    EXPECT_EQ(conta("tb_a_consolidado"), 0);
    EXPECT_EQ(conta("tb_paciente"), 2);  // patients stay
    EXPECT_EQ(valor("select nu_seq_id_internacao from tb_internacao"), "4");
    EXPECT_EQ(valor("select valor from tb_controle where campo = 'SEQ_INT'"), "4");
    EXPECT_EQ(valor("select qt_at_int || '/' || qt_reg_inseridos from tb_remessa_estatistica"), "1/1");
    EXPECT_EQ(conta("tb_remessa_estatistica"), 1);
}

// A batch number comes from a file name: a quote in it is a value like any other, also when
// the statistics row of an earlier import is updated.
TEST_F(ImportaTeste, NomeComAspaSubstituidoAtualizaEstatistica) {
    auto g = remessaCorreta();
    const std::string nome = "O'BRIEN" + std::string(kCmpt) + ".VLT";
    auto zipa2 = [&](std::time_t geracao, const std::string& zip) {
        std::filesystem::create_directories(origem());
        ZipaComLibzip(origem() / zip, {{nome, g.conteudo(), {}}}, kSenhaRemessa, geracao);
        return origem() / zip;
    };
    auto r = importa({zipa2(kGeracao, "A.ZIP")});
    ASSERT_EQ(r.contadores.importados, 1) << ::testing::PrintToString(driver_.textos());
    driver_.respostas.push_back(true);  // SIM to the replacement question
    r = importa({zipa2(kGeracaoNova, "B.ZIP")});
    EXPECT_TRUE(r.concluida) << ::testing::PrintToString(driver_.textos());
    EXPECT_EQ(r.contadores.importados, 1);
    EXPECT_EQ(conta("tb_remessa_estatistica"), 1);
    EXPECT_EQ(valor("select qt_reg_inseridos from tb_remessa_estatistica where nu_remessa = 'O''BRIEN" +
                    std::string(kCmpt) + "'"),
              "5");
    EXPECT_EQ(conta("tb_estagio_remessa", "nu_status = '3'"), 1);
    EXPECT_EQ(conta("tb_internacao"), 3);
}

// Batches stored while the one before still commits: the numbers run on across them without
// gaps or repeats, and what the storage of a batch says comes after the protocol of the batch
// before, as when they go one after the other.
TEST_F(ImportaTeste, LotesSeguidosNumeracaoContinuaEMensagensEmOrdem) {
    const auto cnes = CadastraEstabelecimentos(db(), 3);
    std::vector<fs::path> zips;
    std::vector<std::string> remessas;
    for (int k = 0; k < 3; ++k) {
        GeradorRemessa g(cnes[k], kCmpt);
        for (const char* pront : {"PR0001", "PR0002"})
            g.registro(InternacaoValida(kCmpt)
                           .com(CampoRemessa::Prontuario, pront)
                           .com(CampoRemessa::CNS, "")
                           .com(CampoRemessa::NomePaciente, std::string("PACIENTE ") + pront));
        g.registro(ConsolidadoValido(kCmpt));
        if (k == 1) g.registro(ConsolidadoValido(kCmpt));  // an equal count: its storage warns
        zips.push_back(zipa(g, kGeracao));
        remessas.push_back(g.remessa());
    }
    auto r = importa(zips);
    ASSERT_TRUE(r.concluida) << ::testing::PrintToString(driver_.textos());
    EXPECT_EQ(r.contadores.importados, 3);
    for (const char* t : {"tb_internacao", "tb_paciente"}) {
        const std::string n = std::string(t) == "tb_paciente" ? "nu_seq_id_paciente" : "nu_seq_id_internacao";
        EXPECT_EQ(valor("select count(distinct " + n + ") || '/' || min(" + n + ") || '/' || max(" + n +
                        ") from " + t),
                  "6/1/6")
            << t;
    }
    EXPECT_EQ(valor("select valor from tb_controle where campo = 'SEQ_INT'"), "6");
    EXPECT_EQ(valor("select valor from tb_controle where campo = 'SEQ_PAC'"), "6");
    EXPECT_EQ(conta("tb_a_consolidado"), 3);

    const auto textos = driver_.textos();
    auto posicao = [&](auto&& condicao) {
        for (std::size_t i = 0; i < textos.size(); ++i)
            if (condicao(textos[i])) return i;
        ADD_FAILURE() << "mensagem ausente: " << ::testing::PrintToString(textos);
        return textos.size();
    };
    auto protocolo = [&](const std::string& rem) {
        return posicao([&](const std::string& t) {
            return t.rfind("O relatório foi salvo na pasta ", 0) == 0 && t.find("PT" + rem) != std::string::npos;
        });
    };
    const std::size_t aviso =
        posicao([](const std::string& t) { return t.rfind("Aviso tb_a_consolidado", 0) == 0; });
    EXPECT_LT(protocolo(remessas[0]), aviso);
    EXPECT_LT(aviso, protocolo(remessas[1]));
    EXPECT_LT(protocolo(remessas[1]), protocolo(remessas[2]));
}

// A statistics row that cannot be written ends the run after its batch, as the pass before the
// failure left it; the batch after it, already checked and being stored, is left untouched.
// Runs whose statistics row is refused (by a trigger) for one batch.
class ImportaEstatisticaRecusada : public ImportaTeste {
protected:
    // `lotes` batches of one record each, of as many establishments; the statistics row of the
    // batch at `recusado` cannot be written.
    void prepara(int lotes, int recusado) {
        const auto cnes = CadastraEstabelecimentos(db(), lotes);
        for (int k = 0; k < lotes; ++k) {
            GeradorRemessa g(cnes[k], kCmpt);
            g.registro(InternacaoValida(kCmpt));
            zips.push_back(zipa(g, kGeracao));
            remessas.push_back(g.remessa());
        }
        db().execute("create exception VELT_TESTE 'recusado'");
        db().execute("create trigger VELT_TESTE_EST for TB_REMESSA_ESTATISTICA before insert as begin if "
                     "(new.nu_remessa = '" + remessas[recusado] + "') then exception VELT_TESTE; end");
    }
    std::vector<fs::path> zips;
    std::vector<std::string> remessas;
};

TEST_F(ImportaEstatisticaRecusada, EncerraAExecucaoDepoisDoSeuLote) {
    prepara(3, 1);
    auto r = importa(zips);
    EXPECT_FALSE(r.concluida);
    EXPECT_TRUE(disse("Erro de INSERT na TB_REMESSA_ESTATISTICA")) << ::testing::PrintToString(driver_.textos());
    EXPECT_EQ(r.contadores.importados, 2);
    EXPECT_EQ(r.contadores.criticados, 2);
    ASSERT_EQ(protocolos_.dados.size(), 1u);
    EXPECT_EQ(protocolos_.dados[0].arquivo, remessas[0]);
    // The failing batch keeps what it stored; the one after it has nothing.
    EXPECT_EQ(conta("tb_internacao", "nu_remessa = '" + remessas[1] + "'"), 1);
    EXPECT_EQ(conta("tb_internacao", "nu_remessa = '" + remessas[2] + "'"), 0);
    EXPECT_EQ(conta("tb_estagio_remessa", "nu_remessa = '" + remessas[2] + "'"), 0);
    EXPECT_EQ(conta("tb_remessa_estatistica"), 1);
    EXPECT_EQ(valor("select valor from tb_controle where campo = 'SEQ_INT'"), "2");
    EXPECT_FALSE(fs::exists(dirRun() / (remessas[1] + ".VLT")));
    EXPECT_TRUE(fs::exists(dirRun() / (remessas[2] + ".VLT")));
}

// The last batch's: everything before it is done and counted, the run is not complete, and the
// failure is the last thing said.
TEST_F(ImportaEstatisticaRecusada, NoUltimoLoteEhOUltimoDito) {
    prepara(2, 1);
    auto r = importa(zips);
    EXPECT_FALSE(r.concluida);
    ASSERT_FALSE(driver_.textos().empty());
    EXPECT_EQ(driver_.textos().back(), "Erro de INSERT na TB_REMESSA_ESTATISTICA")
        << ::testing::PrintToString(driver_.textos());
    EXPECT_EQ(r.contadores.importados, 2);
    EXPECT_EQ(r.contadores.criticados, 2);
    ASSERT_EQ(protocolos_.dados.size(), 1u);
    EXPECT_EQ(conta("tb_internacao"), 2);
    EXPECT_EQ(conta("tb_remessa_estatistica"), 1);
    EXPECT_EQ(driver_.ultimoProgresso, 100);
    EXPECT_FALSE(fs::exists(dirRun() / (remessas[1] + ".VLT")));
}

// Two files of one establishment under different names in one run: the second is stored only
// after the first has committed, and finds the patient instead of adding the patient again.
TEST_F(ImportaTeste, MesmoEstabelecimentoEmDoisArquivosEncontraOPaciente) {
    GeradorRemessa g(kCnesGerador, kCmpt);
    g.registro(InternacaoValida(kCmpt));
    GeradorRemessa h(kCnesGerador, kCmpt);
    h.registro(InternacaoValida(kCmpt)
                   .com(CampoRemessa::DataInternacao, "20032012")
                   .com(CampoRemessa::DataSaida, "22032012"));
    std::filesystem::create_directories(origem());
    const auto zip = origem() / "DOIS.ZIP";
    ZipaComLibzip(zip,
                  {{"A000001" + std::string(kCmpt) + ".VLT", g.conteudo(), {}},
                   {"B000002" + std::string(kCmpt) + ".VLT", h.conteudo(), {}}},
                  kSenhaRemessa, kGeracao);
    auto r = importa({zip});
    ASSERT_TRUE(r.concluida) << ::testing::PrintToString(driver_.textos());
    EXPECT_EQ(r.contadores.importados, 2);
    EXPECT_EQ(conta("tb_paciente"), 1);
    EXPECT_EQ(conta("tb_internacao"), 2);
    EXPECT_EQ(valor("select count(distinct nu_seq_id_paciente) from tb_internacao"), "1");
}

TEST_F(ImportaTeste, ArquivosComProblemasNaoParamAExecucao) {
    fs::create_directories(origem());
    auto correta = remessaCorreta();
    auto boa = zipa(correta, kGeracao);

    GeradorRemessa outra(kCnesSemUti, kCmpt);
    outra.semMovimento();
    auto senhaErrada = origem() / "senha.ZIP";
    ZipaComLibzip(senhaErrada, {{outra.nomeArquivo(), outra.conteudo(), {}}}, "SENHAERRADA1", kGeracao);
    auto corrompido = origem() / "corrompido.ZIP";
    escreveArquivo(corrompido, "isto nao e um zip " + std::string(300, 'x'));

    struct Caso {
        fs::path zip;
        std::string mensagem;
    } casos[] = {{senhaErrada, "Erro na descompactação - password"},
                 {corrompido, "Arquivo de zip invalido"},
                 {origem() / "naoexiste.ZIP", "Erro na Descompactação"}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.mensagem);
        driver_.mensagens.clear();
        auto r = importa({c.zip, boa});
        ASSERT_TRUE(r.concluida);
        EXPECT_TRUE(disse(c.mensagem)) << ::testing::PrintToString(driver_.textos());
        EXPECT_FALSE(fs::exists(dirRun() / outra.nomeArquivo()));
        // A bad archive stops nothing: the good one is taken (and after the first case refused as already
        // imported).
        EXPECT_EQ(r.contadores.selecionados, 1);
    }
    EXPECT_EQ(conta("tb_estagio_remessa"), 1);
}

TEST_F(ImportaTeste, EntradaComPastaFicaNoDiretorioDaExecucao) {
    auto g = remessaCorreta();
    fs::create_directories(origem());
    auto zip = origem() / "pastas.ZIP";
    GeradorRemessa outra(kCnesSemUti, kCmpt);
    outra.semMovimento();
    ZipaComLibzip(
        zip,
        {{"../" + g.nomeArquivo(), g.conteudo(), {}}, {"a/b\\" + outra.nomeArquivo(), outra.conteudo(), {}}},
        kSenhaRemessa, kGeracao);
    auto r = importa({zip});
    ASSERT_TRUE(r.concluida);
    EXPECT_EQ(r.contadores.selecionados, 2);
    EXPECT_EQ(r.contadores.importados, 1);
    EXPECT_EQ(r.contadores.semMovimento, 1);
    EXPECT_FALSE(fs::exists(dirRun().parent_path() / g.nomeArquivo()));
    EXPECT_FALSE(fs::exists(dirRun() / "a"));
}

TEST_F(ImportaTeste, ArquivoDoInfoZipEDuasCopiasDaMesmaRemessa) {
    auto g = remessaCorreta();
    fs::create_directories(origem() / "a");
    fs::create_directories(origem() / "b");
    auto vlt = g.escreve(origem() / "a");
    fs::last_write_time(vlt, fs::file_time_type::clock::now() - std::chrono::hours(24));
    ASSERT_TRUE(ZipaComInfoZip(origem() / "a" / (g.remessa() + ".ZIP"), {vlt}, kSenhaRemessa));
    ASSERT_TRUE(ZipaComInfoZip(origem() / "b" / (g.remessa() + ".ZIP"), {vlt}, kSenhaRemessa));
    auto r = importa({origem() / "a" / (g.remessa() + ".ZIP"), origem() / "b" / (g.remessa() + ".ZIP")});
    ASSERT_TRUE(r.concluida) << ::testing::PrintToString(driver_.textos());
    EXPECT_EQ(r.contadores.selecionados, 1);  // the second overwrote the first
    EXPECT_EQ(r.contadores.importados, 1);
    EXPECT_EQ(conta("tb_internacao"), 3);
}

TEST_F(ImportaTeste, OutraCompetenciaFicaIntocadaEProgressoChegaA100) {
    auto g = remessaCorreta();
    GeradorRemessa fev(kCnesSemUti, "201202");
    fev.semMovimento();
    fs::create_directories(origem());
    auto zip = origem() / "dois.ZIP";
    ZipaComLibzip(zip, {{g.nomeArquivo(), g.conteudo(), {}}, {fev.nomeArquivo(), fev.conteudo(), {}}},
                  kSenhaRemessa, kGeracao);
    auto r = importa({zip});
    EXPECT_EQ(r.contadores.selecionados, 1);
    EXPECT_TRUE(fs::exists(dirRun() / fev.nomeArquivo()));
    EXPECT_EQ(driver_.ultimoProgresso, 100);
}

TEST_F(ImportaTeste, ChecagensAntesDeComecar) {
    struct Caso {
        std::string texto;
        std::vector<fs::path> arquivos;
        std::string mensagem;
        ResultadoImportacao::Recusa recusa;
    } casos[] = {
        {"13/2012",
         {"x.ZIP"},
         "Competência Inválida.\nInforme uma competência válida.",
         ResultadoImportacao::Recusa::Competencia},
        {"  /    ",
         {"x.ZIP"},
         "Competência Inválida.\nInforme uma competência válida.",
         ResultadoImportacao::Recusa::Competencia},
        {"03/2012", {}, "Nenhum arquivo foi selecionado", ResultadoImportacao::Recusa::SemArquivos},
    };
    for (const auto& c : casos) {
        driver_.mensagens.clear();
        OpcoesImportacao op;
        op.textoCompetencia = c.texto;
        op.arquivos = c.arquivos;
        auto r = ImportaRemessas(db(), driver_, op);
        EXPECT_FALSE(r.executada);
        EXPECT_EQ(r.recusa, c.recusa);
        EXPECT_EQ(driver_.textos(), std::vector<std::string>{c.mensagem});
    }
    EXPECT_FALSE(fs::exists(dirtrab() / "VELT02"));

    // A work directory that cannot be made: a file stands where the folder should be.
    escreveArquivo(dirtrab() / "VELT02", "");
    driver_.mensagens.clear();
    auto r = importa({"x.ZIP"});
    EXPECT_EQ(r.recusa, ResultadoImportacao::Recusa::Diretorio);
    EXPECT_EQ(driver_.textos(), std::vector<std::string>{"Erro ao criar o diretorio de trabalho " +
                                                         (dirtrab() / "VELT02").string()});
}

TEST(ImportaLocalizar, CompetenciaDoLocalizar) {
    defineRelogio([] { return DataHora{2012, 4, 15, 10, 0, 0, 0}; });
    struct Caso {
        const char* texto;
        const char* esperado;
    } casos[] = {{"03/2012", "201203"}, {"04/2012", "201204"}, {"05/2012", ""}, {"  /    ", ""},
                 {"3 /2012", ""},       {"00/2012", ""},       {"01/0000", ""}, {"12/2011", "201112"}};
    for (const auto& c : casos) EXPECT_EQ(CompetenciaLocalizar(c.texto), c.esperado) << c.texto;
    defineRelogio({});
}

TEST(ImportaResumo, ContagensAlinhadasEmQuatro) {
    ContadoresImportacao c;
    c.selecionados = 12;
    c.criticados = 1234;
    c.arquivosErro = 3;
    auto l = LinhasResumo(c);
    ASSERT_EQ(l.size(), 9u);
    EXPECT_EQ(l[0], "Importação concluída...");
    EXPECT_EQ(l[1], "  12 arquivo(s) selecionado(s)");
    EXPECT_EQ(l[2], "1234 arquivo(s) criticado(s)");
    EXPECT_EQ(l[6], "   0 arquivo(s) sem movimento");
    EXPECT_EQ(l[7], "   3 arquivo(s) de erros (*.err) gerado(s)");
    EXPECT_EQ(l[8], "   0 arquivo(s) de agravo (*.agr) gerado(s)");
}

}  // namespace velt::test

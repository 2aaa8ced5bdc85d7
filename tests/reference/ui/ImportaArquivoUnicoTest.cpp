#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "fixtures/GeradorReferencia.h"
#include "reference/ui/DialogosReferencia.h"
#include "reference/ui/ImportaArquivoUnicoScreen.h"
#include "support/ui/CaixasCapturadas.h"
#include "TelaReferenciaApoio.h"

using namespace velt;
using test::clica;
using test::filho;

namespace {

// The three screens of one file each, as their menu entries open them.
struct Membro {
    const char* entrada;
    const char* titulo;
    const char* rotulo;
    const char* arquivo;
    std::string conteudo;
    const char* tabela;
    long long linhas;
    const char* status;
    bool importarAposFalta;
};

std::vector<Membro> membros() {
    std::vector<std::string> ops;
    for (const auto& o : test::geraOperadoras(3)) ops.push_back(test::linhaOperadora(o));
    return {
        {"mnuImpOperadoras", "Importação Cadastro de Operadoras",
         "Diretório (Pasta onde se encontra o arquivo Operadora.txt)", "operadoras.txt", test::linhasCrLf(ops),
         "TB_OPERADORA", 3, "Importando Arquivo de Operadoras", true},
        {"mnuImpCid", "Importa CID", "Diretório (Pasta dos arquivos MERIDAL)", "TB_CID.txt",
         test::linhasCrLf({test::linhaCid("A000", "COLERA", '1', 'I'), test::linhaCid("A001", "OUTRA", '0', 'M')}),
         "TB_CID", 2, "Importando Arquivo de Cid", true},
        {"mnuImpAlta", "Importação Motivo da Alta", "Diretório (Pasta onde se encontra o arquivo de Alta.txt)",
         "alta.txt", test::linhasCrLf({test::linhaAlta("11", "ALTA CURADO", "999912")}), "TB_TIPO_ALTA", 1,
         "Importando Arquivo de Alta", false},
    };
}

QWidget* abre(test::Ambiente& amb, const char* entrada) {
    amb.janela->acao(entrada)->trigger();
    auto telas = amb.janela->findChildren<ui::TelaArquivoUnico*>();
    for (auto* t : telas)
        if (t->isVisible()) return t;
    return nullptr;
}

}  // namespace

class ImportaArquivoUnicoTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { ui::defineEscolhePasta({}); }
    void cadaTelaImportaSeuArquivo();
    void arquivoFaltandoReligaOsBotoesDeCadaTela();
    void cidRepetidoMostraSuaCaixaESegue();
};

void ImportaArquivoUnicoTest::cadaTelaImportaSeuArquivo() {
    for (const auto& m : membros()) {
        test::Ambiente amb;
        test::TempDir pasta;
        test::escreveArquivo(pasta / m.arquivo, m.conteudo);
        ui::defineEscolhePasta([&](QWidget*, const QString&) { return QString::fromStdString(pasta.path().string()); });
        test::CaixasCapturadas caixas;
        QVERIFY2(amb.janela->acao(m.entrada)->isEnabled(), m.entrada);
        QWidget* tela = abre(amb, m.entrada);
        QVERIFY2(tela, m.entrada);
        QCOMPARE(tela->windowTitle(), QString::fromUtf8(m.titulo));
        QCOMPARE(filho<QLabel*>(tela, "Label6")->text(), QString::fromUtf8(m.rotulo));
        clica(tela, "SpeedButton3");
        QCOMPARE(filho<QLineEdit*>(tela, "ed_Arquivo")->text(), QString::fromStdString(pasta.path().string()));
        clica(tela, "BtnImportar");
        QVERIFY2(caixas.caixas.empty(), m.entrada);
        QCOMPARE(filho<QPlainTextEdit*>(tela, "Msg_memo")->toPlainText(),
                 QString::fromUtf8(m.status) + QString::fromUtf8("......OK!\n\nFIM DA IMPORTAÇÃO!"));
        QVERIFY(!filho<QPushButton*>(tela, "BtnImportar")->isEnabled());
        QVERIFY(filho<QPushButton*>(tela, "BtnFechar")->isEnabled());
        QCOMPARE(amb.banco.conta(m.tabela), m.linhas);
        tela->close();
    }
}

void ImportaArquivoUnicoTest::arquivoFaltandoReligaOsBotoesDeCadaTela() {
    for (const auto& m : membros()) {
        test::Ambiente amb;
        test::TempDir pasta;
        ui::defineEscolhePasta([&](QWidget*, const QString&) { return QString::fromStdString(pasta.path().string()); });
        test::CaixasCapturadas caixas;
        QWidget* tela = abre(amb, m.entrada);
        clica(tela, "SpeedButton3");
        clica(tela, "BtnImportar");
        QCOMPARE(caixas.caixas.size(), std::size_t(1));
        QCOMPARE(caixas.caixas[0].titulo, QString::fromUtf8("ATENÇÃO"));
        QCOMPARE(caixas.caixas[0].texto, QString::fromUtf8("ARQUIVO NÃO ENCONTRADO!"));
        QCOMPARE(filho<QPushButton*>(tela, "BtnImportar")->isEnabled(), m.importarAposFalta);
        QVERIFY(filho<QPushButton*>(tela, "BtnFechar")->isEnabled());
        tela->close();
    }
}

void ImportaArquivoUnicoTest::cidRepetidoMostraSuaCaixaESegue() {
    test::Ambiente amb;
    test::TempDir pasta;
    test::escreveArquivo(pasta / "tb_cid.txt",
                         test::linhasCrLf({test::linhaCid("A000", "X", '0', 'I'), test::linhaCid("A000", "Y", '0', 'I'),
                                           test::linhaCid("A001", "Z", '0', 'I')}));
    ui::defineEscolhePasta([&](QWidget*, const QString&) { return QString::fromStdString(pasta.path().string()); });
    test::CaixasCapturadas caixas;
    QWidget* tela = abre(amb, "mnuImpCid");
    clica(tela, "SpeedButton3");
    clica(tela, "BtnImportar");
    QCOMPARE(caixas.caixas.size(), std::size_t(1));
    QCOMPARE(caixas.caixas[0].titulo, QString("ERRO"));
    QCOMPARE(caixas.caixas[0].texto, QString::fromUtf8("ERRO NA IMPORTAÇÃO - REFAZER O PROCESSO"));
    QCOMPARE(filho<QPlainTextEdit*>(tela, "Msg_memo")->toPlainText(),
             QString::fromUtf8("Importando Arquivo de Cid......OK!\n\n\nFIM DA IMPORTAÇÃO!"));
    QCOMPARE(amb.banco.conta("TB_CID"), 2LL);
    QVERIFY(filho<QPushButton*>(tela, "BtnFechar")->isEnabled());
}

QTEST_MAIN(ImportaArquivoUnicoTest)
#include "ImportaArquivoUnicoTest.moc"

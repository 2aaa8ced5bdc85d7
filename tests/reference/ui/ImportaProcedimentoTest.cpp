#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include "fixtures/GeradorReferencia.h"
#include "reference/ui/DialogosReferencia.h"
#include "reference/ui/ImportaProcedimentoScreen.h"
#include "support/ui/CaixasCapturadas.h"
#include "TelaReferenciaApoio.h"

using namespace velt;
using test::clica;
using test::filho;

namespace {

void escrevePasta(const std::filesystem::path& pasta) {
    using test::linhaNaoSus;
    using test::linhaProcedimento;
    test::escreveArquivo(pasta / "rl_procedimento_cid.txt", test::linhasCrLf({"0301010072A000", "0301010072B001"}));
    test::escreveArquivo(pasta / "rl_procedimento_modalidade.txt", test::linhasCrLf({"030101007201"}));
    test::escreveArquivo(pasta / "rl_procedimento_registro.txt", test::linhasCrLf({"030101007201"}));
    test::escreveArquivo(pasta / "tb_procedimento_nsus.txt", test::linhasCrLf({linhaNaoSus("0501010010", "x")}));
    test::escreveArquivo(pasta / "tb_procedimento.txt",
                         test::linhasCrLf({linhaProcedimento("0301010072", "CONSULTA", 'M', "0000", "0130")}));
}

const QString kMemoOk = QString::fromUtf8(
    "Importando Cid......OK!\n\nImportando Modalidade......OK!\n\nImportando Registro......OK!\n\n"
    "Importando Procedimento Não SUS......OK!\n\nImportando Procedimento......OK!\n\nFIM DA IMPORTAÇÃO!");

}  // namespace

class ImportaProcedimentoTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { ui::defineEscolhePasta({}); }
    void abrePeloMenuComSeusControles();
    void importaMostraOMemoEDeixaSoSair();
    void pastaLembradaAoReabrir();
    void arquivosFaltandoAvisam();
    void falhaNaLimpezaDeixaOsDoisBotoesDesligados();
};

void ImportaProcedimentoTest::abrePeloMenuComSeusControles() {
    test::Ambiente amb;
    QVERIFY(amb.janela->acao("mnuImpProcedimentos")->isEnabled());
    auto* tela = amb.abre<ui::TFoImportaProcedimento>("mnuImpProcedimentos");
    QVERIFY(tela);
    QVERIFY(tela->isVisible());
    QVERIFY(!tela->isModal());
    QCOMPARE(tela->windowTitle(), QString::fromUtf8("Importação Procedimentos"));
    QCOMPARE(filho<QLabel*>(tela, "Label6")->text(), QString::fromUtf8("Diretório (Pasta dos arquivos MERIDAL)"));
    QCOMPARE(filho<QPushButton*>(tela, "BtnImportar")->text(), QString("Importar"));
    QCOMPARE(filho<QPushButton*>(tela, "BtnFechar")->text(), QString("Sair"));
    QVERIFY(filho<QLineEdit*>(tela, "ed_Arquivo")->text().isEmpty());
    filho<QPlainTextEdit*>(tela, "Msg_memo");
    filho<QProgressBar*>(tela, "Progresso");
    // A second choice of the entry opens a fresh window.
    auto* outra = amb.abre<ui::TFoImportaProcedimento>("mnuImpProcedimentos");
    QVERIFY(outra && outra != tela);
    QPointer<QWidget> fechada(tela);
    clica(tela, "BtnFechar");
    QTRY_VERIFY(fechada.isNull());  // closed and released
}

void ImportaProcedimentoTest::importaMostraOMemoEDeixaSoSair() {
    test::Ambiente amb;
    test::TempDir pasta;
    escrevePasta(pasta.path());
    QString tituloPedido;
    ui::defineEscolhePasta([&](QWidget*, const QString& titulo) {
        tituloPedido = titulo;
        return QString::fromStdString(pasta.path().string());
    });
    test::CaixasCapturadas caixas;
    auto* tela = amb.abre<ui::TFoImportaProcedimento>("mnuImpProcedimentos");
    clica(tela, "SpeedButton3");
    QCOMPARE(tituloPedido, QString("Pasta para ler os Arquivos"));
    QCOMPARE(filho<QLineEdit*>(tela, "ed_Arquivo")->text(), QString::fromStdString(pasta.path().string()));
    clica(tela, "BtnImportar");
    QVERIFY(caixas.caixas.empty());
    QCOMPARE(filho<QPlainTextEdit*>(tela, "Msg_memo")->toPlainText(), kMemoOk);
    QVERIFY(!filho<QPushButton*>(tela, "BtnImportar")->isEnabled());
    QVERIFY(filho<QPushButton*>(tela, "BtnFechar")->isEnabled());
    QCOMPARE(filho<QProgressBar*>(tela, "Progresso")->value(), 0);
    QCOMPARE(amb.banco.conta("TB_RL_CID"), 1LL);
    QCOMPARE(amb.banco.conta("TB_PROCEDIMENTO"), 2LL);
}

void ImportaProcedimentoTest::pastaLembradaAoReabrir() {
    test::Ambiente amb;
    test::TempDir pasta;
    escrevePasta(pasta.path());
    ui::defineEscolhePasta([&](QWidget*, const QString&) { return QString::fromStdString(pasta.path().string()); });
    test::CaixasCapturadas caixas;
    auto* tela = amb.abre<ui::TFoImportaProcedimento>("mnuImpProcedimentos");
    clica(tela, "SpeedButton3");
    tela->close();
    ui::defineEscolhePasta({});
    // The new window shows no folder but still reads the one chosen before.
    auto* nova = amb.abre<ui::TFoImportaProcedimento>("mnuImpProcedimentos");
    QVERIFY(filho<QLineEdit*>(nova, "ed_Arquivo")->text().isEmpty());
    clica(nova, "BtnImportar");
    QVERIFY(caixas.caixas.empty());
    QCOMPARE(filho<QPlainTextEdit*>(nova, "Msg_memo")->toPlainText(), kMemoOk);
}

void ImportaProcedimentoTest::arquivosFaltandoAvisam() {
    test::Ambiente amb;
    amb.banco.db().execute("insert into tb_procedimento values ('0301010072','ANTIGO','M','0001','0002')");
    test::TempDir pasta;
    escrevePasta(pasta.path());
    std::filesystem::remove(pasta / "tb_procedimento_nsus.txt");
    ui::defineEscolhePasta([&](QWidget*, const QString&) { return QString::fromStdString(pasta.path().string()); });
    test::CaixasCapturadas caixas;
    auto* tela = amb.abre<ui::TFoImportaProcedimento>("mnuImpProcedimentos");
    clica(tela, "SpeedButton3");
    clica(tela, "BtnImportar");
    QCOMPARE(caixas.caixas.size(), std::size_t(1));
    QCOMPARE(caixas.caixas[0].titulo, QString::fromUtf8("ATENÇÃO"));
    QCOMPARE(caixas.caixas[0].texto, QString::fromUtf8("ARQUIVOS NECESSÁRIO PARA A IMPORTAÇÃO NÃO ENCONTRADOS!"));
    QVERIFY(!filho<QPushButton*>(tela, "BtnImportar")->isEnabled());
    QVERIFY(filho<QPushButton*>(tela, "BtnFechar")->isEnabled());
    QVERIFY(filho<QPlainTextEdit*>(tela, "Msg_memo")->toPlainText().isEmpty());
    QCOMPARE(amb.banco.conta("TB_PROCEDIMENTO"), 1LL);

    // Cancelling the folder browser empties the source folder: the files are looked for at the root.
    ui::defineEscolhePasta([](QWidget*, const QString&) { return QString(); });
    auto* outra = amb.abre<ui::TFoImportaProcedimento>("mnuImpProcedimentos");
    clica(outra, "SpeedButton3");
    QVERIFY(ui::TFoImportaProcedimento::pastaLembrada().isEmpty());
    clica(outra, "BtnImportar");
    QCOMPARE(caixas.caixas.size(), std::size_t(2));
    QCOMPARE(caixas.caixas[1].texto, QString::fromUtf8("ARQUIVOS NECESSÁRIO PARA A IMPORTAÇÃO NÃO ENCONTRADOS!"));
}

void ImportaProcedimentoTest::falhaNaLimpezaDeixaOsDoisBotoesDesligados() {
    test::Ambiente amb;
    amb.banco.db().execute("create exception e_sem_apagar 'protegido'");
    amb.banco.db().execute("insert into tb_rl_cid values ('0301010072','A000')");
    amb.banco.db().execute("create trigger t_sem_apagar for tb_rl_cid before delete as begin exception e_sem_apagar; end");
    test::TempDir pasta;
    escrevePasta(pasta.path());
    ui::defineEscolhePasta([&](QWidget*, const QString&) { return QString::fromStdString(pasta.path().string()); });
    test::CaixasCapturadas caixas;
    auto* tela = amb.abre<ui::TFoImportaProcedimento>("mnuImpProcedimentos");
    clica(tela, "SpeedButton3");
    clica(tela, "BtnImportar");
    QCOMPARE(caixas.caixas.size(), std::size_t(1));
    QCOMPARE(caixas.caixas[0].titulo, QString("ERRO"));
    QCOMPARE(caixas.caixas[0].texto, QString("ERRO NA LIMPEZA DA TABELA DE PROCEDIMENTOS - REFAZER O PROCESSO"));
    QVERIFY(!filho<QPushButton*>(tela, "BtnImportar")->isEnabled());
    QVERIFY(!filho<QPushButton*>(tela, "BtnFechar")->isEnabled());
    QCOMPARE(amb.banco.conta("TB_RL_CID"), 1LL);
}

QTEST_MAIN(ImportaProcedimentoTest)
#include "ImportaProcedimentoTest.moc"

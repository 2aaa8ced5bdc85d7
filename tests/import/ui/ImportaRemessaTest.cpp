#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintPreviewDialog>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/common/Contexto.h"
#include "data/DataModule.h"
#include "fixtures/GeradorRemessa.h"
#include "fixtures/ReferenciaMinima.h"
#include "import/Extracao.h"
#include "import/ImportaRemessa.h"
#include "import/ui/DlgRemessa.h"
#include "import/ui/ImportaRemessaScreen.h"
#include "import/ui/OKBottomDlg.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"
#include "support/ui/CaixasCapturadas.h"
#include "support/ui/Componentes.h"

using namespace velt;
using velt::ui::TForm2;
namespace fs = std::filesystem;

using velt::test::filho;

namespace {


void digita(QWidget* w, const QString& texto) {
    for (QChar c : texto) QTest::keyClicks(w, QString(c));
}

// Answers the modal windows a run opens (replacement question, protocol preview) as they appear.
class Atendente : public QObject {
public:
    std::function<void(QWidget*)> responde;
    QStringList vistos;
    Atendente() {
        timer_.setInterval(50);
        connect(&timer_, &QTimer::timeout, this, [this] {
            QWidget* m = QApplication::activeModalWidget();
            if (!m || m == ultimo_) return;
            ultimo_ = m;
            vistos << m->metaObject()->className();
            if (responde) responde(m);
            ultimo_ = nullptr;
        });
        timer_.start();
    }

private:
    QTimer timer_;
    QPointer<QWidget> ultimo_;
};

}  // namespace

class ImportaRemessaTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestDatabase> banco_;
    std::unique_ptr<test::TempDir> trab_;
    std::unique_ptr<TDM> dm_;
    QWidget janela_;

    fs::path dirtrab() const { return trab_->path() / "trab"; }

    fs::path zipCorreto(std::time_t geracao, const std::string& sufixo = "") {
        test::GeradorRemessa g(test::kCnesGerador, "201203");
        g.registro(test::InternacaoValida("201203")).registro(test::ConsolidadoValido("201203"));
        fs::path zip = trab_->path() / ("2000016201203" + sufixo + ".ZIP");
        test::ZipaComLibzip(zip, {{g.nomeArquivo(), g.conteudo(), {}}}, kSenhaRemessa, geracao);
        return zip;
    }

    TForm2* abre() {
        auto* t = new TForm2(&janela_);
        t->show();
        return t;
    }

private slots:
    void initTestCase() {
        defineRelogio([] { return DataHora{2012, 4, 15, 14, 30, 5, 0}; });
        banco_ = std::make_unique<test::TestDatabase>();
        trab_ = std::make_unique<test::TempDir>();
        test::PreparaBancoImportacao(banco_->db(), dirtrab());
        banco_->escreveVeltIni(trab_->path());
        banco_->db().detach();
        dm_ = std::make_unique<TDM>(trab_->path());
        test::ScriptedDriver inicio;
        QVERIFY(dm_->DataModuleCreate(inicio));
        ui::defineDataModule(dm_.get());
        janela_.show();
    }
    void cleanupTestCase() {
        ui::defineDataModule(nullptr);
        ui::defineSeletorArquivos({});
        defineRelogio({});
    }

    void controlesEJanelaPrincipal() {
        auto* t = abre();
        QCOMPARE(t->windowTitle(), QString(" Importa Remessa"));
        QCOMPARE(filho<QLabel*>(t, "Label1")->text(), QString::fromUtf8("Competência:"));
        QCOMPARE(filho<QPushButton*>(t, "SpeedButton1")->text(), QString("Localizar"));
        QCOMPARE(filho<QPushButton*>(t, "SpeedButton1")->toolTip(),
                 QString::fromUtf8("Localizar arquivo(s) de VEL (*.ZIP) para integração"));
        QCOMPARE(filho<QPushButton*>(t, "BitBtn1")->text(), QString("Executar"));
        QCOMPARE(filho<QPushButton*>(t, "BitBtn2")->text(), QString("Sair"));
        QVERIFY(filho<QListWidget*>(t, "ListBox2")->count() == 0);
        QVERIFY(!filho<QProgressBar*>(t, "Gauge1")->isVisible());
        QVERIFY(!filho<QListWidget*>(t, "FileListBox1")->isVisible());
        filho<QLabel*>(t, "StatusBar1");
        QCOMPARE(filho<QLineEdit*>(t, "MaskEdit1")->displayText(), QString("__/____"));
        QVERIFY(!janela_.isEnabled());
        QPointer<TForm2> p(t);
        QTest::mouseClick(filho<QPushButton*>(t, "BitBtn2"), Qt::LeftButton);
        QTRY_VERIFY(!p);
        QVERIFY(janela_.isEnabled());
    }

    void localizarChecaCompetenciaEEscolheArquivos() {
        test::CaixasCapturadas caixas;
        QString titulo, filtro;
        QStringList escolha = {"/x/a201203.ZIP", "/x/b201203.ZIP"};
        ui::defineSeletorArquivos([&](QWidget*, const QString& t, const QString& f) {
            titulo = t;
            filtro = f;
            return escolha;
        });
        auto* t = abre();
        auto* edit = filho<QLineEdit*>(t, "MaskEdit1");
        for (const char* ruim : {"05/2012", "00/2012", "03/0000", "3/2012"}) {
            edit->clear();
            digita(edit, ruim);
            caixas.caixas.clear();
            QTest::mouseClick(filho<QPushButton*>(t, "SpeedButton1"), Qt::LeftButton);
            QCOMPARE(caixas.textos(), QStringList{QString::fromUtf8("Competência Inválida")});
            QVERIFY(titulo.isEmpty());
        }
        edit->clear();
        digita(edit, "03/2012");
        QTest::mouseClick(filho<QPushButton*>(t, "SpeedButton1"), Qt::LeftButton);
        QCOMPARE(titulo, QString::fromUtf8("Localização de Arquivo(s) de VELT compactados"));
        QCOMPARE(filtro, QString("Arquivos VELT |*201203.ZIP"));
        QCOMPARE(filho<QListWidget*>(t, "ListBox2")->count(), 2);
        escolha = {};  // cancelled: the list stays
        QTest::mouseClick(filho<QPushButton*>(t, "SpeedButton1"), Qt::LeftButton);
        QCOMPARE(filho<QListWidget*>(t, "ListBox2")->count(), 2);
        escolha = {"/x/c201203.ZIP"};  // confirmed: the list is replaced
        QTest::mouseClick(filho<QPushButton*>(t, "SpeedButton1"), Qt::LeftButton);
        QCOMPARE(filho<QListWidget*>(t, "ListBox2")->count(), 1);
        t->close();
    }

    void executarSemArquivos() {
        test::CaixasCapturadas caixas;
        auto* t = abre();
        digita(filho<QLineEdit*>(t, "MaskEdit1"), "03/2012");
        QTest::mouseClick(filho<QPushButton*>(t, "BitBtn1"), Qt::LeftButton);
        QCOMPARE(caixas.textos(), QStringList{"Nenhum arquivo foi selecionado"});
        QVERIFY(filho<QListWidget*>(t, "ListBox2")->hasFocus() || !t->isActiveWindow());
        t->close();
    }

    void execucaoCompletaComProtocoloEResumo() {
        test::CaixasCapturadas caixas;
        const fs::path zip = zipCorreto(test::DataLocal(2012, 4, 2, 8, 30, 0));
        ui::defineSeletorArquivos([&](QWidget*, const QString&, const QString&) {
            return QStringList{QString::fromStdString(zip.string())};
        });
        Atendente atendente;
        atendente.responde = [](QWidget* m) {
            if (auto* p = qobject_cast<QPrintPreviewDialog*>(m)) p->reject();
        };
        auto* t = abre();
        digita(filho<QLineEdit*>(t, "MaskEdit1"), "03/2012");
        QTest::mouseClick(filho<QPushButton*>(t, "SpeedButton1"), Qt::LeftButton);
        QTest::mouseClick(filho<QPushButton*>(t, "BitBtn1"), Qt::LeftButton);

        QVERIFY(atendente.vistos.contains("QPrintPreviewDialog"));
        const fs::path pdf = dirtrab() / "Protocolos" / "PT2000016201203_04152012_143005.pdf";
        QVERIFY(fs::exists(pdf));
        QVERIFY(fs::file_size(pdf) > 1000);
        QVERIFY(caixas.textos().contains(QString::fromUtf8("O relatório foi salvo na pasta ") +
                                         QString::fromStdString(pdf.string())));
        QCOMPARE(banco_->conta("tb_internacao"), 1LL);

        ui::TOKBottomDlg* resumo = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<ui::TOKBottomDlg*>(w); d && d->isVisible()) resumo = d;
        QVERIFY(resumo && resumo->isVisible());
        QCOMPARE(resumo->windowTitle(), QString("VELT02"));
        QCOMPARE(filho<QLabel*>(resumo, "Label1")->text(), QString::fromUtf8("Importação concluída..."));
        QCOMPARE(filho<QLabel*>(resumo, "Label2")->text(), QString("   1 arquivo(s) selecionado(s)"));
        QCOMPARE(filho<QLabel*>(resumo, "Label6")->text(), QString("   1 arquivo(s) importado(s)"));
        QCOMPARE(filho<QLabel*>(resumo, "Label8")->text(),
                 QString("   0 arquivo(s) de erros (*.err) gerado(s)"));
        QCOMPARE(filho<QLabel*>(resumo, "Label9")->text(),
                 QString("   0 arquivo(s) de agravo (*.agr) gerado(s)"));
        QVERIFY(!t->isEnabled());
        QVERIFY(!filho<QProgressBar*>(t, "Gauge1")->isVisible());
        QVERIFY(filho<QLabel*>(t, "StatusBar1")->text().isEmpty());
        QTest::mouseClick(filho<QPushButton*>(resumo, "OKBtn"), Qt::LeftButton);
        QTRY_VERIFY(t->isEnabled());
        QVERIFY(!t->executando());
        t->close();
    }

    void substituicaoPelaTela() {
        test::CaixasCapturadas caixas;
        const fs::path zip = zipCorreto(test::DataLocal(2012, 4, 9, 9, 0, 0), "_nova");
        ui::defineSeletorArquivos([&](QWidget*, const QString&, const QString&) {
            return QStringList{QString::fromStdString(zip.string())};
        });
        QString editado;
        Atendente atendente;
        atendente.responde = [&](QWidget* m) {
            if (auto* d = qobject_cast<ui::TDlgRemessa*>(m)) {
                editado = filho<QLineEdit*>(d, "Edit1")->text();
                QTest::mouseClick(filho<QPushButton*>(d, "OKBtn"), Qt::LeftButton);
            } else if (auto* p = qobject_cast<QPrintPreviewDialog*>(m)) {
                p->reject();
            }
        };
        DefineRespostaSubstituicaoRemessa(false);
        auto* t = abre();
        digita(filho<QLineEdit*>(t, "MaskEdit1"), "03/2012");
        QTest::mouseClick(filho<QPushButton*>(t, "SpeedButton1"), Qt::LeftButton);
        QTest::mouseClick(filho<QPushButton*>(t, "BitBtn1"), Qt::LeftButton);
        QCOMPARE(editado, QString("       2000016201203.VLT    "));
        QVERIFY(RespostaSubstituicaoRemessa());
        QCOMPARE(banco_->conta("tb_estagio_remessa", "nu_status = '3'"), 1LL);
        QCOMPARE(banco_->conta("tb_estagio_remessa", "nu_status = '1'"), 1LL);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<ui::TOKBottomDlg*>(w); d && d->isVisible()) d->close();
        QTRY_VERIFY(t->isEnabled());
        t->close();
        DefineRespostaSubstituicaoRemessa(false);
    }

    void perguntaDeSubstituicao() {
        struct Caso {
            const char* nome;
            bool antes;
            std::function<void(ui::TDlgRemessa&)> fecha;
            bool depois;
        } casos[] = {
            {"SIM", false,
             [](ui::TDlgRemessa& d) { QTest::mouseClick(filho<QPushButton*>(&d, "OKBtn"), Qt::LeftButton); },
             true},
            {"NAO", true,
             [](ui::TDlgRemessa& d) {
                 QTest::mouseClick(filho<QPushButton*>(&d, "CancelBtn"), Qt::LeftButton);
             },
             false},
            {"Esc", true, [](ui::TDlgRemessa& d) { QTest::keyClick(&d, Qt::Key_Escape); }, false},
            {"Enter", false,
             [](ui::TDlgRemessa& d) { QTest::keyClick(filho<QPushButton*>(&d, "OKBtn"), Qt::Key_Return); },
             true},
            {"moldura com SIM", true, [](ui::TDlgRemessa& d) { d.close(); }, true},
            {"moldura com NAO", false, [](ui::TDlgRemessa& d) { d.close(); }, false},
        };
        for (auto& c : casos) {
            DefineRespostaSubstituicaoRemessa(c.antes);
            ui::TDlgRemessa d(nullptr, "1234567201203.VLT");
            QCOMPARE(d.windowTitle(), QString("VELT02"));
            QCOMPARE(filho<QPushButton*>(&d, "CancelBtn")->text(), QString::fromUtf8("NÃO"));
            d.show();
            QVERIFY(QTest::qWaitForWindowExposed(&d));
            c.fecha(d);
            QVERIFY2(!d.isVisible(), c.nome);
            QVERIFY2(RespostaSubstituicaoRemessa() == c.depois, c.nome);
        }
        DefineRespostaSubstituicaoRemessa(false);
    }
};

QTEST_MAIN(ImportaRemessaTest)
#include "ImportaRemessaTest.moc"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "app/common/Contexto.h"
#include "data/DataModule.h"
#include "maintenance/ui/BackupScreens.h"
#include "maintenance/ui/Telas.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"
#include "support/ui/CaixasCapturadas.h"
#include "support/ui/Componentes.h"

using namespace velt;
namespace fs = std::filesystem;

using velt::test::filho;
using velt::test::MenuDeTeste;

class BackupScreensTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestDatabase> banco_;
    std::unique_ptr<test::TempDir> pasta_, destino_;
    std::unique_ptr<TDM> dm_;
    MenuDeTeste menu_;

private slots:
    void initTestCase() {
        banco_ = std::make_unique<test::TestDatabase>();
        pasta_ = std::make_unique<test::TempDir>();
        destino_ = std::make_unique<test::TempDir>();
        banco_->db().execute("insert into tb_cnes values ('7654321')");
        banco_->escreveVeltIni(pasta_->path());
        banco_->db().detach();
        dm_ = std::make_unique<TDM>(pasta_->path());
        test::ScriptedDriver inicio;
        QVERIFY(dm_->DataModuleCreate(inicio));
        ui::defineDataModule(dm_.get());
        ui::registraTelasManutencao(menu_);
    }
    void cleanupTestCase() { ui::defineDataModule(nullptr); }

    void backupSemPastaAvisaEDepoisGrava() {
        test::CaixasCapturadas caixas;
        QVERIFY(menu_.acoes.count("mnuManBackup"));
        menu_.acoes["mnuManBackup"]();
        auto* t = menu_.principal.findChild<ui::TForm18*>();
        QVERIFY(t);
        QCOMPARE(t->windowTitle(), QString("Backup do Banco"));
        auto* banco = filho<QLineEdit*>(t, "FeBanco");
        QCOMPARE(banco->text(), QString::fromStdString(banco_->arquivo().string()));
        QTest::mouseClick(filho<QPushButton*>(t, "BitBtn1"), Qt::LeftButton);
        QCOMPARE(caixas.textos(), QStringList{QString::fromUtf8("Indique onde irá Gravar o Backup")});
        QVERIFY(dm_->db().attached());  // nothing closed for a missing field

        filho<QLineEdit*>(t, "DeCaminho")->setText(QString::fromStdString(destino_->path().string()));
        QTest::mouseClick(filho<QPushButton*>(t, "BitBtn1"), Qt::LeftButton);
        QCOMPARE(caixas.textos().value(1), QString("Backup Efetuado com Sucesso"));
        QVERIFY(fs::exists(destino_->path() / "Backup.gbk"));
        QVERIFY(filho<QPlainTextEdit*>(t, "Memo1")->toPlainText().contains("gbak:"));
        // The next access reattaches by itself.
        QVERIFY(!dm_->db().attached());
        {
            auto st = dm_->db().prepare("select co_cnes from tb_cnes");
            auto c = st.open();
            QVERIFY(c.next());
            QCOMPARE(QString::fromStdString(c.text("co_cnes")), QString("7654321"));
        }
        t->close();
    }

    void restoreSobreBancoExistente() {
        test::CaixasCapturadas caixas;
        menu_.acoes["mnuManRestore"]();
        auto* t = menu_.principal.findChild<ui::TFrm_Restore*>();
        QVERIFY(t);
        QCOMPARE(t->windowTitle(), QString::fromUtf8("Restauração do Banco"));
        QTest::mouseClick(filho<QPushButton*>(t, "BitBtn1"), Qt::LeftButton);
        QCOMPARE(caixas.textos(), QStringList{"Indique onde esta o seu Arquivo de Backup"});

        dm_->db().execute("delete from tb_cnes");
        filho<QLineEdit*>(t, "FeBackup")->setText(QString::fromStdString((destino_->path() / "Backup.gbk").string()));
        filho<QLineEdit*>(t, "FeBanco")->setText(QString::fromStdString(banco_->arquivo().string()));
        QTest::mouseClick(filho<QPushButton*>(t, "BitBtn1"), Qt::LeftButton);
        QCOMPARE(caixas.textos().value(1), QString::fromUtf8("Restauração Efetuada com Sucesso"));
        QVERIFY(!filho<QPlainTextEdit*>(t, "Memo1")->toPlainText().isEmpty());
        auto st = dm_->db().prepare("select co_cnes from tb_cnes");
        auto c = st.open();
        QVERIFY(c.next());
        QCOMPARE(QString::fromStdString(c.text("co_cnes")), QString("7654321"));
        t->close();
    }
};

QTEST_MAIN(BackupScreensTest)
#include "BackupScreensTest.moc"

#pragma once
// What the reference reload screen tests share: a started data module over a fresh database, the
// main window (which hooks the reference entries) with the manager check passed, widget look-ups.
#include <QAbstractButton>
#include <QApplication>
#include <QtTest>
#include <memory>

#include "app/MainWindow.h"
#include "app/common/Contexto.h"
#include "data/DataModule.h"
#include "support/ScriptedDriver.h"
#include "support/TestDatabase.h"
#include "support/ui/Componentes.h"

namespace velt::test {


struct Ambiente {
    TestDatabase banco;
    TempDir pastaPrograma;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<ui::TForm1> janela;

    Ambiente() {
        banco.escreveVeltIni(pastaPrograma.path());
        dm = std::make_unique<TDM>(pastaPrograma.path());
        ScriptedDriver inicio;
        if (!dm->DataModuleCreate(inicio)) qFatal("banco de teste não abriu");
        ui::defineDataModule(dm.get());
        janela = std::make_unique<ui::TForm1>(dm.get());
        ui::defineGuarda({});  // the manager check is the manager module's, tested there
    }
    ~Ambiente() {
        janela.reset();
        ui::defineDataModule(nullptr);
    }

    // Runs the menu entry and returns the window of that class it opened last.
    template <class Tela>
    Tela* abre(const char* entrada) {
        janela->acao(entrada)->trigger();
        auto telas = janela->findChildren<Tela*>();
        return telas.isEmpty() ? nullptr : telas.last();
    }
};

}  // namespace velt::test

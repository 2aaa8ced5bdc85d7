// VELT02: the health manager's workstation program.
#include <QApplication>
#include <QLocale>
#include <QScreen>
#include <filesystem>

#include "app/MainWindow.h"
#include "app/common/Contexto.h"
#include "app/common/QtDriver.h"
#include "data/DataModule.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("VELT02");
    // Thousands separator ",", decimal separator "." everywhere.
    QLocale::setDefault(QLocale::c());

    velt::TDM dm(std::filesystem::current_path());
    velt::ui::defineDataModule(&dm);
    {
        velt::ui::QtDriver driver(nullptr);
        dm.DataModuleCreate(driver);  // failures have been shown; the window opens regardless
    }
    velt::ui::TForm1 janela(&dm);
    // Sized to the screen first, for desktops whose window manager ignores the maximised state.
    if (QScreen* tela = QGuiApplication::primaryScreen()) janela.resize(tela->availableGeometry().size());
    janela.showMaximized();
    return app.exec();
}

#pragma once
#include <QString>
#include <functional>

class QWidget;

namespace velt {
class TDM;
class Database;
}

namespace velt::ui {

// What every screen may reach: the data module and the main window.
void defineDataModule(TDM* dm);
TDM& dataModule();
Database& banco();  // the data module's database (throws when start-up could not connect)

// The main menu as the screens' modules see it: each module hooks its own entries.
class MenuPrincipal {
public:
    virtual ~MenuPrincipal() = default;
    // Enables the menu entry (and its tool-bar button) with this objectName and runs the handler
    // when it is chosen, after the manager check when the entry is guarded.
    virtual void defineAcao(const QString& nome, std::function<void()> acao) = 0;
    virtual QWidget* janela() = 0;
    // Colours of the screens that take the main window's colours (0x00BBGGRR).
    virtual unsigned corFormulario() const = 0;
    virtual unsigned corPainel() const = 0;
    virtual unsigned corGrade() const = 0;
};

// The manager check of guarded commands; installed by the manager module.
void defineGuarda(std::function<bool(QWidget*)> guarda);
bool passaGuarda(QWidget* pai);

}  // namespace velt::ui

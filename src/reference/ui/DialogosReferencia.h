#pragma once
#include <QString>
#include <functional>

class QWidget;

namespace velt::ui {

// The system's folder browser and file-open dialog of the reference reloads. Tests put their
// own answer in place of the dialog; an empty answer means the user cancelled.
using EscolhePasta = std::function<QString(QWidget* pai, const QString& titulo)>;
using EscolheArquivo = std::function<QString(QWidget* pai)>;

void defineEscolhePasta(EscolhePasta f);      // empty restores the system dialog
void defineEscolheArquivo(EscolheArquivo f);  // empty restores the system dialog

QString escolhePasta(QWidget* pai, const QString& titulo);
QString escolheArquivo(QWidget* pai);

}  // namespace velt::ui

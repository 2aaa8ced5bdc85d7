#pragma once

class QWidget;

namespace velt::ui {

// "&Importação" › "&Municípios": no screen of its own; the file-open dialog, then the reload
// with its messages in boxes over the main window.
void importaMunicipios(QWidget* pai);

}  // namespace velt::ui

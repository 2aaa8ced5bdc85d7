#pragma once
#include "reference/ui/TelaCargaReferencia.h"

namespace velt {
struct MembroArquivoUnico;
}

namespace velt::ui {

// The reload screens of one file each: the frame plus the member that says which file and table.
class TelaArquivoUnico : public TelaCargaReferencia {
    Q_OBJECT
public:
    TelaArquivoUnico(QWidget* dono, const QString& objeto, const QString& titulo, const QString& rotulo,
                     QString& pastaLembrada, const MembroArquivoUnico& membro);

protected:
    void executa() override;

private:
    const MembroArquivoUnico& membro_;
};

// "Importação Cadastro de Operadoras": operadoras.txt into TB_OPERADORA.
class TFoImportaOperadora : public TelaArquivoUnico {
    Q_OBJECT
public:
    explicit TFoImportaOperadora(QWidget* dono);
    static QString& pastaLembrada();
};

// "Importa CID": tb_cid.txt into TB_CID.
class TForm33 : public TelaArquivoUnico {
    Q_OBJECT
public:
    explicit TForm33(QWidget* dono);
    static QString& pastaLembrada();
};

// "Importação Motivo da Alta": alta.txt into TB_TIPO_ALTA.
class TFoImportaAlta : public TelaArquivoUnico {
    Q_OBJECT
public:
    explicit TFoImportaAlta(QWidget* dono);
    static QString& pastaLembrada();
};

}  // namespace velt::ui

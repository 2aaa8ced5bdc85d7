#pragma once
#include <QWidget>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace velt::ui {

// "Backup do Banco": the database file copied into the chosen folder as "Backup.gbk" by the
// server's backup service, its progress lines in the log.
class TForm18 : public QWidget {
    Q_OBJECT
public:
    explicit TForm18(QWidget* pai);

    QLineEdit* FeBanco;
    QLineEdit* DeCaminho;
    QPlainTextEdit* Memo1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

    void BitBtn1Click();
};

// "Restauração do Banco": a database file created or replaced from a backup file.
class TFrm_Restore : public QWidget {
    Q_OBJECT
public:
    explicit TFrm_Restore(QWidget* pai);

    QLineEdit* FeBackup;
    QLineEdit* FeBanco;
    QPlainTextEdit* Memo1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

    void BitBtn1Click();
};

}  // namespace velt::ui

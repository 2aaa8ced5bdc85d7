#include "import/ImportaRemessa.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

#include "common/Cp1252.h"
#include "common/DataHora.h"
#include "common/Driver.h"
#include "common/Validacao.h"
#include "data/Database.h"
#include "gestor/Gestor.h"
#include "import/ArmazenaRemessa.h"
#include "import/CacheReferencia.h"
#include "import/CopiaEstagio.h"
#include "import/CriticaRemessa.h"
#include "import/Extracao.h"
#include "import/Protocolo.h"

namespace velt {

namespace fs = std::filesystem;

namespace {

bool respostaSubstituicao = false;

std::string conta4(int n) {
    char b[16];
    std::snprintf(b, sizeof b, "%4d", n);
    return b;
}

// Characters 8-13 of a batch number: its competência YYYYMM (empty for a shorter name).
std::string competenciaDaRemessa(const std::string& remessa) {
    return remessa.size() >= 13 ? remessa.substr(7, 6) : std::string();
}

char maiuscula(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

// What one batch file's pass leaves for after its commit.
struct Passo {
    bool estatistica = false;  // the statistics row was written: the protocol is due
    std::string falhaEstatistica;  // the statistics row failed: this is said and the run ends
    DadosProtocolo protocolo;
};

// The run ends after a batch whose statistics row failed: the batch after it, stored while that
// one was finishing, is dropped as if never started.
struct ExecucaoInterrompida {};

// Work on a thread of its own. espera() joins it and raises its failure; it is joined anyway
// when destroyed, so nothing it uses can go first.
class Tarefa {
public:
    ~Tarefa() {
        if (linha_.joinable()) linha_.join();
    }
    void inicia(std::function<void()> trabalho) {
        erro_ = nullptr;
        linha_ = std::thread([this, trabalho = std::move(trabalho)] {
            try {
                trabalho();
            } catch (...) {
                erro_ = std::current_exception();
            }
        });
    }
    void espera() {
        if (linha_.joinable()) linha_.join();
        if (erro_) std::rethrow_exception(std::exchange(erro_, nullptr));
    }

private:
    std::exception_ptr erro_;
    std::thread linha_;
};

// Finishes a pass's transaction on a thread of its own (its last writes, then the commit), so
// that the engine writes the pass's pages to disk while the run goes on with the next batch
// file. One at a time.
class CommitEmCurso {
public:
    void inicia(std::unique_ptr<Transaction> tx, std::function<void(Transaction&)> antes) {
        tx_ = std::move(tx);
        tarefa_.inicia([this, antes = std::move(antes)] {
            if (antes) antes(*tx_);
            tx_->commit();
        });
    }
    void espera() {
        try {
            tarefa_.espera();
        } catch (...) {
            tx_.reset();  // the commit failed: rolled back
            throw;
        }
        tx_.reset();
    }

private:
    std::unique_ptr<Transaction> tx_;
    Tarefa tarefa_;  // last: joined before the transaction goes
};

// What a check running away from the screen may tell: nothing. It only writes files, and
// events are processed by the run itself.
class DriverCalado : public Driver {
public:
    void mensagem(std::string_view, std::string_view, Icone) override {}
    bool pergunta(std::string_view, std::string_view) override { return false; }
};

// Holds back the messages of a batch's storage while the batch before it is still finishing,
// so that they come after that batch's protocol, as they would one batch after the other.
// Everything else goes straight through.
class DriverAdiado : public Driver {
public:
    explicit DriverAdiado(Driver& destino) : destino_(destino) {}
    void mensagem(std::string_view titulo, std::string_view texto, Icone icone) override {
        if (retem_)
            retidas_.push_back({std::string(titulo), std::string(texto), icone});
        else
            destino_.mensagem(titulo, texto, icone);
    }
    bool pergunta(std::string_view titulo, std::string_view texto) override {
        libera();
        return destino_.pergunta(titulo, texto);
    }
    void progresso(std::int64_t posicao, std::int64_t maximo) override { destino_.progresso(posicao, maximo); }
    void status(std::string_view linha) override { destino_.status(linha); }
    void processaEventos() override { destino_.processaEventos(); }

    void retem() { retem_ = true; }
    // What was held is never said: the batch it was about is dropped.
    void descarta() {
        retem_ = false;
        retidas_.clear();
    }
    void libera() {
        retem_ = false;
        for (const auto& m : retidas_) destino_.mensagem(m.titulo, m.texto, m.icone);
        retidas_.clear();
    }

private:
    struct Retida {
        std::string titulo, texto;
        Icone icone;
    };
    Driver& destino_;
    bool retem_ = false;
    std::vector<Retida> retidas_;
};

// A storing attachment and what writes through it. The run has two, taken in turn: a batch is
// stored through one while the commit of the batch before runs on the other.
struct Gravacao {
    Gravacao(Database& banco, Driver& driver)
        : db(banco),
          driver(driver),
          armazena(banco, this->driver),
          delHosp(banco.prepare(
              "delete from tb_estagio_remessa_hosp where co_cnes = :cnes and dt_competencia = :cmpt")),
          updSubstituida(
              banco.prepare("update tb_estagio_remessa set nu_status= :st1 where  nu_remessa = :remessa and "
                            "dt_competencia = :cmpt and nu_status = :st2 ")),
          insHosp(banco.prepare("insert into tb_estagio_remessa_hosp(CO_CNES,DT_COMPETENCIA,NU_STATUS)values "
                                "(:cnes,:cmpt,:st)")),
          insRemessa(
              banco.prepare("insert into tb_estagio_remessa values (:remessa,:geracao,:chegada,:cmpt,:st)")),
          selEstatistica(
              banco.prepare("SELECT nu_remessa from TB_REMESSA_ESTATISTICA WHERE NU_REMESSA = :v1")),
          insEstatistica(banco.prepare(
              "INSERT INTO TB_REMESSA_ESTATISTICA (nu_remessa,dt_chegada_remessa,dt_competencia,"
              "QT_AT_AMB,QT_AT_INT,QT_AT_CON,QT_TOT_AT,QT_REG_LIDOS,QT_REG_INSERIDOS) "
              "VALUES (:nu_rem,:dt_cheg,:dt_comp,:QT_AT_AMB,:QT_AT_INT,:QT_AT_CON,:QT_TOT_AT,"
              ":QT_REG_LID,:QT_REG_INSER)")),
          // The batch number is a parameter: it comes from a file name and may hold a quote.
          updEstatistica(banco.prepare(
              "UPDATE TB_REMESSA_ESTATISTICA SET dt_chegada_remessa=:dt_cheg,dt_competencia=:dt_comp,"
              "QT_AT_AMB=:QT_AT_AMB,QT_AT_INT=:QT_AT_INT,QT_AT_CON=:QT_AT_CON,"
              "QT_TOT_AT=:QT_TOT_AT,QT_REG_LIDOS=:QT_REG_LID,QT_REG_INSERIDOS=:QT_REG_INSER WHERE "
              "nu_remessa= :nu_rem")) {}

    Database& db;
    DriverAdiado driver;
    ArmazenaRemessa armazena;
    Statement delHosp, updSubstituida, insHosp, insRemessa, selEstatistica, insEstatistica, updEstatistica;
    CommitEmCurso commit;  // last: joined before anything it may still use goes
};

// A staging attachment: the run's staging transaction on it, never committed, and what reads
// and writes through it. Each batch file stages inside a savepoint of that transaction, and its
// staged rows are undone by rolling back to the savepoint when the attachment is next used.
// Undoing its own rows costs the engine far less than deleting committed rows and collecting
// them afterwards, and nothing of them outlives the run. The storage reads the staged rows from
// their copy, in the order they were staged.
struct Estagio {
    Estagio(Database& principal, const CacheReferencia& cache, Driver& driver)
        : db(Database::attach(principal.params())),
          critica(*db, cache, driver),
          selDuplicada(db->prepare("select * from tb_estagio_remessa where nu_remessa = :remessa and "
                                   "dt_geracao_remessa >= :geracao and dt_competencia = :cmpt")),
          selImportada(db->prepare("select * from tb_estagio_remessa where nu_remessa = :remessa and  "
                                   "dt_competencia = :cmpt and nu_status = :st")) {}

    // Undoes the staged rows of the pass before and opens the savepoint of the next one.
    void novoPasso() {
        if (passoAberto) tx->execute("ROLLBACK TO SAVEPOINT ESTAGIO_REMESSA");
        passoAberto = true;
        tx->execute("SAVEPOINT ESTAGIO_REMESSA");
    }

    std::unique_ptr<Database> db;
    CriticaRemessa critica;
    Statement selDuplicada, selImportada;
    CopiaEstagio copia;  // the staged rows of the last pass, until its storage read them
    std::optional<Transaction> tx;
    bool passoAberto = false;  // a pass's savepoint is open: its staged rows are still there
};

// One batch file on its way through the run. Its check (reading, checking, staging) runs on a
// thread of its own, so that it overlaps the storage of the file before it.
struct Arquivo {
    void checa(const ParametrosCritica& p) {
        checagem.inicia([this, p] {
            Estagio& e = *estagio;
            e.novoPasso();
            resultado = e.critica.critica(caminho, p, *e.tx, &e.copia);
        });
    }

    std::size_t indice = 0;
    fs::path caminho;
    std::string remessa;
    DataHora geracao;
    Estagio* estagio = nullptr;
    bool substitui = false;  // the replacement answer as it stood after this file's duplicate check
    ResultadoCritica resultado;
    Tarefa checagem;                   // last: joined before what it fills goes
};

// A batch file whose pass is written and whose commit may still be running.
struct Pendente {
    std::size_t indice = 0;
    fs::path arquivo;
    std::string remessa;
    std::string cnes;  // of its header
    std::unique_ptr<Passo> passo;  // filled by the commit's thread
    Gravacao* gravacao = nullptr;  // where its commit runs
};

// The import run. The stored rows, control rows and statistics of each batch file are written
// through two storing attachments taken in turn, in one transaction per file, committed while
// the next file is stored; the staging goes through two staging attachments taken in turn, so
// that a file is read, checked and staged while the one before it is stored.
class Execucao {
public:
    Execucao(Database& db, Driver& driver, const OpcoesImportacao& op, const Gestor& gestor, fs::path dirtrab,
             std::string competencia)
        : db_(db),
          driver_(driver),
          op_(op),
          gestor_(gestor),
          dirtrab_(std::move(dirtrab)),
          competencia_(std::move(competencia)),
          dir_(dirtrab_ / "VELT02" / competencia_),
          cache_(db),
          estagios_{std::make_unique<Estagio>(db, cache_, calado_), std::make_unique<Estagio>(db, cache_, calado_)},
          segundo_(Database::attach(db.params())),
          gravacoes_{std::make_unique<Gravacao>(db, driver), std::make_unique<Gravacao>(*segundo_, driver)},
          selEstagio_(db.prepare("select first 1 tp_registro from tb_movimento")) {}

    ResultadoImportacao executa();

private:
    enum class Situacao { Nova, Recusada, Carregada };

    void percorre(const std::vector<fs::path>& lista);
    void percorreArquivos(const std::vector<fs::path>& lista);
    // The way in of a file: its duplicate check, with its messages and question, then its check
    // started. Null when the file goes no further.
    std::unique_ptr<Arquivo> entrada(std::size_t indice, const fs::path& caminho);
    // The same for the file after the one about to be stored, started ahead only when nothing of
    // it has to be said or asked (a batch not seen before); null otherwise.
    std::unique_ptr<Arquivo> antecipa(std::size_t indice, const fs::path& caminho, const std::string& atual);
    std::unique_ptr<Arquivo> novoArquivo(std::size_t indice, const fs::path& caminho);
    // The pass of a checked file: storage and control rows, then its statistics and commit
    // started on a thread.
    void armazena(Arquivo& a);
    // Waits for the pending commit, then finishes its file: progress, deletion, protocol. Throws
    // ExecucaoInterrompida after a batch whose statistics row failed.
    void concluiPendente();
    // The statistics and the protocol's figures of a stored batch, on the commit's thread.
    void fechaPasso(Gravacao& g, Transaction& tx, const std::string& remessa, const std::string& cnes,
                    const std::string& razaoSocial, long long lidos, Passo& passo);
    void conclui(std::size_t indice, const fs::path& arquivo, const Passo& passo);
    void esvaziaEstagio();
    Situacao situacao(Estagio& e, const std::string& remessa, const DataHora& geracao);
    // Says what the duplicate check found; true when the file is skipped.
    bool recusa(Situacao s, const std::string& remessa);
    void linhaEstabelecimento(Gravacao& g, Transaction& tx, const std::string& remessa, const char* status);
    void linhaRemessa(Gravacao& g, Transaction& tx, const std::string& remessa, const DataHora& geracao,
                      const char* status);
    // The statistics row; the failure's text when it could not be written.
    std::string linhaEstatistica(Gravacao& g, Transaction& tx, const std::string& remessa,
                                 const EstatisticaRemessa& e, long long lidos);

    Database& db_;
    Driver& driver_;
    DriverCalado calado_;
    const OpcoesImportacao& op_;
    const Gestor& gestor_;
    fs::path dirtrab_;
    std::string competencia_;
    fs::path dir_;
    CacheReferencia cache_;
    std::unique_ptr<Estagio> estagios_[2];
    std::unique_ptr<Database> segundo_;
    std::unique_ptr<Gravacao> gravacoes_[2];  // on the caller's attachment and on segundo_
    Statement selEstagio_;
    ResultadoImportacao r_;
    std::size_t total_ = 0;
    std::size_t armazenados_ = 0;  // batches stored so far: picks the storing attachment
    ArmazenaRemessa::Numeracao numeracao_;
    std::optional<Pendente> pendente_;
};

ResultadoImportacao Execucao::executa() {
    r_.executada = true;
    r_.diretorio = dir_;
    driver_.progresso(0, 100);

    for (const auto& zip : op_.arquivos) {
        ExtraiArquivoZip(zip, dir_, driver_);
        driver_.processaEventos();
    }

    std::vector<fs::path> lista;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir_, ec))
        if (e.is_regular_file() && ArquivoDaCompetencia(e.path().filename().string(), competencia_))
            lista.push_back(e.path());
    std::sort(lista.begin(), lista.end(), [](const fs::path& a, const fs::path& b) {
        return a.filename().string() < b.filename().string();
    });
    r_.contadores.selecionados = int(lista.size());
    total_ = lista.size();

    esvaziaEstagio();
    for (auto& e : estagios_) e->tx.emplace(*e->db);
    try {
        percorre(lista);
    } catch (...) {
        // A batch already written still gets its commit, its deletion and its protocol.
        try {
            concluiPendente();
        } catch (...) {
        }
        for (auto& g : gravacoes_) g->driver.libera();
        throw;
    }
    for (auto& e : estagios_) e->tx->rollback();
    return r_;
}

void Execucao::percorre(const std::vector<fs::path>& lista) {
    try {
        percorreArquivos(lista);
    } catch (const ExecucaoInterrompida&) {
        driver_.status("");  // a file checked ahead is dropped unstored
    }
}

void Execucao::percorreArquivos(const std::vector<fs::path>& lista) {
    std::unique_ptr<Arquivo> proximo;
    for (std::size_t i = 0; i < lista.size(); ++i) {
        std::unique_ptr<Arquivo> atual = proximo ? std::move(proximo) : entrada(i, lista[i]);
        if (!atual) continue;
        atual->checagem.espera();
        if (i + 1 < lista.size()) proximo = antecipa(i + 1, lista[i + 1], atual->remessa);
        armazena(*atual);
    }
    concluiPendente();
    r_.concluida = true;
}

std::unique_ptr<Arquivo> Execucao::novoArquivo(std::size_t indice, const fs::path& caminho) {
    auto a = std::make_unique<Arquivo>();
    a->indice = indice;
    a->caminho = caminho;
    a->remessa = NomeSemExtensao(caminho.string());
    a->geracao = dataModificacao(caminho.string());
    a->estagio = estagios_[indice % 2].get();
    return a;
}

std::unique_ptr<Arquivo> Execucao::entrada(std::size_t indice, const fs::path& caminho) {
    if (!fs::exists(caminho)) {
        concluiPendente();
        driver_.erro("Arquivo: " + caminho.filename().string() + " não encontrado");
        conclui(indice, caminho, {});
        return nullptr;
    }
    auto a = novoArquivo(indice, caminho);
    driver_.status("Processando arquivo " + a->remessa);
    driver_.processaEventos();
    // The same batch under another spelling of its name must see the pending pass committed.
    if (pendente_ && pendente_->remessa == a->remessa) concluiPendente();
    const Situacao s = situacao(*a->estagio, a->remessa, a->geracao);
    if (s != Situacao::Nova) {
        // Whatever is said about this file comes after the earlier file is wholly done.
        concluiPendente();
        if (recusa(s, a->remessa)) {
            conclui(indice, caminho, {});
            return nullptr;
        }
    }
    a->substitui = RespostaSubstituicaoRemessa();
    a->checa(ParametrosCritica{competencia_, dir_, a->remessa, a->geracao});
    return a;
}

std::unique_ptr<Arquivo> Execucao::antecipa(std::size_t indice, const fs::path& caminho,
                                            const std::string& atual) {
    if (!fs::exists(caminho)) return nullptr;
    auto a = novoArquivo(indice, caminho);
    if (a->remessa == atual || (pendente_ && pendente_->remessa == a->remessa)) return nullptr;
    if (situacao(*a->estagio, a->remessa, a->geracao) != Situacao::Nova) return nullptr;
    // No question comes before this file's turn: the answer it would see is the current one.
    a->substitui = RespostaSubstituicaoRemessa();
    a->checa(ParametrosCritica{competencia_, dir_, a->remessa, a->geracao});
    return a;
}

void Execucao::concluiPendente() {
    if (!pendente_) return;
    Pendente p = std::move(*pendente_);
    pendente_.reset();
    p.gravacao->commit.espera();
    if (!p.passo->falhaEstatistica.empty()) driver_.erro(p.passo->falhaEstatistica);
    conclui(p.indice, p.arquivo, *p.passo);
    if (!p.passo->falhaEstatistica.empty()) throw ExecucaoInterrompida{};
}

void Execucao::conclui(std::size_t indice, const fs::path& arquivo, const Passo& passo) {
    driver_.progresso(std::lround(double(indice + 1) * 100.0 / double(total_)), 100);
    // Deleted only now that its pass is committed: a stopped run finds it again.
    std::error_code ec;
    fs::remove(arquivo, ec);
    driver_.processaEventos();
    if (passo.estatistica && op_.protocolo)
        r_.protocolos.push_back(EmiteProtocolo(passo.protocolo, dirtrab_, *op_.protocolo, driver_));
}

// Empties the staging table before the run. The passes' own rows never outlive them, so only
// rows put there otherwise (movement copied from an older database, a run stopped halfway) are
// found; they are deleted in a transaction of their own.
void Execucao::esvaziaEstagio() {
    bool vazio = true;
    {
        Transaction t(db_, Transaction::Modo::SomenteLeitura);
        Cursor c = selEstagio_.open(t);
        vazio = !c.next();
    }
    if (!vazio) db_.execute("delete from tb_movimento");
}

Execucao::Situacao Execucao::situacao(Estagio& e, const std::string& remessa, const DataHora& geracao) {
    Transaction& tx = *e.tx;
    const std::string cmpt = competenciaDaRemessa(remessa);
    {
        Cursor c =
            e.selDuplicada.bind("remessa", remessa).bind("geracao", geracao).bind("cmpt", cmpt).open(tx);
        if (c.next()) return Situacao::Recusada;
    }
    Cursor c = e.selImportada.bind("remessa", remessa).bind("cmpt", cmpt).bind("st", "1").open(tx);
    return c.next() ? Situacao::Carregada : Situacao::Nova;
}

bool Execucao::recusa(Situacao s, const std::string& remessa) {
    if (s == Situacao::Recusada) {
        driver_.avisa("Esta remessa já foi importada ou é anterior a última existente na base '" + remessa +
                      "'");
        return true;
    }
    const std::string nome = remessa + ".VLT";
    if (op_.perguntaSubstituicao) {
        op_.perguntaSubstituicao(nome);
    } else {
        DefineRespostaSubstituicaoRemessa(driver_.pergunta(
            "VELT02",
            "Esta remessa já se encontra carregada na base de dados. Deseja substituí-la ? " + nome));
    }
    return !RespostaSubstituicaoRemessa();
}

void Execucao::linhaEstabelecimento(Gravacao& g, Transaction& tx, const std::string& remessa,
                                    const char* status) {
    const std::string cnes = remessa.substr(0, 7), cmpt = competenciaDaRemessa(remessa);
    try {
        g.delHosp.bind("cnes", cnes).bind("cmpt", cmpt).execute(tx);
    } catch (const DatabaseError&) {
        g.driver.erro("Erro no delete da tb_estagio_remessa_hosp");
    }
    try {
        g.insHosp.bind("cnes", cnes).bind("cmpt", cmpt).bind("st", status).execute(tx);
    } catch (const DatabaseError&) {
        g.driver.erro("Erro no insert da tb_remessa_hosp");
    }
}

void Execucao::linhaRemessa(Gravacao& g, Transaction& tx, const std::string& remessa, const DataHora& geracao,
                            const char* status) {
    try {
        g.insRemessa.bind("remessa", remessa)
            .bind("geracao", geracao)
            .bind("chegada", agora())
            .bind("cmpt", competenciaDaRemessa(remessa))
            .bind("st", status)
            .execute(tx);
    } catch (const DatabaseError&) {
        g.driver.erro("Erro no insert da tb_estagio_remessa");
    }
}

std::string Execucao::linhaEstatistica(Gravacao& g, Transaction& tx, const std::string& remessa,
                                       const EstatisticaRemessa& e, long long lidos) {
    const std::string& t = op_.textoCompetencia;
    const std::string cmpt =
        (t.size() >= 7 ? t.substr(3, 4) : "") + t.substr(0, std::min<std::size_t>(2, t.size()));
    bool existe = false;
    {
        Cursor c = g.selEstatistica.bind("v1", remessa).open(tx);
        existe = c.next();
    }
    Statement& st = existe ? g.updEstatistica : g.insEstatistica;
    st.bind("nu_rem", remessa);
    st.bind("dt_cheg", agora())
        .bind("dt_comp", cmpt)
        .bind("QT_AT_AMB", std::to_string(e.ambulatoriais))
        .bind("QT_AT_INT", std::to_string(e.internacoes))
        .bind("QT_AT_CON", std::to_string(e.consolidados))
        .bind("QT_TOT_AT", std::to_string(e.total()))
        .bind("QT_REG_LID", std::to_string(lidos))
        .bind("QT_REG_INSER", std::to_string(e.inseridos));
    try {
        st.execute(tx);
    } catch (const DatabaseError&) {
        return std::string("Erro de ") + (existe ? "UPDATE" : "INSERT") + " na TB_REMESSA_ESTATISTICA";
    }
    return {};
}

void Execucao::armazena(Arquivo& a) {
    // Counted once the batch before is done: a run that ends there never reached this one.
    ContadoresImportacao k;
    auto passo = std::make_unique<Passo>();
    const std::string& remessa = a.remessa;
    const DataHora& geracao = a.geracao;
    const ResultadoCritica& c = a.resultado;
    Gravacao& g = *gravacoes_[armazenados_++ % 2];
    driver_.status("Processando arquivo " + remessa);
    driver_.processaEventos();
    if (c.gravouErros()) ++k.arquivosErro;
    if (c.gravouAgravo()) ++k.arquivosAgravo;

    const bool armazenavel = !c.erro && !c.semMovimento;
    // While the batch before commits, this one is stored beside it: it touches none of its rows
    // unless the two share a batch number or an establishment, and then it waits.
    if (pendente_ && (pendente_->remessa == remessa || pendente_->cnes == c.cnes ||
                      pendente_->remessa.substr(0, 7) == remessa.substr(0, 7)))
        concluiPendente();
    g.driver.retem();
    auto tx = std::make_unique<Transaction>(g.db, Transaction::Modo::Carga);
    if (!c.erro) {
        ++k.corretos;
        if (a.substitui) {
            // Not caught: a failure here stops the run, and the pass is rolled back whole.
            const std::string cmpt = competenciaDaRemessa(remessa);
            g.delHosp.bind("cnes", remessa.substr(0, 7)).bind("cmpt", cmpt).execute(*tx);
            g.updSubstituida.bind("st1", "3")
                .bind("remessa", remessa)
                .bind("cmpt", cmpt)
                .bind("st2", "1")
                .execute(*tx);
        }
        g.armazena.apagaAnteriores(*tx, c.cnes, remessa);
        linhaEstabelecimento(g, *tx, remessa, c.semMovimento ? "2" : "1");
        if (c.semMovimento) {
            linhaRemessa(g, *tx, remessa, geracao, "1");
            ++k.semMovimento;
        } else {
            ++k.importados;
            linhaRemessa(g, *tx, remessa, geracao, "1");
            g.armazena.armazena(*tx, a.estagio->copia, c.cnes, remessa, geracao, numeracao_);
        }
    } else {
        ++k.comErros;
        if (!c.cnesRecusado) linhaRemessa(g, *tx, remessa, geracao, "2");
    }
    // The batch before is done (committed, deleted, its protocol shown) before this one's
    // numbers go to TB_CONTROLE and before anything of this one is said.
    try {
        concluiPendente();
    } catch (...) {
        g.driver.descarta();
        throw;
    }
    g.driver.libera();
    if (armazenavel) g.armazena.gravaNumeracao(*tx);
    ++k.criticados;
    r_.contadores += k;
    driver_.status("");

    std::function<void(Transaction&)> antes;
    if (!c.erro && c.linhasLidas >= 1)
        antes = [this, &g, remessa, cnes = c.cnes, razao = c.razaoSocial, lidos = c.linhasLidas - 2,
                 p = passo.get()](Transaction& t) { fechaPasso(g, t, remessa, cnes, razao, lidos, *p); };
    pendente_ = Pendente{a.indice, a.caminho, remessa, c.cnes, std::move(passo), &g};
    g.commit.inicia(std::move(tx), std::move(antes));
}

void Execucao::fechaPasso(Gravacao& g, Transaction& tx, const std::string& remessa, const std::string& cnes,
                          const std::string& razaoSocial, long long lidos, Passo& passo) {
    const std::string cmpt = competenciaDaRemessa(remessa);
    const EstatisticaRemessa e = g.armazena.estatistica(tx, cnes, cmpt, remessa);
    passo.falhaEstatistica = linhaEstatistica(g, tx, remessa, e, lidos);
    if (!passo.falhaEstatistica.empty()) return;
    passo.estatistica = true;
    DadosProtocolo& d = passo.protocolo;
    d.momento = agora();
    d.cnes = cp1252::toUtf8(cnes);
    d.prestador = cp1252::toUtf8(razaoSocial);
    d.gestor = cp1252::toUtf8(gestor_.identificacao) + "  -  UF: " + cp1252::toUtf8(gestor_.uf) +
               "  -  Cod Município: " + cp1252::toUtf8(gestor_.codmunic);
    d.arquivo = remessa;
    d.competencia = op_.textoCompetencia;
    d.totalImportado = e.inseridos;
    d.registrosLidos = lidos;
    d.ambulatoriais = e.ambulatoriais;
    d.internacoes = e.internacoes;
    d.consolidados = e.consolidados;
    d.atendimentos = e.total();
}

}  // namespace

bool RespostaSubstituicaoRemessa() {
    return respostaSubstituicao;
}
void DefineRespostaSubstituicaoRemessa(bool sim) {
    respostaSubstituicao = sim;
}

std::vector<std::string> LinhasResumo(const ContadoresImportacao& c) {
    return {
        "Importação concluída...",
        conta4(c.selecionados) + " arquivo(s) selecionado(s)",
        conta4(c.criticados) + " arquivo(s) criticado(s)",
        conta4(c.corretos) + " arquivo(s) correto(s)",
        conta4(c.comErros) + " arquivo(s) com erros",
        conta4(c.importados) + " arquivo(s) importado(s)",
        conta4(c.semMovimento) + " arquivo(s) sem movimento",
        conta4(c.arquivosErro) + " arquivo(s) de erros (*.err) gerado(s)",
        conta4(c.arquivosAgravo) + " arquivo(s) de agravo (*.agr) gerado(s)",
    };
}

bool ArquivoDaCompetencia(const std::string& nome, const std::string& competencia) {
    const std::string fim = competencia + ".VLT";
    if (nome.size() < fim.size()) return false;
    for (std::size_t i = 0; i < fim.size(); ++i)
        if (maiuscula(nome[nome.size() - fim.size() + i]) != fim[i]) return false;
    return true;
}

std::string CompetenciaLocalizar(const std::string& t) {
    if (t.size() < 7 || t == "  /    ") return {};
    const std::string mm = t.substr(0, 2), yyyy = t.substr(3, 4);
    std::string m = mm + yyyy;
    auto a = m.find_first_not_of(' ');
    m = a == std::string::npos ? std::string() : m.substr(a, m.find_last_not_of(' ') - a + 1);
    if (m.size() < 6) return {};
    const DataAtual hoje = LeDataAtual();
    if (yyyy + mm > hoje.AnoAtual + hoje.MesAtual) return {};
    if (yyyy == "0000" || mm == "00") return {};
    return yyyy + mm;
}

ResultadoImportacao ImportaRemessas(Database& db, Driver& driver, const OpcoesImportacao& op) {
    ResultadoImportacao vazio;
    if (!ValidaCompetencia(op.textoCompetencia)) {
        driver.erro("Competência Inválida.\nInforme uma competência válida.");
        vazio.recusa = ResultadoImportacao::Recusa::Competencia;
        return vazio;
    }
    if (op.arquivos.empty()) {
        driver.erro("Nenhum arquivo foi selecionado");
        vazio.recusa = ResultadoImportacao::Recusa::SemArquivos;
        return vazio;
    }
    auto gestor = LeGestor(db);
    if (!gestor || gestor->dirtrab.empty()) {
        driver.erro("Cadastrar ou corrigir dados do gestor (opção \"Gestor\" no Menu Principal).");
        vazio.recusa = ResultadoImportacao::Recusa::Gestor;
        return vazio;
    }
    const std::string& t = op.textoCompetencia;
    std::string competencia = op.competencia.empty() ? t.substr(3, 4) + t.substr(0, 2) : op.competencia;
    fs::path dirtrab = fs::path(cp1252::toUtf8(gestor->dirtrab));
    std::error_code ec;
    fs::path velt02 = dirtrab / "VELT02";
    if (!fs::is_directory(velt02) && (!fs::create_directories(velt02, ec) || ec)) {
        driver.erro("Erro ao criar o diretorio de trabalho " + velt02.string());
        vazio.recusa = ResultadoImportacao::Recusa::Diretorio;
        return vazio;
    }
    fs::path dir = velt02 / competencia;
    if (!fs::is_directory(dir) && (!fs::create_directory(dir, ec) || ec)) {
        driver.erro("Erro ao criar o subdiretorio de trabalho " + dir.string());
        vazio.recusa = ResultadoImportacao::Recusa::Diretorio;
        return vazio;
    }
    Execucao e(db, driver, op, *gestor, dirtrab, competencia);
    return e.executa();
}

}  // namespace velt

#include "export/Compactacao.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>
#include <vector>

#include "common/Cp1252.h"
#include "common/DataHora.h"
#include "common/Validacao.h"
#include "data/Database.h"
#include "export/PlanilhaTransmissao.h"
#include "export/RegistroTransmissao.h"
#include "export/ZipTransmissao.h"
#include "gestor/Gestor.h"
#include "import/Extracao.h"

namespace velt {

namespace fs = std::filesystem;

namespace {

using Fim = ResultadoCompactacao::Fim;

// A failure while the records are read or the file is written: the file is not sent on.
struct FalhaGravacao : std::runtime_error {
    using std::runtime_error::runtime_error;
};

bool PerguntaSimNao(Driver& driver, const std::string& texto) { return driver.pergunta("Atenção", texto); }

// The run state of one press of "Executar".
class Execucao {
public:
    Execucao(Database& db, Driver& driver, ResultadoCompactacao& r, const Gestor& g, bool planilha)
        : db_(db), driver_(driver), r_(r), querPlanilha_(planilha) {
        dirtrab_ = fs::path(cp1252::toUtf8(g.dirtrab));
        d_ = dirtrab_ / "VELT02" / r.competencia / "SUS";
        r_.nomeBase = NomeBaseTransmissao(g, r.competencia);
        nome12_ = PreencheAS(r_.nomeBase, 12);
    }

    // GeraArquivoTransmissao: false when the run must stop (folder or writing failure, reported).
    bool GeraArquivoTransmissao() {
        try {
            passos();
            return !erroDiretorio_;
        } catch (const FalhaGravacao&) {
            return false;  // already reported
        } catch (const std::exception& e) {
            abandonaArquivo(e.what());
            return false;
        }
    }

    std::unique_ptr<PlanilhaTransmissao>& planilha() { return planilha_; }
    const fs::path& dirtrab() const { return dirtrab_; }
    bool erroDiretorio() const { return erroDiretorio_; }

private:
    void passos() {
        r_.arquivoIniciado = false;
        const std::string& cmpt = r_.competencia;

        // Pass 1: individualized attendances.
        {
            auto movimento = db_.prepare(kSqlIndividualizados);
            movimento.bind("cmpt", cmpt);
            Cursor c = movimento.open();
            if (c.next()) {
                r_.arquivoIniciado = true;
                if (!PreparaArquivoTransmissao()) return;
                if (querPlanilha_) iniciaPlanilha().BlocoIndividualizados();
                do {
                    if (r_.arquivoMantido) break;
                    LimpaRegistroTransmissao(reg_);
                    PreencheIndividualizado(reg_, c, cmpt);
                    MontaLinhaTransmissao(reg_, r_.nomeBase);
                    if (planilha_) planilha_->LinhaIndividualizado(sequencia_ + 1, camposDaLinha());
                    escreve();
                    ++r_.individualizados;
                } while (c.next());
            }
        }
        // Pass 2: consolidated counts.
        {
            auto carga = db_.prepare(kSqlConsolidados);
            carga.bind("cmpt", cmpt);
            Cursor c = carga.open();
            if (c.next()) {
                if (!r_.arquivoIniciado) {
                    r_.arquivoIniciado = true;
                    if (!PreparaArquivoTransmissao()) return;
                }
                if (querPlanilha_) iniciaPlanilha().BlocoConsolidados();
                do {
                    if (r_.arquivoMantido) break;
                    LimpaRegistroTransmissao(reg_);
                    PreencheConsolidado(reg_, c, cmpt);
                    MontaLinhaTransmissao(reg_, r_.nomeBase);
                    if (planilha_) planilha_->LinhaConsolidado(sequencia_ + 1, camposDaLinha());
                    escreve();
                    ++r_.consolidados;
                } while (c.next());
            }
        }
        // Pass 3: establishments without movement.
        {
            auto remessa = db_.prepare(kSqlSemMovimento);
            remessa.bind("cmpt", cmpt).bind("st", "2");
            Cursor c = remessa.open();
            if (c.next()) {
                if (querPlanilha_) iniciaPlanilha().BlocoSemMovimento();
                if (!r_.arquivoIniciado) {
                    r_.arquivoIniciado = true;
                    if (!PreparaArquivoTransmissao()) return;
                }
                do {
                    if (r_.arquivoMantido) break;
                    LimpaRegistroTransmissao(reg_);
                    PreencheSemMovimento(reg_, c.text(std::size_t{0}), cmpt);
                    MontaLinhaTransmissao(reg_, r_.nomeBase);
                    if (planilha_) planilha_->LinhaSemMovimento(sequencia_ + 1, camposDaLinha());
                    escreve();
                    ++r_.semMovimento;
                } while (c.next());
            }
        }
        if (r_.arquivoMantido) return;
        if (r_.arquivoIniciado) {
            arquivo_.put(kFimArquivoTransmissao);
            arquivo_.flush();
            arquivo_.close();
            if (arquivo_.fail()) falhaEscrita();
            driver_.informa("Integracao efetuada com sucesso");
        } else {
            driver_.informa("Competência não encontrada na tabela de movimento");
        }
    }

    // PreparaArquivoTransmissao: folders, paths, the question about an existing file, the file
    // opened empty. False when a folder could not be created (reported).
    bool PreparaArquivoTransmissao() {
        const fs::path niveis[] = {dirtrab_ / "VELT02", dirtrab_ / "VELT02" / r_.competencia, d_};
        for (int n = 0; n < 3; ++n) {
            std::error_code ec;
            if (fs::is_directory(niveis[n], ec)) continue;
            fs::create_directory(niveis[n], ec);
            if (ec || !fs::is_directory(niveis[n])) {
                driver_.erro((n == 0 ? "Erro ao criar o diretorio de trabalho " : "Erro ao criar o subdiretorio de trabalho ") +
                             niveis[n].string());
                erroDiretorio_ = true;
                return false;
            }
        }
        if (querPlanilha_) r_.planilha = d_ / (r_.nomeBase + ".xlsx");
        r_.arquivoTransmissao = d_ / (r_.nomeBase + ".VLT");
        r_.arquivoZip = d_ / (r_.nomeBase + ".ZIP");
        if (fs::exists(r_.arquivoTransmissao)) {
            if (!PerguntaSimNao(driver_, "Sobrepõe arquivo existente: " + r_.arquivoTransmissao.string() + "?")) {
                r_.arquivoMantido = true;
                return true;
            }
            std::error_code ec;
            fs::remove(r_.arquivoTransmissao, ec);
        }
        buffer_.resize(1 << 20);
        arquivo_.rdbuf()->pubsetbuf(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        arquivo_.open(r_.arquivoTransmissao, std::ios::binary | std::ios::trunc);
        abriuArquivo_ = arquivo_.is_open();
        if (!abriuArquivo_) falhaEscrita();
        return true;
    }

    PlanilhaTransmissao& iniciaPlanilha() {
        // IniciaPlanilha when the first block that has records is about to get its heading.
        if (!planilha_) planilha_ = std::make_unique<PlanilhaTransmissao>(d_ / (r_.nomeBase + ".xlsx"));
        return *planilha_;
    }

    // The fields as the line holds them, the file name included, for the workbook row.
    const CamposLidos& camposDaLinha() {
        reg_[campo::NomeArquivo] = nome12_;
        return reg_.campos;
    }

    void escreve() {
        arquivo_.write(reg_.linha.data(), static_cast<std::streamsize>(reg_.linha.size()));
        arquivo_.write("\r\n", 2);
        if (!arquivo_) falhaEscrita();
        if (++sequencia_ % 2000 == 0) driver_.processaEventos();
    }

    [[noreturn]] void falhaEscrita() {
        int e = errno;
        std::string texto = e ? std::strerror(e) : "falha de gravação";
        abandonaArquivo(texto);
        throw FalhaGravacao(texto);
    }

    // A file whose writing failed is removed, so that it can be neither zipped nor kept later.
    void abandonaArquivo(const std::string& motivo) {
        if (arquivo_.is_open()) arquivo_.close();
        std::string caminho = r_.arquivoTransmissao.string();
        if (abriuArquivo_) {
            std::error_code ec;
            fs::remove(r_.arquivoTransmissao, ec);
        }
        driver_.erro("Erro ao gerar o arquivo de integração (" + caminho + "): " + motivo +
                     "\nO arquivo não foi compactado.");
    }

    Database& db_;
    Driver& driver_;
    ResultadoCompactacao& r_;
    bool querPlanilha_;
    fs::path dirtrab_, d_;
    std::string nome12_;
    std::unique_ptr<PlanilhaTransmissao> planilha_;
    std::vector<char> buffer_;
    std::ofstream arquivo_;
    bool abriuArquivo_ = false;
    bool erroDiretorio_ = false;
    RegistroTransmissao reg_;
    long sequencia_ = 0;
};

std::string dois(int v) {
    char b[8];
    std::snprintf(b, sizeof b, "%02d", v);
    return b;
}

}  // namespace

std::string NomeBaseTransmissao(const Gestor& g, std::string_view competencia) {
    if (g.ehEstadual()) return g.uf + "0000" + std::string(competencia);
    return g.codmunic + std::string(competencia);
}

void AtualizaControleRemessa(Database& db, const std::string& nomeBase, const fs::path& arquivo,
                             const std::string& competencia) {
    DataHora dt = dataModificacao(arquivo.string());
    auto st = db.prepare(
        "update tb_estagio_remessa_hosp set nu_remessa = :rem "
        ",dt_geracao_remessa = :dt where dt_competencia = :cmpt");
    st.bind("rem", nomeBase).bind("dt", dt).bind("cmpt", competencia).execute();
}

fs::path ArquivoBackupCompactacao(const fs::path& dirtrab) {
    DataHora a = agora();
    std::string stamp = dois(a.mes) + dois(a.dia) + std::to_string(a.ano) + "_" + dois(a.hora) + dois(a.minuto) +
                        dois(a.segundo);
    return dirtrab / "Backups" / ("VELT02_" + stamp + ".gbk");
}

Compactacao::Compactacao(Database& db, Driver& driver) : db_(db), driver_(driver) {}

ResultadoCompactacao Compactacao::executa(std::string_view texto, bool querPlanilha,
                                          std::function<void(const ResultadoBackup&)> aoTerminarBackup) {
    ResultadoCompactacao r;
    auto gestor = LeGestor(db_);
    if (!gestor) {
        driver_.erro(kMensagemGuardaGestor);
        r.fim = Fim::SemGestor;
        return r;
    }
    fs::path dirtrab = fs::path(cp1252::toUtf8(gestor->dirtrab));
    std::unique_ptr<PlanilhaTransmissao> planilha;

    DataAtual hoje = LeDataAtual();
    std::string t(texto);
    bool valida = ValidaCompetencia(t) && t.size() >= 7;
    if (valida) {
        std::string mm = t.substr(0, 2), yyyy = t.substr(3, 4);
        r.competencia = yyyy + mm;
        if (r.competencia > hoje.AnoAtual + hoje.MesAtual) valida = false;
    }
    if (!valida) {
        driver_.erro("Competência Inválida.\nInforme uma competência válida.");
        r.fim = Fim::CompetenciaInvalida;
        r.competencia.clear();
    } else {
        Execucao e(db_, driver_, r, *gestor, querPlanilha);
        bool seguiu = e.GeraArquivoTransmissao();
        planilha = std::move(e.planilha());
        if (!seguiu) {
            r.fim = e.erroDiretorio() ? Fim::ErroDiretorio : Fim::ErroGravacao;
            return r;
        }
        if (r.arquivoIniciado && !fs::exists(r.arquivoTransmissao)) {
            driver_.erro("O arquivo de integração (" + r.arquivoTransmissao.string() +
                         ") para esta competência, não foi encontrado.");
            r.fim = Fim::ArquivoNaoEncontrado;
            return r;
        }
        if (r.arquivoIniciado && fs::exists(r.arquivoZip)) {
            if (!PerguntaSimNao(driver_, "Sobrepõe arquivo existente: " + r.arquivoZip.string() + "?")) {
                r.fim = Fim::ZipMantido;
                return r;
            }
            fs::remove(r.arquivoZip);
        }
        if (r.arquivoIniciado) {
            driver_.status("Compactando arquivo " + r.arquivoTransmissao.string() + " ...");
            driver_.processaEventos();
            std::string erro = CompactaArquivoTransmissao(r.arquivoZip, r.arquivoTransmissao,
                                                          r.nomeBase + ".VLT", kSenhaRemessa);
            if (!erro.empty()) driver_.erro("Erro na compactação (comando add)");
            try {
                DeslocaBytesZip(r.arquivoZip, r.nomeBase, driver_);
            } catch (const fs::filesystem_error& ex) {
                driver_.status("");
                driver_.erro(ex.what());
                r.fim = Fim::ErroDeslocamento;
                return r;
            }
            r.zipado = erro.empty() && fs::exists(r.arquivoZip);
            driver_.informa("Compactação concluída");
            AtualizaControleRemessa(db_, r.nomeBase, r.arquivoTransmissao, r.competencia);
            r.carimbado = true;
        }
        driver_.status("");
    }
    if (planilha) {
        try {
            planilha->SalvaPlanilha();
            r.planilhaSalva = true;
            driver_.informa("Planilha Excel gerada com sucesso no mesmo diretório da compactação");
        } catch (const std::exception& ex) {
            driver_.erro(ex.what());
        }
        planilha.reset();
    }

    std::error_code ec;
    fs::create_directories(dirtrab / "Backups", ec);
    db_.detach();
    r.arquivoBackup = ArquivoBackupCompactacao(dirtrab);
    r.backup = std::make_unique<BackupEmSegundoPlano>(db_.params(), r.arquivoBackup.string(),
                                                      std::move(aoTerminarBackup));
    driver_.informa("Foi gerado um Backup da base no local e nome abaixo \n" + r.arquivoBackup.string());
    return r;
}

}  // namespace velt

#include "reference/ImportaFces.h"

#include <charconv>
#include <unordered_map>

#include "common/Validacao.h"
#include "data/Database.h"
#include "reference/LeituraReferencia.h"

namespace velt {
namespace fs = std::filesystem;

namespace {

constexpr const char* kErro = "ERRO";

constexpr const char* kCriaLfces004 =
    "CREATE TABLE LFCES004 (unidade_id char(31) not null, cnes char(7), r_social char(60), "
    "nome_fanta char(60), cnpj char(14), tp_unidade char(2), sigestgest char(2), codmungest char(6), "
    "TP_PF_PJ char(1), CO_NATUREZA char(4), PRIMARY KEY (unidade_id))";
constexpr const char* kCriaLfces002 =
    "CREATE TABLE LFCES002 (unidade_id char(31) not null, co_leito char(2) not null, co_tpleito char(2), "
    "qtd_exist char(4), qtd_cont char(4), qtd_sus char(4), PRIMARY KEY (unidade_id, co_leito))";
constexpr const char* kCriaLfces006 =
    "CREATE TABLE LFCES006 (unidade_id char(31) not null, codatprest char(2) not null, "
    "cod_conven char(2) not null, PRIMARY KEY (unidade_id, codatprest, cod_conven))";

// The selection of "Todos os estabelecimentos": units that offer attendance kind 01 or 02 under an
// agreement other than 01 (the public system).
constexpr const char* kSelecaoTodos =
    "select distinct a.unidade_id unidade_id,cnes,r_social,\n"
    "nome_fanta,cnpj,sigestgest,codmungest from LFCES004 a,\n"
    "LFCES006 b where a.unidade_id = b.unidade_id \n"
    "and b.cod_conven <> :sus and (b.codatprest = :ca1 or b.codatprest = :ca2)";

// "Estabelecimentos com apresentação obrigatória": not of person kind 1, and either the same
// attendance rule or a legal nature of group 3 (non-profit entities).
constexpr const char* kSelecaoObrigatorios =
    "select distinct a.unidade_id unidade_id,cnes,r_social,\n"
    "nome_fanta,cnpj,sigestgest,codmungest \n"
    "from LFCES004 a, LFCES006 b \n"
    "where a.unidade_id = b.unidade_id and a.tp_pf_pj <> :pessoa \n"
    "and ( ( (b.cod_conven <> :sus and b.codatprest = :ca1 )   or \n"
    "        (b.cod_conven <> :sus and b.codatprest = :ca2 ) ) or \n"
    "        (a.CO_NATUREZA LIKE :n3) )";

using referencia::chaveTexto;

// Characters posicao..posicao+tamanho-1 of a line (1-based), as the registry's layout gives them.
std::string corta(std::string_view linha, std::size_t posicao, std::size_t tamanho) {
    return referencia::campo(linha, posicao, posicao + tamanho - 1);
}

// A bed code read as a whole number the way the registry's codes are converted: leading blanks,
// an optional sign, then digits to the end.
bool codigoInteiro(std::string_view s, long& valor) {
    std::size_t i = s.find_first_not_of(' ');
    if (i == std::string_view::npos) return false;
    if (s[i] == '+') ++i;
    auto fim = s.data() + s.size();
    auto r = std::from_chars(s.data() + i, fim, valor);
    return r.ec == std::errc() && r.ptr == fim;
}

bool leitoDeUti(long codigo) {
    return (codigo >= 74 && codigo <= 83) || (codigo >= 85 && codigo <= 86);
}

// What the establishment row needs from a unit's beds: the same answer the look-up of its beds in
// LFCES002 gives, kept while the beds are loaded.
struct LeitosDaUnidade {
    bool uti = false;
    bool codigoInvalido = false;
};

// Cuts one line into the insert's parameters.
using CortaLinha = void (*)(std::string_view linha, Statement& ins);

void cortaLfces002(std::string_view l, Statement& ins) {
    ins.bind("uni", CompletaEsquerda(corta(l, 1, 31), 31, '0'));
    ins.bind("leito", corta(l, 32, 2));
    ins.bind("tpleito", corta(l, 34, 2));
    ins.bind("exist", corta(l, 37, 4));
    ins.bind("contr", corta(l, 41, 4));
    ins.bind("sus", corta(l, 45, 4));
}

std::string limpo(std::string_view s) {
    return TrocaAspas(s);
}
std::string preenchidoLimpo(std::string_view s, int tamanho) {
    return TrocaAspas(CompletaEsquerda(s, tamanho, '0'));
}

void cortaLfces004(std::string_view l, Statement& ins) {
    ins.bind("uni", preenchidoLimpo(corta(l, 1, 31), 31));
    ins.bind("cnes", preenchidoLimpo(corta(l, 32, 7), 7));
    ins.bind("id", corta(l, 53, 1));
    ins.bind("razao", limpo(corta(l, 54, 60)));
    ins.bind("nome", limpo(corta(l, 114, 60)));
    ins.bind("cnpj", preenchidoLimpo(corta(l, 185, 14), 14));
    ins.bind("tipo", limpo(corta(l, 199, 2)));
    ins.bind("est", limpo(corta(l, 201, 2)));
    ins.bind("mun", limpo(referencia::apara(corta(l, 203, 7))));
    ins.bind("nat", corta(l, 210, 4));
}

void cortaLfces006(std::string_view l, Statement& ins) {
    ins.bind("uni", preenchidoLimpo(corta(l, 1, 31), 31));
    ins.bind("atend", limpo(corta(l, 32, 2)));
    ins.bind("conv", limpo(corta(l, 34, 2)));
}

}  // namespace

ImportaFces::ImportaFces(Database& db, Driver& driver) : db_(db), driver_(driver), memo_(driver) {}

void ImportaFces::preparaTabelasTrabalho() {
    auto existe = db_.prepare("SELECT 1 result FROM RDB$RELATIONS WHERE RDB$RELATION_NAME= :tab");
    const std::pair<const char*, const char*> tabelas[] = {
        {"LFCES004", kCriaLfces004}, {"LFCES002", kCriaLfces002}, {"LFCES006", kCriaLfces006}};
    for (const auto& [tabela, cria] : tabelas) {
        bool presente = false;
        {
            existe.bind("tab", tabela);
            auto c = existe.open();
            presente = c.next() && c.integer("result") != 0;
        }
        if (presente) db_.execute(std::string("DROP TABLE ") + tabela);
        db_.execute(cria);
    }
    auto coluna = db_.prepare(
        "SELECT * FROM RDB$RELATION_FIELDS WHERE RDB$FIELD_name = :campo\n and RDB$RELATION_NAME= :tab");
    coluna.bind("tab", "TB_ESTABELECIMENTO").bind("campo", "ST_LEITO");
    bool temColuna = false;
    {
        auto c = coluna.open();
        temColuna = c.next();
    }
    if (!temColuna) db_.execute("ALTER TABLE TB_ESTABELECIMENTO ADD ST_LEITO varchar(1)");
}

ResultadoImportaFces ImportaFces::executa(const fs::path& pasta, FiltroFces filtro) {
    ResultadoImportaFces r;
    driver_.processaEventos();

    const fs::path arqLeitos = referencia::localizaArquivo(pasta, "lfces002.txt");
    const fs::path arqUnidades = referencia::localizaArquivo(pasta, "lfces004.txt");
    const fs::path arqAtendimentos = referencia::localizaArquivo(pasta, "lfces006.txt");
    if (arqLeitos.empty() || arqUnidades.empty() || arqAtendimentos.empty()) {
        driver_.avisa("ARQUIVOS(lfces002.txt, lfces004.txt e lfces006.txt) NÃO ENCONTRADOS!", "ATENÇÃO");
        r.situacao = ResultadoImportaFces::Situacao::ArquivosAusentes;
        return r;
    }

    try {
        preparaTabelasTrabalho();
    } catch (const DatabaseError&) {
        driver_.erro("ERRO AO CRIAR TABELA DE ESTABELECIMENTO - REFAZER O PROCESSO", kErro);
        return r;
    }

    Transaction tx(db_);
    try {
        tx.execute("delete from tb_estabelecimento");
    } catch (const DatabaseError&) {
        driver_.erro("ERRO NA LIMPEZA DA TABELA DE ESTABELECIMENTO - REFAZER O PROCESSO", kErro);
        return r;
    }

    std::unordered_map<std::string, LeitosDaUnidade> leitos;

    // Loads one file into its staging table; the first rejected line ends the load.
    auto carrega = [&](const fs::path& arquivo, const std::string& tabela, std::size_t linhaMemo,
                       const char* insert, CortaLinha cortaLinha, std::int64_t& contador, bool guardaLeitos) {
        const std::string status = "Carregando " + tabela;
        driver_.processaEventos();
        const std::int64_t total = ContaLinhas(arquivo.string());
        std::int64_t posicao = 0;
        driver_.progresso(0, total);
        memo_.substitui(linhaMemo, status + "...");
        memo_.adiciona("");
        bool ok = true;
        try {
            referencia::LeitorLinhas linhas(arquivo);
            auto ins = db_.prepare(insert);
            std::string linha;
            linhas.proxima(linha);  // header
            while (linhas.proxima(linha)) {
                ++posicao;
                if ((posicao & 511) == 0) {
                    driver_.progresso(posicao, total);
                    driver_.processaEventos();
                }
                cortaLinha(linha, ins);
                ins.execute(tx);
                ++contador;
                if (guardaLeitos) {
                    std::string uni = chaveTexto(CompletaEsquerda(corta(linha, 1, 31), 31, '0'));
                    long codigo = 0;
                    auto& u = leitos[uni];
                    if (!codigoInteiro(corta(linha, 32, 2), codigo))
                        u.codigoInvalido = true;
                    else if (leitoDeUti(codigo))
                        u.uti = true;
                }
            }
        } catch (const std::exception&) {  // a line the database refuses, or an unreadable file
            ok = false;
        }
        driver_.progresso(posicao, total);
        if (!ok) {
            driver_.erro("ERRO AO IMPORTAR O ARQUIVO " + tabela + "!", kErro);
            memo_.substitui(linhaMemo, status + "......ERRO!");
            return false;
        }
        memo_.substitui(linhaMemo, status + "......OK!");
        return true;
    };

    if (!carrega(arqLeitos, "LFCES002", 0,
                 "insert into LFCES002 values (:uni,:leito,:tpleito,:exist,:contr,:sus)", cortaLfces002,
                 r.leitos, true))
        return r;
    if (!carrega(arqUnidades, "LFCES004", 1,
                 "insert into LFCES004 values (:uni,:cnes,:razao,:nome,:cnpj,:tipo,:est,:mun,:id,:nat)",
                 cortaLfces004, r.unidades, false))
        return r;
    if (!carrega(arqAtendimentos, "LFCES006", 2, "insert into LFCES006 values (:uni,:atend,:conv)",
                 cortaLfces006, r.atendimentos, false))
        return r;

    bool gravou = true;
    try {
        auto selecao = db_.prepare(filtro == FiltroFces::Todos ? kSelecaoTodos : kSelecaoObrigatorios);
        selecao.bind("sus", "01").bind("ca1", "01").bind("ca2", "02");
        if (filtro == FiltroFces::ApresentacaoObrigatoria) selecao.bind("pessoa", "1").bind("n3", "3%");
        auto ins =
            db_.prepare("insert into tb_estabelecimento values (:cnes,:cnpj,:raz,:nome,:est,:mun,:uti)");
        auto c = selecao.open(tx);
        while (c.next()) {
            auto l = leitos.find(chaveTexto(c.text("unidade_id")));
            std::string uti = "0";
            if (l != leitos.end()) {
                // A bed code that is not a number cannot be classed: the run stops like a failed insert.
                if (l->second.codigoInvalido) {
                    gravou = false;
                    break;
                }
                if (l->second.uti) uti = "1";
            }
            ins.bind("cnes", chaveTexto(c.text("cnes")))
                .bind("cnpj", chaveTexto(c.text("cnpj")))
                .bind("raz", chaveTexto(c.text("r_social")))
                .bind("nome", chaveTexto(c.text("nome_fanta")))
                .bind("est", chaveTexto(c.text("sigestgest")))
                .bind("mun", chaveTexto(c.text("codmungest")))
                .bind("uti", uti);
            ins.execute(tx);
            ++r.estabelecimentos;
        }
        c.close();
        if (gravou) tx.commit();
    } catch (const DatabaseError&) {
        gravou = false;
    }
    if (!gravou) {
        driver_.erro("ERRO AO INSERIR NA TABELA DE ESTABELECIMENTO", kErro);
        r.estabelecimentos = 0;
        return r;
    }

    memo_.adiciona("");
    memo_.adiciona("FIM DA IMPORTAÇÃO!");
    driver_.processaEventos();
    r.situacao = ResultadoImportaFces::Situacao::Concluida;
    return r;
}

}  // namespace velt

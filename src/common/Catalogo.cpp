#include "common/Catalogo.h"

#include <array>
#include <fstream>
#include <set>
#include <sstream>
#include <utility>

namespace velt {

namespace fs = std::filesystem;

namespace {

// Codes 56 and 72 share one text; "48" has no entry.
constexpr std::pair<std::string_view, std::string_view> kMensagens[] = {
    {"01", "Prontuário Obrigatório"},
    {"02", "Prontuário Já Cadastrado"},
    {"03", "Logradouro Obrigatório"},
    {"04", "Código do Município Não Encontrado"},
    {"05", "UF Não Encontrada"},
    {"06", "CEP Obrigatório"},
    {"07", "Data  Nascimento obrigatória"},
    {"08", "Data  Nascimento não pode ser maior do que a Data Atual"},
    {"09", "Sexo obrigatório"},
    {"10", "CNPJ obrigatório para Fonte de Remuneração ( 6 ou 9 )"},
    {"11", "Registro ANS ou CNPJ obrigatórios para Fonte de Remuneração igual a 1"},
    {"12", "Registro ANS não encontrado"},
    {"13", "Motivo da alta nao informado ou invalido para a competencia"},
    {"14", "Óbito incompatível com o Motivo da Alta"},
    {"15", "Documento de Óbito não informado ou Inválido"},
    {"16", "Erro na conversão da Data Saída."},
    {"17", "Erro na conversão da Data Internação."},
    {"18", "Total de Dias de UTI não pode ser maior que o total de dias de internação"},
    {"19", "Data  Internação obrigatória"},
    {"20", "Data  Internação não pode ser maior que Data Atual"},
    {"21", "Data  Internação não pode ser maior do que Data de Saída"},
    {"22", "Data Saída obrigatória"},
    {"23", "Sobreposição de Internações"},
    {"24", "Data Saída não pode ser menor que Data Internação"},
    {"25", "Data Saída não pode ser maior que Data Atual"},
    {"26", "CNS inválido"},
    {"27", "Procedimento não encontrado"},
    {"28", "CNPJ Inválido!"},
    {"29", "Descrição do Procedimento invalida"},
    {"30", "Diagnóstico Principal não encontrado"},
    {"31", "Diagnóstico Principal incompatível com o sexo do paciente"},
    {"32", "Diagnóstico Secundário não encontrado"},
    {"33", "Diagnóstico Secundário incompatível com o sexo do paciente"},
    {"34", "Nenhum prontuário foi Encontrado."},
    {"35", "Fonte Remuneração não encontrada"},
    {"36", "Fonte de remuneração 10 inválida - Estabelecimento não possui cadastro no programa PRONON"},
    {"37", "Fonte de remuneração 11 inválida - Estabelecimento não possui cadastro no programa PRONAS/PCD"},
    {"38", "Fonte Remuneração não habilitada para este CNES."},
    {"39", "Cód.Beneficiário obrigatório para Fonte Remuneração igual a 1"},
    {"40", "Cód.Beneficiário deve estar vazio"},
    {"41", "Número de Nascidos obrigatório para esse procedimento"},
    {"42", "Doc.Nasc.(1) obrigatório"},
    {"43", "Doc.Nasc.(1) e (2) obrigatórios "},
    {"44", "Doc.Nasc.(1) ao (3) obrigatórios"},
    {"45", "Doc.Nasc.(1) ao (4) obrigatórios"},
    {"46", "Doc.Nasc.(1) ao (5) obrigatórios"},
    {"47", "Procedimento incompatível com o sexo do paciente"},
    {"49", "Cnes não encontrado"},
    {"50", "Nome Obrigatório"},
    {"51", "Idade Limite = 110 Anos"},
    {"52", "Campo Compt inválido"},
    {"53", "CNPJ Obrigatório Para Fonte Remuneração (1 , 6 ou 9)"},
    {"54", " Versão Incorreta "},
    {"55", " Hospital Não Cadastrado   "},
    {"56", "Erro na Importação da Tabela - Refazer o processo"},
    {"57", "Parâmetro incorreto"},
    {"58", "Descrição do procedimento Obrigatória para o código "},
    {"59", "Campo Obrigatório "},
    {"60", "CNES Inválido"},
    {"61", "Foi Gerado um Arquivo sem Movimento"},
    {"62", "Erro de abertura de arquivo Zip"},
    {"63", "Arquivo para envio gerado com sucesso"},
    {"64", "Erro na compactação (comando add)"},
    {"65", "Indique onde se encontra o seu Banco"},
    {"66", "Indique onde será Gravado o Backup"},
    {"67", "Backup Efetuado com Sucesso"},
    {"68", "Indique onde esta o seu Arquivo de Backup"},
    {"69", "Indique onde irá Restaurar o seu Backup"},
    {"70", "Restauração Efetuada com Sucesso"},
    {"71", "Erro ao Limpeza da Tabela - Refazer o processo"},
    {"72", "Erro na Importação da Tabela - Refazer o processo"},
    {"73", "Fim carga da Tabela"},
    {"74", "Erro na Descompactação"},
    {"75", "Alta nao compativel com o procedimento de parto realizado"},
    {"76", "Alta nao compativel com o procedimento realizado"},
    {"77", "Procedimento não compatível com o tipo de atendimento consolidado"},
    {"78", "Quantidade Inválida"},
    {"79", "Quantidade informada deve ser maior que zero"},
    {"80", "Competência inferior a 01/1991"},
    {"81", "Atendimento já cadastrado para esta Competência"},
    {"82", "Nenhum lançamento consolidado foi encontrado"},
    {"83", "Competência superior a atual"},
    {"84", "Procedimento não compatível com o tipo do atendimento (individualizado)"},
    {"85", "Modalidade não informada"},
    {"86", "Modalidade inválida"},
    {"87", "Modalidade não compatível com o procedimento"},
    {"88", "Quantidade não compatível com o tipo de modalidade"},
    {"89", "Sobreposição Ambulatorial"},
    {"90", "CEP não corresponde ao municipio informado"},
    {"91", "Para esta modalidade de atendimento o código do motivo da alta não deve ser preenchido"},
    {"92", "Para esta modalidade de atendimento a data de saida/alta não deve ser preenchida"},
    {"93", "Procedimento nao pode ser utilizado como principal na internacao"},
    {"94", "Procedimento nao pode ser utilizado como principal no atendimento ambulatorial"},
    {"95", "Favor Selecionar o Municipio"},
    {"96", "CEP inválido, favor corrigir o Municipio ou o CEP"},
    {"97", "Número da Guia TISS inválido"},
    {"98", "Número do CNS inválido"},
};

std::string decodificaOctal(const std::string& s) {
    // Mount points escape blanks and the like as \ooo.
    std::string r;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size()) {
            bool octal = true;
            for (std::size_t k = 1; k <= 3; ++k)
                if (s[i + k] < '0' || s[i + k] > '7') octal = false;
            if (octal) {
                r += char((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
                i += 3;
                continue;
            }
        }
        r += s[i];
    }
    return r;
}

bool comecaCom(std::string_view s, std::string_view p) {
    return s.substr(0, p.size()) == p;
}

// Disks and network shares are what a person browses; kernel and runtime file systems are not.
bool ehUnidade(const std::string& dispositivo, const std::string& ponto, const std::string& tipo) {
    static const std::set<std::string> rede = {"nfs",  "nfs4", "cifs",     "smbfs",
                                               "smb3", "9p",   "virtiofs", "vboxsf"};
    bool disco = comecaCom(dispositivo, "/dev/") && !comecaCom(dispositivo, "/dev/loop");
    bool remoto = rede.count(tipo) > 0 || comecaCom(tipo, "fuse.sshfs");
    if (!disco && !remoto) return false;
    for (std::string_view sistema : {"/proc", "/sys", "/dev", "/run", "/boot", "/snap", "/etc", "/var/lib"})
        if (ponto == sistema || comecaCom(ponto, std::string(sistema) + "/"))
            return comecaCom(ponto, "/run/media/");
    return true;
}

}  // namespace

std::string MensagemPorCodigo(std::string_view codigo) {
    for (const auto& [chave, texto] : kMensagens)
        if (chave == codigo) return std::string(texto);
    return {};
}

std::string DeslocaCaracteres(std::string_view s) {
    std::string r(s);
    for (char& c : r) c = char((static_cast<unsigned char>(c) + 11) % 256);
    return r;
}

std::string DigitoPorPesos(std::string_view digitos, std::size_t quantidade, std::string_view pesos) {
    int soma = 0;
    for (std::size_t i = 0; i < quantidade; ++i) {
        int d = (i < digitos.size() && digitos[i] >= '0' && digitos[i] <= '9') ? digitos[i] - '0' : 0;
        int p = (i < pesos.size() && pesos[i] >= '0' && pesos[i] <= '9') ? pesos[i] - '0' : 0;
        soma += p * d;
    }
    int r = soma % 11;
    std::string resultado(digitos);
    resultado += r < 2 ? std::string("0") : std::to_string(11 - r);
    return resultado;
}

bool ConfereCNES(std::string_view s) {
    if (s.size() <= 5) return false;
    auto n = ComoInteiro(s);
    if (!n || *n == 0) return false;
    if (!SoDigitos(s.substr(0, 6))) return false;
    return DigitoPorPesos(s.substr(0, 6), 6, "765432") == s;
}

bool RestauraBytesZip(const fs::path& arquivo, const fs::path& destino, Driver& driver) {
    std::string nome = NomeSemExtensao(arquivo.string());
    fs::path temporario = destino / "tmp.zip";
    fs::path final = destino / (nome + ".ZIP");
    {
        std::ifstream in(arquivo, std::ios::binary);
        if (!in)
            throw fs::filesystem_error("Não foi possível abrir o arquivo", arquivo,
                                       std::make_error_code(std::errc::no_such_file_or_directory));
        std::ofstream out(temporario, std::ios::binary | std::ios::trunc);
        if (!out)
            throw fs::filesystem_error("Não foi possível criar o arquivo", temporario,
                                       std::make_error_code(std::errc::permission_denied));
        std::array<char, 1 << 16> buf;
        while (in) {
            in.read(buf.data(), buf.size());
            std::streamsize n = in.gcount();
            for (std::streamsize i = 0; i < n; ++i)
                buf[std::size_t(i)] =
                    char((static_cast<unsigned char>(buf[std::size_t(i)]) + 256 - 32) % 256);
            out.write(buf.data(), n);
        }
        out.close();
        if (!out)
            throw fs::filesystem_error("Falha ao gravar o arquivo", temporario,
                                       std::make_error_code(std::errc::io_error));
    }
    std::error_code ec;
    fs::rename(temporario, final, ec);
    if (ec || !fs::exists(final)) {
        driver.mensagem("", "Falha na descompactação do arquivo - reexecutar a operação",
                        Driver::Icone::Nenhum);
        fs::remove(temporario, ec);
        return false;
    }
    return true;
}

std::vector<std::string> ListaUnidades(std::istream& montagens) {
    std::vector<std::string> unidades{"/"};
    std::string linha;
    while (std::getline(montagens, linha)) {
        std::istringstream campos(linha);
        std::string dispositivo, ponto, tipo;
        if (!(campos >> dispositivo >> ponto >> tipo)) continue;
        ponto = decodificaOctal(ponto);
        if (ponto == "/" || !ehUnidade(dispositivo, ponto, tipo)) continue;
        bool repetido = false;
        for (const auto& u : unidades) repetido = repetido || u == ponto;
        if (!repetido) unidades.push_back(ponto);
    }
    return unidades;
}

std::vector<std::string> ListaUnidades() {
    std::ifstream montagens("/proc/self/mounts");
    std::vector<std::string> todas = ListaUnidades(montagens);
    std::vector<std::string> unidades;
    for (const auto& u : todas) {
        std::error_code ec;
        if (fs::is_directory(u, ec)) unidades.push_back(u);
    }
    return unidades;
}

}  // namespace velt

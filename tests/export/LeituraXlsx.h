#pragma once
// Reads back the cells of a workbook written by the program: an xlsx file is a zip of XML parts.
#include <zip.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <regex>
#include <string>
#include <utility>
#include <vector>

namespace velt::test {

inline std::string parteXlsx(const std::string& arquivo, const std::string& parte) {
    int erro = 0;
    zip_t* za = zip_open(arquivo.c_str(), ZIP_RDONLY, &erro);
    if (!za) return {};
    std::string conteudo;
    zip_stat_t st;
    if (zip_stat(za, parte.c_str(), 0, &st) == 0) {
        zip_file_t* f = zip_fopen(za, parte.c_str(), 0);
        conteudo.resize(st.size);
        zip_fread(f, conteudo.data(), st.size);
        zip_fclose(f);
    }
    zip_close(za);
    return conteudo;
}

inline std::string desfazEntidades(std::string s) {
    const std::pair<const char*, const char*> ents[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
    for (auto [de, para] : ents)
        for (auto p = s.find(de); p != std::string::npos; p = s.find(de, p + 1)) s.replace(p, std::strlen(de), para);
    return s;
}

// Cells by address ("A1"), UTF-8 texts.
struct Planilha {
    std::string nomeAba;
    std::map<std::string, std::string> celulas;
    int ultimaLinha = 0;
    std::string operator()(const std::string& endereco) const {
        auto it = celulas.find(endereco);
        return it == celulas.end() ? std::string() : it->second;
    }
    // How many cells a row holds.
    int celulasNaLinha(int linha) const {
        int n = 0;
        std::regex r("^[A-Z]+" + std::to_string(linha) + "$");
        for (const auto& [e, v] : celulas) n += std::regex_match(e, r);
        return n;
    }
};

inline Planilha lePlanilha(const std::string& arquivo) {
    Planilha p;
    std::smatch m;
    std::string wb = parteXlsx(arquivo, "xl/workbook.xml");
    if (std::regex_search(wb, m, std::regex("<sheet name=\"([^\"]*)\""))) p.nomeAba = desfazEntidades(m[1]);
    std::vector<std::string> compartilhadas;
    std::string ss = parteXlsx(arquivo, "xl/sharedStrings.xml");
    std::regex si("<si>(.*?)</si>");
    std::regex t("<t[^>]*>([^<]*)</t>");
    for (auto it = std::sregex_iterator(ss.begin(), ss.end(), si); it != std::sregex_iterator(); ++it) {
        std::string corpo = (*it)[1];
        std::smatch mt;
        compartilhadas.push_back(std::regex_search(corpo, mt, t) ? desfazEntidades(mt[1]) : "");
    }
    std::string sh = parteXlsx(arquivo, "xl/worksheets/sheet1.xml");
    std::regex c("<c r=\"([A-Z]+)([0-9]+)\"([^>]*?)(/>|>(.*?)</c>)");
    for (auto it = std::sregex_iterator(sh.begin(), sh.end(), c); it != std::sregex_iterator(); ++it) {
        const auto& mc = *it;
        std::string atributos = mc[3], corpo = mc[5], valor;
        std::smatch mv;
        if (atributos.find("t=\"s\"") != std::string::npos &&
            std::regex_search(corpo, mv, std::regex("<v>([0-9]+)</v>")))
            valor = compartilhadas.at(std::stoul(mv[1]));
        else if (std::regex_search(corpo, mv, t))
            valor = desfazEntidades(mv[1]);
        else if (std::regex_search(corpo, mv, std::regex("<v>([^<]*)</v>")))
            valor = mv[1];
        p.celulas[std::string(mc[1]) + std::string(mc[2])] = valor;
        p.ultimaLinha = std::max(p.ultimaLinha, std::stoi(mc[2]));
    }
    return p;
}

}  // namespace velt::test

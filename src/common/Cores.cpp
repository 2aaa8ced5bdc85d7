#include "common/Cores.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <utility>

namespace velt {
namespace {

constexpr std::pair<const char*, std::uint32_t> kNomes[] = {
    {"clblack", 0x000000},   {"clmaroon", 0x000080},    {"clgreen", 0x008000},   {"clolive", 0x008080},
    {"clnavy", 0x800000},    {"clpurple", 0x800080},    {"clteal", 0x808000},    {"clgray", 0x808080},
    {"clsilver", 0xC0C0C0},  {"clred", 0x0000FF},       {"cllime", 0x00FF00},    {"clyellow", 0x00FFFF},
    {"clblue", 0xFF0000},    {"clfuchsia", 0xFF00FF},   {"claqua", 0xFFFF00},    {"clwhite", 0xFFFFFF},
    {"clltgray", 0xC0C0C0},  {"cldkgray", 0x808080},    {"clmoneygreen", 0xC0DCC0}, {"clskyblue", 0xF0CAA6},
    {"clcream", 0xF0FBFF},   {"clmedgray", 0xA4A0A0},
};

}  // namespace

std::optional<std::uint32_t> LeCor(std::string texto) {
    auto b = texto.find_first_not_of(" \t\r");
    if (b == std::string::npos) return std::nullopt;
    texto = texto.substr(b, texto.find_last_not_of(" \t\r") - b + 1);
    std::string lower = texto;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    for (const auto& [nome, valor] : kNomes)
        if (lower == nome) return valor;
    std::int64_t v = 0;
    const char* first = texto.data();
    const char* last = texto.data() + texto.size();
    int base = 10;
    if (*first == '$') {
        ++first;
        base = 16;
    }
    auto r = std::from_chars(first, last, v, base);
    if (r.ec != std::errc() || r.ptr != last || first == last || v < 0 || v > 0xFFFFFFFF) return std::nullopt;
    return static_cast<std::uint32_t>(v);
}

Cores LeCores(const std::filesystem::path& arquivo) {
    Cores c;
    std::ifstream in(arquivo, std::ios::binary);
    if (!in) return c;
    std::uint32_t* destino[] = {&c.formulario, &c.painel, &c.grade};
    std::string linha;
    for (auto* d : destino) {
        if (!std::getline(in, linha)) break;
        if (auto cor = LeCor(linha)) *d = *cor;
    }
    return c;
}

}  // namespace velt

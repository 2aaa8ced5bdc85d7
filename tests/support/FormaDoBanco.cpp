#include "support/FormaDoBanco.h"

#include <sstream>

#include "data/Database.h"

namespace velt::test {
namespace {
std::string trim(std::string s) {
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}
}  // namespace

std::string formaDoBanco(Database& db) {
    std::ostringstream out;
    auto rel = db.prepare("select RDB$RELATION_NAME N, RDB$VIEW_BLR is not null V from RDB$RELATIONS "
                          "where coalesce(RDB$SYSTEM_FLAG, 0) = 0 order by 1")
                   .open();
    auto cols = db.prepare(
        "select rf.RDB$FIELD_NAME N, f.RDB$FIELD_TYPE T, f.RDB$CHARACTER_LENGTH L, rf.RDB$NULL_FLAG NN "
        "from RDB$RELATION_FIELDS rf join RDB$FIELDS f on f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
        "where rf.RDB$RELATION_NAME = :r order by rf.RDB$FIELD_POSITION");
    auto idx = db.prepare(
        "select i.RDB$INDEX_NAME N, i.RDB$UNIQUE_FLAG U, s.RDB$FIELD_NAME F from RDB$INDICES i "
        "join RDB$INDEX_SEGMENTS s on s.RDB$INDEX_NAME = i.RDB$INDEX_NAME "
        "where i.RDB$RELATION_NAME = :r and i.RDB$INDEX_NAME not starting with 'RDB$' "
        "order by i.RDB$INDEX_NAME, s.RDB$FIELD_POSITION");
    auto pk = db.prepare("select count(*) C from RDB$RELATION_CONSTRAINTS where RDB$RELATION_NAME = :r and "
                         "RDB$CONSTRAINT_TYPE = 'PRIMARY KEY'");
    while (rel.next()) {
        std::string nome = trim(rel.text("N"));
        out << (rel.text("V") == "True" ? "VIEW " : "TABLE ") << nome << "\n";
        auto c = cols.bind("r", nome).open();
        while (c.next())
            out << "  " << trim(c.text("N")) << " " << c.text("T") << "(" << c.text("L") << ")"
                << (c.integer("NN") == 1 ? " NOT NULL" : "") << "\n";
        auto i = idx.bind("r", nome).open();
        while (i.next()) out << "  index " << trim(i.text("N")) << " " << i.text("U") << " " << trim(i.text("F")) << "\n";
        auto p = pk.bind("r", nome).open();
        if (p.next() && p.integer("C") > 0) out << "  primary key\n";
    }
    auto f = db.prepare("select CO_FONTE_REMUNERA C from TB_FONTE_REMUNERACAO order by 1").open();
    out << "fontes:";
    while (f.next()) out << " " << trim(f.text("C"));
    out << "\n";
    return out.str();
}

}  // namespace velt::test

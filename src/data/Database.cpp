#include "data/Database.h"

#include <firebird/Interface.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>

using namespace Firebird;

namespace velt {
namespace {

IMaster* master() {
    static IMaster* m = fb_get_master_interface();
    return m;
}

[[noreturn]] void rethrow(const FbException& e) { throw DatabaseError(firebirdErrorText(e.getStatus())); }

std::string upper(std::string_view s) {
    std::string out(s);
    for (auto& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

char maiusculaAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// A name as the statement holds it (capitals) against a name as a caller writes it, without
// building a new text: rows and parameters are looked up by name on every use.
bool mesmoNome(std::string_view maiusculo, std::string_view nome) {
    if (maiusculo.size() != nome.size()) return false;
    for (std::size_t i = 0; i < nome.size(); ++i)
        if (maiusculo[i] != maiusculaAscii(nome[i])) return false;
    return true;
}

bool isNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$'; }

// Replaces ":name" by "?" outside quoted literals, quoted identifiers and comments, and lists
// the names in order of occurrence (upper case).
std::string parseNamedParameters(std::string_view sql, std::vector<std::string>& names) {
    std::string out;
    out.reserve(sql.size());
    for (std::size_t i = 0; i < sql.size();) {
        char c = sql[i];
        if (c == '\'' || c == '"') {
            std::size_t j = i + 1;
            while (j < sql.size()) {
                if (sql[j] == c) {
                    if (j + 1 < sql.size() && sql[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            j = std::min(j + 1, sql.size());
            out.append(sql.substr(i, j - i));
            i = j;
        } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            std::size_t j = sql.find('\n', i);
            j = j == std::string_view::npos ? sql.size() : j;
            out.append(sql.substr(i, j - i));
            i = j;
        } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
            std::size_t j = sql.find("*/", i + 2);
            j = j == std::string_view::npos ? sql.size() : j + 2;
            out.append(sql.substr(i, j - i));
            i = j;
        } else if (c == ':' && i + 1 < sql.size() && isNameStart(sql[i + 1])) {
            std::size_t j = i + 1;
            while (j < sql.size() && isNameChar(sql[j])) ++j;
            names.push_back(upper(sql.substr(i + 1, j - i - 1)));
            out += '?';
            i = j;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

std::vector<unsigned char> readCommittedTpb(Transaction::Modo modo) {
    std::vector<unsigned char> tpb{
        isc_tpb_version3,
        static_cast<unsigned char>(modo == Transaction::Modo::SomenteLeitura ? isc_tpb_read : isc_tpb_write),
        isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_wait};
    if (modo == Transaction::Modo::Carga) tpb.push_back(isc_tpb_no_auto_undo);
    return tpb;
}

ITransaction* startTx(IAttachment* att, Transaction::Modo modo) {
    ThrowStatusWrapper st(master()->getStatus());
    auto tpb = readCommittedTpb(modo);
    try {
        auto* tx = att->startTransaction(&st, static_cast<unsigned>(tpb.size()), tpb.data());
        st.dispose();
        return tx;
    } catch (const FbException& e) {
        std::string text = firebirdErrorText(e.getStatus());
        st.dispose();
        throw DatabaseError(text);
    }
}

// Runs f with a throwing status; converts a Firebird failure to DatabaseError.
template <typename F>
auto withStatus(F&& f) {
    ThrowStatusWrapper st(master()->getStatus());
    struct Disposer {
        ThrowStatusWrapper& s;
        ~Disposer() { s.dispose(); }
    } disposer{st};
    try {
        return f(st);
    } catch (const FbException& e) {
        rethrow(e);
    }
}

ISC_TIMESTAMP encodeTimestamp(const DataHora& v) {
    IUtil* util = master()->getUtilInterface();
    ISC_TIMESTAMP ts;
    ts.timestamp_date = util->encodeDate(static_cast<unsigned>(v.ano), static_cast<unsigned>(v.mes),
                                         static_cast<unsigned>(v.dia));
    ts.timestamp_time = util->encodeTime(static_cast<unsigned>(v.hora), static_cast<unsigned>(v.minuto),
                                         static_cast<unsigned>(v.segundo), static_cast<unsigned>(v.decimilesimos));
    return ts;
}

DataHora decodeTimestamp(ISC_DATE date, ISC_TIME time) {
    IUtil* util = master()->getUtilInterface();
    unsigned y = 0, m = 0, d = 0, hh = 0, mm = 0, ss = 0, frac = 0;
    util->decodeDate(date, &y, &m, &d);
    util->decodeTime(time, &hh, &mm, &ss, &frac);
    return DataHora{int(y), int(m), int(d), int(hh), int(mm), int(ss), int(frac)};
}

std::string scaledToText(std::int64_t v, int scale) {
    if (scale >= 0) {
        std::string s = std::to_string(v);
        if (scale > 0 && v != 0) s.append(static_cast<std::size_t>(scale), '0');
        return s;
    }
    bool neg = v < 0;
    std::string digits = std::to_string(neg ? -(v + 0) : v);
    std::size_t places = static_cast<std::size_t>(-scale);
    if (digits.size() <= places) digits.insert(0, places - digits.size() + 1, '0');
    digits.insert(digits.size() - places, ".");
    return neg ? "-" + digits : digits;
}

// One field of an input or output message.
struct Field {
    std::string name;  // upper case
    unsigned type = 0;
    int scale = 0;
    unsigned length = 0;
    unsigned offset = 0;
    unsigned nullOffset = 0;
};

// Builds a message layout: texts as VARYING (room for any value the server may accept or
// reject itself), integers as BIGINT, floats as DOUBLE, timestamps and dates as they are.
IMessageMetadata* coerce(ThrowStatusWrapper& st, IMessageMetadata* meta, bool input) {
    IMetadataBuilder* b = meta->getBuilder(&st);
    unsigned n = meta->getCount(&st);
    for (unsigned i = 0; i < n; ++i) {
        unsigned t = meta->getType(&st, i);
        int scale = meta->getScale(&st, i);
        switch (t) {
            case SQL_TEXT:
            case SQL_VARYING:
                if (input) {
                    b->setType(&st, i, SQL_VARYING);
                    b->setLength(&st, i, std::max(meta->getLength(&st, i) * 4, 256u));
                }
                break;
            case SQL_SHORT:
            case SQL_LONG:
            case SQL_INT64:
                b->setType(&st, i, SQL_INT64);
                b->setLength(&st, i, 8);
                b->setScale(&st, i, input ? 0 : scale);
                if (input && scale != 0) {
                    b->setType(&st, i, SQL_VARYING);
                    b->setLength(&st, i, 64);
                }
                break;
            case SQL_FLOAT:
            case SQL_DOUBLE:
            case SQL_D_FLOAT:
                b->setType(&st, i, SQL_DOUBLE);
                b->setLength(&st, i, 8);
                break;
            case SQL_TIMESTAMP:
            case SQL_TYPE_DATE:
            case SQL_TYPE_TIME:
            case SQL_BLOB:
            case SQL_BOOLEAN:
                break;
            default:  // anything else travels as text
                b->setType(&st, i, SQL_VARYING);
                b->setLength(&st, i, 256);
                break;
        }
    }
    IMessageMetadata* out = b->getMetadata(&st);
    b->release();
    return out;
}

std::vector<Field> describe(ThrowStatusWrapper& st, IMessageMetadata* meta, bool useAlias) {
    std::vector<Field> fields;
    unsigned n = meta->getCount(&st);
    for (unsigned i = 0; i < n; ++i) {
        Field f;
        const char* nm = useAlias ? meta->getAlias(&st, i) : meta->getField(&st, i);
        f.name = upper(nm ? nm : "");
        f.type = meta->getType(&st, i);
        f.scale = meta->getScale(&st, i);
        f.length = meta->getLength(&st, i);
        f.offset = meta->getOffset(&st, i);
        f.nullOffset = meta->getNullOffset(&st, i);
        fields.push_back(f);
    }
    return fields;
}

}  // namespace

std::string firebirdErrorText(const void* status) {
    char buf[2048];
    master()->getUtilInterface()->formatStatus(buf, sizeof buf,
                                               const_cast<IStatus*>(static_cast<const IStatus*>(status)));
    return buf;
}

bool ConnectionParams::remoto() const {
    auto colon = local.find(':');
    if (colon == std::string::npos) return false;
    if (colon == 1 && std::isalpha(static_cast<unsigned char>(local[0]))) return false;  // C:\...
    return colon > 0;
}

void prepareEmbeddedEngine() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (std::getenv("FIREBIRD_LOCK")) return;
        std::filesystem::path dir;
        if (const char* rt = std::getenv("XDG_RUNTIME_DIR"); rt && *rt)
            dir = std::filesystem::path(rt) / "velt02-firebird";
        else if (getuid() == 0)
            return;  // root may use the engine's own default folder
        else
            dir = std::filesystem::temp_directory_path() / ("velt02-firebird-" + std::to_string(getuid()));
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        ::setenv("FIREBIRD_LOCK", dir.c_str(), 0);
    });
}

// ---------------------------------------------------------------- Database

Database::Database(ConnectionParams params) : params_(std::move(params)) {}

Database::~Database() {
    try {
        detach();
    } catch (...) {
    }
}

std::unique_ptr<Database> Database::attach(const ConnectionParams& params) {
    std::unique_ptr<Database> db(new Database(params));
    db->connect(false);
    return db;
}

std::unique_ptr<Database> Database::create(const ConnectionParams& params) {
    std::unique_ptr<Database> db(new Database(params));
    db->connect(true);
    return db;
}

void Database::connect(bool create) {
    prepareEmbeddedEngine();
    attachment_ = withStatus([&](ThrowStatusWrapper& st) {
        IXpbBuilder* dpb = master()->getUtilInterface()->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0);
        struct Rel {
            IXpbBuilder* p;
            ~Rel() { p->dispose(); }
        } rel{dpb};
        dpb->insertString(&st, isc_dpb_user_name, params_.usuario.c_str());
        dpb->insertString(&st, isc_dpb_password, params_.senha.c_str());
        dpb->insertString(&st, isc_dpb_lc_ctype, "WIN1252");
        IProvider* prov = master()->getDispatcher();
        struct RelP {
            IProvider* p;
            ~RelP() { p->release(); }
        } relp{prov};
        if (create) {
            dpb->insertInt(&st, isc_dpb_sql_dialect, 3);
            dpb->insertString(&st, isc_dpb_set_db_charset, "WIN1252");
            dpb->insertInt(&st, isc_dpb_page_size, 8192);
            return static_cast<void*>(prov->createDatabase(&st, params_.local.c_str(), dpb->getBufferLength(&st),
                                                           dpb->getBuffer(&st)));
        }
        return static_cast<void*>(
            prov->attachDatabase(&st, params_.local.c_str(), dpb->getBufferLength(&st), dpb->getBuffer(&st)));
    });
    ++generation_;
}

void Database::detach() {
    if (!attachment_) return;
    auto* att = static_cast<IAttachment*>(attachment_);
    attachment_ = nullptr;
    ThrowStatusWrapper st(master()->getStatus());
    try {
        att->detach(&st);
    } catch (...) {
        att->release();
    }
    st.dispose();
}

void Database::ensureAttached() {
    if (!attachment_) connect(false);
}

void Database::execute(std::string_view sql) {
    Transaction tx(*this);
    tx.execute(sql);
    tx.commit();
}

// ---------------------------------------------------------------- Transaction

Transaction::Transaction(Database& db, Modo modo) : db_(db) {
    db_.ensureAttached();
    handle_ = startTx(static_cast<IAttachment*>(db_.attachmentHandle()), modo);
}

Transaction::~Transaction() {
    try {
        rollback();
    } catch (...) {
    }
}

void Transaction::commit() {
    if (!handle_) throw DatabaseError("transação encerrada");
    auto* tx = static_cast<ITransaction*>(handle_);
    withStatus([&](ThrowStatusWrapper& st) { tx->commit(&st); });
    handle_ = nullptr;
}

void Transaction::rollback() {
    if (!handle_) return;
    auto* tx = static_cast<ITransaction*>(handle_);
    handle_ = nullptr;
    ThrowStatusWrapper st(master()->getStatus());
    try {
        tx->rollback(&st);
    } catch (...) {
        tx->release();
    }
    st.dispose();
}

void Transaction::execute(std::string_view sql) {
    if (!handle_) throw DatabaseError("transação encerrada");
    db_.traceSql(sql);
    std::string text(sql);
    auto* att = static_cast<IAttachment*>(db_.attachmentHandle());
    withStatus([&](ThrowStatusWrapper& st) {
        att->execute(&st, static_cast<ITransaction*>(handle_), 0, text.c_str(), 3, nullptr, nullptr, nullptr,
                     nullptr);
    });
}

// ---------------------------------------------------------------- Statement

struct Statement::Impl {
    Database* db = nullptr;
    std::string sql;         // as written, with named parameters
    std::string positional;  // with "?"
    std::vector<std::string> paramNames;
    std::uint64_t generation = 0;
    IStatement* stmt = nullptr;
    IMessageMetadata* inMeta = nullptr;
    IMessageMetadata* outMeta = nullptr;
    std::vector<Field> inFields, outFields;
    std::vector<unsigned char> inBuf;
    unsigned outLength = 0;

    // Values as bound, kept so they survive a new prepare after a re-attach.
    struct Value {
        enum Kind { Null, Text, Int, Stamp } kind = Null;
        std::string text;
        std::int64_t i = 0;
        DataHora ts;
    };
    std::vector<Value> values;  // per occurrence

    ~Impl() { releaseAll(); }

    void releaseAll() {
        if (inMeta) inMeta->release();
        if (outMeta) outMeta->release();
        if (stmt) {
            ThrowStatusWrapper st(master()->getStatus());
            try {
                if (db && db->attached() && generation == db->generation())
                    stmt->free(&st);
                else
                    stmt->release();
            } catch (...) {
            }
            st.dispose();
        }
        inMeta = outMeta = nullptr;
        stmt = nullptr;
    }

    void prepare(Transaction* outer) {
        releaseAll();
        db->ensureAttached();
        auto* att = static_cast<IAttachment*>(db->attachmentHandle());
        std::unique_ptr<Transaction> own;
        if (!outer) own = std::make_unique<Transaction>(*db, Transaction::Modo::SomenteLeitura);
        Transaction& tx = outer ? *outer : *own;
        withStatus([&](ThrowStatusWrapper& st) {
            stmt = att->prepare(&st, static_cast<ITransaction*>(tx.handle_), 0, positional.c_str(), 3,
                                IStatement::PREPARE_PREFETCH_METADATA);
            IMessageMetadata* in = stmt->getInputMetadata(&st);
            inMeta = coerce(st, in, true);
            in->release();
            IMessageMetadata* out = stmt->getOutputMetadata(&st);
            outMeta = coerce(st, out, false);
            out->release();
            inFields = describe(st, inMeta, false);
            outFields = describe(st, outMeta, true);
            inBuf.assign(inMeta->getMessageLength(&st), 0);
            outLength = outMeta->getMessageLength(&st);
        });
        if (own) own->commit();
        generation = db->generation();
        if (inFields.size() != paramNames.size())
            throw DatabaseError("parâmetros não correspondem à instrução: " + sql);
    }

    void ready(Transaction* tx) {
        if (!stmt || generation != db->generation() || !db->attached()) prepare(tx);
    }

    void fillInput() {
        for (std::size_t i = 0; i < inFields.size(); ++i) {
            const Field& f = inFields[i];
            const Value& v = values[i];
            auto* nullInd = reinterpret_cast<short*>(&inBuf[f.nullOffset]);
            unsigned char* p = &inBuf[f.offset];
            if (v.kind == Value::Null) {
                *nullInd = -1;
                continue;
            }
            *nullInd = 0;
            switch (f.type) {
                case SQL_VARYING: {
                    std::string outro;
                    if (v.kind == Value::Int)
                        outro = std::to_string(v.i);
                    else if (v.kind == Value::Stamp)
                        outro = v.ts.ddmmyyyy() + " " + v.ts.hhnnss();
                    const std::string& s = v.kind == Value::Text ? v.text : outro;
                    if (s.size() > f.length)
                        throw DatabaseError("arithmetic exception, numeric overflow, or string truncation\n"
                                            "-string right truncation");
                    auto len = static_cast<unsigned short>(s.size());
                    std::memcpy(p, &len, sizeof len);
                    std::memcpy(p + sizeof len, s.data(), s.size());
                    break;
                }
                case SQL_INT64: {
                    std::int64_t x = v.i;
                    if (v.kind == Value::Text) {
                        std::string t = v.text;
                        t.erase(0, t.find_first_not_of(' '));
                        t.erase(t.find_last_not_of(' ') + 1);
                        auto r = std::from_chars(t.data(), t.data() + t.size(), x);
                        if (r.ec != std::errc() || r.ptr != t.data() + t.size())
                            throw DatabaseError("conversion error from string \"" + v.text + "\"");
                    } else if (v.kind == Value::Stamp) {
                        throw DatabaseError("conversion error: timestamp bound to a number");
                    }
                    std::memcpy(p, &x, sizeof x);
                    break;
                }
                case SQL_DOUBLE: {
                    double d = v.kind == Value::Int ? double(v.i) : std::strtod(v.text.c_str(), nullptr);
                    std::memcpy(p, &d, sizeof d);
                    break;
                }
                case SQL_TIMESTAMP: {
                    if (v.kind != Value::Stamp)
                        throw DatabaseError("conversion error: a timestamp parameter wants a date and time");
                    ISC_TIMESTAMP ts = encodeTimestamp(v.ts);
                    std::memcpy(p, &ts, sizeof ts);
                    break;
                }
                case SQL_TYPE_DATE: {
                    if (v.kind != Value::Stamp)
                        throw DatabaseError("conversion error: a date parameter wants a date");
                    ISC_DATE d = encodeTimestamp(v.ts).timestamp_date;
                    std::memcpy(p, &d, sizeof d);
                    break;
                }
                default:
                    throw DatabaseError("tipo de parâmetro não suportado");
            }
        }
    }

    // The distinct names with the positions where each occurs, built once per statement.
    struct Nome {
        std::string nome;
        std::vector<std::size_t> posicoes;
    };
    std::vector<Nome> nomes;
    std::size_t proximoNome = 0;  // where the next look-up starts: names are mostly bound in order

    void indexaNomes() {
        for (std::size_t i = 0; i < paramNames.size(); ++i) {
            auto it = std::find_if(nomes.begin(), nomes.end(), [&](const Nome& n) { return n.nome == paramNames[i]; });
            if (it == nomes.end()) it = nomes.insert(nomes.end(), Nome{paramNames[i], {}});
            it->posicoes.push_back(i);
        }
    }

    // Every occurrence of a named parameter.
    template <class F>
    void forEach(std::string_view nome, F&& f) {
        if (!nome.empty() && nome[0] == ':') nome.remove_prefix(1);
        const std::size_t n = nomes.size();
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t j = (proximoNome + k) % n;
            if (!mesmoNome(nomes[j].nome, nome)) continue;
            for (auto i : nomes[j].posicoes) f(values[i]);
            proximoNome = j + 1;
            return;
        }
        throw DatabaseError("parâmetro inexistente: " + std::string(nome));
    }
};

Statement::Statement(std::shared_ptr<Impl> impl) : impl_(std::move(impl)) {}
Statement::Statement(Statement&&) noexcept = default;
Statement& Statement::operator=(Statement&&) noexcept = default;
Statement::~Statement() = default;

Statement Database::prepare(std::string_view sql) {
    auto impl = std::make_shared<Statement::Impl>();
    impl->db = this;
    impl->sql = std::string(sql);
    impl->positional = parseNamedParameters(sql, impl->paramNames);
    impl->values.resize(impl->paramNames.size());
    impl->indexaNomes();
    impl->prepare(nullptr);
    return Statement(std::move(impl));
}

const std::string& Statement::sql() const { return impl_->sql; }

bool Statement::hasParameter(std::string_view nome) const {
    std::string up = upper(nome);
    return std::find(impl_->paramNames.begin(), impl_->paramNames.end(), up) != impl_->paramNames.end();
}

Statement& Statement::bind(std::string_view nome, std::string_view texto) {
    impl_->forEach(nome, [&](Impl::Value& v) {
        v.kind = Impl::Value::Text;
        v.text.assign(texto);
    });
    return *this;
}

Statement& Statement::bind(std::string_view nome, std::int64_t valor) {
    impl_->forEach(nome, [&](Impl::Value& v) {
        v.kind = Impl::Value::Int;
        v.i = valor;
    });
    return *this;
}

Statement& Statement::bind(std::string_view nome, const DataHora& valor) {
    impl_->forEach(nome, [&](Impl::Value& v) {
        v.kind = Impl::Value::Stamp;
        v.ts = valor;
    });
    return *this;
}

Statement& Statement::bindNull(std::string_view nome) {
    impl_->forEach(nome, [](Impl::Value& v) { v.kind = Impl::Value::Null; });
    return *this;
}

std::uint64_t Statement::execute(Transaction& tx) {
    impl_->ready(&tx);
    impl_->fillInput();
    impl_->db->traceSql(impl_->sql);
    auto* t = static_cast<ITransaction*>(tx.handle_);
    return withStatus([&](ThrowStatusWrapper& st) {
        if (!impl_->outFields.empty()) {
            // a select run for its effect: open and close
            std::vector<unsigned char> out(impl_->outLength);
            IResultSet* rs = impl_->stmt->openCursor(&st, t, impl_->inMeta, impl_->inBuf.data(), impl_->outMeta, 0);
            rs->close(&st);
            return std::uint64_t{0};
        }
        impl_->stmt->execute(&st, t, impl_->inMeta, impl_->inBuf.data(), nullptr, nullptr);
        return static_cast<std::uint64_t>(impl_->stmt->getAffectedRecords(&st));
    });
}

std::uint64_t Statement::execute() {
    Transaction tx(*impl_->db);
    auto n = execute(tx);
    tx.commit();
    return n;
}

// ---------------------------------------------------------------- Cursor

struct Cursor::Impl {
    std::shared_ptr<void> statement;  // keeps the prepared statement alive while rows are read
    std::unique_ptr<Transaction> own;
    IResultSet* rs = nullptr;
    std::vector<Field> fields;
    std::vector<unsigned char> buf;
    bool atRow = false;

    ~Impl() { close(); }
    void close() {
        if (rs) {
            ThrowStatusWrapper st(master()->getStatus());
            try {
                rs->close(&st);
            } catch (...) {  // the attachment may be gone already
                rs->release();
            }
            st.dispose();
            rs = nullptr;
        }
        if (own && own->ativa()) {
            try {
                own->commit();
            } catch (...) {
            }
        }
        own.reset();
    }

    const Field& field(std::string_view nome) const {
        for (const auto& f : fields)
            if (mesmoNome(f.name, nome)) return f;
        throw DatabaseError("coluna inexistente: " + std::string(nome));
    }
    bool null(const Field& f) const {
        if (!atRow) throw DatabaseError("nenhuma linha corrente");
        return *reinterpret_cast<const short*>(&buf[f.nullOffset]) != 0;
    }
    std::string text(const Field& f) const {
        if (null(f)) return {};
        const unsigned char* p = &buf[f.offset];
        switch (f.type) {
            case SQL_TEXT:
                return std::string(reinterpret_cast<const char*>(p), f.length);
            case SQL_VARYING: {
                unsigned short len;
                std::memcpy(&len, p, sizeof len);
                return std::string(reinterpret_cast<const char*>(p + sizeof len), len);
            }
            case SQL_INT64: {
                std::int64_t v;
                std::memcpy(&v, p, sizeof v);
                return scaledToText(v, f.scale);
            }
            case SQL_DOUBLE: {
                double d;
                std::memcpy(&d, p, sizeof d);
                char b[64];
                auto r = std::to_chars(b, b + sizeof b, d);
                return std::string(b, r.ptr);
            }
            case SQL_TIMESTAMP: {
                ISC_TIMESTAMP ts;
                std::memcpy(&ts, p, sizeof ts);
                auto v = decodeTimestamp(ts.timestamp_date, ts.timestamp_time);
                return v.ddmmyyyy() + " " + v.hhnnss();
            }
            case SQL_TYPE_DATE: {
                ISC_DATE d;
                std::memcpy(&d, p, sizeof d);
                return decodeTimestamp(d, 0).ddmmyyyy();
            }
            case SQL_TYPE_TIME: {
                ISC_TIME t;
                std::memcpy(&t, p, sizeof t);
                return decodeTimestamp(0, t).hhnnss();
            }
            case SQL_BOOLEAN:
                return *p ? "True" : "False";
            default:
                return {};
        }
    }
};

Cursor::Cursor(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Cursor::Cursor(Cursor&&) noexcept = default;
Cursor::~Cursor() = default;

Cursor Statement::open(Transaction& tx) {
    impl_->ready(&tx);
    impl_->fillInput();
    impl_->db->traceSql(impl_->sql);
    auto c = std::make_unique<Cursor::Impl>();
    c->statement = impl_;
    c->fields = impl_->outFields;
    c->buf.assign(impl_->outLength, 0);
    auto* t = static_cast<ITransaction*>(tx.handle_);
    c->rs = withStatus([&](ThrowStatusWrapper& st) {
        return impl_->stmt->openCursor(&st, t, impl_->inMeta, impl_->inBuf.data(), impl_->outMeta, 0);
    });
    return Cursor(std::move(c));
}

Cursor Statement::open() {
    auto own = std::make_unique<Transaction>(*impl_->db, Transaction::Modo::SomenteLeitura);
    Cursor c = open(*own);
    c.impl_->own = std::move(own);
    return c;
}

bool Cursor::next() {
    if (!impl_->rs) return false;
    bool ok = withStatus([&](ThrowStatusWrapper& st) {
        return impl_->rs->fetchNext(&st, impl_->buf.data()) == IStatus::RESULT_OK;
    });
    impl_->atRow = ok;
    if (!ok) impl_->close();
    return ok;
}

void Cursor::close() { impl_->close(); }

bool Cursor::isNull(std::string_view coluna) const { return impl_->null(impl_->field(coluna)); }

std::string Cursor::text(std::string_view coluna) const { return impl_->text(impl_->field(coluna)); }

std::size_t Cursor::columnCount() const { return impl_->fields.size(); }
std::string Cursor::columnName(std::size_t i) const { return impl_->fields.at(i).name; }
std::string Cursor::text(std::size_t i) const { return impl_->text(impl_->fields.at(i)); }

std::string_view Cursor::textView(std::size_t i) const {
    const Field& f = impl_->fields.at(i);
    if (impl_->null(f)) return {};
    const unsigned char* p = &impl_->buf[f.offset];
    if (f.type == SQL_TEXT) return {reinterpret_cast<const char*>(p), f.length};
    if (f.type != SQL_VARYING) throw DatabaseError("coluna não é texto: " + f.name);
    unsigned short len;
    std::memcpy(&len, p, sizeof len);
    return {reinterpret_cast<const char*>(p + sizeof len), len};
}

std::int64_t Cursor::integer(std::string_view coluna) const {
    const Field& f = impl_->field(coluna);
    if (impl_->null(f)) return 0;
    if (f.type == SQL_INT64 && f.scale == 0) {
        std::int64_t v;
        std::memcpy(&v, &impl_->buf[f.offset], sizeof v);
        return v;
    }
    std::string t = impl_->text(f);
    t.erase(0, t.find_first_not_of(' '));
    t.erase(t.find_last_not_of(' ') + 1);
    std::int64_t v = 0;
    auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    if (r.ec != std::errc()) throw DatabaseError("conversion error from string \"" + t + "\"");
    return v;
}

double Cursor::real(std::string_view coluna) const {
    const Field& f = impl_->field(coluna);
    if (impl_->null(f)) return 0;
    return std::strtod(impl_->text(f).c_str(), nullptr);
}

DataHora Cursor::timestamp(std::string_view coluna) const {
    const Field& f = impl_->field(coluna);
    if (impl_->null(f)) return {};
    const unsigned char* p = &impl_->buf[f.offset];
    if (f.type == SQL_TIMESTAMP) {
        ISC_TIMESTAMP ts;
        std::memcpy(&ts, p, sizeof ts);
        return decodeTimestamp(ts.timestamp_date, ts.timestamp_time);
    }
    if (f.type == SQL_TYPE_DATE) {
        ISC_DATE d;
        std::memcpy(&d, p, sizeof d);
        return decodeTimestamp(d, 0);
    }
    throw DatabaseError("coluna não é data: " + std::string(coluna));
}

}  // namespace velt

#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "common/DataHora.h"

namespace velt {

// A failure reported by the database server, carrying the server's own text.
class DatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ConnectionParams {
    std::string usuario;
    std::string senha;
    std::string local;  // a bare path (embedded engine) or host:path (a Firebird server)

    // True when the location names a server ("host:path"); a drive letter is not a host.
    bool remoto() const;
};

class Database;
class Statement;

// Work that must be whole: everything done through it commits together or not at all.
// Destroyed without commit() it rolls back.
class Transaction {
public:
    // Carga: writes in bulk that are only ever committed whole; the engine keeps no undo log of
    // the transaction, so a rollback leaves its rows to be collected as garbage instead.
    enum class Modo { LeituraEscrita, SomenteLeitura, Carga };
    // Read committed, waiting on locks. A read-only one is cheap to start and end (look-ups).
    explicit Transaction(Database& db, Modo modo = Modo::LeituraEscrita);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    void rollback();
    bool ativa() const { return handle_ != nullptr; }
    Database& database() const { return db_; }
    // Runs one statement text inside this transaction.
    void execute(std::string_view sql);

private:
    friend class Statement;
    friend class Database;
    Database& db_;
    void* handle_ = nullptr;  // Firebird::ITransaction*
};

// Rows of an open query, read by column name (matched without regard to case).
class Cursor {
public:
    Cursor(Cursor&&) noexcept;
    Cursor& operator=(Cursor&&) = delete;
    ~Cursor();

    bool next();
    bool isNull(std::string_view coluna) const;
    // The value as text: texts as stored (CHAR blank-padded), numbers in decimal, timestamps
    // as "dd/mm/yyyy hh:nn:ss"; NULL reads as "".
    std::string text(std::string_view coluna) const;
    std::int64_t integer(std::string_view coluna) const;  // NULL reads as 0
    double real(std::string_view coluna) const;
    DataHora timestamp(std::string_view coluna) const;
    std::size_t columnCount() const;
    std::string columnName(std::size_t i) const;
    std::string text(std::size_t i) const;
    // A text column of the current row without a copy, valid until the next row; NULL reads as
    // "". Other types fail.
    std::string_view textView(std::size_t i) const;
    void close();

private:
    friend class Statement;
    struct Impl;
    explicit Cursor(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// A prepared statement with named parameters (":cnes"), prepared once and reused. A name is
// matched without regard to case and may occur several times; a name inside a quoted literal is
// not a parameter. Bound values stay until bound again.
class Statement {
public:
    Statement(Statement&&) noexcept;
    Statement& operator=(Statement&&) noexcept;
    ~Statement();

    Statement& bind(std::string_view nome, std::string_view texto);
    Statement& bind(std::string_view nome, const char* texto) { return bind(nome, std::string_view(texto)); }
    Statement& bind(std::string_view nome, const std::string& texto) { return bind(nome, std::string_view(texto)); }
    Statement& bind(std::string_view nome, std::int64_t valor);
    Statement& bind(std::string_view nome, int valor) { return bind(nome, std::int64_t{valor}); }
    Statement& bind(std::string_view nome, const DataHora& valor);
    Statement& bindNull(std::string_view nome);
    bool hasParameter(std::string_view nome) const;

    // Runs inside the transaction; returns the number of rows the statement touched.
    std::uint64_t execute(Transaction& tx);
    // Runs committed at once.
    std::uint64_t execute();
    Cursor open(Transaction& tx);
    Cursor open();  // in a read-only transaction of its own, ended when the cursor closes

    const std::string& sql() const;

private:
    friend class Database;
    struct Impl;
    explicit Statement(std::shared_ptr<Impl> impl);
    std::shared_ptr<Impl> impl_;  // shared with its open cursors, which may outlive this handle
};

// One attachment to the VELT02 database, attached again on the next use after detach().
class Database {
public:
    // Attaches (embedded for a bare path, a server for host:path), connection charset WIN1252.
    static std::unique_ptr<Database> attach(const ConnectionParams& params);
    // Creates an empty database file (dialect 3, WIN1252) and stays attached to it.
    static std::unique_ptr<Database> create(const ConnectionParams& params);
    ~Database();

    const ConnectionParams& params() const { return params_; }
    bool attached() const { return attachment_ != nullptr; }
    void detach();
    void ensureAttached();
    // Counts attachments made so far, so statements know when to prepare again.
    std::uint64_t generation() const { return generation_; }

    // One statement committed at once.
    void execute(std::string_view sql);
    Statement prepare(std::string_view sql);

    // Every statement text sent to the server goes through here when set (tests count them).
    void setTrace(std::vector<std::string>* trace) { trace_ = trace; }
    void traceSql(std::string_view sql) {
        if (trace_) trace_->emplace_back(sql);
    }

    void* attachmentHandle() const { return attachment_; }

private:
    explicit Database(ConnectionParams params);
    void connect(bool create);
    ConnectionParams params_;
    void* attachment_ = nullptr;  // Firebird::IAttachment*
    std::uint64_t generation_ = 0;
    std::vector<std::string>* trace_ = nullptr;
};

// Makes the embedded engine usable by a non-root user: points FIREBIRD_LOCK at a writable
// per-user folder when it is not set. Called before the first attach.
void prepareEmbeddedEngine();

// The server's text of a Firebird failure status.
std::string firebirdErrorText(const void* status);

}  // namespace velt

// One write transaction on a connection: begun by the constructor, kept only
// by a successful Commit(), rolled back when the scope ends otherwise. Inside
// a transaction that is already open it becomes a savepoint of it, so a step
// that is a transaction of its own when run alone (registering one root) is
// all-or-nothing within a larger one (a full rescan).
#pragma once

#include "platform/database.h"

namespace qv5 {

class Transaction {
  public:
    // The write lock is taken (or waited for) here rather than halfway
    // through the work: BEGIN IMMEDIATE, or the database's lock table's.
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // False when the transaction could not begin (the reason is in the
    // database's LastError()).
    bool ok() const { return open_; }
    // True only when every change is stored; otherwise the changes are
    // rolled back and LastError() says why.
    [[nodiscard]] bool Commit();

  private:
    void Rollback();
    Database& db_;
    bool nested_ = false;
    bool open_ = false;
};

}  // namespace qv5

// Changes written through a view.
//
// The server lets INSERT, UPDATE and DELETE name a view over one base table and changes that
// table's rows; the engine refuses to change a view. When it refuses, the connection rewrites the
// statement onto the base table, reading the view from the engine's catalogue at that moment, so
// the translation of the statement (cached by its text) stays the same whatever the view is:
//
//   update v set x = e where c  ->  with v("$rid", x, ...) as (select t.rowid, <view's columns>
//                                     from t <view's where>)
//                                   update t set a = "$u"."$1" from (select "$rid", e as "$1"
//                                     from v where c) as "$u" where t.rowid = "$u"."$rid"
//   delete from v where c       ->  with v(...) as (...) delete from t where rowid in
//                                     (select "$rid" from v where c)
//   insert into v (x, ...) ...  ->  insert into t (a, ...) ...
//
// so the view's WHERE, TOP and ORDER BY choose the rows as on the server, the rows affected and
// @@identity are the base table's, and columns an INSERT leaves out get the table's defaults.
#pragma once

#include <string>
#include <string_view>

struct sqlite3;

namespace quillon::sql {

// Whether an engine error text is its refusal to change a view.
bool isViewChangeRefusal(std::string_view engineMessage);

// The engine statement that makes the change `statement` (an engine INSERT, UPDATE or DELETE
// that the engine refused because its target is a view) on the view's base table. Empty when the
// target is no view of the database after all. Throws ComError with the server's message for a
// view that cannot be changed so: over a join or a union, with DISTINCT, GROUP BY or aggregates,
// or a change of a column that is computed.
std::string rewriteViewChange(sqlite3* db, std::string_view statement);

}  // namespace quillon::sql

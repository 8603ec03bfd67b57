/* A host voucher program in C: logs in on the demo account, pulls production-order lines through
 * the production-order reference dialog, then current stock of one item through the stock
 * selection dialog, and prints what came back.
 *
 *   c_host DB              the dialogs answered by dialog lines, nobody at the screen
 *   c_host --drawn DB      the same lines, with the dialogs drawn (offscreen without a display)
 *   c_host --person DB     the dialogs drawn for the person at the screen to work
 *
 * DB is an account made by `quillon init-db --db DB --scale 1`. Build it against an installed
 * library with `cc c_host.c $(pkg-config --cflags --libs quillon)`. Exit status 0 when every call
 * worked, 1 when one failed (the library's error is printed), 2 for a wrong command line or when
 * the dialogs cannot be shown as asked.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <quillon.h>

static int failed(const char *what) {
  fprintf(stderr, "c_host: %s: %s (status %d, error %d)\n", what, quillon_error_text(),
          (int)quillon_error_status(), (int)quillon_error_number());
  return 1;
}

#define CHECK(call, what)                 \
  do {                                    \
    if ((call) != QUILLON_OK) {           \
      status = failed(what);              \
      goto done;                          \
    }                                     \
  } while (0)

/* Prints every row of a recordset, one field per line. */
static int print_recordset(const char *title, quillon_value rs) {
  int32_t rows = 0, fields = 0, r, f;
  if (quillon_recordset_row_count(rs, &rows) != QUILLON_OK ||
      quillon_recordset_field_count(rs, &fields) != QUILLON_OK) {
    return failed(title);
  }
  printf("%s: %d rows\n", title, (int)rows);
  for (r = 1; r <= rows; ++r) {
    printf("  row %d:", (int)r);
    for (f = 0; f < fields; ++f) {
      const char *name = NULL, *text = NULL;
      char saved[128];
      quillon_value v = 0;
      if (quillon_recordset_field_name(rs, f, &name) != QUILLON_OK) return failed(title);
      /* The name stays valid only until the next call. */
      snprintf(saved, sizeof saved, "%s", name);
      if (quillon_recordset_value(rs, r, f, &v) != QUILLON_OK) return failed(title);
      if (quillon_display_text(v, &text) != QUILLON_OK) {
        quillon_release(v);
        return failed(title);
      }
      printf(" %s=%s", saved, text);
      quillon_release(v);
    }
    printf("\n");
  }
  return 0;
}

static int dialogs(int mode, const char *lines) {
  if (mode == 'p') return quillon_dialogs_person();
  return quillon_dialogs_script(lines, mode == 'd' ? QUILLON_DIALOGS_DRAWN : 0);
}

static const char *const kOrderLines =
    "on frmProduceOrder\n"
    "  click chkAll\n"     /* only lines that still have materials to issue */
    "  click cmdFilter\n"
    "  mark lstParent 1\n" /* the first production order */
    "  mark lstSub 1\n"    /* its first product line */
    "  click cmdOk\n"
    "end\n";

static const char *const kStockLines =
    "on frmRefSelect\n"
    "  mark spgList 1\n" /* the first batch gives all it holds, */
    "  mark spgList 2\n" /* the second the rest */
    "  toolbar ok\n"
    "end\n";

int main(int argc, char **argv) {
  int mode = 's', status = 0, i;
  const char *db = NULL;
  quillon_value login = 0, order = 0, queries = 0, select = 0, coll = 0, err = 0, ok = 0,
                sql = 0, data = 0;
  quillon_value a[12] = {0};
  int by_ref[12] = {0};
  static const char *const keys[] = {"Parent", "Sub", "Child"};

  for (i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--drawn") == 0) mode = 'd';
    else if (strcmp(argv[i], "--person") == 0) mode = 'p';
    else if (!db && argv[i][0] != '-') db = argv[i];
    else {
      db = NULL;
      break;
    }
  }
  if (!db) {
    fprintf(stderr, "usage: c_host [--drawn | --person] DB\n");
    return 2;
  }
  printf("library %s\n", quillon_version());

  /* The login: Quillon.Suite.Login.Open(file, user, date). */
  CHECK(quillon_create("Quillon.Suite.Login", &login), "the login object");
  CHECK(quillon_text(db, &a[0]), "a text");
  CHECK(quillon_text("demo", &a[1]), "a text");
  CHECK(quillon_date_text("2026-12-05", &a[2]), "a date");
  CHECK(quillon_call(login, "Open", 3, a, NULL, NULL), "logging in");
  for (i = 0; i < 3; ++i) quillon_release(a[i]), a[i] = 0;

  /* Production-order lines: load(sProOrderId, oLogin, oCollReurn, ErrMsg, bOI, sVoutype 11). */
  if (dialogs(mode, kOrderLines) != QUILLON_OK) {
    failed("the dialogs");
    status = 2;
    goto done;
  }
  CHECK(quillon_create("Quillon.ProduceOrder", &order), "the production-order reference");
  CHECK(quillon_text("", &a[0]), "a text");
  CHECK(quillon_copy(login, &a[1]), "a copy");
  CHECK(quillon_empty(&coll), "a value");
  CHECK(quillon_text("", &err), "a text");
  CHECK(quillon_missing(&a[4]), "a value");
  CHECK(quillon_long(11, &a[5]), "a number");
  a[2] = coll;
  a[3] = err;
  by_ref[2] = by_ref[3] = 1; /* the collection and the message come back */
  CHECK(quillon_call(order, "load", 6, a, by_ref, &ok), "ProduceOrder.load");
  {
    int chosen = 0;
    const char *message = NULL;
    CHECK(quillon_get_bool(ok, &chosen), "the result of load");
    CHECK(quillon_get_text(err, &message), "the message of load");
    printf("load returned %s%s%s\n", chosen ? "True" : "False", *message ? ": " : "", message);
    if (!chosen) {
      quillon_dialogs_finish();
      status = 1;
      goto done;
    }
  }
  for (i = 0; i < 3; ++i) {
    quillon_value lines = 0;
    CHECK(quillon_collection_item_by_key(coll, keys[i], &lines), keys[i]);
    status = print_recordset(keys[i], lines);
    quillon_release(lines);
    if (status) goto done;
  }
  CHECK(quillon_dialogs_finish(), "the production-order dialog");
  for (i = 0; i < 6; ++i) {
    if (i != 2 && i != 3) quillon_release(a[i]);
    a[i] = 0;
    by_ref[i] = 0;
  }
  quillon_release(ok), ok = 0;

  /* Current stock: 2000 of item 0101003 in warehouse 01, batches chosen in the dialog. */
  CHECK(quillon_create("Quillon.Suite.StockQueries", &queries), "the stock queries");
  CHECK(quillon_text("01", &a[0]), "a text");
  CHECK(quillon_text("0101003", &a[1]), "a text");
  CHECK(quillon_call(queries, "CurrentStockSql", 2, a, NULL, &sql), "CurrentStockSql");
  if (dialogs(mode, kStockLines) != QUILLON_OK) {
    failed("the dialogs");
    status = 2;
    goto done;
  }
  CHECK(quillon_create("Quillon.RefSelect", &select), "the stock selection");
  /* Refer(login, warehouse, item, -, quantity, number, pieces, rule, sql, red, by hand, free) */
  a[2] = a[1];
  a[1] = a[0];
  a[0] = 0;
  CHECK(quillon_copy(login, &a[0]), "a copy");
  CHECK(quillon_missing(&a[3]), "a value");
  CHECK(quillon_double(2000.0, &a[4]), "a number");
  CHECK(quillon_double(0.0, &a[5]), "a number");
  CHECK(quillon_double(0.0, &a[6]), "a number");
  CHECK(quillon_long(0, &a[7]), "a number");
  CHECK(quillon_copy(sql, &a[8]), "a copy");
  CHECK(quillon_bool(0, &a[9]), "a Boolean");
  CHECK(quillon_bool(1, &a[10]), "a Boolean");
  CHECK(quillon_text("", &a[11]), "a text");
  CHECK(quillon_call(select, "Refer", 12, a, NULL, &ok), "RefSelect.Refer");
  CHECK(quillon_call(select, "ReturnData", 0, NULL, NULL, &data), "RefSelect.ReturnData");
  status = print_recordset("Stock", data);
  if (status) goto done;
  CHECK(quillon_dialogs_finish(), "the stock dialog");
  printf("done\n");

done:
  for (i = 0; i < 12; ++i) {
    if (a[i] && a[i] != coll && a[i] != err) quillon_release(a[i]);
  }
  if (login) quillon_release(login);
  if (order) quillon_release(order);
  if (queries) quillon_release(queries);
  if (select) quillon_release(select);
  if (coll) quillon_release(coll);
  if (err) quillon_release(err);
  if (ok) quillon_release(ok);
  if (sql) quillon_release(sql);
  if (data) quillon_release(data);
  return status;
}

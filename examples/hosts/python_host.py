#!/usr/bin/env python3
"""A host voucher program on the quillon package (docs/python.md): logs in on the demo account
DB (`quillon init-db --db DB --scale 1`), pulls production-order lines and current stock of one
item through their dialogs, answered by dialog lines, and prints what came back."""
import sys
import quillon

ORDER = "on frmProduceOrder\n click chkAll\n click cmdFilter\n mark lstParent 1\n mark lstSub 1\n click cmdOk\nend\n"
STOCK = "on frmRefSelect\n mark spgList 1\n mark spgList 2\n toolbar ok\nend\n"
text = lambda v: "" if v is None else f"{v:g}" if isinstance(v, float) else str(v)


def show(title, rows):
    print(f"{title}: {len(rows)} rows")
    for n, row in enumerate(rows, 1):
        print(f"  row {n}: " + " ".join(f"{k}={text(v)}" for k, v in row.items()))


with quillon.connect(sys.argv[1], user="demo", date="2026-12-05", dialogs="none") as s:
    print("library", quillon.version())
    ok, chosen, err = s.ProduceOrder().load("", s, sVoutype=11, dialog_lines=ORDER)
    print("load returned", ok, err)
    for key, rows in chosen.items():
        show(key, rows)
    ref, sql = s.RefSelect(), s.Suite.StockQueries().CurrentStockSql("01", "0101003")
    ref.Refer(s, "01", "0101003", iQuantity=2000.0, sSql=sql, dialog_lines=STOCK)
    show("Stock", ref.ReturnData)
print("done")

"""Handles given back: by every object that goes, all of a session's when it closes, none leaked
after 100 000 calls; calls from two threads at once, each with its own results, errors and dialog
lines; and the GIL released while the library works."""
from __future__ import annotations

import gc
import os
import sys
import threading
import time


import quillon
from support import ORDER_LINES

# The production-order dialog choosing the second order instead of the first.
SECOND_ORDER_LINES = ORDER_LINES.replace("mark lstParent 1", "mark lstParent 2")


def resident_kib() -> int:
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * os.sysconf("SC_PAGE_SIZE") // 1024


def test_closing_a_session_gives_back_every_handle_it_held(demo_account):
    before = quillon.handle_count()
    s = quillon.connect(demo_account, user="demo", date="2026-12-05", dialogs="none")
    kept = [s.create("Collection") for _ in range(50)]
    order = s.ProduceOrder()
    chosen = order.load("", s, sVoutype=11, dialog_lines=ORDER_LINES).oCollReurn
    rows = list(chosen["Child"])
    assert quillon.handle_count() > before + 50
    assert s.handles == quillon.handle_count() - before
    s.close()
    assert quillon.handle_count() == before
    # The Python objects outlive their handles; letting them go gives nothing back twice.
    assert len(kept) == 50 and len(rows) == 5
    del kept, order, chosen
    gc.collect()
    assert quillon.handle_count() == before


def test_a_session_nobody_closed_gives_its_handles_back_when_it_goes(demo_account):
    before = quillon.handle_count()
    s = quillon.connect(demo_account, user="demo", dialogs="none")
    box = s.create("Collection")
    box.Add(s.create("Collection"))
    del s, box
    gc.collect()
    assert quillon.handle_count() == before


def test_no_handle_leaks_in_100000_calls(session):
    queries = session.Suite.StockQueries()
    ref = session.RefSelect()
    box = session.create("Collection")
    box.Add(session.create("Collection"), "inner")
    box.Add("text", "t")

    def calls(n: int) -> None:
        # Five kinds of call: a text result, an object result, a by-reference tuple, a property,
        # an error raised and caught; every one makes and gives back handles.
        for i in range(n // 5):
            queries.CurrentStockSql("01", "0101003")
            box["inner"]
            ref.GetAllBSQL("select iQuantity from currentstock Where AutoID = %d" % i)
            ref.ExchRate
            try:
                box.Item("missing")
            except quillon.KeyNotFoundError:
                pass
            except quillon.RaisedError:
                pass

    calls(10_000)
    gc.collect()
    start, memory = quillon.handle_count(), resident_kib()
    calls(100_000)
    gc.collect()
    after, grown = quillon.handle_count(), resident_kib() - memory
    print(f"handles {start} -> {after} after 100000 calls; resident memory grew {grown} KiB",
          file=sys.stderr)
    assert after == start
    assert grown < 16 * 1024


def test_two_threads_call_at_once_with_their_own_results_errors_and_dialog_lines(session):
    failures: list = []
    rounds = 40

    def orders(lines: str, code: str) -> None:
        try:
            order = session.ProduceOrder()
            for _ in range(rounds):
                ok, chosen, err = order.load("", session, sVoutype=11, dialog_lines=lines)
                got = chosen["Parent"][0].ccode if chosen is not None else None
                if not ok or got != code:
                    failures.append(f"{code}: got {got} ({err})")
                try:
                    order.NoSuchMember
                except quillon.MemberNotFoundError as e:
                    if e.text != ("ProduceOrder.NoSuchMember: error 438: Object doesn't support "
                                  "this property or method"):
                        failures.append(f"{code}: error text {e.text!r}")
                else:
                    failures.append(f"{code}: no error")
        except Exception as e:  # a thread's failure is the test's
            failures.append(f"{code}: {e!r}")

    second = session.ProduceOrder().load("", session, sVoutype=11,
                                         dialog_lines=SECOND_ORDER_LINES).oCollReurn
    second_code = second["Parent"][0].ccode
    assert second_code != "MO26110001"
    threads = [threading.Thread(target=orders, args=(ORDER_LINES, "MO26110001")),
               threading.Thread(target=orders, args=(SECOND_ORDER_LINES, second_code))]
    for t in threads:
        t.start()
    for t in threads:
        t.join(300)
    assert not any(t.is_alive() for t in threads)
    assert failures == []


def test_other_threads_run_while_a_call_works(session):
    # A query that keeps the library busy for a while; while it runs, a Python thread counts.
    query = ("SELECT COUNT(*) AS n FROM CurrentStock a, CurrentStock b, CurrentStock c, "
             "(SELECT TOP 12 AutoID FROM CurrentStock) d")
    ticks: list = []
    stop = threading.Event()

    def count() -> None:
        while not stop.is_set():
            ticks.append(time.perf_counter())
            time.sleep(0.001)

    counter = threading.Thread(target=count)
    counter.start()
    try:
        during = 0
        # Bounded: a loaded machine may keep the counter from running during one call.
        for _ in range(10):
            rs = session.create("ADODB.Recordset")
            began = time.perf_counter()
            rs.Open(query, session.login.ConnectionString)
            ended = time.perf_counter()
            # Were the GIL held through the library's work, the counter could tick only while
            # the package's own Python code runs before and after it, within a switch interval
            # or two of either end.
            margin = 2 * sys.getswitchinterval()
            during = len([t for t in ticks if began + margin < t < ended - margin])
            if during >= 5:
                break
        assert during >= 5
        assert rs[0].n > 0
    finally:
        stop.set()
        counter.join()

-- Line sources of the order, arrival-note and delivery-note line lists: the field names the
-- lists caption, the warehouse, units and rates of each line, and the quantities the open and
-- this-time columns are computed from. Each view ends with the line quantity followed by three
-- more quantity fields, so the line quantity is the fourth field from the end. cinvouchcode,
-- icorid, bquansign (and ball for arrival lines) are there for what the lists write back into
-- the returned lines: the receipt voucher a line is tracked to, the sign of this time's
-- quantity and whether the arrival line is taken whole. What a person types into a line (the
-- receipt voucher number, and on order lines the batch, which an order does not keep) comes from
-- an empty look at the receipt's own column, so that it carries that column's type: the lists
-- take as many characters as the receipt keeps (an expression would carry no size, and the
-- lists would cut a typed value to the longest one shown). A line query
-- joins its view with Inventory, and arrival and delivery lines also with their base line table,
-- as their WHERE texts name them (order lines name dArriveDate unqualified, so not there).

CREATE VIEW zpurpodetail AS
SELECT l.ID AS id, l.POID AS poid, h.cPOID AS cpoid,
       i.cDefWareHouse AS cwhcode, w.cWhName AS cwhname,
       l.cInvCode AS cinvcode, i.cInvAddCode AS cinvaddcode, i.cInvName AS cinvname,
       i.cInvStd AS cinvstd, l.dArriveDate AS darrivedate,
       (SELECT rb.cBatch FROM rdrecords rb WHERE 1 = 0) AS cbatch,
       i.bInvBatch AS binvbatch, i.bInvQuality AS binvquality, i.iMassDate AS imassdate,
       i.iGroupType AS igrouptype, l.iInvExchRate AS iinvexchrate,
       a.cComUnitName AS cinva_unit, m.cComUnitName AS cinvm_unit,
       i.fInExcess AS finexcess, l.iUnitPrice AS iunitprice, l.cbCloser AS cbcloser,
       (SELECT rv.cCode FROM rdrecord rv WHERE 1 = 0) AS cinvouchcode, NULL AS icorid,
       1 AS bquansign,
       l.cFree1 AS cfree1, l.cFree2 AS cfree2, l.cFree3 AS cfree3, l.cFree4 AS cfree4, l.cFree5 AS cfree5, l.cFree6 AS cfree6, l.cFree7 AS cfree7, l.cFree8 AS cfree8, l.cFree9 AS cfree9, l.cFree10 AS cfree10,
       l.iArrNum AS iarrnum, l.iReceivedNum AS ireceivednum,
       l.iQuantity AS iquantity, l.iArrQTY AS iarrqty, l.iReceivedQTY AS ireceivedqty,
       l.iNum AS inum
FROM PO_Podetails l
INNER JOIN PO_Pomain h ON h.POID = l.POID
LEFT OUTER JOIN Inventory i ON i.cInvCode = l.cInvCode
LEFT OUTER JOIN Warehouse w ON w.cWhCode = i.cDefWareHouse
LEFT OUTER JOIN ComputationUnit m ON m.cComunitCode = i.cComUnitCode
LEFT OUTER JOIN ComputationUnit a ON a.cComunitCode = l.cUnitID
GO

CREATE VIEW pu_ArrBody AS
SELECT l.ID AS id, l.Autoid AS autoid, h.cCode AS ccode,
       l.cWhCode AS cwhcode, w.cWhName AS cwhname,
       l.cInvCode AS cinvcode, i.cInvAddCode AS cinvaddcode, i.cInvName AS cinvname,
       i.cInvStd AS cinvstd, l.cBatch AS cbatch, l.dPDate AS dpdate, l.dVDate AS dvdate,
       l.iMassDate AS imassdate, i.iGroupType AS igrouptype, l.iInvExchRate AS iinvexchrate,
       a.cComUnitName AS cinva_unit, m.cComUnitName AS cinvm_unit,
       l.iPOsID AS iposid, l.iOriCost AS ioricost, l.cbCloser AS cbcloser,
       (SELECT rv.cCode FROM rdrecord rv WHERE 1 = 0) AS cinvouchcode, NULL AS icorid,
       1 AS bquansign, 0 AS ball,
       l.cFree1 AS cfree1, l.cFree2 AS cfree2, l.cFree3 AS cfree3, l.cFree4 AS cfree4, l.cFree5 AS cfree5, l.cFree6 AS cfree6, l.cFree7 AS cfree7, l.cFree8 AS cfree8, l.cFree9 AS cfree9, l.cFree10 AS cfree10,
       l.fValidInNum AS fvalidinnum,
       l.iQuantity AS iquantity, l.fValidInQuan AS fvalidinquan, h.iBillType AS ibilltype,
       l.iNum AS inum
FROM PU_ArrivalVouchs l
INNER JOIN PU_ArrivalVouch h ON h.ID = l.ID
LEFT OUTER JOIN Inventory i ON i.cInvCode = l.cInvCode
LEFT OUTER JOIN Warehouse w ON w.cWhCode = l.cWhCode
LEFT OUTER JOIN ComputationUnit m ON m.cComunitCode = i.cComUnitCode
LEFT OUTER JOIN ComputationUnit a ON a.cComunitCode = l.cUnitID
GO

CREATE VIEW DispatchBody AS
SELECT l.DLID AS dlid, l.AutoID AS autoid, h.cDLCode AS cdlcode,
       l.cWhCode AS cwhcode, w.cWhName AS cwhname,
       l.cInvCode AS cinvcode, i.cInvAddCode AS cinvaddcode, i.cInvName AS cinvname,
       i.cInvStd AS cinvstd, l.cInVouchCode AS ccode, l.cBatch AS cbatch,
       l.dMDate AS dmadedate, l.dVDate AS dvdate, l.iMassDate AS imassdate,
       i.iGroupType AS igrouptype, l.iInvExchRate AS iinvexchrate,
       a.cComUnitName AS cinva_unit, m.cComUnitName AS cinvm_unit,
       l.cInVouchCode AS cinvouchcode, l.iCorID AS icorid, 1 AS bquansign,
       i.fOutExcess AS foutexcess,
       l.iUnitPrice AS iunitprice,
       l.cFree1 AS cfree1, l.cFree2 AS cfree2, l.cFree3 AS cfree3, l.cFree4 AS cfree4, l.cFree5 AS cfree5, l.cFree6 AS cfree6, l.cFree7 AS cfree7, l.cFree8 AS cfree8, l.cFree9 AS cfree9, l.cFree10 AS cfree10,
       l.iQuantity AS iquantity, l.fOutQuantity AS foutquantity, l.fOutNum AS foutnum,
       l.iNum AS inum
FROM DispatchLists l
INNER JOIN DispatchList h ON h.DLID = l.DLID
LEFT OUTER JOIN Inventory i ON i.cInvCode = l.cInvCode
LEFT OUTER JOIN Warehouse w ON w.cWhCode = l.cWhCode
LEFT OUTER JOIN ComputationUnit m ON m.cComunitCode = i.cComUnitCode
LEFT OUTER JOIN ComputationUnit a ON a.cComunitCode = l.cUnitID
GO

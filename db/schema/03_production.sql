-- Production orders: heads, product lines and material lines, and the views the
-- production-order lists read. iState: 1 entered, 2 verified (open), 3 closed.
-- iProperty: 1 made in house, 2 outsourced processing.

CREATE TABLE pp_POHead (
  ID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
  cCode nvarchar(30) NOT NULL,
  dDate datetime NOT NULL,
  iProperty int NOT NULL DEFAULT 1,
  iState int NOT NULL DEFAULT 1,
  cDepCode nvarchar(12) NULL,
  cPersonCode nvarchar(20) NULL,
  cVenCode nvarchar(20) NULL,
  cMaker nvarchar(20) NULL,
  cVerifier nvarchar(20) NULL,
  dCheckDate datetime NULL,
  cCloser nvarchar(20) NULL,
  cMemo nvarchar(255) NULL,
  cDefine1 nvarchar(60) NULL,
  cDefine2 nvarchar(60) NULL,
  cDefine3 nvarchar(60) NULL,
  cDefine4 nvarchar(60) NULL,
  cDefine5 nvarchar(60) NULL,
  cDefine6 nvarchar(60) NULL,
  cDefine7 decimal(20,6) NULL,
  cDefine8 nvarchar(60) NULL,
  cDefine9 nvarchar(60) NULL,
  cDefine10 nvarchar(120) NULL,
  cDefine11 nvarchar(120) NULL,
  cDefine12 nvarchar(120) NULL,
  cDefine13 nvarchar(120) NULL,
  cDefine14 nvarchar(120) NULL,
  cDefine15 int NULL,
  cDefine16 decimal(20,6) NULL
) ON [PRIMARY]
GO
CREATE UNIQUE INDEX IX_pp_POHead_cCode ON pp_POHead (cCode)
GO
CREATE INDEX IX_pp_POHead_dDate ON pp_POHead (dDate)
GO

-- Product lines. fInQuantity is what product receipts have taken so far; bCheck: the line is
-- inspected before receipt (ccheckcode names the inspection voucher); cClose holds the closer.
CREATE TABLE pp_POLine (
  MainID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
  ID int NOT NULL,
  iRowNo int NOT NULL DEFAULT 1,
  cInvCode nvarchar(20) NOT NULL,
  fQuantity decimal(20,6) NOT NULL DEFAULT 0,
  fNum decimal(20,6) NULL,
  fInQuantity decimal(20,6) NULL,
  fInNum decimal(20,6) NULL,
  cWhCode nvarchar(10) NULL,
  dStartDate datetime NULL,
  dEndDate datetime NULL,
  cItemCode nvarchar(20) NULL,
  cItem_class nvarchar(2) NULL,
  cItemName nvarchar(60) NULL,
  bCheck bit NOT NULL DEFAULT 0,
  cCheckCode nvarchar(30) NULL,
  cClose nvarchar(20) NULL,
  cFree1 nvarchar(20) NULL,
  cFree2 nvarchar(20) NULL,
  cFree3 nvarchar(20) NULL,
  cFree4 nvarchar(20) NULL,
  cFree5 nvarchar(20) NULL,
  cFree6 nvarchar(20) NULL,
  cFree7 nvarchar(20) NULL,
  cFree8 nvarchar(20) NULL,
  cFree9 nvarchar(20) NULL,
  cFree10 nvarchar(20) NULL,
  cDefine22 nvarchar(60) NULL,
  cDefine23 nvarchar(60) NULL,
  cDefine24 nvarchar(60) NULL,
  cDefine25 nvarchar(60) NULL,
  cDefine26 nvarchar(60) NULL,
  cDefine27 nvarchar(60) NULL,
  cDefine28 decimal(20,6) NULL,
  cDefine29 nvarchar(60) NULL,
  cDefine30 nvarchar(60) NULL,
  cDefine31 nvarchar(120) NULL,
  cDefine32 nvarchar(120) NULL,
  cDefine33 nvarchar(120) NULL,
  cDefine34 nvarchar(120) NULL,
  cDefine35 nvarchar(120) NULL,
  cDefine36 datetime NULL,
  cDefine37 decimal(20,6) NULL
) ON [PRIMARY]
GO
CREATE INDEX IX_pp_POLine_ID ON pp_POLine (ID)
GO
CREATE INDEX IX_pp_POLine_cInvCode ON pp_POLine (cInvCode)
GO

-- Material lines of a product line. fOutQuantity is what material issues have taken so far;
-- bUsed: the line has been taken over by a limit requisition.
CREATE TABLE pp_POMaterial (
  SubID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
  MainID int NOT NULL,
  cInvCode nvarchar(20) NOT NULL,
  fQuantity decimal(20,6) NOT NULL DEFAULT 0,
  fNum decimal(20,6) NULL,
  fOutQuantity decimal(20,6) NULL,
  fOutNum decimal(20,6) NULL,
  iPSQuantity decimal(20,6) NULL,
  iWasteRate decimal(20,6) NULL,
  iWIPType int NOT NULL DEFAULT 3,
  cWhCode nvarchar(10) NULL,
  cDepCode nvarchar(12) NULL,
  bUsed bit NOT NULL DEFAULT 0,
  cFree1 nvarchar(20) NULL,
  cFree2 nvarchar(20) NULL,
  cFree3 nvarchar(20) NULL,
  cFree4 nvarchar(20) NULL,
  cFree5 nvarchar(20) NULL,
  cFree6 nvarchar(20) NULL,
  cFree7 nvarchar(20) NULL,
  cFree8 nvarchar(20) NULL,
  cFree9 nvarchar(20) NULL,
  cFree10 nvarchar(20) NULL
) ON [PRIMARY]
GO
CREATE INDEX IX_pp_POMaterial_MainID ON pp_POMaterial (MainID)
GO

-- Order heads as the head list shows them.
CREATE VIEW pp_poheader AS
SELECT h.ID AS id, h.cCode AS ccode, h.dDate AS ddate, h.iProperty AS iproperty,
       h.iState AS istate, h.cDepCode AS cdepcode, d.cDepName AS cdepname,
       h.cPersonCode AS cpersoncode, p.cPersonName AS cpersonname,
       h.cVenCode AS cvencode, v.cVenName AS cvenname, h.cMaker AS cmaker,
       h.cVerifier AS cverifier, h.dCheckDate AS dcheckdate, h.cMemo AS cmemo
FROM pp_POHead h
LEFT OUTER JOIN Department d ON d.cDepCode = h.cDepCode
LEFT OUTER JOIN Person p ON p.cPersonCode = h.cPersonCode
LEFT OUTER JOIN Vendor v ON v.cVenCode = h.cVenCode
GO

-- Product lines as the line list shows them; icurquantity is the quantity still to receive.
CREATE VIEW pp_pomain AS
SELECT l.MainID AS mainid, l.ID AS id, h.cCode AS ccode, h.iState AS istate,
       h.iProperty AS iproperty, h.cDepCode AS cdepcode, h.cVenCode AS cvencode,
       l.cInvCode AS cinvcode, i.cInvName AS cinvname, i.cInvStd AS cinvstd,
       u.cComUnitName AS cinvm_unit, i.iGroupType AS igrouptype,
       l.fQuantity AS fquantity,
       isnull(l.fQuantity, 0) - isnull(l.fInQuantity, 0) AS icurquantity,
       isnull(l.fInQuantity, 0) AS finquantity,
       l.fNum AS fnum, l.fInNum AS finnum,
       l.dStartDate AS dstartdate, l.dEndDate AS denddate,
       l.cItemCode AS citemcode, l.cItemName AS citemname,
       l.cItem_class AS citem_class, f.cItem_Name AS citem_name,
       l.cCheckCode AS ccheckcode, l.bCheck AS bcheck, l.cClose AS cclose,
       l.cWhCode AS cwhcode,
       l.cFree1 AS cfree1, l.cFree2 AS cfree2, l.cFree3 AS cfree3, l.cFree4 AS cfree4,
       l.cFree5 AS cfree5, l.cFree6 AS cfree6, l.cFree7 AS cfree7, l.cFree8 AS cfree8,
       l.cFree9 AS cfree9, l.cFree10 AS cfree10
FROM pp_POLine l
INNER JOIN pp_POHead h ON h.ID = l.ID
LEFT OUTER JOIN Inventory i ON i.cInvCode = l.cInvCode
LEFT OUTER JOIN ComputationUnit u ON u.cComunitCode = i.cComUnitCode
LEFT OUTER JOIN fitem f ON f.cItem_Class = l.cItem_class
GO

-- Material lines as the material list shows them; iCurOutQuantity is the quantity still to issue.
CREATE VIEW pp_podetail AS
SELECT m.SubID AS subid, m.MainID AS mainid, l.ID AS id, h.cCode AS ccode,
       m.cInvCode AS cinvcode, i.cInvName AS cinvname, i.cInvStd AS cinvstd,
       u.cComUnitName AS cinvm_unit, i.iGroupType AS igrouptype,
       m.fQuantity AS fquantity, isnull(m.fOutQuantity, 0) AS foutquantity,
       isnull(m.fQuantity, 0) - isnull(m.fOutQuantity, 0) AS iCurOutQuantity,
       m.fNum AS fnum, m.fOutNum AS foutnum, m.iWIPType AS iwiptype, m.bUsed AS bused,
       m.cWhCode AS cwhcode, w.cWhName AS cwhname, m.cDepCode AS cdepcode,
       m.cFree1 AS cfree1, m.cFree2 AS cfree2, m.cFree3 AS cfree3, m.cFree4 AS cfree4,
       m.cFree5 AS cfree5, m.cFree6 AS cfree6, m.cFree7 AS cfree7, m.cFree8 AS cfree8,
       m.cFree9 AS cfree9, m.cFree10 AS cfree10
FROM pp_POMaterial m
INNER JOIN pp_POLine l ON l.MainID = m.MainID
INNER JOIN pp_POHead h ON h.ID = l.ID
LEFT OUTER JOIN Inventory i ON i.cInvCode = m.cInvCode
LEFT OUTER JOIN ComputationUnit u ON u.cComunitCode = i.cComUnitCode
LEFT OUTER JOIN Warehouse w ON w.cWhCode = m.cWhCode
GO

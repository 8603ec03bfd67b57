-- Outsourced production orders (orders placed with a vendor who processes the company's
-- materials into products) and the quality inspection of their receipts.
-- OM_ProductPO.iState: 1 entered, 2 verified (open), 3 closed.

CREATE TABLE OM_ProductPO (
  ID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
  cCode nvarchar(30) NOT NULL,
  cPeriod nvarchar(10) NULL,
  dDate datetime NOT NULL,
  iProperty int NOT NULL DEFAULT 1,
  iState int NOT NULL DEFAULT 1,
  bOriginal nvarchar(1) NOT NULL DEFAULT '0',
  cDepCode nvarchar(12) NULL,
  cPersonCode nvarchar(20) NULL,
  cVenCode nvarchar(20) NOT NULL,
  cMaker nvarchar(20) NULL,
  cVerifier nvarchar(20) NULL,
  dCheckDate datetime NULL,
  cCloser nvarchar(20) NULL,
  cMemo nvarchar(255) NULL,
  iVTid int NULL,
  ufts nvarchar(30) NULL,
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
CREATE UNIQUE INDEX IX_OM_ProductPO_cCode ON OM_ProductPO (cCode)
GO
CREATE INDEX IX_OM_ProductPO_cVenCode ON OM_ProductPO (cVenCode)
GO
-- The order lists of a date range.
CREATE INDEX IX_OM_ProductPO_dDate ON OM_ProductPO (dDate)
GO

-- Product lines. fInQuantity/fInNum: received so far; iTookQuantity/fTookNum: taken by
-- receipts not yet verified; iInvalidQuantity/iInvalidNum: scrapped. bCheck: received only
-- through inspection; bUsed: taken over by a limit requisition; cClose: the closer.
-- iMakeCharge is the processing charge per unit.
CREATE TABLE OM_POMain (
  MainID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
  ID int NOT NULL,
  iRowNo int NOT NULL DEFAULT 1,
  cInvCode nvarchar(20) NOT NULL,
  cUnitID nvarchar(10) NULL,
  fQuantity decimal(20,6) NOT NULL DEFAULT 0,
  fNum decimal(20,6) NULL,
  fInQuantity decimal(20,6) NULL,
  fInNum decimal(20,6) NULL,
  iTookQuantity decimal(20,6) NULL,
  fTookNum decimal(20,6) NULL,
  iInvalidQuantity decimal(20,6) NULL,
  iInvalidNum decimal(20,6) NULL,
  iUnitPrice money NULL,
  iMakeCharge money NULL,
  iMoney money NULL,
  dStartDate datetime NULL,
  dEndDate datetime NULL,
  cItemCode nvarchar(20) NULL,
  cItem_class nvarchar(2) NULL,
  cItemName nvarchar(60) NULL,
  bCheck bit NOT NULL DEFAULT 0,
  bUsed bit NOT NULL DEFAULT 0,
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
CREATE INDEX IX_OM_POMain_ID ON OM_POMain (ID)
GO
CREATE INDEX IX_OM_POMain_cInvCode ON OM_POMain (cInvCode)
GO

-- Material lines sent to the vendor. WIPType 3 = issued by material issue vouchers, 1 = taken
-- over by the vendor's own stock. iPSQuantity per tdqtyd products (tdqtyd empty counts as 1).
CREATE TABLE OM_PODetails (
  SubID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
  MainID int NOT NULL,
  cInvCode nvarchar(20) NOT NULL,
  cUnitID nvarchar(10) NULL,
  fQuantity decimal(20,6) NOT NULL DEFAULT 0,
  fNum decimal(20,6) NULL,
  fOutQuantity decimal(20,6) NULL,
  fOutNum decimal(20,6) NULL,
  iPSQuantity decimal(20,6) NULL,
  tdqtyd decimal(20,6) NULL,
  iWasteRate decimal(20,6) NULL,
  WIPType int NULL,
  cWhCode nvarchar(10) NULL,
  cDepCode nvarchar(12) NULL,
  cItemCode nvarchar(20) NULL,
  cItem_class nvarchar(2) NULL,
  cItemName nvarchar(60) NULL,
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
-- With the quantities, so that the lists of orders with materials left to issue, and the per-line
-- sums of the order view, read the index alone.
CREATE INDEX IX_OM_PODetails_MainID ON OM_PODetails (MainID, fQuantity, fOutQuantity, fNum, fOutNum)
GO

-- Inspection vouchers. Receipts of outsourced products are inspected with vouchers of type
-- "QM16" whose source card is "OM02"; only verified vouchers (cVerifier set) release goods.
CREATE TABLE qm_ncheckvoucher (
  ID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
  cCheckCode nvarchar(30) NOT NULL,
  dDate datetime NOT NULL,
  cVouchType nvarchar(4) NOT NULL,
  cSourceCardNumber nvarchar(10) NOT NULL,
  cSourceCode nvarchar(30) NULL,
  cVenCode nvarchar(20) NULL,
  cMaker nvarchar(20) NULL,
  cVerifier nvarchar(20) NULL,
  dVerifyDate datetime NULL
) ON [PRIMARY]
GO
CREATE UNIQUE INDEX IX_qm_ncheckvoucher_cCheckCode ON qm_ncheckvoucher (cCheckCode)
GO

-- Inspection lines: iSourceAutoID is the inspected OM_POMain.MainID. fHGQuantity is the
-- qualified quantity and fHGInQuantity what receipts have taken of it; nonconforming goods go
-- to the nonconformity record iRejID.
CREATE TABLE qm_ncheckvouchers (
  AutoID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
  ID int NOT NULL,
  iSourceAutoID int NOT NULL,
  cInvCode nvarchar(20) NOT NULL,
  fQuantity decimal(20,6) NOT NULL DEFAULT 0,
  fNum decimal(20,6) NULL,
  fHGQuantity decimal(20,6) NULL,
  fHGNum decimal(20,6) NULL,
  fHGInQuantity decimal(20,6) NULL,
  fHGInNum decimal(20,6) NULL,
  fBHGQuantity decimal(20,6) NULL,
  fBHGNum decimal(20,6) NULL,
  iRejID int NULL
) ON [PRIMARY]
GO
CREATE INDEX IX_qm_ncheckvouchers_ID ON qm_ncheckvouchers (ID)
GO
CREATE INDEX IX_qm_ncheckvouchers_iSourceAutoID ON qm_ncheckvouchers (iSourceAutoID)
GO

-- Nonconformity records: fYBJSQuantity is the part accepted by concession, fYBJSInQuantity
-- what receipts have taken of it.
CREATE TABLE qm_ncvreject (
  ID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
  cRejCode nvarchar(30) NOT NULL,
  dDate datetime NOT NULL,
  cInvCode nvarchar(20) NOT NULL,
  fRejQuantity decimal(20,6) NULL,
  fRejNum decimal(20,6) NULL,
  fYBJSQuantity decimal(20,6) NULL,
  fYBJSNum decimal(20,6) NULL,
  fYBJSInQuantity decimal(20,6) NULL,
  fYBJSInNum decimal(20,6) NULL,
  cRejText nvarchar(255) NULL,
  ufts nvarchar(30) NULL
) ON [PRIMARY]
GO

-- Per product line: its order and vendor, and how far its materials have been issued.
CREATE VIEW OM_ProductPO_V AS
SELECT m.MainID AS mainid, p.ID AS id, p.cCode AS ccode, p.dDate AS ddate,
       p.cVenCode AS cvencode, v.cVenAbbName AS cvenabbname, p.cDepCode AS cdepcode,
       (SELECT count(*) FROM OM_PODetails d WHERE d.MainID = m.MainID) AS imaterials,
       (SELECT sum(isnull(d.fQuantity, 0)) FROM OM_PODetails d WHERE d.MainID = m.MainID)
         AS fmaterialquantity,
       (SELECT sum(isnull(d.fOutQuantity, 0)) FROM OM_PODetails d WHERE d.MainID = m.MainID)
         AS fmaterialoutquantity
FROM OM_POMain m
INNER JOIN OM_ProductPO p ON p.ID = m.ID
LEFT OUTER JOIN Vendor v ON v.cVenCode = p.cVenCode
GO

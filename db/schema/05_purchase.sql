-- Purchase orders and purchase arrival notes, and the two head views the order and
-- arrival-note lists are filtered on (zpurpoheader, pu_ArrHead).
-- Heads: iState 1 entered, 2 verified (open), 3 closed. cBusType "普通采购" or "受托代销"
-- (consignment). A red arrival note (iBillType 1) carries negative quantities.

CREATE TABLE PO_Pomain (
  POID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
  cPOID nvarchar(30) NOT NULL,
  dPODate datetime NOT NULL,
  cVenCode nvarchar(20) NOT NULL,
  cDepCode nvarchar(12) NULL,
  cPersonCode nvarchar(20) NULL,
  cPTCode nvarchar(2) NULL,
  cBusType nvarchar(10) NULL,
  iState int NOT NULL DEFAULT 1,
  cexch_name nvarchar(10) NULL,
  nflat decimal(20,6) NULL,
  iTaxRate decimal(20,6) NULL,
  cMaker nvarchar(20) NULL,
  cVerifier nvarchar(20) NULL,
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
CREATE UNIQUE INDEX IX_PO_Pomain_cPOID ON PO_Pomain (cPOID)
GO
-- The head list reads the verified orders in date and code order: walking this index, the file
-- hands over its first heads at once instead of sorting every head first. cDepCode lets a
-- department-restricted user's filter be tested before the head row is read.
CREATE INDEX IX_PO_Pomain_iState_dPODate ON PO_Pomain (iState, dPODate, cPOID, cDepCode)
GO

-- Order lines. iArrQTY/iArrNum: on arrival notes so far; iReceivedQTY/iReceivedNum: received
-- into stock so far. cbCloser: the line is closed.
CREATE TABLE PO_Podetails (
  ID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
  POID int NOT NULL,
  iRowNo int NOT NULL DEFAULT 1,
  cInvCode nvarchar(20) NOT NULL,
  cUnitID nvarchar(10) NULL,
  iQuantity decimal(20,6) NOT NULL DEFAULT 0,
  iNum decimal(20,6) NULL,
  iInvExchRate decimal(20,6) NULL,
  iArrQTY decimal(20,6) NULL,
  iArrNum decimal(20,6) NULL,
  iReceivedQTY decimal(20,6) NULL,
  iReceivedNum decimal(20,6) NULL,
  iUnitPrice money NULL,
  iMoney money NULL,
  iTax money NULL,
  iSum money NULL,
  iPerTaxRate decimal(20,6) NULL,
  dArriveDate datetime NULL,
  cItemCode nvarchar(20) NULL,
  cItem_class nvarchar(2) NULL,
  cItemName nvarchar(60) NULL,
  cbCloser nvarchar(20) NULL,
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
-- Carries what makes a line open (unclosed, quantity not yet arrived or received), so the head
-- list's test for an open line reads this index alone.
CREATE INDEX IX_PO_Podetails_POID ON PO_Podetails (POID, cbCloser, iQuantity, iArrQTY, iReceivedQTY)
GO
CREATE INDEX IX_PO_Podetails_cInvCode ON PO_Podetails (cInvCode)
GO

CREATE TABLE PU_ArrivalVouch (
  ID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
  cCode nvarchar(30) NOT NULL,
  dDate datetime NOT NULL,
  cPOID nvarchar(30) NULL,
  cVenCode nvarchar(20) NOT NULL,
  cDepCode nvarchar(12) NULL,
  cPersonCode nvarchar(20) NULL,
  cPTCode nvarchar(2) NULL,
  cBusType nvarchar(10) NULL,
  iBillType int NOT NULL DEFAULT 0,
  iState int NOT NULL DEFAULT 1,
  cMaker nvarchar(20) NULL,
  cVerifier nvarchar(20) NULL,
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
CREATE UNIQUE INDEX IX_PU_ArrivalVouch_cCode ON PU_ArrivalVouch (cCode)
GO
-- The head list's order (verified notes by date and code), as for the order heads.
CREATE INDEX IX_PU_ArrivalVouch_iState_dDate ON PU_ArrivalVouch (iState, dDate, cCode, cDepCode)
GO

-- Arrival-note lines. fValidInQuan/fValidInNum: received into stock so far; iPOsID: the order
-- line (PO_Podetails.ID) the line came from.
CREATE TABLE PU_ArrivalVouchs (
  Autoid int IDENTITY(1,1) NOT NULL PRIMARY KEY,
  ID int NOT NULL,
  iRowNo int NOT NULL DEFAULT 1,
  cInvCode nvarchar(20) NOT NULL,
  cWhCode nvarchar(10) NULL,
  cUnitID nvarchar(10) NULL,
  iQuantity decimal(20,6) NOT NULL DEFAULT 0,
  iNum decimal(20,6) NULL,
  iInvExchRate decimal(20,6) NULL,
  fValidInQuan decimal(20,6) NULL,
  fValidInNum decimal(20,6) NULL,
  iOriCost money NULL,
  iOriMoney money NULL,
  iOriSum money NULL,
  cBatch nvarchar(30) NULL,
  dPDate datetime NULL,
  dVDate datetime NULL,
  iMassDate int NULL,
  iPOsID int NULL,
  cItemCode nvarchar(20) NULL,
  cItem_class nvarchar(2) NULL,
  cItemName nvarchar(60) NULL,
  cbCloser nvarchar(20) NULL,
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
-- Carries what makes a line open (unclosed, not yet received in full), as for the order lines.
CREATE INDEX IX_PU_ArrivalVouchs_ID ON PU_ArrivalVouchs (ID, cbCloser, iQuantity, fValidInQuan)
GO
CREATE INDEX IX_PU_ArrivalVouchs_cInvCode ON PU_ArrivalVouchs (cInvCode)
GO

-- Purchase-order heads with the names the head list filters and shows.
CREATE VIEW zpurpoheader AS
SELECT h.POID AS poid, h.cPOID AS cpoid, h.cPOID AS ccode, h.dPODate AS dpodate,
       h.cVenCode AS cvencode, v.cVenName AS cvenname, v.cVenAbbName AS cvenabbname,
       h.cDepCode AS cdepcode, d.cDepName AS cdepname,
       h.cPersonCode AS cpersoncode, p.cPersonName AS cpersonname,
       h.cPTCode AS cptcode, t.cPTName AS cptname, h.cBusType AS cbustype,
       h.iState AS istate, h.cexch_name AS cexch_name, h.nflat AS nflat,
       h.iTaxRate AS itaxrate, h.cMaker AS cmaker, h.cVerifier AS cverifier,
       h.cCloser AS ccloser, h.cMemo AS cmemo,
       h.cDefine1 AS cdefine1, h.cDefine2 AS cdefine2, h.cDefine3 AS cdefine3, h.cDefine4 AS cdefine4, h.cDefine5 AS cdefine5, h.cDefine6 AS cdefine6, h.cDefine7 AS cdefine7, h.cDefine8 AS cdefine8, h.cDefine9 AS cdefine9, h.cDefine10 AS cdefine10, h.cDefine11 AS cdefine11, h.cDefine12 AS cdefine12, h.cDefine13 AS cdefine13, h.cDefine14 AS cdefine14, h.cDefine15 AS cdefine15, h.cDefine16 AS cdefine16
FROM PO_Pomain h
LEFT OUTER JOIN Vendor v ON v.cVenCode = h.cVenCode
LEFT OUTER JOIN Department d ON d.cDepCode = h.cDepCode
LEFT OUTER JOIN Person p ON p.cPersonCode = h.cPersonCode
LEFT OUTER JOIN PurchaseType t ON t.cPTCode = h.cPTCode
GO

-- Arrival-note heads with the names the head list filters and shows.
CREATE VIEW pu_ArrHead AS
SELECT h.ID AS id, h.cCode AS ccode, h.dDate AS ddate, h.cPOID AS cpoid,
       h.cVenCode AS cvencode, v.cVenName AS cvenname, v.cVenAbbName AS cvenabbname,
       h.cDepCode AS cdepcode, d.cDepName AS cdepname,
       h.cPersonCode AS cpersoncode, p.cPersonName AS cpersonname,
       h.cPTCode AS cptcode, t.cPTName AS cptname, h.cBusType AS cbustype,
       h.iBillType AS ibilltype, h.iState AS istate, h.cMaker AS cmaker,
       h.cVerifier AS cverifier, h.cCloser AS ccloser, h.cMemo AS cmemo,
       h.cDefine1 AS cdefine1, h.cDefine2 AS cdefine2, h.cDefine3 AS cdefine3, h.cDefine4 AS cdefine4, h.cDefine5 AS cdefine5, h.cDefine6 AS cdefine6, h.cDefine7 AS cdefine7, h.cDefine8 AS cdefine8, h.cDefine9 AS cdefine9, h.cDefine10 AS cdefine10, h.cDefine11 AS cdefine11, h.cDefine12 AS cdefine12, h.cDefine13 AS cdefine13, h.cDefine14 AS cdefine14, h.cDefine15 AS cdefine15, h.cDefine16 AS cdefine16
FROM PU_ArrivalVouch h
LEFT OUTER JOIN Vendor v ON v.cVenCode = h.cVenCode
LEFT OUTER JOIN Department d ON d.cDepCode = h.cDepCode
LEFT OUTER JOIN Person p ON p.cPersonCode = h.cPersonCode
LEFT OUTER JOIN PurchaseType t ON t.cPTCode = h.cPTCode
GO

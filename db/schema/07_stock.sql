-- Stock: current stock per warehouse, inventory, batch and free items; receipt and issue
-- vouchers; the batch records of receipt lines; bin-position records.

-- One row per warehouse, inventory, batch and free-item combination. Batch and free items are
-- '' (never NULL) when unused, so a row is found by equality on every column. iQuantity/iNum
-- may go negative when issues run ahead of receipts.
CREATE TABLE CurrentStock (
  AutoID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
  cWhCode nvarchar(10) NOT NULL,
  cInvCode nvarchar(20) NOT NULL,
  cBatch nvarchar(30) NOT NULL DEFAULT '',
  cFree1 nvarchar(20) NOT NULL DEFAULT '',
  cFree2 nvarchar(20) NOT NULL DEFAULT '',
  cFree3 nvarchar(20) NOT NULL DEFAULT '',
  cFree4 nvarchar(20) NOT NULL DEFAULT '',
  cFree5 nvarchar(20) NOT NULL DEFAULT '',
  cFree6 nvarchar(20) NOT NULL DEFAULT '',
  cFree7 nvarchar(20) NOT NULL DEFAULT '',
  cFree8 nvarchar(20) NOT NULL DEFAULT '',
  cFree9 nvarchar(20) NOT NULL DEFAULT '',
  cFree10 nvarchar(20) NOT NULL DEFAULT '',
  iQuantity decimal(20,6) NOT NULL DEFAULT 0,
  iNum decimal(20,6) NOT NULL DEFAULT 0,
  fInQuantity decimal(20,6) NOT NULL DEFAULT 0,
  fInNum decimal(20,6) NOT NULL DEFAULT 0,
  fOutQuantity decimal(20,6) NOT NULL DEFAULT 0,
  fOutNum decimal(20,6) NOT NULL DEFAULT 0,
  dMdate datetime NULL,
  dVDate datetime NULL,
  iMassDate int NULL,
  bStopFlag bit NOT NULL DEFAULT 0
) ON [PRIMARY]
GO
CREATE INDEX IX_CurrentStock_WhInv ON CurrentStock (cWhCode, cInvCode, cBatch)
GO
CREATE INDEX IX_CurrentStock_cInvCode ON CurrentStock (cInvCode)
GO

-- Receipt (bRdFlag 1) and issue (bRdFlag 0) voucher heads. cVouchType: "01" purchase receipt,
-- "10" product receipt, "11" material issue, "32" sales issue, "08" other receipt.
CREATE TABLE rdrecord (
  ID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
  bRdFlag int NOT NULL,
  cVouchType nvarchar(4) NOT NULL,
  cBusType nvarchar(10) NULL,
  cSource nvarchar(20) NULL,
  cCode nvarchar(30) NOT NULL,
  dDate datetime NOT NULL,
  cWhCode nvarchar(10) NOT NULL,
  cRdCode nvarchar(10) NULL,
  cDepCode nvarchar(12) NULL,
  cPersonCode nvarchar(20) NULL,
  cVenCode nvarchar(20) NULL,
  cCusCode nvarchar(20) NULL,
  cMaker nvarchar(20) NULL,
  cHandler nvarchar(20) NULL,
  dVeriDate datetime NULL,
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
CREATE INDEX IX_rdrecord_cCode ON rdrecord (cVouchType, cCode)
GO

-- Voucher lines. For receipt lines iSOutQuantity/iSOutNum count what tracked issues have taken
-- from the line (cVouchCode then names the tracked line); they are never NULL so that write-back
-- statements can add to them.
CREATE TABLE rdrecords (
  AutoID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
  ID int NOT NULL,
  cInvCode nvarchar(20) NOT NULL,
  iQuantity decimal(20,6) NOT NULL DEFAULT 0,
  iNum decimal(20,6) NULL,
  iInvExchRate decimal(20,6) NULL,
  iUnitCost money NULL,
  iPrice money NULL,
  cBatch nvarchar(30) NULL,
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
  dMadeDate datetime NULL,
  dVDate datetime NULL,
  iMassDate int NULL,
  iSOutQuantity decimal(20,6) NOT NULL DEFAULT 0,
  iSOutNum decimal(20,6) NOT NULL DEFAULT 0,
  cVouchCode nvarchar(30) NULL,
  iPOsID int NULL,
  iArrsID int NULL,
  iOMoMID int NULL,
  iOMoDID int NULL,
  iMPoIds int NULL,
  iDLsID int NULL,
  cPosition nvarchar(20) NULL,
  cItemCode nvarchar(20) NULL,
  cItem_class nvarchar(2) NULL,
  cItemName nvarchar(60) NULL,
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
CREATE INDEX IX_rdrecords_ID ON rdrecords (ID)
GO
CREATE INDEX IX_rdrecords_cInvCode ON rdrecords (cInvCode, cBatch)
GO

-- Batch records of receipt lines (RdID = rdrecords.AutoID): what is left of each received
-- batch, for tracking issues back to their receipt.
CREATE TABLE mainbatch (
  AutoID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
  RdID int NOT NULL,
  cWhCode nvarchar(10) NOT NULL,
  cInvCode nvarchar(20) NOT NULL,
  cBatch nvarchar(30) NOT NULL DEFAULT '',
  cFree1 nvarchar(20) NOT NULL DEFAULT '',
  cFree2 nvarchar(20) NOT NULL DEFAULT '',
  cFree3 nvarchar(20) NOT NULL DEFAULT '',
  cFree4 nvarchar(20) NOT NULL DEFAULT '',
  cFree5 nvarchar(20) NOT NULL DEFAULT '',
  cFree6 nvarchar(20) NOT NULL DEFAULT '',
  cFree7 nvarchar(20) NOT NULL DEFAULT '',
  cFree8 nvarchar(20) NOT NULL DEFAULT '',
  cFree9 nvarchar(20) NOT NULL DEFAULT '',
  cFree10 nvarchar(20) NOT NULL DEFAULT '',
  dMDate datetime NULL,
  dVDate datetime NULL,
  iMassDate int NULL,
  fInQuantity decimal(20,6) NOT NULL DEFAULT 0,
  fInNum decimal(20,6) NOT NULL DEFAULT 0,
  fOutQuantity decimal(20,6) NOT NULL DEFAULT 0,
  fOutNum decimal(20,6) NOT NULL DEFAULT 0,
  bOver bit NOT NULL DEFAULT 0
) ON [PRIMARY]
GO
CREATE UNIQUE INDEX IX_mainbatch_RdID ON mainbatch (RdID)
GO
CREATE INDEX IX_mainbatch_WhInv ON mainbatch (cWhCode, cInvCode)
GO

-- Bin-position records of voucher lines (bRdFlag 1 put away, 0 taken out) and their balance
-- per position.
CREATE TABLE InvPosition (
  AutoID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
  RdsID int NULL,
  RdID int NULL,
  bRdFlag int NOT NULL DEFAULT 1,
  cWhCode nvarchar(10) NOT NULL,
  cPosCode nvarchar(20) NOT NULL,
  cInvCode nvarchar(20) NOT NULL,
  cBatch nvarchar(30) NOT NULL DEFAULT '',
  cFree1 nvarchar(20) NOT NULL DEFAULT '',
  cFree2 nvarchar(20) NOT NULL DEFAULT '',
  cFree3 nvarchar(20) NOT NULL DEFAULT '',
  cFree4 nvarchar(20) NOT NULL DEFAULT '',
  cFree5 nvarchar(20) NOT NULL DEFAULT '',
  cFree6 nvarchar(20) NOT NULL DEFAULT '',
  cFree7 nvarchar(20) NOT NULL DEFAULT '',
  cFree8 nvarchar(20) NOT NULL DEFAULT '',
  cFree9 nvarchar(20) NOT NULL DEFAULT '',
  cFree10 nvarchar(20) NOT NULL DEFAULT '',
  iQuantity decimal(20,6) NOT NULL DEFAULT 0,
  iNum decimal(20,6) NULL,
  dDate datetime NULL,
  cHandler nvarchar(20) NULL,
  cMemo nvarchar(255) NULL
) ON [PRIMARY]
GO
CREATE INDEX IX_InvPosition_RdsID ON InvPosition (RdsID)
GO
CREATE INDEX IX_InvPosition_Pos ON InvPosition (cWhCode, cPosCode, cInvCode)
GO
CREATE TABLE InvPositionSum (
  AutoID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
  cWhCode nvarchar(10) NOT NULL,
  cPosCode nvarchar(20) NOT NULL,
  cInvCode nvarchar(20) NOT NULL,
  cBatch nvarchar(30) NOT NULL DEFAULT '',
  cFree1 nvarchar(20) NOT NULL DEFAULT '',
  cFree2 nvarchar(20) NOT NULL DEFAULT '',
  cFree3 nvarchar(20) NOT NULL DEFAULT '',
  cFree4 nvarchar(20) NOT NULL DEFAULT '',
  cFree5 nvarchar(20) NOT NULL DEFAULT '',
  cFree6 nvarchar(20) NOT NULL DEFAULT '',
  cFree7 nvarchar(20) NOT NULL DEFAULT '',
  cFree8 nvarchar(20) NOT NULL DEFAULT '',
  cFree9 nvarchar(20) NOT NULL DEFAULT '',
  cFree10 nvarchar(20) NOT NULL DEFAULT '',
  iQuantity decimal(20,6) NOT NULL DEFAULT 0,
  iNum decimal(20,6) NOT NULL DEFAULT 0
) ON [PRIMARY]
GO
CREATE INDEX IX_InvPositionSum_Pos ON InvPositionSum (cWhCode, cPosCode, cInvCode, cBatch)
GO

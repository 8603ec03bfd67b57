-- Sales delivery notes. cVouchType "05" delivery note, "06" consignment delivery note;
-- cBusType "普通销售", "分期收款" or "委托代销". A red delivery note (bReturnFlag 1) returns goods
-- and carries negative quantities.

CREATE TABLE DispatchList (
  DLID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
  cDLCode nvarchar(30) NOT NULL,
  cVouchType nvarchar(4) NOT NULL DEFAULT '05',
  cSTCode nvarchar(2) NULL,
  dDate datetime NOT NULL,
  cBusType nvarchar(10) NULL,
  cSBVCode nvarchar(30) NULL,
  cCusCode nvarchar(20) NOT NULL,
  cDepCode nvarchar(12) NULL,
  cPersonCode nvarchar(20) NULL,
  bReturnFlag bit NOT NULL DEFAULT 0,
  iState int NOT NULL DEFAULT 1,
  cShipAddress nvarchar(255) NULL,
  cexch_name nvarchar(10) NULL,
  iExchRate decimal(20,6) NULL,
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
CREATE UNIQUE INDEX IX_DispatchList_cDLCode ON DispatchList (cDLCode)
GO
CREATE INDEX IX_DispatchList_dDate ON DispatchList (dDate)
GO

-- Delivery-note lines. fOutQuantity/fOutNum: issued so far. cInVouchCode/iCorID: the receipt
-- line the goods are tracked to, when assigned.
CREATE TABLE DispatchLists (
  AutoID int IDENTITY(1,1) NOT NULL PRIMARY KEY,
  DLID int NOT NULL,
  iRowNo int NOT NULL DEFAULT 1,
  cWhCode nvarchar(10) NULL,
  cInvCode nvarchar(20) NOT NULL,
  cUnitID nvarchar(10) NULL,
  iQuantity decimal(20,6) NOT NULL DEFAULT 0,
  iNum decimal(20,6) NULL,
  iInvExchRate decimal(20,6) NULL,
  fOutQuantity decimal(20,6) NULL,
  fOutNum decimal(20,6) NULL,
  iQuotedPrice money NULL,
  iUnitPrice money NULL,
  iMoney money NULL,
  iTax money NULL,
  iSum money NULL,
  cBatch nvarchar(30) NULL,
  dMDate datetime NULL,
  dVDate datetime NULL,
  iMassDate int NULL,
  cInVouchCode nvarchar(30) NULL,
  iCorID int NULL,
  cItemCode nvarchar(20) NULL,
  cItem_class nvarchar(2) NULL,
  cItemName nvarchar(60) NULL,
  cCloser nvarchar(20) NULL,
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
CREATE INDEX IX_DispatchLists_DLID ON DispatchLists (DLID)
GO
CREATE INDEX IX_DispatchLists_cInvCode ON DispatchLists (cInvCode)
GO

-- Archives: units, inventory classes and inventories, warehouses, departments, persons,
-- customers, vendors, project items, product structures, bin positions.

-- Unit groups: iGroupType 0 = single unit (no pieces), 1 = fixed conversion rate,
-- 2 = floating rate (pieces and quantity are entered independently).
CREATE TABLE ComputationGroup (
  cGroupCode nvarchar(10) NOT NULL PRIMARY KEY,
  cGroupName nvarchar(40) NOT NULL,
  iGroupType int NOT NULL DEFAULT 0
) ON [PRIMARY]
GO

-- Units. iChangRate converts this unit into the group's main unit (quantity = pieces * rate).
CREATE TABLE ComputationUnit (
  cComunitCode nvarchar(10) NOT NULL PRIMARY KEY,
  cComUnitName nvarchar(20) NOT NULL,
  cGroupCode nvarchar(10) NOT NULL,
  bMainUnit bit NOT NULL DEFAULT 0,
  iChangRate decimal(20,6) NULL,
  iNumber int NOT NULL DEFAULT 0,
  cBarCode nvarchar(30) NULL,
  fFloatRate decimal(20,6) NULL
) ON [PRIMARY]
GO
CREATE INDEX IX_ComputationUnit_cGroupCode ON ComputationUnit (cGroupCode)
GO

CREATE TABLE InventoryClass (
  cInvCCode nvarchar(12) NOT NULL PRIMARY KEY,
  cInvCName nvarchar(40) NOT NULL,
  iInvCGrade int NOT NULL,
  bInvCEnd bit NOT NULL DEFAULT 1,
  cEcoCode nvarchar(20) NULL
) ON [PRIMARY]
GO

-- Inventories. iId is the inventory's number used by data permissions. iGroupType repeats the
-- type of the unit group cGroupCode; cComUnitCode is the main unit, cAssComUnitCode the
-- auxiliary (pieces) unit and cSTComUnitCode the stock unit. fInExcess / fOutExcess are the
-- tolerated over-receipt / over-issue ratios (0.1 = 10 %). bNotCheckNum skips the check of
-- pieces when tracked out-counts are written back.
CREATE TABLE Inventory (
  cInvCode nvarchar(20) NOT NULL PRIMARY KEY,
  iId int NOT NULL,
  cInvAddCode nvarchar(30) NULL,
  cInvName nvarchar(60) NOT NULL,
  cInvStd nvarchar(60) NULL,
  cInvCCode nvarchar(12) NULL,
  cVenCode nvarchar(20) NULL,
  cGroupCode nvarchar(10) NULL,
  iGroupType int NOT NULL DEFAULT 0,
  cComUnitCode nvarchar(10) NULL,
  cAssComUnitCode nvarchar(10) NULL,
  cSTComUnitCode nvarchar(10) NULL,
  cPUComUnitCode nvarchar(10) NULL,
  cSAComUnitCode nvarchar(10) NULL,
  bSale bit NOT NULL DEFAULT 0,
  bPurchase bit NOT NULL DEFAULT 0,
  bSelf bit NOT NULL DEFAULT 0,
  bComsume bit NOT NULL DEFAULT 0,
  bProducing bit NOT NULL DEFAULT 0,
  bService bit NOT NULL DEFAULT 0,
  bInvEntrust bit NOT NULL DEFAULT 0,
  bInvBatch bit NOT NULL DEFAULT 0,
  bInvQuality bit NOT NULL DEFAULT 0,
  iMassDate int NULL,
  cMassUnit int NULL,
  bTrack bit NOT NULL DEFAULT 0,
  bNotCheckNum bit NOT NULL DEFAULT 0,
  bFree1 bit NOT NULL DEFAULT 0,
  bFree2 bit NOT NULL DEFAULT 0,
  bFree3 bit NOT NULL DEFAULT 0,
  bFree4 bit NOT NULL DEFAULT 0,
  bFree5 bit NOT NULL DEFAULT 0,
  bFree6 bit NOT NULL DEFAULT 0,
  bFree7 bit NOT NULL DEFAULT 0,
  bFree8 bit NOT NULL DEFAULT 0,
  bFree9 bit NOT NULL DEFAULT 0,
  bFree10 bit NOT NULL DEFAULT 0,
  fInExcess decimal(20,6) NULL,
  fOutExcess decimal(20,6) NULL,
  iInvSPrice money NULL,
  iInvRCost money NULL,
  cDefWareHouse nvarchar(10) NULL,
  iSafeNum decimal(20,6) NULL,
  iTopSum decimal(20,6) NULL,
  iLowSum decimal(20,6) NULL,
  dSDate datetime NULL,
  dEDate datetime NULL,
  cInvDefine1 nvarchar(60) NULL,
  cInvDefine2 nvarchar(60) NULL,
  cInvDefine3 nvarchar(60) NULL,
  cInvDefine4 nvarchar(60) NULL,
  cInvDefine5 nvarchar(60) NULL,
  cInvDefine6 nvarchar(60) NULL,
  cInvDefine7 decimal(20,6) NULL,
  cInvDefine8 nvarchar(60) NULL,
  cInvDefine9 nvarchar(60) NULL,
  cInvDefine10 nvarchar(120) NULL,
  cInvDefine11 nvarchar(120) NULL,
  cInvDefine12 nvarchar(120) NULL,
  cInvDefine13 nvarchar(120) NULL,
  cInvDefine14 nvarchar(120) NULL,
  cInvDefine15 int NULL,
  cInvDefine16 decimal(20,6) NULL
) ON [PRIMARY]
GO
CREATE UNIQUE INDEX IX_Inventory_iId ON Inventory (iId)
GO
CREATE INDEX IX_Inventory_cInvCCode ON Inventory (cInvCCode)
GO
CREATE INDEX IX_Inventory_cInvName ON Inventory (cInvName)
GO

-- Warehouses. bWhPos: the warehouse keeps bin positions; bProxyWh: consignment warehouse.
CREATE TABLE Warehouse (
  cWhCode nvarchar(10) NOT NULL PRIMARY KEY,
  cWhName nvarchar(40) NOT NULL,
  cDepCode nvarchar(12) NULL,
  cWhAddress nvarchar(120) NULL,
  cWhPhone nvarchar(30) NULL,
  cWhPerson nvarchar(20) NULL,
  cWhValueStyle nvarchar(20) NULL,
  bWhPos bit NOT NULL DEFAULT 0,
  bProxyWh bit NOT NULL DEFAULT 0,
  bFreeze bit NOT NULL DEFAULT 0,
  cWhMemo nvarchar(120) NULL
) ON [PRIMARY]
GO

-- Which inventories each warehouse keeps (checked when the account option CheckWareInv is on).
CREATE TABLE WhAndInv (
  cWhCode nvarchar(10) NOT NULL,
  cInvCode nvarchar(20) NOT NULL,
  cPosCode nvarchar(20) NULL,
  iSafeNum decimal(20,6) NULL,
  iTopSum decimal(20,6) NULL,
  iLowSum decimal(20,6) NULL,
  PRIMARY KEY (cWhCode, cInvCode)
) ON [PRIMARY]
GO
CREATE INDEX IX_WhAndInv_cInvCode ON WhAndInv (cInvCode)
GO

-- Departments, graded by code; bDepEnd marks the end level, the only level documents use.
CREATE TABLE Department (
  cDepCode nvarchar(12) NOT NULL PRIMARY KEY,
  cDepName nvarchar(40) NOT NULL,
  iDepGrade int NOT NULL DEFAULT 1,
  bDepEnd bit NOT NULL DEFAULT 1,
  cDepPerson nvarchar(20) NULL,
  cDepPhone nvarchar(30) NULL,
  cDepMemo nvarchar(120) NULL
) ON [PRIMARY]
GO

CREATE TABLE Person (
  cPersonCode nvarchar(20) NOT NULL PRIMARY KEY,
  cPersonName nvarchar(40) NOT NULL,
  cDepCode nvarchar(12) NULL,
  cPersonPhone nvarchar(30) NULL,
  cPersonEmail nvarchar(60) NULL
) ON [PRIMARY]
GO
CREATE INDEX IX_Person_cDepCode ON Person (cDepCode)
GO

CREATE TABLE Customer (
  cCusCode nvarchar(20) NOT NULL PRIMARY KEY,
  cCusName nvarchar(98) NOT NULL,
  cCusAbbName nvarchar(60) NOT NULL,
  cCCCode nvarchar(12) NULL,
  cDCCode nvarchar(12) NULL,
  cCusAddress nvarchar(255) NULL,
  cCusPostCode nvarchar(10) NULL,
  cCusPhone nvarchar(30) NULL,
  cCusFax nvarchar(30) NULL,
  cCusPerson nvarchar(20) NULL,
  cCusBank nvarchar(60) NULL,
  cCusAccount nvarchar(40) NULL,
  cCusRegCode nvarchar(30) NULL,
  cCusDepart nvarchar(12) NULL,
  cCusPPerson nvarchar(20) NULL,
  dCusDevDate datetime NULL,
  cCusDefine1 nvarchar(60) NULL,
  cCusDefine2 nvarchar(60) NULL,
  cCusDefine3 nvarchar(60) NULL,
  cCusDefine4 nvarchar(60) NULL,
  cCusDefine5 nvarchar(60) NULL,
  cCusDefine6 nvarchar(60) NULL,
  cCusDefine7 decimal(20,6) NULL,
  cCusDefine8 nvarchar(60) NULL,
  cCusDefine9 nvarchar(60) NULL,
  cCusDefine10 nvarchar(120) NULL,
  cCusDefine11 nvarchar(120) NULL,
  cCusDefine12 nvarchar(120) NULL,
  cCusDefine13 nvarchar(120) NULL,
  cCusDefine14 nvarchar(120) NULL,
  cCusDefine15 int NULL,
  cCusDefine16 decimal(20,6) NULL
) ON [PRIMARY]
GO

-- Vendors with the bank, address and registration fields the outsourced-order heads return.
CREATE TABLE Vendor (
  cVenCode nvarchar(20) NOT NULL PRIMARY KEY,
  cVenName nvarchar(98) NOT NULL,
  cVenAbbName nvarchar(60) NOT NULL,
  cVCCode nvarchar(12) NULL,
  cDCCode nvarchar(12) NULL,
  cTrade nvarchar(30) NULL,
  cVenAddress nvarchar(255) NULL,
  cVenPostCode nvarchar(10) NULL,
  cVenRegCode nvarchar(30) NULL,
  cVenBank nvarchar(60) NULL,
  cVenAccount nvarchar(40) NULL,
  cVenPhone nvarchar(30) NULL,
  cVenFax nvarchar(30) NULL,
  cVenEmail nvarchar(60) NULL,
  cVenPerson nvarchar(20) NULL,
  cVenDepart nvarchar(12) NULL,
  cVenPPerson nvarchar(20) NULL,
  dVenDevDate datetime NULL,
  cVenDefine1 nvarchar(60) NULL,
  cVenDefine2 nvarchar(60) NULL,
  cVenDefine3 nvarchar(60) NULL,
  cVenDefine4 nvarchar(60) NULL,
  cVenDefine5 nvarchar(60) NULL,
  cVenDefine6 nvarchar(60) NULL,
  cVenDefine7 decimal(20,6) NULL,
  cVenDefine8 nvarchar(60) NULL,
  cVenDefine9 nvarchar(60) NULL,
  cVenDefine10 nvarchar(120) NULL,
  cVenDefine11 nvarchar(120) NULL,
  cVenDefine12 nvarchar(120) NULL,
  cVenDefine13 nvarchar(120) NULL,
  cVenDefine14 nvarchar(120) NULL,
  cVenDefine15 int NULL,
  cVenDefine16 decimal(20,6) NULL
) ON [PRIMARY]
GO

-- The vendor's own codes and names for the inventories it supplies or processes.
CREATE TABLE venandinv (
  cVenCode nvarchar(20) NOT NULL,
  cInvCode nvarchar(20) NOT NULL,
  cVenInvCode nvarchar(30) NULL,
  cVenInvName nvarchar(60) NULL,
  iVenPrice money NULL,
  PRIMARY KEY (cVenCode, cInvCode)
) ON [PRIMARY]
GO
CREATE INDEX IX_venandinv_cInvCode ON venandinv (cInvCode)
GO

-- Project item classes; cItemTable names the table holding the class's items (class "99" is
-- the cost-object class in fitemss99).
CREATE TABLE fitem (
  cItem_Class nvarchar(2) NOT NULL PRIMARY KEY,
  cItem_Name nvarchar(40) NOT NULL,
  cItemTable nvarchar(30) NULL,
  bGrade bit NOT NULL DEFAULT 0
) ON [PRIMARY]
GO

-- Project items of every class other than 99.
CREATE TABLE fitemss (
  cItem_Class nvarchar(2) NOT NULL,
  cItemCode nvarchar(20) NOT NULL,
  cItemName nvarchar(60) NOT NULL,
  bClose bit NOT NULL DEFAULT 0,
  PRIMARY KEY (cItem_Class, cItemCode)
) ON [PRIMARY]
GO

-- Cost objects (project class 99): one per product, or per product-structure row (cautoid).
CREATE TABLE fitemss99 (
  cItemCode nvarchar(20) NOT NULL PRIMARY KEY,
  cItemName nvarchar(60) NOT NULL,
  cItemCCode nvarchar(12) NULL,
  cpspcode nvarchar(20) NULL,
  cautoid int NULL,
  bClose bit NOT NULL DEFAULT 0
) ON [PRIMARY]
GO
CREATE INDEX IX_fitemss99_cpspcode ON fitemss99 (cpspcode)
GO

-- Product structures: one row per component cPSCode of parent product cPSPCode (with the
-- parent's free items). iPSQuantity is the component quantity per parent unit.
CREATE TABLE productstructure (
  iautoid int IDENTITY(1,1) NOT NULL PRIMARY KEY,
  cPSPCode nvarchar(20) NOT NULL,
  cPSCode nvarchar(20) NOT NULL,
  iPSQuantity decimal(20,6) NOT NULL DEFAULT 1,
  iWasteRate decimal(20,6) NULL,
  iWIPType int NOT NULL DEFAULT 3,
  cWhCode nvarchar(10) NULL,
  cDepCode nvarchar(12) NULL,
  dEffDate datetime NULL,
  dExpDate datetime NULL,
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
CREATE INDEX IX_productstructure_cPSPCode ON productstructure (cPSPCode)
GO

CREATE TABLE SaleType (
  cSTCode nvarchar(2) NOT NULL PRIMARY KEY,
  cSTName nvarchar(20) NOT NULL
) ON [PRIMARY]
GO

CREATE TABLE PurchaseType (
  cPTCode nvarchar(2) NOT NULL PRIMARY KEY,
  cPTName nvarchar(20) NOT NULL
) ON [PRIMARY]
GO

-- Bin positions inside warehouses, graded by code like departments.
CREATE TABLE Position (
  cPosCode nvarchar(20) NOT NULL PRIMARY KEY,
  cPosName nvarchar(40) NOT NULL,
  cWhCode nvarchar(10) NOT NULL,
  iPosGrade int NOT NULL DEFAULT 1,
  bPosEnd bit NOT NULL DEFAULT 1,
  cBarCode nvarchar(30) NULL,
  iMaxCubage decimal(20,6) NULL,
  iMaxWeight decimal(20,6) NULL,
  cPosMemo nvarchar(120) NULL
) ON [PRIMARY]
GO
CREATE INDEX IX_Position_cWhCode ON Position (cWhCode)
GO

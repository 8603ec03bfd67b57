-- Account-level tables: parameters, user-defined item definitions, voucher types, users and their
-- rights, list column sets and named filters.

-- Account parameters. One row per subsystem ("st" stock, "om" outsourcing, "pu" purchase, "sa"
-- sales) and parameter name; readers take cValue and fall back on cDefault.
CREATE TABLE accinformation (
  cSysID nvarchar(2) NOT NULL,
  cName nvarchar(50) NOT NULL,
  cCaption nvarchar(100) NULL,
  cType nvarchar(10) NULL,
  cValue nvarchar(255) NULL,
  cDefault nvarchar(255) NULL,
  PRIMARY KEY (cSysID, cName)
) ON [PRIMARY]
GO
CREATE INDEX IX_accinformation_cName ON accinformation (cName)
GO

-- Code length of each grade of a graded archive (inventory classes, departments, positions).
-- A grade's own part of a code has iCodeLen characters; the full code of grade g is the sum of
-- the lengths of grades 1..g.
CREATE TABLE GradeDef (
  cKeyWord nvarchar(30) NOT NULL,
  iGrade int NOT NULL,
  iCodeLen int NOT NULL,
  PRIMARY KEY (cKeyWord, iGrade)
) ON [PRIMARY]
GO

-- User-defined items: header fields cDefine1..16 are keys "01".."16", line fields cDefine22..37
-- are "22".."37", free items 1 and 2 are "20" and "21", free items 3..10 are "28".."35"
-- (so a body define and a free item may share a key; the free-item meaning wins there).
-- Inventory, vendor and customer defines use the keys "I01".., "V01".., "C01"...
CREATE TABLE DefineItem (
  cKey nvarchar(10) NOT NULL PRIMARY KEY,
  cName nvarchar(60) NOT NULL,
  cType nvarchar(10) NOT NULL DEFAULT 'text',
  iLength int NOT NULL DEFAULT 60,
  iDecimals int NOT NULL DEFAULT 0,
  bInUse bit NOT NULL DEFAULT 1,
  cSource nvarchar(20) NULL
) ON [PRIMARY]
GO

-- Values offered for free items, per inventory (free item number 1..10).
CREATE TABLE InvFreeValue (
  cInvCode nvarchar(20) NOT NULL,
  iFreeNo int NOT NULL,
  cValueCode nvarchar(20) NOT NULL,
  cValue nvarchar(60) NOT NULL,
  cBarCode nvarchar(30) NULL,
  PRIMARY KEY (cInvCode, iFreeNo, cValueCode)
) ON [PRIMARY]
GO

-- Voucher types of the suite ("01" purchase receipt, "05" delivery note, "11" material issue, ...).
CREATE TABLE VouchType (
  cVouchType nvarchar(4) NOT NULL PRIMARY KEY,
  cVouchName nvarchar(60) NOT NULL,
  cSysID nvarchar(2) NULL,
  bRdFlag int NULL
) ON [PRIMARY]
GO

-- Users of the account.
CREATE TABLE UA_User (
  cUser_Id nvarchar(20) NOT NULL PRIMARY KEY,
  cUser_Name nvarchar(40) NOT NULL,
  cPassword nvarchar(60) NULL,
  cDepCode nvarchar(12) NULL,
  cPersonCode nvarchar(20) NULL,
  bAdmin bit NOT NULL DEFAULT 0,
  bDisabled bit NOT NULL DEFAULT 0
) ON [PRIMARY]
GO

-- Data permissions. A user is restricted for an object kind ("department", "inventory",
-- "warehouse", "customer", "person", "vendor") exactly when he has at least one row of that kind;
-- cObjectId is the object's code (the inventory's iId as text for "inventory"). cRightCode "W"
-- grants use in vouchers and lookups, "R" lookups only, so the list for right code "W" holds the
-- "W" rows and the list for an empty right code holds both.
CREATE TABLE UA_DataRight (
  cUser_Id nvarchar(20) NOT NULL,
  cObjectKind nvarchar(20) NOT NULL,
  cObjectId nvarchar(30) NOT NULL,
  cRightCode nvarchar(2) NOT NULL DEFAULT 'W',
  PRIMARY KEY (cUser_Id, cObjectKind, cObjectId)
) ON [PRIMARY]
GO

-- Function rights (e.g. "ST0118": update delivery notes from issued quantities).
CREATE TABLE UA_FuncRight (
  cUser_Id nvarchar(20) NOT NULL,
  cFuncCode nvarchar(20) NOT NULL,
  PRIMARY KEY (cUser_Id, cFuncCode)
) ON [PRIMARY]
GO

-- Column sets of the lists: per table key (and user; '' is the account default) the fields in
-- display order. cFieldExpr is the SELECT expression the field is read with in the list's
-- statement (the field list is "expr as cFieldName, ..."); cFormat is "quantity", "number",
-- "exchrate" or empty.
CREATE TABLE ColumnSet (
  cTableName nvarchar(40) NOT NULL,
  cUser_Id nvarchar(20) NOT NULL DEFAULT '',
  cFieldName nvarchar(40) NOT NULL,
  cFieldExpr nvarchar(400) NOT NULL,
  cCaption nvarchar(60) NOT NULL,
  iOrder int NOT NULL,
  iWidth int NOT NULL DEFAULT 1000,
  bVisible bit NOT NULL DEFAULT 1,
  cFormat nvarchar(20) NULL,
  PRIMARY KEY (cTableName, cUser_Id, cFieldName)
) ON [PRIMARY]
GO

-- Named filters: a filter offers conditions on fields; the filter dialog turns the confirmed
-- values into a WHERE text.
CREATE TABLE FilterDef (
  cSysID nvarchar(2) NOT NULL,
  cFilterName nvarchar(60) NOT NULL,
  cCaption nvarchar(60) NOT NULL,
  cSource nvarchar(60) NULL,
  PRIMARY KEY (cSysID, cFilterName)
) ON [PRIMARY]
GO
CREATE TABLE FilterItem (
  cSysID nvarchar(2) NOT NULL,
  cFilterName nvarchar(60) NOT NULL,
  iOrder int NOT NULL,
  cFieldName nvarchar(60) NOT NULL,
  cCaption nvarchar(60) NOT NULL,
  cDataType nvarchar(10) NOT NULL DEFAULT 'text',
  cOperator nvarchar(10) NOT NULL DEFAULT '=',
  bRange bit NOT NULL DEFAULT 0,
  cRefer nvarchar(20) NULL,
  cDefault nvarchar(60) NULL,
  PRIMARY KEY (cSysID, cFilterName, iOrder)
) ON [PRIMARY]
GO

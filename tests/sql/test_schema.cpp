#include "test_schema.h"

#include <cstdio>

namespace quillon::sql::testing {

namespace {

std::string valueText(const Value& v) {
  switch (v.kind) {
    case ValueKind::Null:
      return "NULL";
    case ValueKind::Integer:
      return std::to_string(v.integer);
    case ValueKind::Real: {
      char buf[40];
      std::snprintf(buf, sizeof buf, "%g", v.real);
      return buf;
    }
    default:
      return v.text;
  }
}

}  // namespace

std::string scalar(Database& db, const std::string& sql) {
  const auto results = db.query(sql);
  if (results.empty() || results[0].rows.empty()) return "<no row>";
  return valueText(results[0].rows[0][0]);
}

std::string rows(Database& db, const std::string& sql) {
  const auto results = db.query(sql);
  if (results.empty()) return "<no result>";
  std::string out;
  for (const auto& row : results.back().rows) {
    if (!out.empty()) out += ';';
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i > 0) out += '|';
      out += valueText(row[i]);
    }
  }
  return out;
}

void createAccountSchema(Database& db) {
  db.execute(R"(
CREATE TABLE [dbo].[accinformation] ([cSysID] [varchar](2) NOT NULL, [cName] [varchar](50) NOT NULL,
  [cValue] [nvarchar](100) NULL, [cDefault] [nvarchar](100) NULL) ON [PRIMARY]
GO
CREATE TABLE [dbo].[Department] ([cDepCode] [varchar](12) NOT NULL PRIMARY KEY, [cDepName] [nvarchar](30) NULL,
  [bDepEnd] [bit] NOT NULL DEFAULT (0))
CREATE TABLE [dbo].[Vendor] ([cVenCode] [varchar](20) NOT NULL, [cVenName] [nvarchar](98) NULL,
  CONSTRAINT [PK_Vendor] PRIMARY KEY CLUSTERED ([cVenCode]) WITH (PAD_INDEX = OFF) ON [PRIMARY]) ON [PRIMARY]
CREATE TABLE [dbo].[Person] ([cPersonCode] [varchar](20) NOT NULL, [cPersonName] [nvarchar](40) NULL)
CREATE TABLE [dbo].[Warehouse] ([cWhCode] [varchar](10) NOT NULL, [cWhName] [nvarchar](20) NULL)
CREATE TABLE [dbo].[Inventory] ([cInvCode] [varchar](20) NOT NULL PRIMARY KEY, [cInvAddCode] [varchar](50) NULL,
  [cInvName] [nvarchar](60) NULL, [cInvStd] [nvarchar](60) NULL, [cComUnitCode] [varchar](35) NULL,
  [iGroupType] [tinyint] NULL, [iID] [int] NOT NULL, [cInvCCode] [varchar](12) NULL)
CREATE TABLE [dbo].[ComputationUnit] ([cComunitCode] [varchar](35) NOT NULL, [cComUnitName] [nvarchar](20) NULL,
  [iChangRate] [float] NULL)
CREATE TABLE [dbo].[fitem] ([cItem_Class] [varchar](2) NOT NULL, [citem_name] [nvarchar](20) NULL)
CREATE TABLE [dbo].[venandinv] ([cInvCode] [varchar](20) NOT NULL, [cVenCode] [varchar](20) NOT NULL,
  [cVenInvCode] [varchar](20) NULL)
CREATE TABLE [dbo].[OM_ProductPO] ([ID] [int] NOT NULL, [cCode] [varchar](30) NOT NULL, [dDate] [datetime] NULL,
  [cVenCode] [varchar](20) NULL, [cDepCode] [varchar](12) NULL, [cPersonCode] [varchar](20) NULL,
  [iState] [tinyint] NULL, [bOriginal] [bit] NULL, [iVTid] [int] NULL)
CREATE TABLE [dbo].[OM_POMain] ([MainID] [int] NOT NULL, [ID] [int] NOT NULL, [cInvCode] [varchar](20) NULL,
  [fQuantity] [decimal](20, 6) NULL, [fInQuantity] [decimal](20, 6) NULL, [fNum] [decimal](20, 6) NULL,
  [fInNum] [decimal](20, 6) NULL, [bCheck] [bit] NULL, [bUsed] [bit] NOT NULL DEFAULT (0),
  [cclose] [varchar](20) NULL, [cItem_Class] [varchar](2) NULL, [citemcode] [varchar](60) NULL,
  [cUnitID] [varchar](35) NULL, [cFree1] [varchar](20) NULL, [cFree2] [varchar](20) NULL,
  [cFree3] [varchar](20) NULL, [cFree4] [varchar](20) NULL, [cFree5] [varchar](20) NULL,
  [cFree6] [varchar](20) NULL, [cFree7] [varchar](20) NULL, [cFree8] [varchar](20) NULL,
  [cFree9] [varchar](20) NULL, [cFree10] [varchar](20) NULL, [iMakeCharge] [money] NULL)
CREATE TABLE [dbo].[OM_PODetails] ([SubID] [int] NOT NULL, [MainID] [int] NOT NULL, [cInvCode] [varchar](20) NULL,
  [fQuantity] [decimal](20, 6) NULL, [fOutQuantity] [decimal](20, 6) NULL, [fNum] [decimal](20, 6) NULL,
  [fOutNum] [decimal](20, 6) NULL, [WipType] [int] NULL, [cWhCode] [varchar](10) NULL,
  [cDepCode] [varchar](12) NULL, [cItem_Class] [varchar](2) NULL, [cUnitID] [varchar](35) NULL)
CREATE VIEW OM_ProductPO_V AS SELECT MainID AS mainid, ID FROM OM_POMain
CREATE TABLE [dbo].[QM_NCheckVoucher] ([ID] [int] NOT NULL, [cSourceCardNumber] [varchar](10) NULL,
  [cVouchType] [varchar](10) NULL, [cVerifier] [nvarchar](20) NULL)
CREATE TABLE [dbo].[QM_NCheckVouchers] ([AutoID] [int] NOT NULL, [ID] [int] NOT NULL, [iSourceAutoID] [int] NULL,
  [fHgQuantity] [decimal](20, 6) NULL, [fHgInQuantity] [decimal](20, 6) NULL, [fHgNum] [decimal](20, 6) NULL,
  [fHgInNum] [decimal](20, 6) NULL, [iRejID] [int] NULL)
CREATE TABLE [dbo].[QM_NCVReject] ([ID] [int] NOT NULL, [fYbjsQuantity] [decimal](20, 6) NULL,
  [fYbjsInQuantity] [decimal](20, 6) NULL, [fYbjsNum] [decimal](20, 6) NULL, [fYbjsInNum] [decimal](20, 6) NULL)
CREATE TABLE [dbo].[CurrentStock] ([AutoID] [int] IDENTITY (1, 1) NOT NULL, [cWhCode] [varchar](10) NOT NULL,
  [cInvCode] [varchar](20) NOT NULL, [cBatch] [varchar](20) NULL, [cFree1] [varchar](20) NULL,
  [cFree2] [varchar](20) NULL, [cFree3] [varchar](20) NULL, [cFree4] [varchar](20) NULL, [cFree5] [varchar](20) NULL,
  [cFree6] [varchar](20) NULL, [cFree7] [varchar](20) NULL, [cFree8] [varchar](20) NULL, [cFree9] [varchar](20) NULL,
  [cFree10] [varchar](20) NULL, [iQuantity] [decimal](20, 6) NULL, [iNum] [decimal](20, 6) NULL,
  CONSTRAINT [PK_CurrentStock] PRIMARY KEY CLUSTERED ([AutoID])) ON [PRIMARY]
CREATE TABLE [dbo].[RdRecords] ([AutoID] [int] NOT NULL PRIMARY KEY, [cVouchCode] [varchar](30) NULL,
  [cInvCode] [varchar](20) NULL, [iQuantity] [decimal](20, 6) NULL, [iNum] [decimal](20, 6) NULL,
  [iSOutQuantity] [decimal](20, 6) NULL, [iSOutNum] [decimal](20, 6) NULL, [dVDate] [datetime] NULL)
CREATE UNIQUE NONCLUSTERED INDEX [IX_RdRecords_Vouch] ON [dbo].[RdRecords] ([AutoID] ASC, [cVouchCode] DESC)
  WITH (SORT_IN_TEMPDB = OFF) ON [PRIMARY]
)");
  db.execute(R"(
insert into accinformation (cSysID, cName, cValue, cDefault) values ('st', 'bBOMSpreadNotByFree', NULL, '1')
insert into accinformation values ('om', 'bOMInNeedOut', 'false', 'false')
insert into Department values ('D01', N'一车间', 1)
insert into Department values ('D02', N'生产部', 0)
insert into Vendor values ('V01', N'甲供应商')
insert into Vendor values ('V02', N'乙供应商')
insert into Person values ('P01', N'张三')
insert into Warehouse values ('W1', N'材料库')
insert into Inventory values ('P100', 'P100', N'成品一', 'S1', 'U1', 0, 1, '01')
insert into Inventory values ('P101', 'P101', N'成品二', 'S2', 'U1', 0, 2, '01')
insert into Inventory values ('M1', 'M1', N'材料一', NULL, 'U1', 0, 3, '02')
insert into Inventory values ('M2', 'M2', N'材料二', NULL, 'U1', 2, 4, '02')
insert into Inventory values ('M3', 'M3', N'材料三', NULL, 'U2', 1, 5, '0201')
insert into ComputationUnit values ('U1', N'个', NULL)
insert into ComputationUnit values ('U2', N'箱', 12)
insert into fitem values ('99', N'成本对象')
insert into OM_ProductPO values (1, 'WW001', '2024-03-01', 'V01', 'D01', 'P01', 2, 1, 1)
insert into OM_ProductPO values (2, 'WW002', '2024-03-02', 'V01', 'D01', 'P01', 3, 1, 1)
insert into OM_ProductPO values (3, 'WW003', '2024-03-05', 'V02', NULL, 'P01', 2, 0, 1)
insert into OM_POMain (MainID, ID, cInvCode, fQuantity, fInQuantity, fNum, fInNum, bCheck, bUsed, cItem_Class, cUnitID)
  values (10, 1, 'P100', 100, 40, 10, 4, 0, 0, '99', 'U1')
insert into OM_POMain (MainID, ID, cInvCode, fQuantity, fInQuantity, fNum, fInNum, bCheck, bUsed, cclose)
  values (11, 1, 'P101', 50, 50, 5, 5, 0, 0, '')
insert into OM_POMain (MainID, ID, cInvCode, fQuantity, fInQuantity, bCheck, bUsed) values (12, 1, 'P101', 30, 0, 1, 0)
insert into OM_POMain (MainID, ID, cInvCode, fQuantity, fInQuantity, bCheck, bUsed) values (13, 1, 'P100', 10, 0, 0, 0)
insert into OM_POMain (MainID, ID, cInvCode, fQuantity, fInQuantity, bCheck, bUsed) values (20, 2, 'P100', 10, 0, 0, 0)
insert into OM_POMain (MainID, ID, cInvCode, fQuantity, fInQuantity, fNum, fInNum, bCheck, bUsed)
  values (30, 3, 'P100', 20, 20, 0, 0, 0, 1)
insert into OM_PODetails values (100, 10, 'M1', 200, 50, 20, 5, 3, 'W1', 'D01', NULL, 'U1')
insert into OM_PODetails values (101, 10, 'M2', 80, 0, 8, 8, 3, 'W1', 'D01', NULL, 'U1')
insert into OM_PODetails values (102, 10, 'M3', 24, 0, NULL, NULL, NULL, 'W1', 'D01', NULL, 'U2')
insert into OM_PODetails values (103, 10, 'M1', 5, 0, 0, 0, 1, 'W1', 'D01', NULL, 'U1')
insert into OM_PODetails values (104, 13, 'M1', 10, 0, 0, 0, 3, 'W1', 'D01', NULL, 'U1')
insert into OM_PODetails values (300, 30, 'M1', 40, 40, 0, 0, 3, 'W1', 'D01', NULL, 'U1')
insert into QM_NCheckVoucher values (1, 'OM02', 'QM16', N'李四')
insert into QM_NCheckVouchers values (500, 1, 12, 30, 10, 3, 1, 900)
insert into QM_NCVReject values (900, 5, 2, 1, 0)
insert into CurrentStock (cWhCode, cInvCode, cBatch, cFree1, cFree2, cFree3, cFree4, cFree5, cFree6, cFree7, cFree8,
  cFree9, cFree10, iQuantity, iNum) values ('W1', 'M1', '', '', '', '', '', '', '', '', '', '', '', 100, 10)
insert into CurrentStock (cWhCode, cInvCode, cBatch, iQuantity, iNum) values ('W1', 'M1', 'B2', 30, 3)
insert into CurrentStock (cWhCode, cInvCode, cBatch, cFree1, cFree2, cFree3, cFree4, cFree5, cFree6, cFree7, cFree8,
  cFree9, cFree10, iQuantity, iNum) values ('W1', 'M2', 'B1', 'red', '', '', '', '', '', '', '', '', '', 7, 1)
insert into RdRecords values (1, NULL, 'M1', 10, 1, 4, 0, '2024-03-01 08:30:00')
insert into RdRecords values (2, NULL, 'M2', 5, 1, 0, 0, '2024-03-02')
)");
}

}  // namespace quillon::sql::testing

#!/usr/bin/env bash
# `make demo`: runs the main job on the embedded demo database.
set -euo pipefail
BUILD=${1:-build}
Q="$BUILD/apps/quillon/quillon"
DB=${QUILLON_DEMO_DB:-$BUILD/demo.db}
"$Q" sql --db "$DB" "if not exists (select * from sysobjects where id = object_id(N'[dbo].[Warehouse]')) create table Warehouse (cWhCode nvarchar(10) not null primary key, cWhName nvarchar(60) null)
delete from Warehouse
insert into Warehouse (cWhCode, cWhName) values (N'01', N'原料库')
insert into Warehouse (cWhCode, cWhName) values (N'02', N'成品库')
select cWhCode, cWhName, len(cWhName) as iLen from dbo.Warehouse order by cWhCode"

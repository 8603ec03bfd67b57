-- The rights of the application role that desks connect as, on one account database on the
-- server. Run once per account database by its owner (or a superuser), after `quillon init-db`,
-- with the role made beforehand (CREATE ROLE clerk LOGIN PASSWORD '…'):
--
--   psql -v ON_ERROR_STOP=1 -v role=clerk -d acme -f db/app_role.sql
--
-- The role reads and writes the account's rows, and makes and drops its own work tables and
-- temporary (#) tables. It cannot alter, index or drop the account's tables, which stay the
-- owner's.
-- Run it again after an upgrade that adds tables. See docs/deployment.md.
\set ON_ERROR_STOP on

SELECT format('GRANT CONNECT, TEMPORARY ON DATABASE %I TO %I', current_database(), :'role')
\gexec

-- The account's tables and the library's functions (schema tsql, installed by the first
-- connection of the owner: init-db).
GRANT USAGE ON SCHEMA public, tsql TO :"role";
GRANT EXECUTE ON ALL FUNCTIONS IN SCHEMA tsql, public TO :"role";
-- The catalogue views the library asks whether a table exists (sysobjects, syscolumns, …).
GRANT SELECT ON ALL TABLES IN SCHEMA tsql TO :"role";
GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA public TO :"role";
GRANT USAGE, SELECT ON ALL SEQUENCES IN SCHEMA public TO :"role";

-- The per-desk work tables (prefix + "_CurrentS", prefix + "_TmpRdRecords") and, on an account
-- whose owner has not made them yet, the shared-holds tables: the desks make these themselves, and
-- own only what they make.
GRANT CREATE ON SCHEMA public TO :"role";
-- The dialect layer's domain for a T-SQL type of a size no statement named before (a # table's
-- varchar(37)) is made by the first statement that names it, whoever runs it.
GRANT CREATE ON SCHEMA tsql TO :"role";

-- Tables the owner makes later (an upgrade, the shared-holds tables made by an owner's session).
ALTER DEFAULT PRIVILEGES IN SCHEMA public GRANT SELECT, INSERT, UPDATE, DELETE ON TABLES TO :"role";
ALTER DEFAULT PRIVILEGES IN SCHEMA public GRANT USAGE, SELECT ON SEQUENCES TO :"role";

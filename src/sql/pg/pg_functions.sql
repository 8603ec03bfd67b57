-- The dialect layer's functions, types and catalogue views on a PostgreSQL account, kept in the
-- schema "tsql" of the database: the server's counterparts of the functions the embedded engine
-- registers on every connection (sql/sqlite/functions.cpp), written in the server's own languages.
-- Embedded into the library when it is built (embed_functions.cmake); the server engine installs
-- it once per database, and again when kServerFunctionsVersion (pg_functions.h) changes: that
-- number takes the place of the word VERSION between percent signs in tsql.version() below.

CREATE SCHEMA IF NOT EXISTS tsql;
CREATE EXTENSION IF NOT EXISTS citext SCHEMA tsql;
-- A comparison of texts without regard to case folds both sides first: some fifty times the work
-- of comparing two numbers, where the planner counts one. Counted as one, it scans a table of a few
-- dozen codes once for every row of a list (a name looked up by its code in a sub-select) rather
-- than searching the codes' index. Where the extension's functions belong to another role (it was
-- installed by one with more rights), they keep their cost.
DO $$
DECLARE
  f text;
BEGIN
  FOREACH f IN ARRAY ARRAY['citext_eq', 'citext_ne', 'citext_lt', 'citext_le', 'citext_gt',
                           'citext_ge', 'citext_cmp'] LOOP
    BEGIN
      EXECUTE format('ALTER FUNCTION tsql.%I(tsql.citext, tsql.citext) COST 50', f);
    EXCEPTION WHEN insufficient_privilege THEN
      NULL;
    END;
  END LOOP;
END $$;

-- Text: characters without trailing blanks; 1-based positions, letters without regard to case.
CREATE OR REPLACE FUNCTION tsql.len(text) RETURNS bigint LANGUAGE sql IMMUTABLE PARALLEL SAFE
  AS $$ SELECT char_length(rtrim($1, ' '))::bigint $$;
CREATE OR REPLACE FUNCTION tsql.len(bigint) RETURNS bigint LANGUAGE sql IMMUTABLE PARALLEL SAFE
  AS $$ SELECT char_length($1::text)::bigint $$;
CREATE OR REPLACE FUNCTION tsql.len(double precision) RETURNS bigint LANGUAGE sql IMMUTABLE
  PARALLEL SAFE AS $$ SELECT char_length(tsql.convert_text($1, NULL, 0))::bigint $$;
CREATE OR REPLACE FUNCTION tsql.charindex(what text, place text, start bigint DEFAULT 1)
  RETURNS bigint LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT CASE WHEN what IS NULL OR place IS NULL THEN NULL
              WHEN what = '' THEN 0
              ELSE coalesce(nullif(strpos(substr(lower(place), greatest(coalesce(start, 1), 1)::int),
                                          lower(what)), 0)
                            + greatest(coalesce(start, 1), 1) - 1, 0) END $$;
CREATE OR REPLACE FUNCTION tsql.left_chars(s text, n bigint) RETURNS text LANGUAGE plpgsql
  IMMUTABLE PARALLEL SAFE AS $$
BEGIN
  IF n < 0 THEN RAISE EXCEPTION 'Invalid length parameter passed to the left function.'; END IF;
  RETURN left(s, n::int);
END $$;
CREATE OR REPLACE FUNCTION tsql.right_chars(s text, n bigint) RETURNS text LANGUAGE plpgsql
  IMMUTABLE PARALLEL SAFE AS $$
BEGIN
  IF n < 0 THEN RAISE EXCEPTION 'Invalid length parameter passed to the right function.'; END IF;
  RETURN right(s, n::int);
END $$;

-- a + b where neither operand is evidently text or a number when the statement is read: texts
-- concatenate; otherwise the text operand must be a number.
CREATE OR REPLACE FUNCTION tsql.number(v text) RETURNS double precision LANGUAGE plpgsql
  IMMUTABLE PARALLEL SAFE AS $$
BEGIN
  IF v IS NULL THEN RETURN NULL; END IF;
  IF v !~ '^\s*[-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?\s*$' THEN
    RAISE EXCEPTION 'Conversion failed when converting the varchar value ''%'' to a number.', v;
  END IF;
  RETURN v::double precision;
END $$;
CREATE OR REPLACE FUNCTION tsql.add(text, text) RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE
  AS $$ SELECT $1 || $2 $$;
CREATE OR REPLACE FUNCTION tsql.add(integer, integer) RETURNS bigint LANGUAGE sql IMMUTABLE
  PARALLEL SAFE AS $$ SELECT $1::bigint + $2 $$;
CREATE OR REPLACE FUNCTION tsql.add(bigint, bigint) RETURNS bigint LANGUAGE sql IMMUTABLE
  PARALLEL SAFE AS $$ SELECT $1 + $2 $$;
CREATE OR REPLACE FUNCTION tsql.add(integer, bigint) RETURNS bigint LANGUAGE sql IMMUTABLE
  PARALLEL SAFE AS $$ SELECT $1 + $2 $$;
CREATE OR REPLACE FUNCTION tsql.add(bigint, integer) RETURNS bigint LANGUAGE sql IMMUTABLE
  PARALLEL SAFE AS $$ SELECT $1 + $2 $$;
CREATE OR REPLACE FUNCTION tsql.add(double precision, double precision) RETURNS double precision
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT $1 + $2 $$;
CREATE OR REPLACE FUNCTION tsql.add(text, double precision) RETURNS double precision
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT tsql.number($1) + $2 $$;
CREATE OR REPLACE FUNCTION tsql.add(double precision, text) RETURNS double precision
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT $1 + tsql.number($2) $$;

-- The level of a row a recursive common table expression makes, or the server's error once it
-- passes the limit.
CREATE OR REPLACE FUNCTION tsql.recursion_level(level bigint, lim bigint) RETURNS bigint
  LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
BEGIN
  IF level > lim THEN
    RAISE EXCEPTION 'The statement terminated. The maximum recursion % has been exhausted before statement completion.', lim;
  END IF;
  RETURN level;
END $$;

-- Dates: year 1 to 9999; a number is days since 1900-01-01, its fraction the time of day.
CREATE OR REPLACE FUNCTION tsql.datetime(timestamp) RETURNS timestamp LANGUAGE sql IMMUTABLE
  PARALLEL SAFE AS $$ SELECT $1 $$;
CREATE OR REPLACE FUNCTION tsql.datetime(v text) RETURNS timestamp LANGUAGE plpgsql IMMUTABLE
  PARALLEL SAFE AS $$
BEGIN
  IF v IS NULL THEN RETURN NULL; END IF;
  IF v !~ '^\s*\d{4}([-/.]?)\d{1,2}\1\d{1,2}([ T]\d{1,2}:\d{1,2}(:\d{1,2}(\.\d*)?)?)?\s*$' THEN
    RAISE EXCEPTION 'Conversion failed when converting date and/or time from character string: ''%''', v;
  END IF;
  RETURN replace(replace(v, '/', '-'), '.', '-')::timestamp;
END $$;
CREATE OR REPLACE FUNCTION tsql.datetime(v double precision) RETURNS timestamp LANGUAGE plpgsql
  IMMUTABLE PARALLEL SAFE AS $$
BEGIN
  IF v IS NULL THEN RETURN NULL; END IF;
  IF floor(v) < -693595 OR floor(v) > 2958463 THEN
    RAISE EXCEPTION 'Arithmetic overflow error converting expression to data type datetime.';
  END IF;
  RETURN timestamp '1900-01-01' + floor(v) * interval '1 day'
         + round((v - floor(v)) * 86400000) * interval '1 millisecond';
END $$;
CREATE OR REPLACE FUNCTION tsql.time(time) RETURNS time LANGUAGE sql IMMUTABLE PARALLEL SAFE
  AS $$ SELECT $1 $$;
CREATE OR REPLACE FUNCTION tsql.time(timestamp) RETURNS time LANGUAGE sql IMMUTABLE
  PARALLEL SAFE AS $$ SELECT $1::time $$;
CREATE OR REPLACE FUNCTION tsql.time(v text) RETURNS time LANGUAGE plpgsql IMMUTABLE
  PARALLEL SAFE AS $$
BEGIN
  IF v IS NULL THEN RETURN NULL; END IF;
  IF v ~ '^\s*\d{1,2}:\d{1,2}(:\d{1,2}(\.\d*)?)?\s*$' THEN RETURN v::time; END IF;
  RETURN tsql.datetime(v)::time;
END $$;

CREATE OR REPLACE FUNCTION tsql.part_name(part text) RETURNS text LANGUAGE sql IMMUTABLE
  PARALLEL SAFE AS $$
  SELECT CASE lower(part)
    WHEN 'year' THEN 'year' WHEN 'yy' THEN 'year' WHEN 'yyyy' THEN 'year'
    WHEN 'quarter' THEN 'quarter' WHEN 'qq' THEN 'quarter' WHEN 'q' THEN 'quarter'
    WHEN 'month' THEN 'month' WHEN 'mm' THEN 'month' WHEN 'm' THEN 'month'
    WHEN 'dayofyear' THEN 'dayofyear' WHEN 'dy' THEN 'dayofyear' WHEN 'y' THEN 'dayofyear'
    WHEN 'day' THEN 'day' WHEN 'dd' THEN 'day' WHEN 'd' THEN 'day'
    WHEN 'weekday' THEN 'weekday' WHEN 'dw' THEN 'weekday'
    WHEN 'week' THEN 'week' WHEN 'wk' THEN 'week' WHEN 'ww' THEN 'week'
    WHEN 'hour' THEN 'hour' WHEN 'hh' THEN 'hour'
    WHEN 'minute' THEN 'minute' WHEN 'mi' THEN 'minute' WHEN 'n' THEN 'minute'
    WHEN 'second' THEN 'second' WHEN 'ss' THEN 'second' WHEN 's' THEN 'second'
    ELSE lower(part) END $$;

CREATE OR REPLACE FUNCTION tsql.datepart(part text, d timestamp) RETURNS integer LANGUAGE plpgsql
  IMMUTABLE PARALLEL SAFE AS $$
BEGIN
  IF d IS NULL THEN RETURN NULL; END IF;
  CASE tsql.part_name(part)
    WHEN 'year' THEN RETURN extract(year FROM d);
    WHEN 'quarter' THEN RETURN extract(quarter FROM d);
    WHEN 'month' THEN RETURN extract(month FROM d);
    WHEN 'dayofyear' THEN RETURN extract(doy FROM d);
    WHEN 'day' THEN RETURN extract(day FROM d);
    WHEN 'weekday' THEN RETURN extract(dow FROM d) + 1;
    WHEN 'hour' THEN RETURN extract(hour FROM d);
    WHEN 'minute' THEN RETURN extract(minute FROM d);
    WHEN 'second' THEN RETURN floor(extract(second FROM d));
    ELSE RAISE EXCEPTION 'Date part ''%'' is not supported', lower(part);
  END CASE;
END $$;
CREATE OR REPLACE FUNCTION tsql.datepart(part text, d text) RETURNS integer LANGUAGE sql
  IMMUTABLE PARALLEL SAFE AS $$ SELECT tsql.datepart(part, tsql.datetime(d)) $$;
CREATE OR REPLACE FUNCTION tsql.datepart(part text, d double precision) RETURNS integer
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT tsql.datepart(part, tsql.datetime(d)) $$;
CREATE OR REPLACE FUNCTION tsql.year(d timestamp) RETURNS integer LANGUAGE sql IMMUTABLE
  PARALLEL SAFE AS $$ SELECT extract(year FROM d)::integer $$;
CREATE OR REPLACE FUNCTION tsql.year(d text) RETURNS integer LANGUAGE sql IMMUTABLE
  PARALLEL SAFE AS $$ SELECT tsql.year(tsql.datetime(d)) $$;
CREATE OR REPLACE FUNCTION tsql.month(d timestamp) RETURNS integer LANGUAGE sql IMMUTABLE
  PARALLEL SAFE AS $$ SELECT extract(month FROM d)::integer $$;
CREATE OR REPLACE FUNCTION tsql.month(d text) RETURNS integer LANGUAGE sql IMMUTABLE
  PARALLEL SAFE AS $$ SELECT tsql.month(tsql.datetime(d)) $$;
CREATE OR REPLACE FUNCTION tsql.day(d timestamp) RETURNS integer LANGUAGE sql IMMUTABLE
  PARALLEL SAFE AS $$ SELECT extract(day FROM d)::integer $$;
CREATE OR REPLACE FUNCTION tsql.day(d text) RETURNS integer LANGUAGE sql IMMUTABLE
  PARALLEL SAFE AS $$ SELECT tsql.day(tsql.datetime(d)) $$;

CREATE OR REPLACE FUNCTION tsql.dateadd(part text, n double precision, d timestamp)
  RETURNS timestamp LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  k bigint := trunc(n);
  p text := tsql.part_name(part);
  r timestamp;
  unit bigint;
BEGIN
  IF n IS NULL OR d IS NULL THEN RETURN NULL; END IF;
  IF p IN ('year', 'quarter', 'month') THEN
    unit := CASE p WHEN 'year' THEN 12 WHEN 'quarter' THEN 3 ELSE 1 END;
    IF abs(k) > 119988 / unit THEN
      RAISE EXCEPTION 'Adding a value to a ''datetime'' column caused an overflow.';
    END IF;
    r := d + make_interval(months => (k * unit)::int);
  ELSE
    unit := CASE p WHEN 'day' THEN 86400 WHEN 'dayofyear' THEN 86400 WHEN 'weekday' THEN 86400
                   WHEN 'week' THEN 604800 WHEN 'hour' THEN 3600 WHEN 'minute' THEN 60
                   WHEN 'second' THEN 1 END;
    IF unit IS NULL THEN
      RAISE EXCEPTION 'Date part ''%'' is not supported in DATEADD', lower(part);
    END IF;
    IF abs(k) > 9999::bigint * 366 * 86400 / unit THEN
      RAISE EXCEPTION 'Adding a value to a ''datetime'' column caused an overflow.';
    END IF;
    r := d + (k * unit) * interval '1 second';
  END IF;
  IF extract(year FROM r) < 1 OR extract(year FROM r) > 9999 THEN
    RAISE EXCEPTION 'Adding a value to a ''datetime'' column caused an overflow.';
  END IF;
  RETURN r;
END $$;
CREATE OR REPLACE FUNCTION tsql.dateadd(part text, n double precision, d text) RETURNS timestamp
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT tsql.dateadd(part, n, tsql.datetime(d)) $$;

-- datediff counts the boundaries crossed between the two dates.
CREATE OR REPLACE FUNCTION tsql.datediff(part text, a timestamp, b timestamp) RETURNS bigint
  LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  p text := tsql.part_name(part);
  days bigint;
BEGIN
  IF a IS NULL OR b IS NULL THEN RETURN NULL; END IF;
  IF p = 'year' THEN RETURN extract(year FROM b) - extract(year FROM a); END IF;
  IF p = 'quarter' THEN
    RETURN (extract(year FROM b) * 4 + extract(quarter FROM b))
         - (extract(year FROM a) * 4 + extract(quarter FROM a));
  END IF;
  IF p = 'month' THEN
    RETURN (extract(year FROM b) * 12 + extract(month FROM b))
         - (extract(year FROM a) * 12 + extract(month FROM a));
  END IF;
  days := b::date - a::date;
  IF p IN ('day', 'dayofyear') THEN RETURN days; END IF;
  IF p = 'hour' THEN RETURN days * 24 + extract(hour FROM b) - extract(hour FROM a); END IF;
  IF p = 'minute' THEN
    RETURN (days * 24 + extract(hour FROM b) - extract(hour FROM a)) * 60
           + extract(minute FROM b) - extract(minute FROM a);
  END IF;
  IF p = 'second' THEN
    RETURN ((days * 24 + extract(hour FROM b) - extract(hour FROM a)) * 60
            + extract(minute FROM b) - extract(minute FROM a)) * 60
           + floor(extract(second FROM b)) - floor(extract(second FROM a));
  END IF;
  RAISE EXCEPTION 'Date part ''%'' is not supported in DATEDIFF', lower(part);
END $$;
CREATE OR REPLACE FUNCTION tsql.datediff(part text, a text, b text) RETURNS bigint LANGUAGE sql
  IMMUTABLE PARALLEL SAFE AS $$ SELECT tsql.datediff(part, tsql.datetime(a), tsql.datetime(b)) $$;
CREATE OR REPLACE FUNCTION tsql.datediff(part text, a timestamp, b text) RETURNS bigint
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT tsql.datediff(part, a, tsql.datetime(b)) $$;
CREATE OR REPLACE FUNCTION tsql.datediff(part text, a text, b timestamp) RETURNS bigint
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT tsql.datediff(part, tsql.datetime(a), b) $$;

-- CONVERT and CAST to a character type: dates in the styles the library writes, numbers as the
-- embedded engine writes them, cut to `length` characters (0: no limit).
CREATE OR REPLACE FUNCTION tsql.date_text(d timestamp) RETURNS text LANGUAGE sql IMMUTABLE
  PARALLEL SAFE AS $$
  SELECT CASE WHEN d = date_trunc('day', d) THEN to_char(d, 'YYYY-MM-DD')
              WHEN d = date_trunc('second', d) THEN to_char(d, 'YYYY-MM-DD HH24:MI:SS')
              ELSE to_char(d, 'YYYY-MM-DD HH24:MI:SS.MS') END $$;
CREATE OR REPLACE FUNCTION tsql.styled(d timestamp, style integer) RETURNS text
  LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
BEGIN
  CASE style
    WHEN 20, 120 THEN RETURN to_char(d, 'YYYY-MM-DD HH24:MI:SS');
    WHEN 21, 121 THEN RETURN to_char(d, 'YYYY-MM-DD HH24:MI:SS.MS');
    WHEN 23 THEN RETURN to_char(d, 'YYYY-MM-DD');
    WHEN 112 THEN RETURN to_char(d, 'YYYYMMDD');
    WHEN 12 THEN RETURN to_char(d, 'YYMMDD');
    WHEN 102 THEN RETURN to_char(d, 'YYYY.MM.DD');
    WHEN 111 THEN RETURN to_char(d, 'YYYY/MM/DD');
    WHEN 101 THEN RETURN to_char(d, 'MM/DD/YYYY');
    WHEN 103 THEN RETURN to_char(d, 'DD/MM/YYYY');
    WHEN 8, 108 THEN RETURN to_char(d, 'HH24:MI:SS');
    ELSE RAISE EXCEPTION 'Style % of CONVERT is not supported', style;
  END CASE;
END $$;
CREATE OR REPLACE FUNCTION tsql.cut(s text, length bigint) RETURNS text LANGUAGE sql IMMUTABLE
  PARALLEL SAFE AS $$ SELECT CASE WHEN length > 0 THEN left(s, length::int) ELSE s END $$;
CREATE OR REPLACE FUNCTION tsql.convert_text(v timestamp, style integer, length bigint)
  RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT tsql.cut(CASE WHEN style IS NULL THEN tsql.date_text(v) ELSE tsql.styled(v, style) END,
                  length) $$;
CREATE OR REPLACE FUNCTION tsql.convert_text(v text, style integer, length bigint) RETURNS text
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT tsql.cut(CASE WHEN style IS NOT NULL
      AND v ~ '^\s*\d{4}([-/.]?)\d{1,2}\1\d{1,2}([ T]\d{1,2}:\d{1,2}(:\d{1,2}(\.\d*)?)?)?\s*$'
      THEN tsql.styled(tsql.datetime(v), style) ELSE v END, length) $$;
CREATE OR REPLACE FUNCTION tsql.convert_text(v bigint, style integer, length bigint) RETURNS text
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT tsql.cut(v::text, length) $$;
CREATE OR REPLACE FUNCTION tsql.convert_text(v double precision, style integer, length bigint)
  RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT tsql.cut(CASE
      WHEN v = trunc(v) AND abs(v) < 1e15 AND style IS NOT NULL THEN trunc(v)::bigint::text || '.0'
      WHEN v = trunc(v) AND abs(v) < 1e15 THEN trunc(v)::bigint::text
      WHEN v = 'Infinity' OR v = '-Infinity' OR v = 'NaN' THEN v::text
      ELSE (round(v::numeric, greatest(0, 14 - floor(log(abs(v)))::int)))::double precision::text
    END, length) $$;
CREATE OR REPLACE FUNCTION tsql.convert_text(v time, style integer, length bigint) RETURNS text
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT tsql.cut(v::text, length) $$;
CREATE OR REPLACE FUNCTION tsql.convert_text(v bytea, style integer, length bigint) RETURNS text
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT tsql.cut(convert_from(v, 'UTF8'), length) $$;
CREATE OR REPLACE FUNCTION tsql.convert_text(v boolean, style integer, length bigint)
  RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT v::int::text $$;

-- Numbers from any value: texts that are no number are the server's conversion error.
CREATE OR REPLACE FUNCTION tsql.real(double precision) RETURNS double precision LANGUAGE sql
  IMMUTABLE PARALLEL SAFE AS $$ SELECT $1 $$;
CREATE OR REPLACE FUNCTION tsql.real(text) RETURNS double precision LANGUAGE sql
  IMMUTABLE PARALLEL SAFE AS $$ SELECT tsql.number($1) $$;
CREATE OR REPLACE FUNCTION tsql.real(boolean) RETURNS double precision LANGUAGE sql
  IMMUTABLE PARALLEL SAFE AS $$ SELECT $1::int::double precision $$;

-- A number as the decimal a conversion to an integer cuts: a double precision as the decimal its
-- first 15 significant digits write (81.85 - 18.85 in doubles is 63), integers exactly.
CREATE OR REPLACE FUNCTION tsql.decimal(numeric) RETURNS numeric LANGUAGE sql
  IMMUTABLE PARALLEL SAFE AS $$ SELECT $1 $$;
CREATE OR REPLACE FUNCTION tsql.decimal(double precision) RETURNS numeric LANGUAGE sql
  IMMUTABLE PARALLEL SAFE AS $$ SELECT $1::numeric $$;
CREATE OR REPLACE FUNCTION tsql.decimal(bigint) RETURNS numeric LANGUAGE sql
  IMMUTABLE PARALLEL SAFE AS $$ SELECT $1::numeric $$;
CREATE OR REPLACE FUNCTION tsql.decimal(integer) RETURNS numeric LANGUAGE sql
  IMMUTABLE PARALLEL SAFE AS $$ SELECT $1::numeric $$;
CREATE OR REPLACE FUNCTION tsql.decimal(text) RETURNS numeric LANGUAGE sql
  IMMUTABLE PARALLEL SAFE AS $$ SELECT tsql.number($1)::numeric $$;
CREATE OR REPLACE FUNCTION tsql.decimal(boolean) RETURNS numeric LANGUAGE sql
  IMMUTABLE PARALLEL SAFE AS $$ SELECT $1::int::numeric $$;

-- A value the planner cannot work out in advance (a function it does not inline or fold): an
-- operator on it runs when a row reaches it, as T-SQL runs arithmetic that could fail.
CREATE OR REPLACE FUNCTION tsql.unfolded(v anyelement) RETURNS anyelement LANGUAGE plpgsql
  STABLE PARALLEL SAFE AS $$ BEGIN RETURN v; END $$;

-- ISNULL of a value and a real has the value's type: an integer takes the real cut toward zero.
CREATE OR REPLACE FUNCTION tsql.isnull(v integer, r double precision) RETURNS integer
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT coalesce(v, CAST(trunc(tsql.decimal(r)) AS integer)) $$;
CREATE OR REPLACE FUNCTION tsql.isnull(v smallint, r double precision) RETURNS smallint
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT coalesce(v, CAST(trunc(tsql.decimal(r)) AS smallint)) $$;
CREATE OR REPLACE FUNCTION tsql.isnull(v bigint, r double precision) RETURNS bigint
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT coalesce(v, CAST(trunc(tsql.decimal(r)) AS bigint)) $$;
CREATE OR REPLACE FUNCTION tsql.isnull(v double precision, r double precision)
  RETURNS double precision LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT coalesce(v, r) $$;
CREATE OR REPLACE FUNCTION tsql.isnull(v text, r double precision) RETURNS text
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT coalesce(v, tsql.convert_text(r, NULL, 30)) $$;
-- ISNULL of a value and one of a type the statement does not show (a column): the second is
-- converted to the first one's type, as T-SQL converts it (an integer takes a real cut toward
-- zero, the real its integer).
CREATE OR REPLACE FUNCTION tsql.isnull(v integer, r anyelement) RETURNS integer
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT coalesce(v, CAST(trunc(tsql.decimal(r)) AS integer)) $$;
CREATE OR REPLACE FUNCTION tsql.isnull(v smallint, r anyelement) RETURNS smallint
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT coalesce(v, CAST(trunc(tsql.decimal(r)) AS smallint)) $$;
CREATE OR REPLACE FUNCTION tsql.isnull(v bigint, r anyelement) RETURNS bigint
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT coalesce(v, CAST(trunc(tsql.decimal(r)) AS bigint)) $$;
CREATE OR REPLACE FUNCTION tsql.isnull(v double precision, r anyelement) RETURNS double precision
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT coalesce(v, tsql.real(r)) $$;
CREATE OR REPLACE FUNCTION tsql.isnull(v tsql.citext, r anyelement) RETURNS tsql.citext
  LANGUAGE sql IMMUTABLE PARALLEL SAFE
  AS $$ SELECT coalesce(v, CAST(tsql.convert_text(r, NULL, 0) AS tsql.citext)) $$;
CREATE OR REPLACE FUNCTION tsql.isnull(v text, r anyelement) RETURNS text
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT coalesce(v, tsql.convert_text(r, NULL, 0)) $$;
CREATE OR REPLACE FUNCTION tsql.isnull(v timestamp, r anyelement) RETURNS timestamp
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT coalesce(v, tsql.datetime(r)) $$;
CREATE OR REPLACE FUNCTION tsql.isnull(v time, r anyelement) RETURNS time
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT coalesce(v, tsql.time(r)) $$;

-- ROUND through numeric alone, for an argument the server would not copy into tsql.round's body
-- (which names it several times): the same results, inlined wherever it is called.
CREATE OR REPLACE FUNCTION tsql.round_numeric(v double precision, n bigint)
  RETURNS double precision LANGUAGE sql IMMUTABLE PARALLEL SAFE
  AS $$ SELECT round(v::numeric, n::int)::double precision $$;
CREATE OR REPLACE FUNCTION tsql.round_numeric(v integer, n bigint) RETURNS integer
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT round(v::numeric, n::int)::integer $$;
CREATE OR REPLACE FUNCTION tsql.round_numeric(v bigint, n bigint) RETURNS bigint
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT round(v::numeric, n::int)::bigint $$;
-- ROUND of a real rounds the decimal of its first 15 significant digits half away from zero and
-- gives the real nearest the result (the conversions to and from numeric). Those conversions go
-- through text and cost a list filter over 200 000 lines more than its scan, so a real that is
-- already the nearest one to a decimal of at most n places and 15 digits is answered without them:
-- with q = round(v * 10^n) / 10^n (the real nearest k / 10^n, k < 10^15, 0 <= n <= 15), a v
-- within 3e-16 * |q| of q lies, with q's own error of at most 1.12e-16 * |q|, closer to k / 10^n
-- than half a unit of its 15th digit (more than 5e-16 * |v|), so its 15-digit decimal is k / 10^n,
-- which rounding to n places keeps, and the real nearest that is q. Adding 0.0 makes -0 a 0, as
-- numeric has no negative zero. Everything else (ties, other places, NaN, infinities, huge
-- values, an n out of range, NULL) takes the numeric path as before. The body stays one SQL
-- expression so that the planner inlines it and folds the power of ten of a constant n.
CREATE OR REPLACE FUNCTION tsql.round(v double precision, n bigint) RETURNS double precision
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT CASE
    WHEN n BETWEEN 0 AND 15 AND abs(round(v * power(10::double precision, n))) < 1e15
         AND abs(v - round(v * power(10::double precision, n)) / power(10::double precision, n))
             <= 3e-16 * abs(round(v * power(10::double precision, n)) / power(10::double precision, n))
      THEN round(v * power(10::double precision, n)) / power(10::double precision, n) + 0.0
    ELSE round(v::numeric, n::int)::double precision END $$;
-- ROUND of an integer is an integer of its type; to places at or after the point it is the integer
-- itself (an n beyond an int still fails as before).
CREATE OR REPLACE FUNCTION tsql.round(v integer, n bigint) RETURNS integer
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT CASE WHEN n BETWEEN 0 AND 2147483647 THEN v
              ELSE round(v::numeric, n::int)::integer END $$;
CREATE OR REPLACE FUNCTION tsql.round(v bigint, n bigint) RETURNS bigint
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
  SELECT CASE WHEN n BETWEEN 0 AND 2147483647 THEN v
              ELSE round(v::numeric, n::int)::bigint END $$;

-- @@identity: the last identity value this session inserted, NULL before the first.
CREATE OR REPLACE FUNCTION tsql.identity() RETURNS bigint LANGUAGE plpgsql VOLATILE AS $$
BEGIN
  RETURN lastval();
EXCEPTION WHEN object_not_in_prerequisite_state THEN
  RETURN NULL;
END $$;
-- @@rowcount: the rows the statement before changed, as the connection notes it.
CREATE OR REPLACE FUNCTION tsql.row_count() RETURNS bigint LANGUAGE sql STABLE
  AS $$ SELECT coalesce(nullif(current_setting('quillon.rowcount', true), ''), '0')::bigint $$;

-- The names of an object and of its columns as its definition wrote them: the first line of the
-- object's comment is its name, the others are its columns' names.
CREATE OR REPLACE FUNCTION tsql.written_name(rel oid) RETURNS text LANGUAGE sql STABLE AS $$
  SELECT coalesce(nullif(split_part(obj_description(rel, 'pg_class'), E'\n', 1), ''),
                  (SELECT relname::text FROM pg_class WHERE oid = rel)) $$;
CREATE OR REPLACE FUNCTION tsql.written_column(rel oid, col text) RETURNS text LANGUAGE sql
  STABLE AS $$
  SELECT coalesce((SELECT n FROM unnest(string_to_array(obj_description(rel, 'pg_class'), E'\n'))
                   WITH ORDINALITY AS w(n, i) WHERE i > 1 AND lower(n) = lower(col) LIMIT 1),
                  col) $$;

-- Notes the written names of columns added to a relation, after those it has.
CREATE OR REPLACE FUNCTION tsql.note_columns(rel regclass, names text) RETURNS void
  LANGUAGE plpgsql AS $$
DECLARE
  noted text := coalesce(obj_description(rel, 'pg_class'), tsql.written_name(rel));
BEGIN
  EXECUTE format('COMMENT ON TABLE %s IS %L', rel, noted || E'\n' || names);
END $$;

-- Whether a relation is a view that stands for a table: one whose updates are routed to a table
-- (Database::routeViewUpdates); the catalogue shows it as a user table.
CREATE OR REPLACE FUNCTION tsql.stands_for_table(rel oid) RETURNS boolean
  LANGUAGE sql STABLE AS $$
  SELECT EXISTS (SELECT 1 FROM pg_trigger t WHERE t.tgrelid = rel AND t.tgname = 'tsql_route')
$$;

-- object_id(name [, type]): names may carry brackets, an owner and a tempdb prefix; "#name" and
-- "tempdb..name" are the connection's temporary objects, which get negative ids.
CREATE OR REPLACE FUNCTION tsql.object_id(name text, kind text DEFAULT NULL) RETURNS integer
  LANGUAGE plpgsql STABLE AS $$
DECLARE
  part text := '';
  first text;
  last text;
  parts int := 0;
  bracket boolean := false;
  c text;
  temp boolean := false;
  kinds "char"[] := ARRAY['r', 'p', 'v']::"char"[];
  found oid;
BEGIN
  IF name IS NULL THEN RETURN NULL; END IF;
  FOR i IN 1 .. length(name) + 1 LOOP
    c := CASE WHEN i <= length(name) THEN substr(name, i, 1) ELSE '.' END;
    IF c = '[' AND NOT bracket THEN bracket := true;
    ELSIF c = ']' AND bracket THEN bracket := false;
    ELSIF c = '.' AND NOT bracket THEN
      IF parts = 0 THEN first := part; END IF;
      parts := parts + 1;
      last := part;
      part := '';
    ELSIF c <> '"' THEN part := part || c;
    END IF;
  END LOOP;
  IF parts > 1 AND lower(first) = 'tempdb' THEN temp := true; END IF;
  IF left(last, 1) = '#' THEN temp := true; last := substr(last, 2); END IF;
  IF kind IS NOT NULL THEN
    IF lower(kind) LIKE 'u%' THEN kinds := ARRAY['r', 'p']::"char"[];
    ELSIF lower(kind) LIKE 'v%' THEN kinds := ARRAY['v']::"char"[];
    ELSE RETURN NULL;
    END IF;
  END IF;
  SELECT c2.oid INTO found FROM pg_class c2
   WHERE c2.relname = lower(last)
     AND CASE WHEN c2.relkind = 'v' AND kind IS NOT NULL AND tsql.stands_for_table(c2.oid)
              THEN lower(kind) LIKE 'u%' ELSE c2.relkind = ANY(kinds) END
     AND c2.relnamespace = CASE WHEN temp THEN pg_my_temp_schema()
                                ELSE current_schema()::regnamespace::oid END;
  IF found IS NULL THEN RETURN NULL; END IF;
  RETURN CASE WHEN temp THEN -found::bigint ELSE found::bigint END;
END $$;
CREATE OR REPLACE FUNCTION tsql.objectproperty(id bigint, property text) RETURNS integer
  LANGUAGE plpgsql STABLE AS $$
DECLARE
  k "char";
  wanted text := lower(property);
BEGIN
  IF id IS NULL OR property IS NULL THEN RETURN NULL; END IF;
  IF wanted NOT IN ('isusertable', 'istable', 'isview', 'istrigger', 'isprocedure') THEN
    RETURN NULL;
  END IF;
  SELECT relkind INTO k FROM pg_class WHERE oid = abs(id)::oid;
  IF k IS NULL THEN RETURN NULL; END IF;
  IF k = 'v' AND tsql.stands_for_table(abs(id)::oid) THEN k := 'r'; END IF;
  RETURN CASE WHEN wanted IN ('isusertable', 'istable') AND k IN ('r', 'p') THEN 1
              WHEN wanted = 'isview' AND k = 'v' THEN 1 ELSE 0 END;
END $$;

CREATE OR REPLACE VIEW tsql.sysobjects AS
  SELECT c.oid::bigint AS id, tsql.written_name(c.oid)::citext AS name,
         (CASE WHEN c.relkind = 'v' AND NOT tsql.stands_for_table(c.oid) THEN 'V'
               ELSE 'U' END)::citext AS xtype,
         (CASE WHEN c.relkind = 'v' AND NOT tsql.stands_for_table(c.oid) THEN 'V'
               ELSE 'U' END)::citext AS type,
         1 AS uid, 0 AS parent_obj
    FROM pg_class c
   WHERE c.relnamespace = current_schema()::regnamespace AND c.relkind IN ('r', 'p', 'v');
CREATE OR REPLACE VIEW tsql.tempdb_sysobjects AS
  SELECT -c.oid::bigint AS id, tsql.written_name(c.oid)::citext AS name,
         (CASE c.relkind WHEN 'v' THEN 'V' ELSE 'U' END)::citext AS xtype,
         (CASE c.relkind WHEN 'v' THEN 'V' ELSE 'U' END)::citext AS type,
         1 AS uid, 0 AS parent_obj
    FROM pg_class c
   WHERE c.relnamespace = pg_my_temp_schema() AND c.relkind IN ('r', 'p', 'v');

-- What INFORMATION_SCHEMA.COLUMNS tells of a column declared with a T-SQL type.
CREATE OR REPLACE FUNCTION tsql.column_type(declared text, what text) RETURNS bigint
  LANGUAGE plpgsql IMMUTABLE PARALLEL SAFE AS $$
DECLARE
  b text := lower(split_part(declared, '(', 1));
  args text := substring(declared FROM '\((.*)\)');
  first bigint;
  scale int := 0;
  wide boolean;
BEGIN
  IF declared IS NULL OR declared = '' THEN RETURN NULL; END IF;
  IF args IS NOT NULL AND split_part(args, ',', 1) ~ '^\d+$' THEN
    first := split_part(args, ',', 1)::bigint;
  END IF;
  IF args IS NOT NULL AND split_part(args, ',', 2) ~ '^\d+$' THEN
    scale := split_part(args, ',', 2)::int;
  END IF;
  wide := b IN ('nchar', 'nvarchar', 'ntext');
  IF what IN ('length', 'octets') THEN
    IF b NOT IN ('nchar', 'nvarchar', 'ntext', 'char', 'varchar', 'text', 'sysname', 'binary',
                 'varbinary', 'image') THEN
      RETURN NULL;
    END IF;
    IF args = 'max' THEN RETURN -1; END IF;
    IF b = 'sysname' THEN first := 128; END IF;
    IF b IN ('text', 'image') THEN first := 2147483647; END IF;
    IF b = 'ntext' THEN first := 1073741823; END IF;
    IF first IS NULL OR first <= 0 THEN first := 1; END IF;
    RETURN CASE WHEN what = 'octets' AND wide THEN first * 2 ELSE first END;
  END IF;
  IF what IN ('precision', 'radix', 'scale') THEN
    IF b IN ('decimal', 'numeric') THEN
      RETURN CASE what WHEN 'precision' THEN coalesce(first, 18) WHEN 'radix' THEN 10
                       ELSE scale END;
    END IF;
    RETURN CASE b
      WHEN 'tinyint' THEN CASE what WHEN 'precision' THEN 3 WHEN 'radix' THEN 10 ELSE 0 END
      WHEN 'smallint' THEN CASE what WHEN 'precision' THEN 5 WHEN 'radix' THEN 10 ELSE 0 END
      WHEN 'int' THEN CASE what WHEN 'precision' THEN 10 WHEN 'radix' THEN 10 ELSE 0 END
      WHEN 'bigint' THEN CASE what WHEN 'precision' THEN 19 WHEN 'radix' THEN 10 ELSE 0 END
      WHEN 'money' THEN CASE what WHEN 'precision' THEN 19 WHEN 'radix' THEN 10 ELSE 4 END
      WHEN 'smallmoney' THEN CASE what WHEN 'precision' THEN 10 WHEN 'radix' THEN 10 ELSE 4 END
      WHEN 'float' THEN CASE what WHEN 'precision' THEN 53 WHEN 'radix' THEN 2 ELSE NULL END
      WHEN 'real' THEN CASE what WHEN 'precision' THEN 24 WHEN 'radix' THEN 2 ELSE NULL END
      ELSE NULL END;
  END IF;
  IF what = 'datetime' THEN
    IF b = 'datetime' THEN RETURN 3; END IF;
    IF b IN ('smalldatetime', 'date') THEN RETURN 0; END IF;
    IF b IN ('time', 'datetime2', 'datetimeoffset') THEN
      RETURN CASE WHEN args IS NOT NULL THEN first ELSE 7 END;
    END IF;
  END IF;
  RETURN NULL;
END $$;

-- The T-SQL type of a column: its domain's name in "tsql", else the server type's T-SQL name.
CREATE OR REPLACE FUNCTION tsql.declared_type(typ oid) RETURNS text LANGUAGE sql STABLE AS $$
  SELECT CASE WHEN t.typnamespace = 'tsql'::regnamespace AND t.typtype = 'd' THEN t.typname::text
              WHEN t.typname IN ('int4', 'int2') THEN 'int'
              WHEN t.typname = 'int8' THEN 'bigint'
              WHEN t.typname = 'float8' THEN 'float'
              WHEN t.typname = 'float4' THEN 'real'
              WHEN t.typname IN ('timestamp', 'timestamptz') THEN 'datetime'
              WHEN t.typname IN ('date', 'time') THEN t.typname::text
              WHEN t.typname = 'bytea' THEN 'varbinary(max)'
              ELSE NULL END
    FROM pg_type t WHERE t.oid = typ $$;

CREATE OR REPLACE VIEW tsql."information_schema.tables" AS
  SELECT current_database()::citext AS table_catalog, 'dbo'::citext AS table_schema,
         tsql.written_name(c.oid)::citext AS table_name,
         (CASE c.relkind WHEN 'v' THEN 'VIEW' ELSE 'BASE TABLE' END)::citext AS table_type
    FROM pg_class c
   WHERE c.relnamespace = current_schema()::regnamespace AND c.relkind IN ('r', 'p', 'v');
CREATE OR REPLACE VIEW tsql."information_schema.views" AS
  SELECT current_database()::citext AS table_catalog, 'dbo'::citext AS table_schema,
         tsql.written_name(c.oid)::citext AS table_name,
         pg_get_viewdef(c.oid) AS view_definition,
         'NONE'::citext AS check_option, 'NO'::citext AS is_updatable
    FROM pg_class c
   WHERE c.relnamespace = current_schema()::regnamespace AND c.relkind = 'v';
CREATE OR REPLACE VIEW tsql."information_schema.columns" AS
  SELECT current_database()::citext AS table_catalog, 'dbo'::citext AS table_schema,
         tsql.written_name(c.oid)::citext AS table_name,
         tsql.written_column(c.oid, a.attname)::citext AS column_name,
         a.attnum::bigint AS ordinal_position,
         (SELECT CASE WHEN d.expr ~ '^-?[0-9.]+$' THEN '((' || d.expr || '))'
                      ELSE '(' || d.expr || ')' END
            FROM (SELECT regexp_replace(pg_get_expr(ad.adbin, ad.adrelid),
                                        '::[a-z" .()0-9,]+$', '') AS expr
                    FROM pg_attrdef ad WHERE ad.adrelid = c.oid AND ad.adnum = a.attnum
                     AND a.attidentity = '') d) AS column_default,
         (CASE WHEN a.attnotnull THEN 'NO' ELSE 'YES' END)::citext AS is_nullable,
         lower(split_part(tsql.declared_type(a.atttypid), '(', 1))::citext AS data_type,
         tsql.column_type(tsql.declared_type(a.atttypid), 'length') AS character_maximum_length,
         tsql.column_type(tsql.declared_type(a.atttypid), 'octets') AS character_octet_length,
         tsql.column_type(tsql.declared_type(a.atttypid), 'precision') AS numeric_precision,
         tsql.column_type(tsql.declared_type(a.atttypid), 'radix') AS numeric_precision_radix,
         tsql.column_type(tsql.declared_type(a.atttypid), 'scale') AS numeric_scale,
         tsql.column_type(tsql.declared_type(a.atttypid), 'datetime') AS datetime_precision,
         NULL::text AS character_set_catalog, NULL::text AS character_set_schema,
         NULL::text AS character_set_name, NULL::text AS collation_catalog,
         NULL::text AS collation_schema, NULL::text AS collation_name,
         NULL::text AS domain_catalog, NULL::text AS domain_schema, NULL::text AS domain_name
    FROM pg_class c JOIN pg_attribute a ON a.attrelid = c.oid AND a.attnum > 0
                                          AND NOT a.attisdropped
   WHERE c.relnamespace = current_schema()::regnamespace AND c.relkind IN ('r', 'p', 'v');
COMMENT ON VIEW tsql."information_schema.tables" IS E'INFORMATION_SCHEMA.TABLES\nTABLE_CATALOG\nTABLE_SCHEMA\nTABLE_NAME\nTABLE_TYPE';
COMMENT ON VIEW tsql."information_schema.views" IS E'INFORMATION_SCHEMA.VIEWS\nTABLE_CATALOG\nTABLE_SCHEMA\nTABLE_NAME\nVIEW_DEFINITION\nCHECK_OPTION\nIS_UPDATABLE';
COMMENT ON VIEW tsql."information_schema.columns" IS E'INFORMATION_SCHEMA.COLUMNS\nTABLE_CATALOG\nTABLE_SCHEMA\nTABLE_NAME\nCOLUMN_NAME\nORDINAL_POSITION\nCOLUMN_DEFAULT\nIS_NULLABLE\nDATA_TYPE\nCHARACTER_MAXIMUM_LENGTH\nCHARACTER_OCTET_LENGTH\nNUMERIC_PRECISION\nNUMERIC_PRECISION_RADIX\nNUMERIC_SCALE\nDATETIME_PRECISION\nCHARACTER_SET_CATALOG\nCHARACTER_SET_SCHEMA\nCHARACTER_SET_NAME\nCOLLATION_CATALOG\nCOLLATION_SCHEMA\nCOLLATION_NAME\nDOMAIN_CATALOG\nDOMAIN_SCHEMA\nDOMAIN_NAME';

-- Sets each identity column of a table past the largest value it holds, after rows were loaded
-- with their identities given.
CREATE OR REPLACE FUNCTION tsql.sync_identity(rel regclass) RETURNS void LANGUAGE plpgsql AS $$
DECLARE
  col text;
  top bigint;
BEGIN
  FOR col IN SELECT attname FROM pg_attribute WHERE attrelid = rel AND attidentity <> ''
                AND NOT attisdropped LOOP
    EXECUTE format('SELECT max(%I) FROM %s', col, rel) INTO top;
    IF top IS NOT NULL THEN
      PERFORM setval(pg_get_serial_sequence(rel::text, col), top);
    END IF;
  END LOOP;
END $$;

-- SUM and AVG with T-SQL's result types (tsql.total and tsql.average): the sum of ints is an int,
-- failing beyond its range as the server's int arithmetic does, of bigints a bigint (the server's
-- own sum of bigint is numeric); the average of integers is an integer of their type, truncated
-- toward zero.
CREATE OR REPLACE FUNCTION tsql.int_total(s bigint) RETURNS integer LANGUAGE sql IMMUTABLE
  PARALLEL SAFE AS $$ SELECT CAST(s AS integer) $$;
CREATE OR REPLACE AGGREGATE tsql.total(smallint) (SFUNC = int2_sum, STYPE = bigint,
  FINALFUNC = tsql.int_total);
CREATE OR REPLACE AGGREGATE tsql.total(integer) (SFUNC = int4_sum, STYPE = bigint,
  FINALFUNC = tsql.int_total);
CREATE OR REPLACE AGGREGATE tsql.total(bigint) (SFUNC = int8pl, STYPE = bigint);
CREATE OR REPLACE AGGREGATE tsql.total(double precision) (SFUNC = float8pl,
  STYPE = double precision);
CREATE OR REPLACE AGGREGATE tsql.total(numeric) (SFUNC = numeric_add, STYPE = numeric);
CREATE OR REPLACE FUNCTION tsql.avg_step(s bigint[], v bigint) RETURNS bigint[] LANGUAGE sql
  IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT ARRAY[s[1] + 1, s[2] + v] $$;
CREATE OR REPLACE FUNCTION tsql.avg_step(s bigint[], v integer) RETURNS bigint[] LANGUAGE sql
  IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT ARRAY[s[1] + 1, s[2] + v] $$;
CREATE OR REPLACE FUNCTION tsql.avg_step(s bigint[], v smallint) RETURNS bigint[] LANGUAGE sql
  IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT ARRAY[s[1] + 1, s[2] + v] $$;
CREATE OR REPLACE FUNCTION tsql.avg_final(s bigint[]) RETURNS bigint LANGUAGE sql IMMUTABLE
  PARALLEL SAFE AS $$ SELECT CASE WHEN s[1] = 0 THEN NULL ELSE s[2] / s[1] END $$;
CREATE OR REPLACE FUNCTION tsql.int_average(s bigint[]) RETURNS integer LANGUAGE sql IMMUTABLE
  PARALLEL SAFE AS $$ SELECT CAST(tsql.avg_final(s) AS integer) $$;
CREATE OR REPLACE AGGREGATE tsql.average(smallint) (SFUNC = tsql.avg_step, STYPE = bigint[],
  FINALFUNC = tsql.int_average, INITCOND = '{0,0}');
CREATE OR REPLACE AGGREGATE tsql.average(integer) (SFUNC = tsql.avg_step, STYPE = bigint[],
  FINALFUNC = tsql.int_average, INITCOND = '{0,0}');
CREATE OR REPLACE AGGREGATE tsql.average(bigint) (SFUNC = tsql.avg_step, STYPE = bigint[],
  FINALFUNC = tsql.avg_final, INITCOND = '{0,0}');
CREATE OR REPLACE FUNCTION tsql.avg_real_step(s double precision[], v double precision)
  RETURNS double precision[] LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
  AS $$ SELECT ARRAY[s[1] + 1, s[2] + v] $$;
CREATE OR REPLACE FUNCTION tsql.avg_real_final(s double precision[]) RETURNS double precision
  LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT CASE WHEN s[1] = 0 THEN NULL ELSE s[2] / s[1] END $$;
CREATE OR REPLACE AGGREGATE tsql.average(double precision) (SFUNC = tsql.avg_real_step,
  STYPE = double precision[], FINALFUNC = tsql.avg_real_final, INITCOND = '{0,0}');
-- The state is an array, as for the others: an account's owner need not be a superuser, and only
-- a superuser may make an aggregate whose state is the server's internal type.
CREATE OR REPLACE FUNCTION tsql.avg_numeric_step(s numeric[], v numeric) RETURNS numeric[]
  LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT ARRAY[s[1] + 1, s[2] + v] $$;
CREATE OR REPLACE FUNCTION tsql.avg_numeric_final(s numeric[]) RETURNS numeric LANGUAGE sql
  IMMUTABLE PARALLEL SAFE AS $$ SELECT CASE WHEN s[1] = 0 THEN NULL ELSE s[2] / s[1] END $$;
CREATE OR REPLACE AGGREGATE tsql.average(numeric) (SFUNC = tsql.avg_numeric_step,
  STYPE = numeric[], FINALFUNC = tsql.avg_numeric_final, INITCOND = '{0,0}');

-- The remainder of decimals, which are double precision here: the server has "%" for integers
-- and numeric only. The sign is the dividend's; a zero divisor fails as the server's division.
CREATE OR REPLACE FUNCTION tsql.remainder(a double precision, b double precision)
  RETURNS double precision LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE
  AS $$ SELECT a - trunc(a / b) * b $$;
DO $$
BEGIN
  IF NOT EXISTS (SELECT 1 FROM pg_operator WHERE oprname = '%' AND
                 oprnamespace = 'tsql'::regnamespace) THEN
    CREATE OPERATOR tsql.% (LEFTARG = double precision, RIGHTARG = double precision,
                            FUNCTION = tsql.remainder);
  END IF;
END $$;

CREATE OR REPLACE FUNCTION tsql.version() RETURNS integer LANGUAGE sql IMMUTABLE AS $$ SELECT %VERSION% $$;

-- The analyser configuration of analyser.sql with mistakes of the kind
-- that are easy to make by hand, for kqfmt lint to find:
--   STREAMS.mode         the list lacks Service(2), which row 3 stores
--   STREAMS.valve        names the table VALVE instead of VALVES
--   STREAMS.temperature  display unit "degf" (the unit is "degF")
--   STREAMS.cycle_time   "%*ld": a width taken from an argument is refused
--   STREAMS.signal       AI_07 has no display name in kq_sysvars
--   COMPONENTS.alarm_range  value 1 is Mid or High depending on the case
-- and two that the library formats without a word:
--   COMPONENTS.stream    STREAMS.number has the integer format "%d", so its
--                        label column "name" is never read: bare numbers
--   COMPONENTS.concentration  case [pct] is no name of unit_kind's list
-- Try: kqfmt lint examples/analyser_broken.sql

CREATE TABLE STREAMS (
  number INTEGER,
  name TEXT,
  mode INTEGER,            -- static pick list
  valve INTEGER,           -- remote pick list: VALVES.number, labelled
  temperature REAL,        -- stored in degC, shown in degF
  pressure FLOAT,          -- stored in bar, shown in psi, "%76g"
  cycle_time INTEGER,      -- "%5ld" seconds
  purge_time INTEGER,      -- a time of day / duration, MM:SS
  last_calibration INTEGER,-- date and time
  signal TEXT,             -- system variable
  temp_unit INTEGER        -- remote pick list: UNITS_IN_USE.id, labelled
);
INSERT INTO STREAMS VALUES
  (1, 'Reactor outlet', 1, 1, 182.5, 2.75, 300, 95, 1733400000, 'AI_01', 1),
  (2, 'Column feed',    1, 2,  64.0, 1.2,  240, 60, 1733313600, 'AI_02', 1),
  (3, 'Flare header',   0, 3,  21.25, 1.013, 600, 125, 1730000000, '__NULL__', 1),
  (4, 'Validation',     2, 4,  25.0, 1.0,  180, 30, 0, 'AI_07', 1);

CREATE TABLE VALVES (
  number INTEGER,
  label TEXT,
  usage TEXT,
  state INTEGER
);
INSERT INTO VALVES VALUES
  (1, 'Sample inlet A',  'stream',     1),
  (2, 'Sample inlet B',  'stream',     1),
  (3, 'Sample inlet C',  'stream',     0),
  (4, 'Calibration gas', 'validation', 0);

CREATE TABLE COMPONENTS (
  name TEXT,
  stream INTEGER,          -- remote pick list: STREAMS.number, labelled by name
  unit_kind INTEGER,       -- trigger column
  concentration REAL,      -- stored in ppm; unit and format follow unit_kind
  alarm_range INTEGER      -- pick lists chosen by unit_kind (merged into one list,
                           -- so a value keeps one name in every case)
);
INSERT INTO COMPONENTS VALUES
  ('Hydrogen sulfide', 1, 2,   12.5,  1),
  ('Methane',          2, 1, 45210.0, 2),
  ('Ethane',           2, 1,  3120.0, 1),
  ('Water',            3, 0,   310.25, 0);

CREATE TABLE UNITS_IN_USE (
  id INTEGER,
  quantity TEXT,
  unit TEXT
);
INSERT INTO UNITS_IN_USE VALUES
  (1, 'temperature', 'degF'),
  (2, 'pressure', 'psi'),
  (3, 'fraction', 'ppm');

-- Valve drivers of the analyser's own outputs: their labels carry the
-- analyser number from the "usage" of VALVE_CONFIG, and the source of each
-- output is a fixed choice or a stream.
CREATE TABLE VALVE_CONFIG (
  number INTEGER,
  label TEXT,
  usage TEXT
);
INSERT INTO VALVE_CONFIG VALUES
  (1, 'Carrier gas',   'analyzr05'),
  (2, 'Backflush',     'analyzr12'),
  (3, 'Spare',         'none');
CREATE TABLE ANALYSER_OUTPUTS (
  number INTEGER,
  valve INTEGER,           -- remote pick list: VALVE_CONFIG.number, "valve_do" labels
  source INTEGER           -- static pick list, falling back on STREAMS.number
);
INSERT INTO ANALYSER_OUTPUTS VALUES
  (1, 1, 0),
  (2, 2, 3),
  (3, 3, 99);

-- Column metadata. Text columns need a format: "%s" shows the stored text.
CREATE TABLE kq_columns (
  table_name TEXT, column_name TEXT, type INTEGER, us_format TEXT,
  units TEXT, units_us TEXT, is_date_time INTEGER, label_col TEXT,
  component_sel TEXT, internal_name TEXT
);
INSERT INTO kq_columns (table_name, column_name, us_format, units, units_us,
                        is_date_time, label_col, component_sel, internal_name) VALUES
  ('STREAMS', 'number', '%d', NULL, NULL, NULL, 'name', NULL, NULL),
  ('STREAMS', 'name', '%s', NULL, NULL, NULL, NULL, NULL, NULL),
  ('STREAMS', 'mode', 'Off(0),On(1)', NULL, NULL, NULL, NULL, NULL, NULL),
  ('STREAMS', 'valve', 'Valve=VALVE.number,__no_free_edit__', NULL, NULL, NULL, NULL, NULL, 'valve_do'),
  ('STREAMS', 'temperature', '%.1f', 'degC', 'degf', NULL, NULL, NULL, NULL),
  ('STREAMS', 'pressure', '%76g', 'bar', 'psi', NULL, NULL, NULL, NULL),
  ('STREAMS', 'cycle_time', '%*ld', 's', 's', NULL, NULL, NULL, NULL),
  ('STREAMS', 'purge_time', '__DATE_TIME__(mm:ss)', 's', NULL, NULL, NULL, NULL, NULL),
  ('STREAMS', 'last_calibration', '__DATE_TIME__', 's', NULL, 1, NULL, NULL, NULL),
  ('STREAMS', 'signal', '%s', NULL, NULL, NULL, NULL, 'AI', NULL),
  ('STREAMS', 'temp_unit', 'Units=UNITS_IN_USE.id,__no_free_edit__', NULL, NULL, NULL, NULL, NULL, NULL),
  ('VALVES', 'number', '%s', NULL, NULL, NULL, 'label', NULL, NULL),
  ('VALVES', 'label', '%s', NULL, NULL, NULL, NULL, NULL, NULL),
  ('VALVES', 'usage', '%s', NULL, NULL, NULL, NULL, NULL, NULL),
  ('VALVES', 'state', 'Closed(0),Open(1)', NULL, NULL, NULL, NULL, NULL, NULL),
  ('COMPONENTS', 'name', '%s', NULL, NULL, NULL, NULL, NULL, NULL),
  ('COMPONENTS', 'stream', 'Stream=STREAMS.number,__no_free_edit__', NULL, NULL, NULL, NULL, NULL, NULL),
  ('COMPONENTS', 'unit_kind', 'ppm(0),percent(1),ppb(2)', NULL, NULL, NULL, NULL, NULL, NULL),
  ('COMPONENTS', 'concentration',
     '@unit_kind{[ppm]float(%.1f)UNIT=ppm),[pct]float(%.3f)UNIT=%),[ppb]float(%.0f)UNIT=ppb)}', 'ppm', NULL, NULL, NULL, NULL, NULL),
  ('COMPONENTS', 'alarm_range',
     '@unit_kind{[ppm]Low(0);High(1),[percent]Low(0);Mid(1);High(2)}', NULL, NULL, NULL, NULL, NULL, NULL),
  ('VALVE_CONFIG', 'number', '%s', NULL, NULL, NULL, 'label', NULL, NULL),
  ('VALVE_CONFIG', 'label', '%s', NULL, NULL, NULL, NULL, NULL, NULL),
  ('VALVE_CONFIG', 'usage', '%s', NULL, NULL, NULL, NULL, NULL, NULL),
  ('ANALYSER_OUTPUTS', 'number', '%s', NULL, NULL, NULL, NULL, NULL, NULL),
  ('ANALYSER_OUTPUTS', 'valve', 'Valve=VALVE_CONFIG.number,__no_free_edit__', NULL, NULL, NULL, NULL, NULL, 'valve_do'),
  ('ANALYSER_OUTPUTS', 'source', 'Manual(0),Off(99),Stream=STREAMS.number', NULL, NULL, NULL, NULL, NULL, NULL),
  ('UNITS_IN_USE', 'id', '%s', NULL, NULL, NULL, 'unit', NULL, NULL),
  ('UNITS_IN_USE', 'quantity', '%s', NULL, NULL, NULL, NULL, NULL, NULL),
  ('UNITS_IN_USE', 'unit', '%s', NULL, NULL, NULL, NULL, NULL, NULL);

-- A unit of this site on top of the built-in catalog.
CREATE TABLE kq_units (name TEXT, id INTEGER, display TEXT, quantity TEXT, scale REAL, offset REAL);
INSERT INTO kq_units VALUES ('ppb', 52, 'ppb', 'fraction', 0.0000001, 0);

-- Display names of the system variables the streams refer to.
CREATE TABLE kq_sysvars (name TEXT, display_name TEXT);
INSERT INTO kq_sysvars VALUES
  ('AI_01', 'Analog in 1: reactor outlet pressure'),
  ('AI_02', 'Analog in 2: column feed flow');

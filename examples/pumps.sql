-- Two pumps of a cooling loop, for the diff example in the README:
-- pumps_degc.sql is this configuration with the inlet temperature shown in
-- degC and state 2 renamed. No stored value differs.
-- Try: kqfmt diff examples/pumps.sql examples/pumps_degc.sql --exit-code
CREATE TABLE PUMPS (name TEXT, state INTEGER, inlet REAL);
INSERT INTO PUMPS VALUES ('P-101', 1, 21.5), ('P-102', 2, 48.0);
CREATE TABLE kq_columns (table_name TEXT, column_name TEXT, us_format TEXT, units TEXT,
                         units_us TEXT);
INSERT INTO kq_columns VALUES
  ('PUMPS', 'name', '%s', NULL, NULL),
  ('PUMPS', 'state', 'Off(0),Running(1),Fault(2)', NULL, NULL),
  ('PUMPS', 'inlet', '%.1f', 'degC', 'degF');

-- The cooling loop of pumps.sql after the change under review: the inlet
-- temperature shown in degC, state 2 named Tripped.
CREATE TABLE PUMPS (name TEXT, state INTEGER, inlet REAL);
INSERT INTO PUMPS VALUES ('P-101', 1, 21.5), ('P-102', 2, 48.0);
CREATE TABLE kq_columns (table_name TEXT, column_name TEXT, us_format TEXT, units TEXT,
                         units_us TEXT);
INSERT INTO kq_columns VALUES
  ('PUMPS', 'name', '%s', NULL, NULL),
  ('PUMPS', 'state', 'Off(0),Running(1),Tripped(2)', NULL, NULL),
  ('PUMPS', 'inlet', '%.1f', 'degC', 'degC');

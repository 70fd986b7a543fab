-- The list of shipped folders and files "pliki_kat.sqset": the start-up
-- makes every folder of `dir` in the data folder and copies every file of
-- `files` there from the program folder (when missing; a file whose
-- `update` flag is set is copied over the user's copy once, and the data
-- folder's own copy of this list records that it was).
create table `dir`( `name` TEXT );
insert into `dir`( `name` ) values ('grafika'), ('aktualizacja');

create table `files`( `name` TEXT, `update` INTEGER );
insert into `files`( `name`, `update` ) values ('ustawienia.sqset', 0);

-- The pictures the preview and the printing read from the data folder
-- (drawn by tarvek_mkpictures). The eagle is an SVG picture.
insert into `files`( `name`, `update` ) values
  ('grafika/sw_str1_prw.bmp', 0),
  ('grafika/sw_str1_prw_wyr.bmp', 0),
  ('grafika/sw_str2_prw.bmp', 0),
  ('grafika/wywiadowka_prw.bmp', 0),
  ('grafika/arkusz_prw.bmp', 0),
  ('grafika/m_p.bmp', 0),
  ('grafika/orzel.svg', 0);

-- The calibration tables of every layout (written by tarvek_mklayouts).
-- This version ships the layouts of all 22 documents: the first start
-- installs them over the calibration file of an earlier version, once for
-- each user; the user's own calibration is kept from then on.
insert into `files`( `name`, `update` ) values ('tvk_kalibracja.sqset', 1);

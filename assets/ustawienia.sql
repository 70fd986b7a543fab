-- The shipped settings file "ustawienia.sqset".
create table `settings`( `name` TEXT, `text_value` TEXT, `int_value` INTEGER );
-- Shown once on the first start, then written back as 0.
insert into `settings`( `name`, `int_value` ) values( 'import_alert', 1 );
-- The school template is offered until it has been made.
insert into `settings`( `name`, `int_value` ) values( 'create_school_data_template', 1 );
-- The option check boxes start as the main window shows them.
insert into `settings`( `name`, `int_value` ) values( 'strike_empty_fields', 1 );
insert into `settings`( `name`, `int_value` ) values( 'print_without_dots', 0 );
insert into `settings`( `name`, `int_value` ) values( 'word_wrap', 0 );

create table `province`( `name` TEXT );
insert into `province`( `name` ) values
  ('dolnośląskie'), ('kujawsko-pomorskie'), ('lubelskie'), ('lubuskie'),
  ('łódzkie'), ('małopolskie'), ('mazowieckie'), ('opolskie'),
  ('podkarpackie'), ('podlaskie'), ('pomorskie'), ('śląskie'),
  ('świętokrzyskie'), ('warmińsko-mazurskie'), ('wielkopolskie'), ('zachodniopomorskie');

create table `city`( `name` TEXT );
insert into `city`( `name` ) values
  ('Białystok'), ('Bielsko-Biała'), ('Bydgoszcz'), ('Bytom'), ('Chorzów'),
  ('Częstochowa'), ('Elbląg'), ('Gdańsk'), ('Gdynia'), ('Gliwice'),
  ('Gorzów Wielkopolski'), ('Kalisz'), ('Katowice'), ('Kielce'), ('Koszalin'),
  ('Kraków'), ('Legnica'), ('Lublin'), ('Łódź'), ('Olsztyn'), ('Opole'),
  ('Płock'), ('Poznań'), ('Radom'), ('Rybnik'), ('Rzeszów'), ('Sosnowiec'),
  ('Szczecin'), ('Tarnów'), ('Toruń'), ('Tychy'), ('Wałbrzych'), ('Warszawa'),
  ('Wrocław'), ('Zabrze'), ('Zielona Góra');

-- Print rectangles in millimetres from the sheet's top-left corner.
create table `margin`( `name` TEXT,
  `Page1X1` INTEGER, `Page1Y1` INTEGER, `Page1X2` INTEGER, `Page1Y2` INTEGER,
  `Page2X1` INTEGER, `Page2Y1` INTEGER, `Page2X2` INTEGER, `Page2Y2` INTEGER );
-- The whole sheet; a printer that keeps a margin of 5 mm and prints
-- slightly inside it; a duplex printer whose second side lands 2 mm low.
insert into `margin` values( 'Domyślne A4', 0, 0, 210, 297, 0, 0, 210, 297 );
insert into `margin` values( 'A4 - margines drukarki 5 mm', 5, 5, 205, 292, 5, 5, 205, 292 );
insert into `margin` values( 'A4 - druga strona 2 mm wyżej', 0, 0, 210, 297, 0, -2, 210, 295 );

-- The list of shipped folders and files "pliki_kat.sqset": the start-up
-- makes every folder of `dir` in the data folder and copies every file of
-- `files` there from the program folder (when missing, or always while its
-- `update` flag is set; the flag is cleared afterwards).
create table `dir`( `name` TEXT );
insert into `dir`( `name` ) values ('grafika'), ('aktualizacja');

create table `files`( `name` TEXT, `update` INTEGER );
insert into `files`( `name`, `update` ) values ('ustawienia.sqset', 0);

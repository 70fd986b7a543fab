# Adds a twin form to a copy of the source tree the way the README's "How to
# add or change a form" tells it, builds in that copy what a form reaches and
# runs the tests a form can break: the twin's own (every form is tried by
# name), then the others that take the forms from the generated tables and
# the reference table, which must pass with one form more and nothing else
# in tests/ changed.
#
#   cmake -DSOURCE=<tree> -DWORK=<folder> -DFIXTURE=<this folder>
#         -DSKIP=<folder left out of the copy> -DJOBS=<n> -P AddTwin.cmake
cmake_minimum_required(VERSION 3.25)
foreach(var SOURCE WORK FIXTURE SKIP JOBS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "AddTwin.cmake needs -D${var}=...")
  endif()
endforeach()
set(tree ${WORK}/source)
set(build ${WORK}/build)

# The copy: the tree without its version control and build folders.
file(REMOVE_RECURSE ${tree})
file(MAKE_DIRECTORY ${tree})
file(REAL_PATH ${SKIP} skip)
file(GLOB children RELATIVE ${SOURCE} ${SOURCE}/*)
foreach(child ${children})
  file(REAL_PATH ${SOURCE}/${child} real)
  if(child MATCHES "^(\\.git|build.*)$" OR real STREQUAL skip OR real STREQUAL WORK)
    continue()
  endif()
  file(COPY ${SOURCE}/${child} DESTINATION ${tree})
endforeach()

# Inserts the fixture's text into a file in front of the first line that
# starts with `anchor`.
function(insert_before file anchor text)
  file(READ ${file} content)
  string(FIND "${content}" "\n${anchor}" at)
  if(at LESS 0)
    message(FATAL_ERROR "${file}: no line starts with \"${anchor}\"")
  endif()
  math(EXPR at "${at} + 1")
  string(SUBSTRING "${content}" 0 ${at} head)
  string(SUBSTRING "${content}" ${at} -1 tail)
  file(WRITE ${file} "${head}${text}${tail}")
endfunction()

# The next free numbers of the tree as it is (forms added by the README
# before this one take theirs): the tree position after the last, the place
# after the last window, the item after the last of the certificate list of
# the class pages the twin fills (its base's).
file(READ ${tree}/assets/forms/registry.csv registry)
string(REPLACE ";" "\t" registry "${registry}")
string(REGEX MATCHALL "[^\n]+" rows "${registry}")
set(windows 0)
set(TREE_POSITION 1)
foreach(row IN LISTS rows)
  string(STRIP "${row}" row)
  if(row STREQUAL "" OR row MATCHES "^#")
    continue()
  endif()
  math(EXPR windows "${windows} + 1")
  string(REPLACE "\t" ";" cells "${row}")
  list(LENGTH cells columns)
  if(columns EQUAL 12)
    list(GET cells 6 position)
    string(STRIP "${position}" position)
    if(position MATCHES "^[0-9]+$" AND position GREATER_EQUAL TREE_POSITION)
      math(EXPR TREE_POSITION "${position} + 1")
    endif()
  endif()
endforeach()
math(EXPR CREATED "${windows} + 1")

# The class pages a form fills and its item in their certificate list: its
# own, else its base's.
function(sheet_of form pages_var item_var)
  file(READ ${form} text)
  string(PREPEND text "\n")
  string(REGEX MATCHALL "\n[ \t]*sheet page[ \t]+[A-Za-z0-9_]+" lines "${text}")
  set(pages "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE ".*sheet page[ \t]+" "" page "${line}")
    list(APPEND pages ${page})
  endforeach()
  set(item "")
  if(text MATCHES "\n[ \t]*sheet item[ \t]+([0-9]+)")
    set(item ${CMAKE_MATCH_1})
  endif()
  if((NOT pages OR NOT item) AND text MATCHES "\n[ \t]*base[ \t]+([^ \t\n]+)")
    get_filename_component(folder ${form} DIRECTORY)
    sheet_of(${folder}/${CMAKE_MATCH_1} base_pages base_item)
    if(NOT pages)
      set(pages ${base_pages})
    endif()
    if(NOT item)
      set(item ${base_item})
    endif()
  endif()
  set(${pages_var} "${pages}" PARENT_SCOPE)
  set(${item_var} "${item}" PARENT_SCOPE)
endfunction()
file(READ ${FIXTURE}/Klasa1aN.form twin)
if(NOT twin MATCHES "\nbase[ \t]+([^ \t\n]+)")
  message(FATAL_ERROR "${FIXTURE}/Klasa1aN.form names no base")
endif()
sheet_of(${tree}/assets/forms/${CMAKE_MATCH_1} twin_pages unused)
set(SHEET_ITEM 1)
file(GLOB forms ${tree}/assets/forms/*.form)
foreach(form IN LISTS forms)
  sheet_of(${form} pages item)
  foreach(page IN LISTS pages)
    if(page IN_LIST twin_pages AND item GREATER_EQUAL SHEET_ITEM)
      math(EXPR SHEET_ITEM "${item} + 1")
    endif()
  endforeach()
endforeach()
message(STATUS "The twin takes the tree position ${TREE_POSITION}, the place ${CREATED} among the windows "
               "and the item ${SHEET_ITEM} of the certificate list of ${twin_pages}")

# A fixture file with those numbers in place of its @TREE_POSITION@,
# @CREATED@ and @SHEET_ITEM@.
function(numbered file var)
  file(READ ${FIXTURE}/${file} text)
  string(CONFIGURE "${text}" text @ONLY)
  set(${var} "${text}" PARENT_SCOPE)
endfunction()

# 1. the description, 3. its layout
numbered(Klasa1aN.form form)
file(WRITE ${tree}/assets/forms/Klasa1aN.form "${form}")
file(COPY ${FIXTURE}/tarvek_klasa_IaN.csv DESTINATION ${tree}/assets/layouts)
# 2. its row in the registry, in protocol order in front of its base
numbered(registry.txt row)
insert_before(${tree}/assets/forms/registry.csv "TFKlasa1a;" "${row}")
# 4. its kind, one line at the end of the list of kinds
file(READ ${tree}/render/DocumentKinds.h kinds)
string(REGEX MATCH "#define TARVEK_DOC_KINDS\\(X\\)[^\n]*\n([^\n]*\\\\\n)*[^\n]*\\)\n" list "${kinds}")
if(NOT list)
  message(FATAL_ERROR "render/DocumentKinds.h: the list of kinds TARVEK_DOC_KINDS was not found")
endif()
file(READ ${FIXTURE}/kind.txt kind)
string(REGEX REPLACE "\n$" " \\\\\n${kind}" longer "${list}")
string(REPLACE "${list}" "${longer}" kinds "${kinds}")
file(WRITE ${tree}/render/DocumentKinds.h "${kinds}")
# 5. its row in the tests' reference table, in registry order
numbered(reference.txt reference)
insert_before(${tree}/tests/support/FormReference.h "    {\"TFKlasa1a\"," "${reference}")

# Build it as a developer would, without optimisation (quicker to compile):
# the program and the test programs of the tests below.
execute_process(COMMAND ${CMAKE_COMMAND} -S ${tree} -B ${build} -DCMAKE_BUILD_TYPE=None -DTARVEK_BUILD_BENCH=OFF
                        -DTARVEK_TWIN_TEST=OFF
                OUTPUT_QUIET RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "the copy with the twin does not configure")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${build} -j${JOBS}
                        --target assets_tests forms_tests render_tests app_tests
                RESULT_VARIABLE failed OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(failed)
  message(FATAL_ERROR "the copy with the twin does not build:\n${out}")
endif()

# The twin by name: made, offered, saved, printed.
set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(COMMAND ${CMAKE_CTEST_COMMAND} --test-dir ${build} --output-on-failure --no-tests=error
                        -R "TFKlasa1aN"
                RESULT_VARIABLE failed OUTPUT_VARIABLE out ERROR_VARIABLE out)
message("${out}")
if(failed)
  message(FATAL_ERROR "the twin's own tests failed")
endif()

# Then what one form more can break, with every other form: the generator's
# outputs (the forms' tables, the layouts' calibration tables, the pictures
# of the blanks), the forms and their class pages' lists, the renderer and
# print of every kind (each whole suite of tests/assets, tests/forms and
# tests/render); of the program's, every form made, offered in the tree,
# saved, read back and printed, the windows made at start-up in their order,
# the student tree with the save and load of every holder, and the
# school-template dialog's list.
set(suites
    "assets" "."
    "forms" "."
    "render" "."
    "app" "^(Forms/EveryDocumentTest|StudentTest|HoldersTest|StudentOrder|SchoolTemplateTest)\\.|^AppTest\\.AllWindowsAreMadeInTheirFixedOrder$")
while(suites)
  list(POP_FRONT suites folder names)
  execute_process(COMMAND ${CMAKE_CTEST_COMMAND} --test-dir ${build}/tests/${folder} --output-on-failure
                          --no-tests=error -j${JOBS} -R "${names}" -E "TFKlasa1aN"
                  RESULT_VARIABLE failed OUTPUT_VARIABLE out ERROR_VARIABLE out)
  message("${out}")
  if(failed)
    message(FATAL_ERROR "tests/${folder}: tests failed in the copy with the twin")
  endif()
endwhile()

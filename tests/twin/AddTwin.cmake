# Adds a twin form to a copy of the source tree the way the README's "How to
# add or change a form" tells it, builds that copy and runs its tests: the
# twin's own (every form is tried by name) and all the others, which must
# pass with one form more and nothing else in tests/ changed.
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

# 1. the description, 3. its layout
file(COPY ${FIXTURE}/Klasa1aN.form DESTINATION ${tree}/assets/forms)
file(COPY ${FIXTURE}/tarvek_klasa_IaN.csv DESTINATION ${tree}/assets/layouts)
# 2. its row in the registry, in protocol order in front of its base
file(READ ${FIXTURE}/registry.txt row)
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
file(READ ${FIXTURE}/reference.txt reference)
insert_before(${tree}/tests/support/FormReference.h "    {\"TFKlasa1a\"," "${reference}")

# Build it as a developer would, without optimisation (quicker to compile).
execute_process(COMMAND ${CMAKE_COMMAND} -S ${tree} -B ${build} -DCMAKE_BUILD_TYPE=None -DTARVEK_BUILD_BENCH=OFF
                        -DTARVEK_TWIN_TEST=OFF
                OUTPUT_QUIET RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "the copy with the twin does not configure")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${build} -j${JOBS} RESULT_VARIABLE failed OUTPUT_VARIABLE out
                ERROR_VARIABLE out)
if(failed)
  message(FATAL_ERROR "the copy with the twin does not build:\n${out}")
endif()

# The twin by name: made, offered, saved, printed; then every other test.
set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(COMMAND ${CMAKE_CTEST_COMMAND} --test-dir ${build} --output-on-failure --no-tests=error
                        -R "TFKlasa1aN"
                RESULT_VARIABLE failed OUTPUT_VARIABLE out ERROR_VARIABLE out)
message("${out}")
if(failed)
  message(FATAL_ERROR "the twin's own tests failed")
endif()
execute_process(COMMAND ${CMAKE_CTEST_COMMAND} --test-dir ${build} --output-on-failure -j${JOBS} -E "TFKlasa1aN|InstalledProgram"
                RESULT_VARIABLE failed OUTPUT_VARIABLE out ERROR_VARIABLE out)
message("${out}")
if(failed)
  message(FATAL_ERROR "tests failed in the copy with the twin")
endif()

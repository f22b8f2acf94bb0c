# The Windows tests build into one executable (linking it once is what costs),
# but run as several ctest entries, each with its own timeout: one per source
# folder, and one per bar-process test file. An entry selects its tests by the
# suite names its files declare. A last entry runs whatever no other entry
# names, so a test is never left out, whatever its file or suite.
#
# Entries that drive the shared desktop (real keys and pointer, the foreground
# window, global hooks, a bar process with its single-instance objects) take
# the lock "desktop" and run one at a time; the others run beside them.

# Folders (below tests/) whose tests show no window: they can neither take the
# foreground from a test beside them nor lose their input to one.
set(ORV_WIN_QUIET_FOLDERS kem3/pictures kem3/graphics)

# Sets OUT to the gtest filter of every suite declared in the files.
function(orv_suite_filter out)
  set(suites)
  foreach(src IN LISTS ARGN)
    file(STRINGS ${src} lines REGEX "^(TYPED_)?TEST(_F|_P)?\\(")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^[A-Z_]+\\(([A-Za-z0-9_]+).*" "\\1" suite "${line}")
      list(APPEND suites ${suite})
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES suites)
  set(patterns)
  foreach(suite IN LISTS suites)
    # A parameterised suite runs as PREFIX/Suite.Name/N.
    list(APPEND patterns "${suite}.*" "*/${suite}.*")
  endforeach()
  list(JOIN patterns ":" filter)
  set(${out} "${filter}" PARENT_SCOPE)
endfunction()

function(orv_win_test_entries target sources)
  cmake_parse_arguments(ARG "" "" "ENVIRONMENT" ${ARGN})
  # A test added to a file changes the entries' filters.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${sources})

  set(groups)
  foreach(src IN LISTS sources)
    file(RELATIVE_PATH rel ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../tests ${src})
    get_filename_component(folder ${rel} DIRECTORY)
    get_filename_component(stem ${rel} NAME_WE)
    if(stem MATCHES "^(.*)_process_test_win$")
      set(group "process_${CMAKE_MATCH_1}")
    else()
      string(REPLACE "/" "_" group "${folder}")
    endif()
    list(APPEND groups ${group})
    list(APPEND "files_${group}" ${src})
    set("folder_${group}" ${folder})
  endforeach()
  list(REMOVE_DUPLICATES groups)

  set(everything)
  foreach(group IN LISTS groups)
    orv_suite_filter(filter ${files_${group}})
    if(filter STREQUAL "")
      continue()
    endif()
    list(APPEND everything "${filter}")
    set(name win_${group})
    add_test(NAME ${name} COMMAND ${target} --gtest_brief=1 "--gtest_filter=${filter}")
    set_tests_properties(${name} PROPERTIES LABELS run TIMEOUT 300 ENVIRONMENT "${ARG_ENVIRONMENT}")
    if(NOT folder_${group} IN_LIST ORV_WIN_QUIET_FOLDERS)
      set_tests_properties(${name} PROPERTIES RESOURCE_LOCK desktop)
    endif()
  endforeach()

  list(JOIN everything ":" named)
  add_test(NAME win_unnamed COMMAND ${target} --gtest_brief=1 "--gtest_filter=-${named}")
  set_tests_properties(win_unnamed PROPERTIES LABELS run TIMEOUT 300 ENVIRONMENT "${ARG_ENVIRONMENT}"
                                              RESOURCE_LOCK desktop)
endfunction()

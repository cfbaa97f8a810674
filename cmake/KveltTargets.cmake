# Helpers shared by every folder: one library per folder, one test program per folder.

set(KVELT_WARNINGS -Wall -Wextra -Wpedantic)
# The `ci` preset: every warning of the tree's own code fails the build. KVELT_STRICT_WARNINGS adds
# -Wshadow -Wconversion (clean in app/pages/ and the dispatcher; not yet checked over the whole tree).
option(KVELT_WARNINGS_AS_ERRORS "Treat warnings as errors" OFF)
option(KVELT_STRICT_WARNINGS "Add -Wshadow -Wconversion" OFF)
if(KVELT_WARNINGS_AS_ERRORS)
  list(APPEND KVELT_WARNINGS -Werror)
endif()
if(KVELT_STRICT_WARNINGS)
  list(APPEND KVELT_WARNINGS -Wshadow -Wconversion)
endif()

# kvelt_add_library(name [SUBDIRS dir...] [DEPS target...])
# Builds the .cpp files of the calling folder (and of the listed subfolders) as
# the static library kvelt_<name>; includes resolve from the repository root.
function(kvelt_add_library name)
  cmake_parse_arguments(ARG "" "" "SUBDIRS;DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(sub IN LISTS ARG_SUBDIRS)
    file(GLOB subsources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${sub}/*.cpp)
    list(APPEND sources ${subsources})
  endforeach()
  if(NOT sources)
    # A folder that has only headers so far.
    add_library(kvelt_${name} INTERFACE)
    target_include_directories(kvelt_${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(kvelt_${name} INTERFACE ${ARG_DEPS})
    return()
  endif()
  add_library(kvelt_${name} STATIC ${sources})
  target_include_directories(kvelt_${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(kvelt_${name} PRIVATE ${KVELT_WARNINGS})
  target_link_libraries(kvelt_${name} PUBLIC ${ARG_DEPS})
endfunction()

# kvelt_add_gtest(name [SUBDIRS dir...] DEPS target...)
# The *.cpp files of tests/<name>/ (and of the listed subfolders, which mirror the folder's
# own) form the GoogleTest program <name>_tests.
function(kvelt_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SUBDIRS;DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp)
  foreach(sub IN LISTS ARG_SUBDIRS)
    file(GLOB subsources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/${sub}/*.cpp)
    list(APPEND sources ${subsources})
  endforeach()
  if(NOT sources)
    return()
  endif()
  add_executable(${name}_tests ${sources})
  target_compile_options(${name}_tests PRIVATE ${KVELT_WARNINGS})
  target_include_directories(${name}_tests PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name}_tests PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  # Each test runs in a process of its own, labelled with its folder (ctest -L cli).
  gtest_discover_tests(${name}_tests DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "KVELT_SOURCE_DIR=${PROJECT_SOURCE_DIR}" LABELS ${name})
endfunction()

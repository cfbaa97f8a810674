# kvelt_add_umockdev_test(name DIR dir [QTTEST] [SOURCES file...] DEPS target...
#                         [ENVIRONMENT var=value...])
# All *.cpp files of <dir> (and the SOURCES) form the test program <name> (GoogleTest; QtTest with its own main
# and moc when QTTEST is given), linked with libumockdev. ctest
# runs it through run-in-umockdev.sh: inside a umockdev sandbox (its sysfs, device nodes and
# uevents replace the system's for the real libudev) and, when started as root, as the
# unprivileged user nobody, so that permission checks on device nodes are real.
find_package(PkgConfig REQUIRED)
pkg_check_modules(UMOCKDEV REQUIRED IMPORTED_TARGET umockdev-1.0)
find_program(KVELT_UMOCKDEV_WRAPPER umockdev-wrapper REQUIRED)
find_program(KVELT_SETPRIV setpriv REQUIRED)

function(kvelt_add_umockdev_test name)
  cmake_parse_arguments(ARG "QTTEST" "DIR" "SOURCES;DEPS;ENVIRONMENT" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  list(APPEND sources ${ARG_SOURCES})
  add_executable(${name} ${sources})
  target_compile_options(${name} PRIVATE ${KVELT_WARNINGS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  if(ARG_QTTEST)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} PkgConfig::UMOCKDEV Qt6::Test)
  else()
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} PkgConfig::UMOCKDEV GTest::gtest GTest::gtest_main)
  endif()
  add_test(NAME ${name}
    COMMAND sh ${PROJECT_SOURCE_DIR}/cmake/run-in-umockdev.sh ${KVELT_UMOCKDEV_WRAPPER} ${KVELT_SETPRIV}
            $<TARGET_FILE:${name}>)
  if(ARG_ENVIRONMENT)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${ARG_ENVIRONMENT}")
  endif()
endfunction()

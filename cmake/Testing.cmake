# GoogleTest built from Debian's sources with the same cross toolchain.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE -w)
target_compile_options(gtest_main PRIVATE -w)

# portica_add_test(NAME name SOURCES a.cpp ... [LIBS lib ...] [TIMEOUT s] [LABELS l ...])
# One test program, run under Wine by CTest. Every such test carries the
# label "wine"; tools/run-tests leaves them out where the tree's programs
# cannot run.
function(portica_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest_main)
  target_include_directories(${T_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT}
    WORKING_DIRECTORY $<TARGET_FILE_DIR:${T_NAME}>)
  set(labels wine ${T_LABELS})
  set_tests_properties(${T_NAME} PROPERTIES LABELS "${labels}")
endfunction()

# Test, fuzz and benchmark helpers shared by every folder's CMakeLists.txt.
#
#   qv_add_gtest(name SOURCES a.cpp ... [LIBS lib ...] [TIMEOUT s] [COST c] [NO_MAIN]
#                [EXCLUDE pattern])
#     A GoogleTest executable. Its cases are discovered when ctest runs (under Wine in the
#     win32 build, through the emulator), never at build time; each test process makes the
#     virtual serial lines it needs. COST c makes ctest start the cases of a long suite first.
#     EXCLUDE leaves the cases matching a gtest filter pattern to ctest entries of their own
#     (cases that need another environment).
#   qv_add_fuzzer(name SOURCES ... [LIBS ...])      only with QV_FUZZ
#   qv_add_benchmark(name SOURCES ... [LIBS ...])   only with QV_BENCH (Google Benchmark)

include(GoogleTest)

macro(qv_setup_gtest)
  if(QV_FUZZ)
    # the fuzz build makes fuzzers only
  elseif(QV_WIN32)
    # Debian ships GoogleTest as sources; build them with the cross compiler.
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    # Tests run under Wine; tools/wine-run keeps a private prefix in this build tree.
    # The emulator is a one-line wrapper in the build tree (ctest's discovery takes no arguments).
    file(WRITE ${CMAKE_BINARY_DIR}/wine-run
      "#!/bin/sh\nexec '${PROJECT_SOURCE_DIR}/tools/wine-run' '--build-dir=${CMAKE_BINARY_DIR}' \"$@\"\n")
    file(CHMOD ${CMAKE_BINARY_DIR}/wine-run PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
  else()
    find_package(GTest REQUIRED)
  endif()
endmacro()

function(qv_add_gtest name)
  cmake_parse_arguments(T "NO_MAIN" "TIMEOUT;COST;EXCLUDE" "SOURCES;LIBS" ${ARGN})
  if(QV_FUZZ)
    return()
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 60)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest)
  if(T_NO_MAIN)
  elseif(QV_WIN32)
    # Our own main: it does the main thread's start-up before the tests run.
    target_link_libraries(${name} PRIVATE qv_test_main)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  if(QV_WIN32)
    target_link_options(${name} PRIVATE -mconsole)
  endif()
  if(NOT T_COST)
    set(T_COST 0)
  endif()
  set(filter)
  if(T_EXCLUDE)
    set(filter TEST_FILTER "-${T_EXCLUDE}")
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 300
    ${filter}
    PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "${name}" COST ${T_COST})
endfunction()

function(qv_add_fuzzer name)
  if(NOT QV_FUZZ)
    return()
  endif()
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_property(GLOBAL APPEND PROPERTY QV_FUZZERS "${name}=$<TARGET_FILE:${name}>")
endfunction()

# Writes build/<preset>/fuzzers.txt: one "name=path" line per fuzz target (read by tools/test-all.sh).
function(qv_write_fuzzer_list)
  get_property(fuzzers GLOBAL PROPERTY QV_FUZZERS)
  string(REPLACE ";" "\n" lines "${fuzzers}")
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/fuzzers.txt CONTENT "${lines}\n")
endfunction()

function(qv_add_benchmark name)
  if(NOT QV_BENCH)
    return()
  endif()
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark_main)
endfunction()

include(GoogleTest)

# vexa_add_test(<name> SOURCES ... [LIBS ...])
# Natively every test case is its own CTest test. Under wine each process start
# costs about half a second, so the Windows build runs one test per executable.
function(vexa_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  vexa_target(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} vexa_gtest_main vexa_thirdparty)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES TIMEOUT 900 LABELS windows)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
      PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS ${name})
  endif()
endfunction()

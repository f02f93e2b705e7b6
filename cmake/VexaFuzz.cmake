# libFuzzer targets (clang only). With VEXA_FUZZ every library is built with
# the fuzzer's coverage hooks and the sanitizers; each target links libFuzzer.
option(VEXA_FUZZ "Build the fuzz targets: clang, libFuzzer, ASan and UBSan" OFF)
set(VEXA_FUZZ_SECONDS 10 CACHE STRING "How long each fuzz target runs as a test")

if(VEXA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VEXA_FUZZ needs clang (libFuzzer)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
  # The automation VARIANT keeps the Windows x64 layout, a nested anonymous
  # struct inside its anonymous union; clang calls that an extension under
  # -Wpedantic (GCC does not), and the layout is not ours to change.
  target_compile_options(vexa_warnings INTERFACE -Wno-nested-anon-types)
  # Every fuzz target is built by the one target the fuzz preset builds.
  add_custom_target(vexa_fuzzers)
endif()

# vexa_add_fuzzer(<name> SOURCES ... [LIBS ...]): the target fuzz_<name>,
# its seed corpus in corpus/<name>/ beside the sources, and a test that runs
# it over that corpus for VEXA_FUZZ_SECONDS. Inputs it finds go to a folder
# of the build tree; the source corpus only ever gains what we add by hand.
function(vexa_add_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  set(target fuzz_${name})
  add_executable(${target} ${F_SOURCES})
  vexa_target(${target})
  target_link_libraries(${target} PRIVATE ${F_LIBS})
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  add_dependencies(vexa_fuzzers ${target})

  set(found ${CMAKE_BINARY_DIR}/fuzz/${name})
  file(MAKE_DIRECTORY ${found})
  add_test(NAME ${target}
    COMMAND ${target} -max_total_time=${VEXA_FUZZ_SECONDS} -timeout=10 -rss_limit_mb=2048
            -print_final_stats=1 ${found} ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name})
  math(EXPR limit "${VEXA_FUZZ_SECONDS} * 3 + 30")
  set_tests_properties(${target} PROPERTIES TIMEOUT ${limit} LABELS fuzz SKIP_RETURN_CODE 77)
endfunction()

# vexa_fuzz_loadable(<module>): a module the fuzz targets load takes the
# sanitizer and coverage entry points from the program that loads it, so it
# is linked with those left undefined.
function(vexa_fuzz_loadable module)
  get_target_property(options ${module} LINK_OPTIONS)
  if(options)
    list(REMOVE_ITEM options -Wl,--no-undefined)
    set_target_properties(${module} PROPERTIES LINK_OPTIONS "${options}")
  endif()
endfunction()

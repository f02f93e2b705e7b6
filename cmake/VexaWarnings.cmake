# Warning level for our own targets; third-party headers come in as SYSTEM.
add_library(vexa_warnings INTERFACE)
target_compile_options(vexa_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wcast-align
  -Wunused -Woverloaded-virtual -Wnull-dereference -Wimplicit-fallthrough
  $<$<BOOL:${VEXA_WERROR}>:-Werror>)

if(VEXA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# vexa_target(<target>): the settings every target of ours shares.
function(vexa_target target)
  target_link_libraries(${target} PRIVATE vexa_warnings)
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR}/src)
endfunction()

# vexa_asio_sources(<file>...): files that include Boost.Asio. Its scheduler,
# inlined at -O2 and above, trips -Wnull-dereference on paths GCC cannot
# prove dead (scheduler.ipp); being a system header does not help, since the
# warning is raised where the code is inlined. The warning stays visible but
# does not fail the build there: the code it points at is Boost's.
function(vexa_asio_sources)
  set_property(SOURCE ${ARGN} APPEND PROPERTY COMPILE_OPTIONS -Wno-error=null-dereference)
endfunction()

# Warning level for our own targets; third-party headers come in as SYSTEM.
add_library(vexa_warnings INTERFACE)
target_compile_options(vexa_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wcast-align
  -Wunused -Woverloaded-virtual -Wnull-dereference -Wimplicit-fallthrough
  $<$<BOOL:${VEXA_WERROR}>:-Werror>)

# UBSan's vptr check is off: it reads C++ type information through every
# object a call goes to, and the host's COM objects are not C++ objects of
# ours (the raw-slot test hosts have no type information at all, as a host
# built by another compiler would not).
if(VEXA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize=vptr -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

# vexa_target(<target>): the settings every target of ours shares.
function(vexa_target target)
  target_link_libraries(${target} PRIVATE vexa_warnings)
endfunction()

# vexa_include_root(<target> <name> [<folder>]): the target's headers are
# included as "<name>/<file>.h", by the target itself and by whatever links
# it, and by nothing else. Each root is a folder of the build tree holding a
# single link, <name> -> <folder> (default: the current source folder), so a
# target sees exactly the libraries it links: a stray include of another
# library's header fails to compile instead of working by accident.
function(vexa_include_root target name)
  set(folder ${CMAKE_CURRENT_SOURCE_DIR})
  if(ARGC GREATER 2)
    set(folder ${ARGV2})
  endif()
  set(root ${CMAKE_BINARY_DIR}/include/${name})
  if(NOT EXISTS ${root}/${name})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${folder} ${root}/${name} SYMBOLIC)
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()

# vexa_asio_sources(<file>...): files that include Boost.Asio. Its scheduler,
# inlined at -O2 and above, trips -Wnull-dereference on paths GCC cannot
# prove dead (scheduler.ipp); being a system header does not help, since the
# warning is raised where the code is inlined. The warning stays visible but
# does not fail the build there: the code it points at is Boost's.
function(vexa_asio_sources)
  set_property(SOURCE ${ARGN} APPEND PROPERTY COMPILE_OPTIONS -Wno-error=null-dereference)
endfunction()

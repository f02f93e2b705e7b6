# Third-party code: Debian packages only. The cross build sees their headers
# through a folder that holds nothing else, never /usr/include itself.
set(VEXA_HEADER_PACKAGES boost spdlog fmt rapidxml CLI nlohmann)

add_library(vexa_thirdparty INTERFACE)
# CLI11 (header-only) for the programs' command lines only.
add_library(vexa_cli11 INTERFACE)

if(CMAKE_CROSSCOMPILING)
  set(xinclude ${CMAKE_BINARY_DIR}/xinclude)
  file(MAKE_DIRECTORY ${xinclude})
  foreach(pkg IN LISTS VEXA_HEADER_PACKAGES)
    if(EXISTS /usr/include/${pkg} AND NOT EXISTS ${xinclude}/${pkg})
      file(CREATE_LINK /usr/include/${pkg} ${xinclude}/${pkg} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(vexa_thirdparty SYSTEM INTERFACE ${xinclude})
  # Header-only fmt and spdlog: the packaged libraries are built for Linux.
  target_compile_definitions(vexa_thirdparty INTERFACE
    FMT_HEADER_ONLY SPDLOG_HEADER_ONLY SPDLOG_FMT_EXTERNAL
    _WIN32_WINNT=0x0601 WIN32_LEAN_AND_MEAN NOMINMAX)
  target_link_libraries(vexa_thirdparty INTERFACE ws2_32 mswsock)
  target_link_libraries(vexa_cli11 INTERFACE vexa_thirdparty)

  # GoogleTest from the packaged sources.
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  add_library(vexa_gtest_main INTERFACE)
  target_link_libraries(vexa_gtest_main INTERFACE gtest_main gmock)
else()
  find_package(Threads REQUIRED)
  find_package(fmt REQUIRED)
  find_package(spdlog REQUIRED)
  find_package(GTest REQUIRED)
  find_package(Boost 1.74 REQUIRED)
  find_package(CLI11 REQUIRED)
  target_link_libraries(vexa_cli11 INTERFACE CLI11::CLI11)
  target_link_libraries(vexa_thirdparty INTERFACE Boost::headers fmt::fmt Threads::Threads ${CMAKE_DL_LIBS})
  add_library(vexa_gtest_main INTERFACE)
  target_link_libraries(vexa_gtest_main INTERFACE GTest::gtest_main GTest::gmock)
endif()

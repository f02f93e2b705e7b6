# What `cmake --install` gives. On Windows: the folder a user receives, flat,
# as the host expects a plug-in folder: the module, the core-types runtime
# that stands in for the host's, the two programs, the registration scripts
# and a short README. On Linux: programs in bin/, the plug-in and the
# libraries it loads in lib/vexa/, found through the programs' RPATH and the
# host's lookup of the plug-in.
include(GNUInstallDirs)  # CMAKE_INSTALL_BINDIR

set(vexa_programs vexa-host vexa-sim)
set(vexa_modules vexa_plugin_module nvrtcoretypes)

if(WIN32)
  install(TARGETS ${vexa_programs} ${vexa_modules}
    RUNTIME DESTINATION . LIBRARY DESTINATION . COMPONENT vexa)
  install(FILES
    ${CMAKE_SOURCE_DIR}/packaging/register.cmd
    ${CMAKE_SOURCE_DIR}/packaging/unregister.cmd
    DESTINATION . COMPONENT vexa)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/README-windows.txt DESTINATION . RENAME README.txt COMPONENT vexa)
else()
  # Fixed, whatever the distribution calls its library folder: the host
  # looks for the plug-in at ../lib/vexa/ from its own folder.
  set(vexa_libdir lib/vexa)
  install(TARGETS ${vexa_programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT vexa)
  install(TARGETS ${vexa_modules} vexa_oleaut
    LIBRARY DESTINATION ${vexa_libdir} RUNTIME DESTINATION ${vexa_libdir} COMPONENT vexa)
  set_target_properties(${vexa_programs} PROPERTIES INSTALL_RPATH "$ORIGIN/../${vexa_libdir}")
  set_target_properties(${vexa_modules} PROPERTIES INSTALL_RPATH "$ORIGIN")
endif()

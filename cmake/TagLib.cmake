# TagLib, which reads the lyrics inside songs, for sorvane_core (and whatever links it).
#   natively:  Debian's libtag1-dev, through pkg-config
#   Windows:   the static library tools/lib/build-taglib builds from Debian's taglib source package
#              with this build's MinGW toolchain, kept in build/taglib/<processor>
#   fuzz tree: the same source built with the fuzz tree's own flags, in build/taglib/fuzz
if(WIN32 OR SORVANE_FUZZ)
  if(SORVANE_FUZZ)
    set(taglib_variant fuzz)
  else()
    set(taglib_variant ${CMAKE_SYSTEM_PROCESSOR})
  endif()
  set(SORVANE_TAGLIB_DIR ${PROJECT_SOURCE_DIR}/build/taglib/${taglib_variant}
      CACHE PATH "TagLib built for this tree (include/, lib/libtag.a)")
  if(NOT EXISTS ${SORVANE_TAGLIB_DIR}/lib/libtag.a)
    message(FATAL_ERROR "No TagLib in ${SORVANE_TAGLIB_DIR}: tools/lib/build-taglib ${taglib_variant} builds it")
  endif()
  add_library(sorvane_taglib INTERFACE)
  target_include_directories(sorvane_taglib SYSTEM INTERFACE ${SORVANE_TAGLIB_DIR}/include)
  # Built without debug output (NDEBUG): nothing to silence.
  target_compile_definitions(sorvane_taglib INTERFACE TAGLIB_STATIC SORVANE_TAGLIB_SILENT)
  target_link_libraries(sorvane_taglib INTERFACE ${SORVANE_TAGLIB_DIR}/lib/libtag.a)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(TAGLIB REQUIRED IMPORTED_TARGET taglib)
  add_library(sorvane_taglib INTERFACE)
  target_link_libraries(sorvane_taglib INTERFACE PkgConfig::TAGLIB)
endif()
target_link_libraries(sorvane_core PUBLIC sorvane_taglib)
if(TARGET sorvane_core_san)
  target_link_libraries(sorvane_core_san PUBLIC sorvane_taglib)
endif()

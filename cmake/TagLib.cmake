# TagLib, which reads the lyrics inside songs, for sorvane_core (and whatever links it).
#   natively: Debian's libtag1-dev, through pkg-config
#   Windows:  the static library tools/setup builds from Debian's taglib source package with this
#             build's MinGW toolchain, kept in build/taglib/<processor>
if(WIN32)
  set(SORVANE_TAGLIB_DIR ${PROJECT_SOURCE_DIR}/build/taglib/${CMAKE_SYSTEM_PROCESSOR}
      CACHE PATH "TagLib built for this Windows toolchain (include/, lib/libtag.a)")
  if(NOT EXISTS ${SORVANE_TAGLIB_DIR}/lib/libtag.a)
    message(FATAL_ERROR "No TagLib in ${SORVANE_TAGLIB_DIR}: tools/setup builds it")
  endif()
  add_library(sorvane_taglib INTERFACE)
  target_include_directories(sorvane_taglib SYSTEM INTERFACE ${SORVANE_TAGLIB_DIR}/include)
  target_compile_definitions(sorvane_taglib INTERFACE TAGLIB_STATIC)
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

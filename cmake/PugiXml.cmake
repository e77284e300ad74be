# pugixml, which reads TTML lyrics files, for sorvane_core (and whatever links it).
#   natively: Debian's libpugixml-dev
#   Windows:  the static library tools/setup builds from Debian's pugixml source package with this
#             build's MinGW toolchain, without XPath nor STL calls, kept in build/pugixml/<processor>
if(WIN32)
  set(SORVANE_PUGIXML_DIR ${PROJECT_SOURCE_DIR}/build/pugixml/${CMAKE_SYSTEM_PROCESSOR}
      CACHE PATH "pugixml built for this Windows toolchain (include/, lib/libpugixml.a)")
  if(NOT EXISTS ${SORVANE_PUGIXML_DIR}/lib/libpugixml.a)
    message(FATAL_ERROR "No pugixml in ${SORVANE_PUGIXML_DIR}: tools/setup builds it")
  endif()
  add_library(sorvane_pugixml INTERFACE)
  target_include_directories(sorvane_pugixml SYSTEM INTERFACE ${SORVANE_PUGIXML_DIR}/include)
  # As it was built: its classes are the same on both sides.
  target_compile_definitions(sorvane_pugixml INTERFACE PUGIXML_NO_XPATH PUGIXML_NO_STL)
  target_link_libraries(sorvane_pugixml INTERFACE ${SORVANE_PUGIXML_DIR}/lib/libpugixml.a)
else()
  find_package(pugixml REQUIRED)
  add_library(sorvane_pugixml INTERFACE)
  target_link_libraries(sorvane_pugixml INTERFACE pugixml::pugixml)
endif()
target_link_libraries(sorvane_core PUBLIC sorvane_pugixml)
if(TARGET sorvane_core_san)
  target_link_libraries(sorvane_core_san PUBLIC sorvane_pugixml)
endif()

# nlohmann-json (Debian's nlohmann-json3-dev, header-only), which reads the online service's
# answers. The MinGW builds must not see /usr/include as a whole (its C headers would shadow
# MinGW's), so every build includes a folder of its own that holds only a link to the json headers.
set(SORVANE_JSON_HEADERS /usr/include/nlohmann CACHE PATH "The nlohmann folder of nlohmann-json")
if(NOT EXISTS ${SORVANE_JSON_HEADERS}/json.hpp)
  message(FATAL_ERROR "No nlohmann/json.hpp in ${SORVANE_JSON_HEADERS}: tools/setup installs nlohmann-json3-dev")
endif()
set(SORVANE_JSON_INCLUDE ${CMAKE_BINARY_DIR}/json-include)
file(MAKE_DIRECTORY ${SORVANE_JSON_INCLUDE})
file(CREATE_LINK ${SORVANE_JSON_HEADERS} ${SORVANE_JSON_INCLUDE}/nlohmann SYMBOLIC)
target_include_directories(sorvane_core SYSTEM PRIVATE ${SORVANE_JSON_INCLUDE})
if(TARGET sorvane_core_san)
  target_include_directories(sorvane_core_san SYSTEM PRIVATE ${SORVANE_JSON_INCLUDE})
endif()

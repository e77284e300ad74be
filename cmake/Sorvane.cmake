# Targets shared by every subsystem folder. Each folder adds its own files to them:
#   sorvane_core_sources(...)  platform-free code (no <windows.h>), built in every build
#   sorvane_win_sources(...)   the thin Win32 layer, Windows builds only
#
# sorvane_core is plain; natively it is also built as sorvane_core_san with the address and
# undefined-behaviour sanitizers for the tests, so that the benchmarks measure plain code.

set(SORVANE_WARNINGS -Wall -Wextra -Wno-unused-parameter)

add_library(sorvane_core STATIC)
target_include_directories(sorvane_core PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_compile_options(sorvane_core PRIVATE ${SORVANE_WARNINGS} -ffp-contract=off)

set(SORVANE_SANITIZERS "")
if(NOT WIN32 AND NOT SORVANE_FUZZ)
  set(SORVANE_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_library(sorvane_core_san STATIC)
  target_include_directories(sorvane_core_san PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(sorvane_core_san PRIVATE ${SORVANE_WARNINGS} -ffp-contract=off ${SORVANE_SANITIZERS})
  target_link_options(sorvane_core_san INTERFACE ${SORVANE_SANITIZERS})
endif()
if(SORVANE_FUZZ)
  target_compile_options(sorvane_core PRIVATE -fsanitize=fuzzer-no-link,address,undefined)
endif()

if(WIN32)
  add_library(sorvane_win STATIC)
  target_include_directories(sorvane_win PUBLIC ${PROJECT_SOURCE_DIR}/src)
  # Sources are UTF-8 and so are the plug-in's narrow texts; what reaches a window is a wide (L"")
  # literal. Tests that compare texts read back through the ANSI calls compile their literals to
  # code page 932 bytes instead.
  set(SORVANE_CP932 -fexec-charset=CP932)
  target_compile_options(sorvane_win PRIVATE ${SORVANE_WARNINGS})
  target_compile_definitions(sorvane_win PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501)
  target_link_libraries(sorvane_win PUBLIC sorvane_core)
  # Everything Windows-side links the C and C++ runtimes in: the plug-in imports only system DLLs.
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

function(sorvane_core_sources)
  list(TRANSFORM ARGN PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
  target_sources(sorvane_core PRIVATE ${ARGN})
  if(TARGET sorvane_core_san)
    target_sources(sorvane_core_san PRIVATE ${ARGN})
  endif()
endfunction()

function(sorvane_win_sources)
  if(WIN32)
    list(TRANSFORM ARGN PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
    target_sources(sorvane_win PRIVATE ${ARGN})
  endif()
endfunction()

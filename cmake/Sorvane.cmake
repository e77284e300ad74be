# Targets shared by every subsystem folder. Each folder adds its own files to them:
#   sorvane_core_sources(...)  platform-free code (no <windows.h>), built in every build
#   sorvane_win_sources(...)   the thin Win32 layer, Windows builds only
#
# sorvane_core is plain; natively it is also built as sorvane_core_san with the address and
# undefined-behaviour sanitizers for the tests, so that the benchmarks measure plain code. In the
# fuzz tree everything is built with the sanitizers and libFuzzer's coverage (cmake/clang-fuzz.cmake).
# Every sanitizer report is fatal: it fails the test or the fuzz run that met it.

set(SORVANE_WARNINGS -Wall -Wextra -Wno-unused-parameter)

add_library(sorvane_core STATIC)
target_include_directories(sorvane_core PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_compile_options(sorvane_core PRIVATE ${SORVANE_WARNINGS} -ffp-contract=off)

set(SORVANE_SANITIZERS "")
if(NOT WIN32 AND NOT SORVANE_FUZZ)
  set(SORVANE_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_library(sorvane_core_san STATIC)
  target_include_directories(sorvane_core_san PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(sorvane_core_san PRIVATE ${SORVANE_WARNINGS} -ffp-contract=off ${SORVANE_SANITIZERS})
  target_link_options(sorvane_core_san INTERFACE ${SORVANE_SANITIZERS})
endif()
if(SORVANE_FUZZ AND NOT SORVANE_FUZZ_FLAGS)
  message(FATAL_ERROR "The fuzz tree is configured with -DCMAKE_TOOLCHAIN_FILE=cmake/clang-fuzz.cmake")
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

# The shipped build (Release) is optimised as the build whose frame tick tools/tick-timing times:
# -O2, with the pixel passes at -O3 (render/); CMake's -O3 for everything only made the DLL larger.
# Code that never runs in the frame tick (the property sheet and the settings file, the lyrics
# lookup on its worker thread, the online search) is most of the plug-in's own code: listed after
# OFF_TICK, it is optimised for size there.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")
function(sorvane_off_tick sources)
  set_source_files_properties(${sources} TARGET_DIRECTORY sorvane_core
                              PROPERTIES COMPILE_OPTIONS $<$<CONFIG:Release>:-Os>)
endfunction()

function(sorvane_core_sources)
  cmake_parse_arguments(PARSE_ARGV 0 arg OFF_TICK "" "")
  list(TRANSFORM arg_UNPARSED_ARGUMENTS PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ OUTPUT_VARIABLE sources)
  target_sources(sorvane_core PRIVATE ${sources})
  if(TARGET sorvane_core_san)
    target_sources(sorvane_core_san PRIVATE ${sources})
  endif()
  if(arg_OFF_TICK)
    sorvane_off_tick("${sources}")
  endif()
endfunction()

function(sorvane_win_sources)
  cmake_parse_arguments(PARSE_ARGV 0 arg OFF_TICK "" "")
  if(WIN32)
    list(TRANSFORM arg_UNPARSED_ARGUMENTS PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/ OUTPUT_VARIABLE sources)
    target_sources(sorvane_win PRIVATE ${sources})
    if(arg_OFF_TICK)
      sorvane_off_tick("${sources}")
    endif()
  endif()
endfunction()

# The 32-bit Windows build is the shipped one. Its Windows-side tests are named wine32.* and
# e2e32.* (wine.* and e2e.* in the 64-bit build) and run under wine32, whose runner says
# "wine-run32: skipped: <why>" and stops where this machine cannot run 32-bit programs: CTest then
# reports them as skipped, neither passed nor failed.
set(SORVANE_SHIPPED_BUILD OFF)
set(SORVANE_WINE_PREFIX wine)
set(SORVANE_E2E_PREFIX e2e)
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(SORVANE_SHIPPED_BUILD ON)
  set(SORVANE_WINE_PREFIX wine32)
  set(SORVANE_E2E_PREFIX e2e32)
endif()

function(sorvane_skip_without_32bit)
  if(SORVANE_SHIPPED_BUILD)
    set_tests_properties(${ARGN} PROPERTIES SKIP_REGULAR_EXPRESSION "wine-run32: skipped: ")
  endif()
endfunction()

# add_test(NAME name COMMAND program args...) for a program that runs under Wine.
function(sorvane_wine_test name)
  add_test(NAME ${name} COMMAND ${ARGN})
  sorvane_skip_without_32bit(${name})
endfunction()

# The shipped programs are stripped in an optimised build, as tools/release packs them.
function(sorvane_strip_when_released target)
  target_link_options(${target} PRIVATE $<$<CONFIG:Release>:-s>)
endfunction()

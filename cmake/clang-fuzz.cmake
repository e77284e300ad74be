# The fuzz tree (build/fuzz) and the TagLib it links (build/taglib/fuzz): clang with libFuzzer's
# coverage and the address and undefined-behaviour sanitizers, every report fatal. The same flags
# for both, so that the fuzzer is guided inside TagLib as well as inside the plug-in's own code.
# The fuzz targets add libFuzzer's own main (-fsanitize=fuzzer, tests/fuzz).
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(SORVANE_FUZZ_FLAGS "-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all")
set(CMAKE_C_FLAGS_INIT "${SORVANE_FUZZ_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${SORVANE_FUZZ_FLAGS}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fsanitize=address,undefined")

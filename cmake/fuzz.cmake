# Fuzz targets: clang with libFuzzer, the core built with the same sanitizers.
set(FUZZ_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -g -O1)

add_library(pemoCoreFuzz STATIC ${CORE_SOURCES} ${NATIVE_PLATFORM_SOURCES})
target_include_directories(pemoCoreFuzz PUBLIC src)
target_compile_options(pemoCoreFuzz PUBLIC ${FUZZ_FLAGS})

file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS fuzz/*.cpp)
foreach(source ${FUZZ_SOURCES})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_link_libraries(${name} pemoCoreFuzz)
  target_include_directories(${name} PRIVATE tests/core)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
endforeach()

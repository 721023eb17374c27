# Native build: the core for the tools and benchmarks, and a sanitized copy
# of it for the unit tests.
find_package(GTest REQUIRED)
find_package(benchmark REQUIRED)

set(SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

add_library(pemoCore STATIC ${CORE_SOURCES} ${NATIVE_PLATFORM_SOURCES} src/document/stdioBlockSource.cpp)
target_include_directories(pemoCore PUBLIC src)

add_library(pemoCoreSanitized STATIC ${CORE_SOURCES} ${NATIVE_PLATFORM_SOURCES} src/document/stdioBlockSource.cpp)
target_include_directories(pemoCoreSanitized PUBLIC src)
target_compile_options(pemoCoreSanitized PUBLIC ${SANITIZE} -O1)
target_link_options(pemoCoreSanitized PUBLIC ${SANITIZE})

add_executable(pemo-layout tools/pemo-layout/pemoLayout.cpp)
target_link_libraries(pemo-layout pemoCore)

file(GLOB CORE_TEST_SOURCES CONFIGURE_DEPENDS tests/core/*.cpp)
add_executable(coreTests ${CORE_TEST_SOURCES})
target_link_libraries(coreTests pemoCoreSanitized GTest::gtest GTest::gtest_main)
target_compile_definitions(coreTests PRIVATE PEMO_SAMPLES="${CMAKE_SOURCE_DIR}/tests/samples/")
include(GoogleTest)
gtest_discover_tests(coreTests DISCOVERY_MODE PRE_TEST)

add_executable(engineBench bench/engineBench.cpp)
target_link_libraries(engineBench pemoCore benchmark::benchmark)

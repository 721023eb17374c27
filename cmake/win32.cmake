# Cross build: the core and the Win32 shell, the program, and a GoogleTest
# executable for mingw that runs under Wine.
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
add_compile_options(-finput-charset=UTF-8 -fexec-charset=CP932)

set(SHELL_SOURCES
  src/app/appInstance.cpp
  src/app/mainWindow.cpp
  src/document/handleBlockSource.cpp
  src/document/documentLoader.cpp
  src/layout/leadByteWin32.cpp
  src/document/blockMemoryWin32.cpp
  src/layout/headerFooterDrawing.cpp
  src/layout/pageRenderer.cpp
  src/print/pageMetrics.cpp
  src/print/deviceFont.cpp
  src/print/printJob.cpp
  src/print/pageSetup.cpp
  src/print/printerSnapshot.cpp
  src/settings/registrySettings.cpp
  src/document/commandLineFile.cpp
  src/filter/filterSwitch.cpp
  src/app/windowSizing.cpp
  src/app/previewPainter.cpp
  src/app/windowCommands.cpp
)
set(PEMO_RESULTS_DIR ${CMAKE_BINARY_DIR}/results CACHE PATH "Where test suites write their reports")
set(SHELL_LIBRARIES comdlg32 gdi32 winspool shell32 comctl32)

add_library(pemoShell STATIC ${CORE_SOURCES} ${SHELL_SOURCES})
target_include_directories(pemoShell PUBLIC src)
target_link_libraries(pemoShell PUBLIC ${SHELL_LIBRARIES})

add_executable(pemoPrint WIN32 src/app/pemoPrint.cpp src/app/pemoPrint.rc)
target_link_libraries(pemoPrint pemoShell)
target_link_options(pemoPrint PRIVATE -static -mwindows)

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest googletest EXCLUDE_FROM_ALL)

file(GLOB WIN32_TEST_SOURCES CONFIGURE_DEPENDS tests/win32/*.cpp)
add_executable(win32Tests ${WIN32_TEST_SOURCES} src/app/pemoPrint.rc)
target_link_libraries(win32Tests pemoShell gtest)
target_link_options(win32Tests PRIVATE -static)
target_compile_definitions(win32Tests PRIVATE PEMO_SAMPLES_DIR="Z:${CMAKE_SOURCE_DIR}/tests/samples")
add_test(NAME win32Tests COMMAND win32Tests --gtest_output=xml:Z:${PEMO_RESULTS_DIR}/win32Tests.xml)

# A small driver of the page renderer on the real printer and screen, for the
# end-to-end renderer tests.
add_executable(renderProbe WIN32 tests/probe/renderProbe.cpp tests/win32/printerFixture.cpp
  src/app/pemoPrint.rc)
target_include_directories(renderProbe PRIVATE tests/win32)
target_link_libraries(renderProbe pemoShell)
target_link_options(renderProbe PRIVATE -static -mwindows)

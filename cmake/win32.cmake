# Cross build: the core and the Win32 shell, the program, and a GoogleTest
# executable for mingw that runs under Wine.
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
add_compile_options(-finput-charset=UTF-8 -fexec-charset=CP932)

set(SHELL_SOURCES
  src/app/appInstance.cpp
  src/app/mainWindow.cpp
  src/document/handleBlockSource.cpp
  src/document/documentLoader.cpp
  src/document/earlyRead.cpp
  src/app/ansiTextWin32.cpp
  src/app/unicodeText.cpp
  src/document/wideNames.cpp
  src/app/droppedFiles.cpp
  src/document/blockMemoryWin32.cpp
  src/layout/headerFooterDrawing.cpp
  src/layout/pageRenderer.cpp
  src/print/pageMetrics.cpp
  src/print/deviceFont.cpp
  src/print/printJob.cpp
  src/print/pageSetup.cpp
  src/print/printerDialogs.cpp
  src/app/messageLoop.cpp
  src/settings/registrySettings.cpp
  src/document/commandLineFile.cpp
  src/filter/filterSwitch.cpp
  src/filter/filterConfig.cpp
  src/filter/filterConsole.cpp
  src/filter/filterRunner.cpp
  src/app/windowSizing.cpp
  src/app/previewPainter.cpp
  src/app/windowCommands.cpp
  src/app/openDialog.cpp
  src/app/aboutBox.cpp
  src/print/formatDialog.cpp
)

set(SHELL_LIBRARIES comdlg32 gdi32 winspool shell32 comctl32)

add_library(pemoShell STATIC ${CORE_SOURCES} ${SHELL_SOURCES})
target_include_directories(pemoShell PUBLIC src)
target_link_libraries(pemoShell PUBLIC ${SHELL_LIBRARIES})

# The common dialogs and the shell pull in much of the window system when
# they load. Loaded on first use instead, they no longer hold up the start,
# which then reads a command-line file while the window system comes up.
find_program(PEMO_DLLTOOL x86_64-w64-mingw32-dlltool REQUIRED)
find_program(PEMO_OBJDUMP x86_64-w64-mingw32-objdump REQUIRED)
function(add_delayed_import name)
  set(definition ${CMAKE_BINARY_DIR}/${name}.def)
  list(JOIN ARGN "\n" exports)
  file(WRITE ${definition} "LIBRARY ${name}.dll\nEXPORTS\n${exports}\n")
  set(library ${CMAKE_BINARY_DIR}/lib${name}Delayed.a)
  add_custom_command(OUTPUT ${library}
    COMMAND ${PEMO_DLLTOOL} -d ${definition} -D ${name}.dll -y ${library}
    DEPENDS ${definition})
  add_custom_target(${name}Delayed DEPENDS ${library})
  add_library(${name}DelayedImports STATIC IMPORTED)
  set_target_properties(${name}DelayedImports PROPERTIES IMPORTED_LOCATION ${library})
  add_dependencies(${name}DelayedImports ${name}Delayed)
endfunction()
add_delayed_import(comdlg32 ChooseFontW GetFileTitleW GetOpenFileNameW PageSetupDlgA PrintDlgA)
add_delayed_import(shell32 DragFinish DragQueryFileW)

# The resources carry the project version: in the version resource and in
# the manifest made from its template.
set(GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(src/app/pemoPrint.manifest.in ${GENERATED_DIR}/pemoPrint.manifest @ONLY)
set_property(SOURCE src/app/pemoPrint.rc src/filter/converter/sjisConverter.rc APPEND PROPERTY
  COMPILE_DEFINITIONS PEMO_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
    PEMO_VERSION_MINOR=${PROJECT_VERSION_MINOR} PEMO_VERSION_PATCH=${PROJECT_VERSION_PATCH})
set_property(SOURCE src/app/pemoPrint.rc APPEND PROPERTY INCLUDE_DIRECTORIES ${GENERATED_DIR})
set_property(SOURCE src/app/pemoPrint.rc APPEND PROPERTY OBJECT_DEPENDS ${GENERATED_DIR}/pemoPrint.manifest)

# The shipped programs: the same commit links the same bytes (no time stamp
# in the headers), and a release build is stripped.
set(SHIPPED_LINK_OPTIONS -static -Wl,--no-insert-timestamp $<$<CONFIG:Release>:-s>)

add_executable(pemoPrint WIN32 src/app/pemoPrint.cpp src/app/pemoPrint.rc)
target_link_libraries(pemoPrint pemoShell comdlg32DelayedImports shell32DelayedImports)
target_link_options(pemoPrint PRIVATE ${SHIPPED_LINK_OPTIONS} -mwindows)
add_custom_command(TARGET pemoPrint POST_BUILD
  COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${PEMO_OBJDUMP} -DPROGRAM=$<TARGET_FILE:pemoPrint>
    -P ${CMAKE_SOURCE_DIR}/cmake/checkDelayedImports.cmake)

# The converter shipped beside the program, for filter rules to name: a
# console program from standard input to standard output.
add_executable(sjisConverter src/filter/converter/sjisConverter.cpp ${CONVERTER_CORE_SOURCES}
  src/filter/converter/sjisConverter.rc)
target_include_directories(sjisConverter PRIVATE src)
target_link_options(sjisConverter PRIVATE ${SHIPPED_LINK_OPTIONS})
add_dependencies(pemoPrint sjisConverter)

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest googletest EXCLUDE_FROM_ALL)

file(GLOB WIN32_TEST_SOURCES CONFIGURE_DEPENDS tests/win32/*.cpp)
add_executable(win32Tests ${WIN32_TEST_SOURCES} src/app/pemoPrint.rc)
target_link_libraries(win32Tests pemoShell gtest gtest_main)
target_link_options(win32Tests PRIVATE -static)
add_dependencies(win32Tests sjisConverter)
# The filter rules the tests read, from the sample files (Wine sees the tree as Z:).
target_compile_definitions(win32Tests PRIVATE PEMO_SAMPLES="Z:${CMAKE_SOURCE_DIR}/tests/samples/")


# Tells the end-to-end journeys what Wine's clipboard holds.
add_executable(clipboardProbe tests/e2e/clipboardProbe.cpp)
target_link_libraries(clipboardProbe shell32)
target_link_options(clipboardProbe PRIVATE -static)

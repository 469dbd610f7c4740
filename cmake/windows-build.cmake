# The Windows program, its tests and their fixtures (included from the top CMakeLists.txt).

set(WARNINGS -Wall -Wextra -Wshadow)
# Small and self-contained: no MinGW DLL may be needed on a user's machine.
set(SMALL_FLAGS -Os -ffunction-sections -fdata-sections)
set(STATIC_LINK -static -static-libgcc -static-libstdc++ -Wl,--gc-sections)

set(RES_DIR ${CMAKE_SOURCE_DIR}/src/res)
set(RESOURCE_SCRIPT ${RES_DIR}/tessaly.rc)
# The events' texts as a message table (the event source's EventMessageFile is the program itself),
# their plain ASCII text stored as such: half the size of UTF-16.
find_program(WINDMC NAMES i686-w64-mingw32-windmc x86_64-w64-mingw32-windmc REQUIRED)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/events.rc ${CMAKE_BINARY_DIR}/MSG00409.bin
  COMMAND ${WINDMC} -A -h ${CMAKE_BINARY_DIR} -r ${CMAKE_BINARY_DIR} ${RES_DIR}/events.mc
  DEPENDS ${RES_DIR}/events.mc)
add_custom_target(event_texts DEPENDS ${CMAKE_BINARY_DIR}/events.rc)
set_source_files_properties(${RESOURCE_SCRIPT} PROPERTIES
  OBJECT_DEPENDS "${RES_DIR}/tessaly.ico;${RES_DIR}/tessaly.manifest;${RES_DIR}/resource.h;${CMAKE_BINARY_DIR}/events.rc")
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${RES_DIR} -I${CMAKE_BINARY_DIR}")
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  file(READ ${RES_DIR}/tessaly.manifest MANIFEST)
  string(REPLACE "processorArchitecture=\"X86\"" "processorArchitecture=\"amd64\"" MANIFEST "${MANIFEST}")
  file(WRITE ${CMAKE_BINARY_DIR}/tessaly-amd64.manifest "${MANIFEST}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${RES_DIR}/tessaly.manifest)
endif()

set(LAUNCHER_SOURCES
  ${RULE_SOURCES}
  src/util/module_files.cpp
  src/util/ansi_text.cpp
  src/framework/run_log.cpp
  src/framework/output_pipe.cpp
  src/framework/string_table.cpp
  src/framework/modal_dialog.cpp
  src/framework/background_work.cpp
  src/framework/message_box.cpp
  src/framework/event_log.cpp
  src/framework/own_user.cpp
  src/framework/window_support.cpp
  src/settings/registry_key.cpp
  src/settings/launcher_settings.cpp
  src/settings/policies.cpp
  src/app/launcher_app.cpp
  src/app/launch.cpp
  src/app/tell.cpp
  src/app/user_options.cpp
  src/app/jvm_launcher.cpp
  src/app/java_watch.cpp
  src/app/passable_text.cpp
  src/javafind/run_capture.cpp
  src/javafind/jvm_locator.cpp
  src/javafind/runtime_places.cpp
  src/app/resolve_java.cpp
  src/ui/install_java_dialog.cpp
)

# The shipped program compiles the launcher's sources itself, with flags of its own; the tests
# and the bench link the same sources as launcher_core, built the ordinary way. Nothing in the
# program catches an exception, so it is built without them and without run-time type data.
set(SHIPPED_FLAGS ${SMALL_FLAGS} -fno-exceptions -fno-rtti)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # 32-bit Windows unwinds along frame chains and needs no tables; the x86_64 twin keeps its
  # .pdata/.xdata, which that ABI requires of every function that is not a leaf.
  list(APPEND SHIPPED_FLAGS -fno-asynchronous-unwind-tables)
endif()
add_executable(tessaly WIN32 src/app/main.cpp src/app/own_runtime.cpp ${LAUNCHER_SOURCES} ${RESOURCE_SCRIPT})
add_dependencies(tessaly event_texts)
# One translation unit: the compiler sees every caller of every function and keeps no copy
# nobody needs, about 11 KB less than the same sources compiled one by one.
set_target_properties(tessaly PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 0)

target_include_directories(tessaly PRIVATE src)
target_compile_options(tessaly PRIVATE ${WARNINGS} ${SHIPPED_FLAGS})
target_link_libraries(tessaly PRIVATE ole32 shell32)
# -municode: the wide entry point, whose arguments keep every character.
target_link_options(tessaly PRIVATE ${STATIC_LINK} -s -municode)

# The bare start that make bench compares with, in each build: the bench measures the program
# of the same build (the shipped 32-bit one where this machine runs 32-bit programs).
add_executable(shell_start WIN32 bench/shell_start.cpp)
target_link_options(shell_start PRIVATE ${STATIC_LINK} -s)
target_link_libraries(shell_start PRIVATE shell32)

# ---- the stand-in Tessaly application (demo/) and its installer (installer/) --------------
# In each build: `make installer` ships build/win32's; the tests install the one of the program
# they run, the x86_64 twin's where this machine runs no 32-bit programs.
find_program(JAVAC javac REQUIRED)
get_filename_component(REAL_JAVA ${JAVAC} REALPATH)
get_filename_component(REAL_JAVA_BIN ${REAL_JAVA} DIRECTORY)
set(APP_SOURCE ${CMAKE_SOURCE_DIR}/demo/org/quellmark/tessaly/Main.java)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/app/tessaly.jar
  COMMAND ${JAVAC} -d ${CMAKE_BINARY_DIR}/app/classes ${APP_SOURCE}
  COMMAND ${REAL_JAVA_BIN}/jar cf ${CMAKE_BINARY_DIR}/app/tessaly.jar -C ${CMAKE_BINARY_DIR}/app/classes .
  DEPENDS ${APP_SOURCE})
add_custom_target(tessaly_app ALL DEPENDS ${CMAKE_BINARY_DIR}/app/tessaly.jar)

# The Group Policy templates, beside the program for an administrator to take, and shipped by
# both installers in the installation's policies folder.
set(POLICIES ${CMAKE_BINARY_DIR}/policies)
add_custom_command(OUTPUT ${POLICIES}/tessaly.admx ${POLICIES}/en-US/tessaly.adml
  COMMAND ${CMAKE_COMMAND} -E copy ${RES_DIR}/policies/tessaly.admx ${POLICIES}/tessaly.admx
  COMMAND ${CMAKE_COMMAND} -E copy ${RES_DIR}/policies/en-US/tessaly.adml ${POLICIES}/en-US/tessaly.adml
  DEPENDS ${RES_DIR}/policies/tessaly.admx ${RES_DIR}/policies/en-US/tessaly.adml)
add_custom_target(policies ALL DEPENDS ${POLICIES}/tessaly.admx ${POLICIES}/en-US/tessaly.adml)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(NSIS_TARGET amd64-unicode)
else()
  set(NSIS_TARGET x86-unicode)
endif()
# Packed afresh by every build, in a fraction of a second: signed or not as SIGN_PFX says at the
# time (installer/make-setup), so that no file signed, or left unsigned, by an earlier build is packed.
add_custom_target(installer ALL
  COMMAND ${CMAKE_SOURCE_DIR}/installer/make-setup ${NSIS_TARGET} $<TARGET_FILE:tessaly> ${CMAKE_BINARY_DIR}/app
          ${POLICIES} ${CMAKE_BINARY_DIR}/tessaly-setup.exe
  BYPRODUCTS ${CMAKE_BINARY_DIR}/tessaly-setup.exe ${CMAKE_BINARY_DIR}/package/tessaly.exe VERBATIM)
add_dependencies(installer tessaly tessaly_app policies)

# The MSI (installer/tessaly.wxs) and its custom actions that stop it before it changes anything,
# a DLL of the package's bitness, with the launcher's own runtime pieces (17 KB instead of 260). Packed
# afresh by every build too. Windows Installer looks the action up by its plain name: no
# stdcall decoration (--kill-at).
add_library(install_checks MODULE installer/install_checks.cpp src/app/own_runtime.cpp)
set_target_properties(install_checks PROPERTIES PREFIX "")
target_compile_options(install_checks PRIVATE ${WARNINGS} ${SHIPPED_FLAGS})
target_link_libraries(install_checks PRIVATE -lmsi)  # the library, not the target below
target_link_options(install_checks PRIVATE ${STATIC_LINK} -s -Wl,--kill-at)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(MSI_ARCH x64)
else()
  set(MSI_ARCH x86)
endif()
add_custom_target(msi ALL
  COMMAND ${CMAKE_SOURCE_DIR}/installer/make-msi ${MSI_ARCH} $<TARGET_FILE:tessaly> $<TARGET_FILE:install_checks>
          ${CMAKE_BINARY_DIR}/app ${POLICIES} ${CMAKE_BINARY_DIR}/tessaly.msi
  BYPRODUCTS ${CMAKE_BINARY_DIR}/tessaly.msi VERBATIM)
add_dependencies(msi tessaly install_checks tessaly_app policies)

# ---- tests: built only in the 64-bit twin that runs under Wine here ----------------------
option(TESSALY_TESTS "Build the tests (the x86_64 build)" OFF)
if(NOT TESSALY_TESTS)
  return()
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run)
add_library(launcher_core STATIC ${LAUNCHER_SOURCES})
target_include_directories(launcher_core PUBLIC src)
target_compile_options(launcher_core PRIVATE ${WARNINGS} ${SMALL_FLAGS})
target_link_libraries(launcher_core PUBLIC ole32 shell32)

set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

function(windows_test name)
  add_executable(${name} ${ARGN} ${RESOURCE_SCRIPT})
  add_dependencies(${name} event_texts)
  target_compile_options(${name} PRIVATE ${WARNINGS} -Wno-missing-field-initializers -Wno-dangling-else)
  target_link_libraries(${name} PRIVATE launcher_core gtest_main)
  target_link_options(${name} PRIVATE ${STATIC_LINK})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
  add_dependencies(${name} tessaly fake_java)
endfunction()

# Stand-in java.exe; tests copy it where a runtime should be.
add_executable(fake_java tests/fixtures/fake_java.cpp)
target_link_options(fake_java PRIVATE ${STATIC_LINK} -municode)
set_target_properties(fake_java PROPERTIES OUTPUT_NAME java RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fixtures)

windows_test(rules_tests_win ${RULE_TESTS})
windows_test(tessaly_tests tests/tessaly_test.cpp)
# The shipped 32-bit program (build/win32), read as it is.
add_test(NAME shipped_program COMMAND ${CMAKE_SOURCE_DIR}/tests/check-shipped ${CMAKE_BINARY_DIR}/../win32/tessaly.exe)
# The Group Policy templates as shipped, against what the launcher reads.
add_test(NAME policies COMMAND ${CMAKE_SOURCE_DIR}/tests/check-policies ${CMAKE_BINARY_DIR}/../win32/policies)
# The installer of the program under test, from install to removal.
add_test(NAME installer COMMAND ${CMAKE_SOURCE_DIR}/tests/check-installer ${CMAKE_BINARY_DIR})
set_tests_properties(installer PROPERTIES TIMEOUT 180)

# ---- benchmark (make bench) ----------------------------------------------------------------
add_executable(bench bench/bench.cpp)
target_link_libraries(bench PRIVATE launcher_core psapi)
target_link_options(bench PRIVATE ${STATIC_LINK})
add_dependencies(bench tessaly shell_start fake_java)

# ---- the demo's stand-in user ---------------------------------------------------------------
add_executable(drive_window tools/drive_window.cpp)
target_link_options(drive_window PRIVATE ${STATIC_LINK})

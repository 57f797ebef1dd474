# Build helpers shared by every folder.

if(WIN32)
  # One self-contained executable each: no MinGW runtime DLLs beside it.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
endif()

# Start-up time: the DLLs that the first window does not need are delay-loaded,
# each loaded when one of its functions is first called (the network client,
# the signer check, hashing, file dialogs, the shell, COM and accessibility).
# Under Wine every DLL loaded at start costs time and private memory. On the
# Windows build the names below, as they stand in target_link_libraries, link
# a delay-load import library made here from MinGW's own import library (its
# __imp_ names become a .def file for dlltool).
if(WIN32 AND NOT FL_FUZZ)
  find_program(FL_DLLTOOL NAMES x86_64-w64-mingw32-dlltool dlltool REQUIRED)
  find_program(FL_NM NAMES x86_64-w64-mingw32-nm nm REQUIRED)
  set(delay_dir ${CMAKE_BINARY_DIR}/delayload)
  file(MAKE_DIRECTORY ${delay_dir})
  foreach(dll wininet wintrust crypt32 bcrypt comdlg32 shell32 ole32 oleaut32 oleacc)
    set(delay_lib ${delay_dir}/lib${dll}_delay.a)
    if(NOT EXISTS ${delay_lib})
      execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=lib${dll}.a
                      OUTPUT_VARIABLE implib OUTPUT_STRIP_TRAILING_WHITESPACE)
      execute_process(COMMAND ${FL_NM} -g --defined-only ${implib}
                      OUTPUT_VARIABLE symbols ERROR_QUIET RESULT_VARIABLE rc)
      string(REGEX MATCHALL "__imp_[A-Za-z0-9_@?$]+" imports "${symbols}")
      list(TRANSFORM imports REPLACE "^__imp_" "")
      list(REMOVE_DUPLICATES imports)
      if(NOT rc EQUAL 0 OR NOT imports)
        message(FATAL_ERROR "no exports read from ${implib} for delay-loading ${dll}")
      endif()
      list(JOIN imports "\n" exports)
      file(WRITE ${delay_dir}/${dll}.def "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n")
      execute_process(COMMAND ${FL_DLLTOOL} -m i386:x86-64 -d ${delay_dir}/${dll}.def
                              -y ${delay_lib} RESULT_VARIABLE rc)
      if(NOT rc EQUAL 0)
        message(FATAL_ERROR "dlltool could not make ${delay_lib}")
      endif()
    endif()
    add_library(${dll} STATIC IMPORTED GLOBAL)
    set_target_properties(${dll} PROPERTIES IMPORTED_LOCATION ${delay_lib}
                                            INTERFACE_LINK_LIBRARIES delayimp)
  endforeach()
endif()

set(FL_RES_DIR ${CMAKE_SOURCE_DIR}/data/res)

# GoogleTest: the system package natively; for Windows it is built from the
# sources that Debian's googletest package ships.
macro(fl_setup_gtest)
  if(WIN32 AND CMAKE_CROSSCOMPILING)
    if(NOT TARGET gtest)
      set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
      set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
      set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
      set(FL_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
      add_subdirectory(${FL_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
      if(NOT TARGET GTest::gtest_main)
        add_library(GTest::gtest ALIAS gtest)
        add_library(GTest::gtest_main ALIAS gtest_main)
      endif()
    endif()
  else()
    find_package(GTest REQUIRED)
  endif()
endmacro()

# fl_add_resources(<target> <description>): the application manifest (common
# controls 6, DPI awareness) and a version resource carrying the project version.
function(fl_add_resources target description)
  if(NOT WIN32)
    return()
  endif()
  set(FL_RC_NAME ${target})
  set(FL_RC_DESCRIPTION "${description}")
  set(FL_RC_ICON "")
  if(ARGC GREATER 2)
    set(FL_RC_ICON "1 ICON \"${ARGV2}\"")
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.rc)
  configure_file(${FL_RES_DIR}/resources.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${FL_RES_DIR}/app.manifest)
endfunction()

# fl_add_test(<name> SOURCES ... [LIBS ...]): one test executable registered as
# one ctest test. Windows tests run through the cross-compiling emulator (wine);
# every Wine start costs time, so a test folder keeps its cases in at most two
# executables: X_tests for the Windows code, X_pure_tests for X/pure.
function(fl_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE GTest::gtest_main ${T_LIBS})
  if(WIN32)
    fl_add_resources(${name} "Fetchlets test ${name}")
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 900)
endfunction()

# fl_add_window_program(<name> <description> SOURCES ... LIBS ...): a window
# program for looking at (galleries and previews for screenshots), Windows only.
function(fl_add_window_program name description)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(P "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} WIN32 ${P_SOURCES})
  target_link_libraries(${name} PRIVATE ${P_LIBS})
  fl_add_resources(${name} "${description}")
endfunction()

# fl_check_imports(<target>): a test that the executable imports only system DLLs.
function(fl_check_imports target)
  if(NOT WIN32 OR NOT BUILD_TESTING)
    return()
  endif()
  find_program(FL_OBJDUMP NAMES x86_64-w64-mingw32-objdump objdump)
  add_test(NAME ${target}_imports
           COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${FL_OBJDUMP} -DEXE=$<TARGET_FILE:${target}>
                   -P ${PROJECT_SOURCE_DIR}/cmake/CheckImports.cmake)
endfunction()

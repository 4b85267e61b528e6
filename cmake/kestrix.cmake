# Shared build settings and the two helpers every folder uses:
#   kestrix_warnings(target)              the project's warning set
#   kestrix_unit_tests(NAME name SOURCES ... LIBS ...)
#                                         one GoogleTest executable per folder, registered with CTest

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-Wall -Wextra -Wno-unused-parameter)
endif()

if(KESTRIX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(KESTRIX_FUZZ)
  # Coverage instrumentation for every library the fuzz targets link.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
  add_compile_definitions(KESTRIX_PLAIN_ALLOC=1)
endif()

if(KESTRIX_PLAIN_ALLOC)
  add_compile_definitions(KESTRIX_PLAIN_ALLOC=1)
endif()

function(kestrix_unit_tests)
  cmake_parse_arguments(KT "" "NAME" "SOURCES;LIBS" ${ARGN})
  if(NOT KESTRIX_TESTS OR NOT KT_SOURCES)
    return()
  endif()
  add_executable(${KT_NAME} ${KT_SOURCES})
  target_link_libraries(${KT_NAME} PRIVATE ${KT_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${KT_NAME} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES LABELS unit)
endfunction()

# A folder library made of every .cpp in the folder (tests, benchmarks and fuzz targets excluded);
# its unit tests are the folder's *_test.cpp files.
#   kestrix_folder_library(NAME target [TYPE STATIC|SHARED] [DIRS sub ...] LIBS ... TEST_LIBS ...)
function(kestrix_folder_library)
  cmake_parse_arguments(KF "" "NAME;TYPE" "DIRS;LIBS;TEST_LIBS" ${ARGN})
  if(NOT KF_TYPE)
    set(KF_TYPE STATIC)
  endif()
  set(globs ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(d ${KF_DIRS})
    list(APPEND globs ${CMAKE_CURRENT_SOURCE_DIR}/${d}/*.cpp)
  endforeach()
  file(GLOB all CONFIGURE_DEPENDS ${globs})
  set(lib_sources)
  set(test_sources)
  foreach(f ${all})
    if(f MATCHES "_test\\.cpp$")
      list(APPEND test_sources ${f})
    else()
      list(APPEND lib_sources ${f})
    endif()
  endforeach()
  if(NOT lib_sources)
    # A folder whose code is still to come: its dependencies hold already.
    add_library(${KF_NAME} INTERFACE)
    target_include_directories(${KF_NAME} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${KF_NAME} INTERFACE ${KF_LIBS})
    return()
  endif()
  add_library(${KF_NAME} ${KF_TYPE} ${lib_sources})
  target_include_directories(${KF_NAME} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${KF_NAME} PUBLIC ${KF_LIBS})
  # Whole archive: registration objects of the folder run in its tests even when nothing names
  # their translation unit.
  kestrix_unit_tests(NAME ${KF_NAME}_tests SOURCES ${test_sources}
                     LIBS "$<LINK_LIBRARY:WHOLE_ARCHIVE,${KF_NAME}>" ${KF_TEST_LIBS})
endfunction()

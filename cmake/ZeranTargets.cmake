# Warning flags, sanitizers and small helpers shared by every own target.

function(zeran_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(ZERAN_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

if(ZERAN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# One object library per core folder, so that each folder builds and tests on
# its own; zeran_core bundles them all into one static library.
function(zeran_core_part name)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp)
  if(NOT _src)
    set(_src ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(zeran_${name} OBJECT ${_src})
  target_include_directories(zeran_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_definitions(zeran_${name} PUBLIC ZERAN_VERSION="${PROJECT_VERSION}")
  foreach(dep IN LISTS ARG_DEPENDS)
    target_link_libraries(zeran_${name} PUBLIC zeran_${dep})
  endforeach()
  zeran_warnings(zeran_${name})
endfunction()

# A GoogleTest binary made of every .cpp in tests/<folder>, linked with the
# object libraries it names (objects are not carried over transitively).
function(zeran_gtest folder)
  cmake_parse_arguments(ARG "" "" "PARTS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  if(NOT _src)
    return()
  endif()
  add_executable(test_${folder} ${_src})
  # Test doubles live under tests/support.
  target_include_directories(test_${folder} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  foreach(part IN LISTS ARG_PARTS)
    target_link_libraries(test_${folder} PRIVATE zeran_${part})
  endforeach()
  target_link_libraries(test_${folder} PRIVATE GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(test_${folder} PRIVATE
    ZERAN_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data"
    ZERAN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    ZERAN_BINARY_DIR="${PROJECT_BINARY_DIR}")
  zeran_warnings(test_${folder})
  gtest_discover_tests(test_${folder} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "ZERAN_BINARY_DIR=${PROJECT_BINARY_DIR}")
endfunction()

if(ZERAN_FUZZ)
  # Coverage instrumentation for everything; the fuzz targets add the driver.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
